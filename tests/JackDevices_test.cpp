// The device chosen in the MIDI settings stays the one used when the lists move: two emulated
// units on a JACK server of the tests' own, ports of the test's own registered before them, and
// the tool run without a device option, taking its devices from a settings file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "midi/VF1Settings.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/JackPorts.h"
#include "tests/support/JackServer.h"
#include "tests/support/JackTest.h"

namespace fs = std::filesystem;

namespace {

constexpr double kCommandSeconds = 60;
constexpr double kStartSeconds = 30;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class JackDevices : public JackTest {
  protected:
    void SetUp() override {
        JackTest::SetUp();
        if (!Ready()) return;
        settings = dir / "settings.cfg";
        patch = dir / "patch.syx";
        ASSERT_EQ(Run({"new", "--algorithm", "1", "-o", patch.string()}).status, 0);
    }

    void TearDown() override {
        units.clear();
        VF1Settings::Release();
        VF1Settings::SetPath("settings.cfg");
        JackTest::TearDown();
    }

    void StartUnit(const std::string& name) {
        auto unit =
            std::make_unique<ChildProcess>(std::vector<std::string>{QUELLIN_CLI_PATH, "emulate", "--api",
                                                                    "jack", "--fast", "--port-name", name},
                                           dir);
        ASSERT_TRUE(
            unit->WaitForLine([](const std::string& l) { return Contains(l, "ready JACK"); }, kStartSeconds))
            << name << " did not start:\n"
            << unit->Out() << unit->Err();
        units[name] = std::move(unit);
    }

    // Ends a unit as a user does and gives the number of good messages it received.
    int StopUnit(const std::string& name) {
        auto& unit = units.at(name);
        unit->Write("quit\n");
        EXPECT_EQ(unit->Wait(kStartSeconds), 0) << unit->Err();
        const std::string log = unit->Out();
        units.erase(name);
        std::smatch m;
        if (!std::regex_search(log, m, std::regex("received (\\d+) good, (\\d+) bad messages"))) {
            ADD_FAILURE() << "no summary in " << name << "'s log:\n" << log;
            return -1;
        }
        EXPECT_EQ(m[2], "0") << log;
        return std::stoi(m[1]);
    }

    CliRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {QUELLIN_CLI_PATH, "--settings", settings.string()});
        ChildProcess tool(args, dir);
        CliRun run;
        run.status = tool.Wait(kCommandSeconds);
        if (run.status == ChildProcess::kStillRunning) tool.Stop();
        run.out = tool.Out();
        run.err = tool.Err();
        return run;
    }

    // The MIDI Out devices as "ports" lists them.
    std::vector<std::string> OutDevices() {
        const CliRun run = Run({"ports"});
        EXPECT_EQ(run.status, 0) << run.err;
        std::vector<std::string> names;
        std::istringstream lines(run.out);
        bool inOut = false;
        const std::regex entry("^[ *] +(\\d+)  (.*)$");
        for (std::string line; std::getline(lines, line);) {
            if (line == "MIDI Out devices:") inOut = true;
            else if (line == "MIDI In devices:") inOut = false;
            std::smatch m;
            if (inOut && std::regex_match(line, m, entry)) {
                EXPECT_EQ(std::stoul(m[1]), names.size()) << line;
                names.push_back(m[2]);
            }
        }
        return names;
    }

    // The index of the first Out device whose name contains part.
    int OutIndex(const std::string& part) {
        const auto names = OutDevices();
        for (size_t i = 0; i < names.size(); ++i)
            if (Contains(names[i], part)) return static_cast<int>(i);
        return -1;
    }

    // The choice the window's MIDI settings make: the indexes, and the names beside them.
    void Choose(int out, const std::string& outName) {
        VF1Settings::Release();
        VF1Settings::SetPath(settings.string());
        VF1Settings& s = VF1Settings::Instance();
        s.SetOutIdx(out);
        s.SetOutName(outName);
        s.Save();
        VF1Settings::Release();
    }

    fs::path settings, patch;
    std::map<std::string, std::unique_ptr<ChildProcess>> units;
};

} // namespace

