// Quellin's window. Files named on the command line open in it: bank files in the bank manager
// (the first in Bank 1, the second in Bank 2), single-patch files in the editor.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/VF1App.h"
#include "midi/VF1Settings.h"

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

} // namespace

int main(int argc, char** argv) {
    // A failure nothing else caught ends the program with a message and status 1, never an abort.
    try {
        // Answered before the toolkit starts, so that they need no display.
        const WindowCommandLine early = ParseWindowCommandLine(Arguments(argc, argv));
        if (early.help) {
            std::fputs(WindowHelpText().c_str(), stdout);
            return 0;
        }
        if (early.version) {
            std::fputs(WindowVersionText().c_str(), stdout);
            return 0;
        }

        VF1App app(argc, argv);
        const WindowCommandLine line = ParseWindowCommandLine(Arguments(argc, argv));
        if (!line.error.empty()) {
            std::fprintf(stderr, "quellin: %s\nRun 'quellin --help' for the options.\n", line.error.c_str());
            return 2;
        }
        VF1Settings::SetPath(VF1Settings::Locate(line.settings));
        QStringList files;
        for (const std::string& file : line.files) files.append(QString::fromLocal8Bit(file.c_str()));
        return app.Run({}, files);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quellin: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "quellin: unexpected failure\n");
    }
    return 1;
}
