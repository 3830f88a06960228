#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "midi/VF1Settings.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// settings.cfg in a directory of the test's own.
class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("quellin-settings-" +
               std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = dir / "settings.cfg";
        VF1Settings::Release();
        VF1Settings::SetPath(path.string());
    }
    void TearDown() override {
        VF1Settings::Release();
        VF1Settings::SetPath("settings.cfg");
        fs::remove_all(dir);
    }

    // The values a fresh start reads.
    std::array<int, 3> Start() {
        VF1Settings::Release();
        VF1Settings& s = VF1Settings::Instance();
        return {s.GetDevID(), s.GetInIdx(), s.GetOutIdx()};
    }

    fs::path dir;
    fs::path path;
};

} // namespace

// What a start reads from the file it finds: exactly 27 bytes give the digits at their places
// whatever the labels say; any other size gives zeros and an emptied file.
TEST_F(Settings, StartReadsOnly27ByteFiles) {
    struct Case {
        const char* name;
        std::optional<std::string> file;
        std::array<int, 3> values;
        std::string fileAfterStart;
    };
    const Case cases[] = {
        {"missing", std::nullopt, {0, 0, 0}, ""},
        {"written by the program", "DevID=07;InIdx=02;OutIdx=11", {7, 2, 11}, "DevID=07;InIdx=02;OutIdx=11"},
        {"other labels", "abcdef42ghijklm13nopqrstu99", {42, 13, 99}, "abcdef42ghijklm13nopqrstu99"},
        {"26 bytes", "DevID=07;InIdx=02;OutIdx=1", {0, 0, 0}, ""},
        {"28 bytes", "DevID=07;InIdx=02;OutIdx=110", {0, 0, 0}, ""},
        {"written with -1", "DevID=-01;InIdx=00;OutIdx=03", {0, 0, 0}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VF1Settings::Release();
        fs::remove(path);
        if (c.file) WriteFile(path, *c.file);
        EXPECT_EQ(Start(), c.values);
        ASSERT_TRUE(fs::exists(path));
        EXPECT_EQ(ReadFile(path), c.fileAfterStart);
    }
}

// Save writes the three values with two digits each; values outside 0..99 make a longer file,
// which the next start refuses.
TEST_F(Settings, SaveWritesTheValuesBack) {
    struct Case {
        const char* name;
        bool fileBefore;
        std::array<int, 3> values;
        std::string written;
        std::array<int, 3> nextStart;
    };
    const Case cases[] = {
        {"new file", false, {5, 12, 3}, "DevID=05;InIdx=12;OutIdx=03", {5, 12, 3}},
        {"over a valid file", true, {16, 0, 99}, "DevID=16;InIdx=00;OutIdx=99", {16, 0, 99}},
        {"-1", true, {-1, 0, 0}, "DevID=-01;InIdx=00;OutIdx=00", {0, 0, 0}},
        {"100", true, {0, 100, 0}, "DevID=00;InIdx=100;OutIdx=00", {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VF1Settings::Release();
        fs::remove(path);
        if (c.fileBefore) WriteFile(path, "DevID=01;InIdx=02;OutIdx=03");
        VF1Settings& s = VF1Settings::Instance();
        s.SetDevID(c.values[0]);
        s.SetInIdx(c.values[1]);
        s.SetOutIdx(c.values[2]);
        s.Save();
        EXPECT_EQ(ReadFile(path), c.written);
        EXPECT_EQ(Start(), c.nextStart);
    }
}

// What the command-line tool takes its default ports from: the values of a 27-byte file, read
// without creating, emptying or writing the file (as a start would), and nothing from a file of
// another size.
TEST_F(Settings, ReadValuesLeavesTheFileAlone) {
    struct Case {
        const char* name;
        std::optional<std::string> file;
        std::optional<std::array<int, 3>> values;
    };
    const Case cases[] = {
        {"missing", std::nullopt, std::nullopt},
        {"written by the program", "DevID=07;InIdx=02;OutIdx=11", std::array{7, 2, 11}},
        {"26 bytes", "DevID=07;InIdx=02;OutIdx=1", std::nullopt},
        {"28 bytes", "DevID=07;InIdx=02;OutIdx=110", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path);
        if (c.file) WriteFile(path, *c.file);
        const auto values = VF1Settings::ReadValues();
        ASSERT_EQ(values.has_value(), c.values.has_value());
        if (values) {
            EXPECT_EQ((std::array{values->devId, values->inIdx, values->outIdx}), *c.values);
        }
        EXPECT_EQ(fs::exists(path), c.file.has_value());
        if (c.file) {
            EXPECT_EQ(ReadFile(path), *c.file);
        }
    }
}

TEST_F(Settings, NamesFileSitsBesideTheSettings) {
    EXPECT_EQ(VF1Settings::NamesPath("settings.cfg"), "settings.devices.cfg");
    EXPECT_EQ(VF1Settings::NamesPath("/home/u/.config/quellin/settings.cfg"),
              "/home/u/.config/quellin/settings.devices.cfg");
    EXPECT_EQ(VF1Settings::NamesPath("/tmp/my.d/quellin"), "/tmp/my.d/quellin.devices");
    EXPECT_EQ(VF1Settings::NamesPath("/tmp/.quellin"), "/tmp/.quellin.devices");
}

// Saving writes both files; settings.cfg keeps its 27 bytes, and the next start reads the names
// back for the indexes they were written with.
TEST_F(Settings, SaveWritesTheNamesAndAStartReadsThemBack) {
    const fs::path names = VF1Settings::NamesPath(path.string());
    {
        VF1Settings& s = VF1Settings::Instance();
        s.SetDevID(4);
        s.SetInIdx(2);
        s.SetOutIdx(11);
        s.SetInName("JACK: unit B:MIDI OUT");
        s.SetOutName("ALSA: VF-1:VF-1 MIDI 1 20:0");
        s.Save();
    }
    EXPECT_EQ(ReadFile(path), "DevID=04;InIdx=02;OutIdx=11");
    EXPECT_EQ(ReadFile(names),
              "InIdx=2\nInName=JACK: unit B:MIDI OUT\nOutIdx=11\nOutName=ALSA: VF-1:VF-1 MIDI 1 20:0\n");

    VF1Settings::Release();
    const VF1Settings& s = VF1Settings::Instance();
    EXPECT_EQ(s.GetInName(), "JACK: unit B:MIDI OUT");
    EXPECT_EQ(s.GetOutName(), "ALSA: VF-1:VF-1 MIDI 1 20:0");
    const auto values = VF1Settings::ReadValues();
    ASSERT_TRUE(values);
    EXPECT_EQ(values->inName, "JACK: unit B:MIDI OUT");
    EXPECT_EQ(values->outName, "ALSA: VF-1:VF-1 MIDI 1 20:0");
}

// Names are taken only for the indexes they were written with, and only from a file that is
// one: a settings.cfg changed by something else, a damaged or oversized names file, or none at
// all leave the devices to their indexes, as without a names file.
TEST_F(Settings, NamesThatDoNotFitAreNotTaken) {
    struct Case {
        const char* what;
        std::optional<std::string> text; // none: no names file
        const char* in;
        const char* out;
    };
    const fs::path names = VF1Settings::NamesPath(path.string());
    const std::string huge = "InIdx=2\nInName=" + std::string(5000, 'x') + "\nOutIdx=7\nOutName=b\n";
    const Case cases[] = {
        {"no names file", std::nullopt, "", ""},
        {"both fit", "InIdx=2\nInName=a\nOutIdx=7\nOutName=b\n", "a", "b"},
        {"in written for another index", "InIdx=3\nInName=a\nOutIdx=7\nOutName=b\n", "", "b"},
        {"out written for another index", "InIdx=2\nInName=a\nOutIdx=07\nOutName=b\n", "a", ""},
        {"no indexes", "InName=a\nOutName=b\n", "", ""},
        {"no final line break", "OutName=b=c\nOutIdx=7", "", "b=c"},
        {"oversized", huge, "", ""},
        {"binary", std::string("\x00\x01\n\x02", 4), "", ""},
    };
    for (const Case& c : cases) {
        WriteFile(path, "DevID=00;InIdx=02;OutIdx=07");
        fs::remove(names);
        if (c.text) WriteFile(names, *c.text);
        VF1Settings::Release();
        const VF1Settings& s = VF1Settings::Instance();
        EXPECT_EQ(s.GetInIdx(), 2) << c.what;
        EXPECT_EQ(s.GetOutIdx(), 7) << c.what;
        EXPECT_EQ(s.GetInName(), c.in) << c.what;
        EXPECT_EQ(s.GetOutName(), c.out) << c.what;
        VF1Settings::Release();
        EXPECT_EQ(ReadFile(path), "DevID=00;InIdx=02;OutIdx=07") << c.what;
    }
}

// A name that would break the file's lines is not kept: that device goes by its index alone.
TEST_F(Settings, NameWithALineBreakIsNotWritten) {
    const fs::path names = VF1Settings::NamesPath(path.string());
    {
        VF1Settings& s = VF1Settings::Instance();
        s.SetOutName("evil\nInIdx=0\nInName=x");
        s.SetInName("fine");
        s.Save();
    }
    EXPECT_EQ(ReadFile(names), "InIdx=0\nInName=fine\nOutIdx=0\nOutName=\n");
}