// B chosen; then a port registered before A and B shifts every index. The next send goes to B
// all the same, and the settings follow B to its new index.
TEST_F(JackDevices, ChosenUnitFoundAfterEveryIndexShifted) {
    StartUnit("unit A");
    StartUnit("unit B");
    const auto before = OutDevices();
    const int b = OutIndex("unit B:");
    ASSERT_GE(b, 0) << ::testing::PrintToString(before);
    Choose(b, before[b]);

    ASSERT_EQ(StopUnit("unit A"), 0);
    ASSERT_EQ(StopUnit("unit B"), 0);
    JackPorts first("first");
    ASSERT_TRUE(first.Open());
    StartUnit("unit A");
    StartUnit("unit B");
    const int moved = OutIndex("unit B:");
    ASSERT_GE(moved, 0);
    ASSERT_NE(moved, b) << "the lists did not move: " << ::testing::PrintToString(OutDevices());

    const CliRun run = Run({"send-patch", patch.string()});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(StopUnit("unit A"), 0);
    EXPECT_GT(StopUnit("unit B"), 0);
    EXPECT_EQ(ReadText(settings).substr(18),
              "OutIdx=" + (moved < 10 ? "0" + std::to_string(moved) : std::to_string(moved)));
    EXPECT_TRUE(Contains(ReadText(VF1Settings::NamesPath(settings.string())),
                         "OutIdx=" + std::to_string(moved) + "\nOutName=" + before[b] + "\n"));
}

// B gone and another device where B stood: the tool refuses rather than send to it, names both,
// and does as told once a device option says which to use.
TEST_F(JackDevices, ToolRefusesWhenTheChosenUnitIsGoneAndAnotherStandsInItsPlace) {
    StartUnit("unit A");
    StartUnit("unit B");
    const auto before = OutDevices();
    const int b = OutIndex("unit B:");
    ASSERT_GE(b, 0);
    Choose(b, before[b]);
    ASSERT_EQ(StopUnit("unit B"), 0);
    StartUnit("unit C");
    const auto now = OutDevices();
    ASSERT_LT(static_cast<size_t>(b), now.size()) << ::testing::PrintToString(now);
    ASSERT_TRUE(Contains(now[b], "unit C:")) << ::testing::PrintToString(now);
    const std::string stored = ReadText(settings);

    const CliRun refused = Run({"send-patch", patch.string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "The MIDI Out device chosen in the MIDI settings, \"" + before[b] +
                               "\", is not connected, and device " + std::to_string(b) + " is now \"" +
                               now[b] + "\".  Say which device to use with --out or --out-name.\n");
    EXPECT_EQ(ReadText(settings), stored);

    const CliRun ports = Run({"ports"});
    EXPECT_TRUE(Contains(ports.out, "(the MIDI Out device chosen in the MIDI settings, \"" + before[b] +
                                        "\", is not connected)"))
        << ports.out;

    const CliRun told = Run({"--out-name", "unit C:", "send-patch", patch.string()});
    EXPECT_EQ(told.status, 0) << told.err;
    EXPECT_EQ(StopUnit("unit A"), 0);
    EXPECT_GT(StopUnit("unit C"), 0);
}

// A settings.cfg without names, as an earlier version left it: the stored index is used, whatever
// stands there, and no file is changed or added.
TEST_F(JackDevices, SettingsWithoutNamesUseTheStoredIndex) {
    StartUnit("unit A");
    StartUnit("unit B");
    const int a = OutIndex("unit A:");
    ASSERT_GE(a, 0);
    const std::string text = "DevID=00;InIdx=00;OutIdx=" + std::string(a < 10 ? "0" : "") + std::to_string(a);
    std::ofstream(settings, std::ios::binary) << text;

    const CliRun ports = Run({"ports"});
    EXPECT_TRUE(std::regex_search(ports.out, std::regex("\\* +" + std::to_string(a) + "  .*unit A:")))
        << ports.out;
    const CliRun run = Run({"send-patch", patch.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_GT(StopUnit("unit A"), 0);
    EXPECT_EQ(StopUnit("unit B"), 0);
    EXPECT_EQ(ReadText(settings), text);
    EXPECT_FALSE(fs::exists(VF1Settings::NamesPath(settings.string())));
}
