#pragma once
// The window's command line. --help and --version are answered before the toolkit starts, so
// they work without a display; the rest is read from what the toolkit leaves of the arguments
// once it has taken its own (-platform, -style, ...).

#include <string>
#include <vector>

struct WindowCommandLine {
    bool help = false;
    bool version = false;
    std::string settings;           // --settings PATH; empty when not given
    std::vector<std::string> files; // the arguments that are no options
    std::string error;              // a usage error, for stderr; empty when the line is good
};

// Reads the arguments after the program's name.
WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& arguments);

std::string WindowHelpText();
std::string WindowVersionText();
