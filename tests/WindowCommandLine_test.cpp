// The window's command line: what it asks for, and the usage errors that end it with status 2.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

TEST(WindowCommandLine, ReadsTheOptionsAndFindsHelpWherever) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        bool help, version;
        std::string settings;
        std::vector<std::string> files;
        std::string error;
    };
    const Case cases[] = {
        {"nothing", {}, false, false, "", {}, ""},
        {"--settings PATH", {"--settings", "a.cfg"}, false, false, "a.cfg", {}, ""},
        {"--settings=PATH", {"--settings=/x/b.cfg"}, false, false, "/x/b.cfg", {}, ""},
        {"--settings last, without its path",
         {"--settings"},
         false,
         false,
         "",
         {},
         "--settings needs the path of a settings file"},
        {"--settings= empty",
         {"--settings="},
         false,
         false,
         "",
         {},
         "--settings needs the path of a settings file"},
        {"files beside options",
         {"a.syx", "--settings", "s.cfg", "b.syx"},
         false,
         false,
         "s.cfg",
         {"a.syx", "b.syx"},
         ""},
        {"after -- everything is a file", {"--", "--help", "-x"}, false, false, "", {"--help", "-x"}, ""},
        {"an unknown option", {"--bogus", "a.syx"}, false, false, "", {"a.syx"}, "unknown option --bogus"},
        {"--help after an error still helps",
         {"-platform", "xcb", "--help"},
         true,
         false,
         "",
         {"xcb"},
         "unknown option -platform"},
        {"-h", {"-h"}, true, false, "", {}, ""},
        {"--version", {"--version"}, false, true, "", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowCommandLine line = ParseWindowCommandLine(c.arguments);
        EXPECT_EQ(line.help, c.help);
        EXPECT_EQ(line.version, c.version);
        EXPECT_EQ(line.settings, c.settings);
        EXPECT_EQ(line.files, c.files);
        EXPECT_EQ(line.error, c.error);
    }
}
