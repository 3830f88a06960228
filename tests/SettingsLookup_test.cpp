// Where the programs keep settings.cfg: the file --settings names, else the one in the working
// folder, else quellin/settings.cfg in the user's configuration folder, where a new one is made.
// The rule as a table, then the real programs finding their file in each of the three places.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "midi/VF1Settings.h"
#include "tests/support/ChildProcess.h"

namespace fs = std::filesystem;

namespace {

TEST(SettingsLookup, PlacesInOrder) {
    struct Case {
        const char* name;
        VF1Settings::Places places;
        std::string path;
    };
    const Case cases[] = {
        {"the command line's path first", {"/tmp/s.cfg", true, "/cfg", "/home/u"}, "/tmp/s.cfg"},
        {"a relative command-line path as given", {"my.cfg", false, "/cfg", "/home/u"}, "my.cfg"},
        {"then the working folder's file", {"", true, "/cfg", "/home/u"}, "settings.cfg"},
        {"then the configuration folder", {"", false, "/cfg", "/home/u"}, "/cfg/quellin/settings.cfg"},
        {"~/.config without the variable",
         {"", false, "", "/home/u"},
         "/home/u/.config/quellin/settings.cfg"},
        {"a relative variable counts as unset",
         {"", false, "cfg", "/home/u"},
         "/home/u/.config/quellin/settings.cfg"},
        {"no home: the working folder", {"", false, "", ""}, "settings.cfg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VF1Settings::PathFor(c.places), c.path);
    }
}

// Sets an environment variable for this process and the programs it starts, until it goes.
class ScopedVariable {
  public:
    ScopedVariable(const char* name_, const std::string& value) : name(name_) {
        if (const char* old = std::getenv(name)) previous = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (previous) setenv(name, previous->c_str(), 1);
        else unsetenv(name);
    }

  private:
    const char* name;
    std::optional<std::string> previous;
};

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};

ProgramRun RunIn(const fs::path& folder, const std::vector<std::string>& argv) {
    ChildProcess child(argv, folder);
    const int status = child.Wait(60);
    return {status, child.Out(), child.Err()};
}

// A scratch folder with the working folder, the home folder and the configuration folder the
// programs are started with.
class SettingsPlaces : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("quellin-lookup-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        work = root / "work";
        xdgFile = root / "config" / "quellin" / "settings.cfg";
        given = root / "given.cfg";
        fs::create_directories(work);
        fs::create_directories(root / "home");
        configHome.emplace("XDG_CONFIG_HOME", (root / "config").string());
        home.emplace("HOME", (root / "home").string());
    }
    void TearDown() override {
        configHome.reset();
        home.reset();
        fs::remove_all(root);
    }

    static void Write(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }
    static std::string Settings(int outIndex) {
        char text[32];
        std::snprintf(text, sizeof text, "DevID=00;InIdx=00;OutIdx=%.2d", outIndex);
        return text;
    }
    void RemoveAll() {
        for (const fs::path& p : {given, work / "settings.cfg", xdgFile}) fs::remove(p);
    }

    fs::path root, work, xdgFile, given;
    std::optional<ScopedVariable> configHome, home;
};

} // namespace

// The tool takes its default MIDI Out from the file it finds: a file naming the built-in unit's
// index lets send-patch reach it, one naming index 99 makes the send fail at the open. It reads
// the file and never makes one.
TEST_F(SettingsPlaces, ToolReadsTheFirstPlaceThatHasAFile) {
    const ProgramRun ports = RunIn(work, {QUELLIN_CLI_PATH, "ports"});
    ASSERT_EQ(ports.status, 0) << ports.err;
    const std::regex row(R"(^.\s*(\d+)  Quellin virtual VF-1  \(built-in virtual unit\)$)");
    int virtualUnit = -1;
    std::istringstream lines(ports.out);
    for (std::string line; std::getline(lines, line) && line != "MIDI In devices:";) {
        std::smatch m;
        if (std::regex_match(line, m, row)) virtualUnit = std::stoi(m[1]);
    }
    ASSERT_GE(virtualUnit, 0) << ports.out;
    ASSERT_EQ(RunIn(work, {QUELLIN_CLI_PATH, "new", "--algorithm", "21", "-o", "p.syx"}).status, 0);

    struct Case {
        const char* name;
        std::optional<int> given, working, xdg; // the OutIdx of each place's file, if it has one
        bool reaches;
    };
    const Case cases[] = {
        {"only the configuration folder's", std::nullopt, std::nullopt, virtualUnit, true},
        {"only the configuration folder's, wrong", std::nullopt, std::nullopt, 99, false},
        {"the working folder's before it", std::nullopt, virtualUnit, 99, true},
        {"the working folder's, wrong", std::nullopt, 99, virtualUnit, false},
        {"--settings before both", virtualUnit, 99, 99, true},
        {"--settings, wrong", 99, virtualUnit, virtualUnit, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveAll();
        if (c.given) Write(given, Settings(*c.given));
        if (c.working) Write(work / "settings.cfg", Settings(*c.working));
        if (c.xdg) Write(xdgFile, Settings(*c.xdg));
        std::vector<std::string> argv = {QUELLIN_CLI_PATH};
        if (c.given) argv.insert(argv.end(), {"--settings", given.string()});
        argv.insert(argv.end(), {"send-patch", "p.syx"});
        const ProgramRun run = RunIn(work, argv);
        EXPECT_EQ(run.status, c.reaches ? 0 : 1) << run.err;
        if (!c.reaches) {
            EXPECT_NE(run.err.find("Error opening MIDI output device"), std::string::npos) << run.err;
        }
    }

    // Without a file anywhere, device 0, and no file is made.
    RemoveAll();
    RunIn(work, {QUELLIN_CLI_PATH, "send-patch", "p.syx"});
    EXPECT_FALSE(fs::exists(xdgFile));
    EXPECT_FALSE(fs::exists(work / "settings.cfg"));
}

// The window makes a new file where it belongs at start: in the configuration folder (a folder of
// the user's alone), or where --settings says; a file in the working folder is used where it is
// (a wrong-sized one is emptied at start, which shows the window took it).
TEST_F(SettingsPlaces, WindowMakesANewFileInTheConfigurationFolder) {
    struct Case {
        const char* name;
        bool withGiven;
        std::optional<std::string> working;
        fs::path made;
        std::vector<fs::path> untouched;
    };
    const Case cases[] = {
        {"nothing anywhere", false, std::nullopt, xdgFile, {work / "settings.cfg"}},
        {"--settings", true, std::nullopt, given, {work / "settings.cfg", xdgFile}},
        {"a file in the working folder", false, "DevID=00;", work / "settings.cfg", {xdgFile}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveAll();
        if (c.working) Write(work / "settings.cfg", *c.working);
        std::vector<std::string> argv = {QUELLIN_PATH, "-platform", "offscreen"};
        if (c.withGiven) argv.insert(argv.end(), {"--settings", given.string()});
        ChildProcess window(argv, work);
        bool made = false;
        for (int i = 0; i < 3000 && !made; ++i) {
            made = fs::exists(c.made) && fs::file_size(c.made) == 0;
            if (!made) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        window.Stop();
        EXPECT_TRUE(made) << window.Err();
        for (const fs::path& p : c.untouched) EXPECT_FALSE(fs::exists(p)) << p;
    }
    struct stat st {};
    ASSERT_EQ(stat(xdgFile.parent_path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}
