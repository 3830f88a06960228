#include "app/CommandLine.h"

// Reads every argument, also after a usage error, so that --help is found wherever it stands; the
// first error is the one reported.
WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& arguments) {
    WindowCommandLine line;
    const auto fail = [&line](std::string error) {
        if (line.error.empty()) line.error = std::move(error);
    };
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            line.files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--settings") {
            if (i + 1 < arguments.size()) line.settings = arguments[++i];
            if (line.settings.empty()) fail("--settings needs the path of a settings file");
        } else if (argument.starts_with("--settings=")) {
            line.settings = argument.substr(11);
            if (line.settings.empty()) fail("--settings needs the path of a settings file");
        } else {
            fail("unknown option " + argument);
        }
    }
    return line;
}

std::string WindowHelpText() {
    return "Usage: quellin [OPTIONS] [FILE...]\n"
           "\n"
           "Quellin: patch editor and librarian for the BOSS VF-1. Bank files named open in the\n"
           "bank manager (the first in Bank 1, the second in Bank 2), single-patch files in the\n"
           "editor.\n"
           "\n"
           "Options:\n"
           "  -h, --help         Print this help and exit\n"
           "  --version          Print the version and exit\n"
           "  --settings PATH    The settings file to read at start and write at exit (default:\n"
           "                     ./settings.cfg if there is one, else\n"
           "                     $XDG_CONFIG_HOME/quellin/settings.cfg, made there)\n"
           "\n"
           "The toolkit's own options (-platform NAME, -style NAME, ...) are taken as well.\n";
}

std::string WindowVersionText() {
    return "quellin " QUELLIN_VERSION "\n";
}
