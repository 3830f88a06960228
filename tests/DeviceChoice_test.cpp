// Finding the chosen MIDI devices again after the lists have moved, and the names file that
// remembers them beside settings.cfg.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "midi/DeviceChoice.h"
#include "midi/VF1Settings.h"

namespace {

namespace fs = std::filesystem;
using Outcome = DeviceChoice::Outcome;
using Names = std::vector<std::string>;

const char* OutcomeName(Outcome o) {
    switch (o) {
    case Outcome::Kept:
        return "Kept";
    case Outcome::Moved:
        return "Moved";
    case Outcome::Gone:
        return "Gone";
    case Outcome::Replaced:
        return "Replaced";
    case Outcome::Unnamed:
        return "Unnamed";
    }
    return "?";
}

} // namespace

// What a replug changes and nothing else: ALSA's client:port numbers, JACK's numeric client
// suffix. Everything else that differs keeps two devices apart.
TEST(DeviceChoice, SameDeviceIgnoresOnlyWhatAReplugChanges) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"VF-1:VF-1 MIDI 1 20:0", "VF-1:VF-1 MIDI 1 24:0", true},
        {"ALSA: VF-1:VF-1 MIDI 1 20:0", "ALSA: VF-1:VF-1 MIDI 1 28:1", true},
        {"vunit-01", "vunit-02", true},
        {"JACK: vunit-01:MIDI IN", "JACK: vunit:MIDI IN", true},
        {"JACK: vunit-01:MIDI IN", "JACK: vunit-02:MIDI IN", true},
        {"VF-1", "VF-2", false},
        {"VF-1", "VF-1", true},
        {"ALSA: VF-1:VF-1 MIDI 1 20:0", "ALSA: VF-1:VF-1 MIDI 2 20:1", false},
        {"JACK: vunit-01:MIDI IN", "JACK: vunit-01:MIDI OUT", false},
        // One API's device is never the other's.
        {"ALSA: VF-1:VF-1 MIDI 1 20:0", "JACK: VF-1:VF-1 MIDI 1 20:0", false},
        // Numbers that are part of the name stay.
        {"JACK: synth-1:in", "JACK: synth-2:in", false},
        {"ALSA: Synth 20:0 x", "ALSA: Synth 24:0 x", false},
        {"JACK: a-01:in", "JACK: b-01:in", false},
        {"", "VF-1", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SameDevice(c.a, c.b), c.same) << '"' << c.a << "\" and \"" << c.b << '"';
        EXPECT_EQ(SameDevice(c.b, c.a), c.same) << '"' << c.b << "\" and \"" << c.a << '"';
    }
}

// The stored index where the remembered device still stands there, its new index where it moved,
// the stored index (flagged) where it is gone; the exact name wins over a replugged look-alike.
TEST(DeviceChoice, ResolveFindsTheRememberedDevice) {
    const std::string b = "JACK: unit B:MIDI IN";
    struct Case {
        const char* what;
        Names names;
        int stored;
        std::string remembered;
        int index;
        Outcome outcome;
    };
    const Case cases[] = {
        {"still there", {"JACK: unit A:MIDI IN", b}, 1, b, 1, Outcome::Kept},
        {"every index shifted", {"JACK: other:in", "JACK: unit A:MIDI IN", b}, 1, b, 2, Outcome::Moved},
        {"moved to the front", {b, "JACK: unit A:MIDI IN"}, 1, b, 0, Outcome::Moved},
        {"gone, another at its index",
         {"JACK: unit A:MIDI IN", "JACK: other:in"},
         1,
         b,
         1,
         Outcome::Replaced},
        {"gone, nothing at its index", {"JACK: unit A:MIDI IN"}, 1, b, 1, Outcome::Gone},
        {"gone, empty list", {}, 0, b, 0, Outcome::Gone},
        {"no name remembered", {"JACK: unit A:MIDI IN", b}, 1, "", 1, Outcome::Unnamed},
        {"no name, index past the list", {"JACK: unit A:MIDI IN"}, 4, "", 4, Outcome::Unnamed},
        {"replugged, new numbers",
         {"ALSA: Midi Through:Midi Through Port-0 14:0", "ALSA: VF-1:VF-1 MIDI 1 24:0"},
         1,
         "ALSA: VF-1:VF-1 MIDI 1 20:0",
         1,
         Outcome::Kept},
        {"replugged and moved",
         {"ALSA: VF-1:VF-1 MIDI 1 24:0", "ALSA: Midi Through:Midi Through Port-0 14:0"},
         1,
         "ALSA: VF-1:VF-1 MIDI 1 20:0",
         0,
         Outcome::Moved},
        // Two alike units: the one chosen is found by its exact name wherever it stands, before
        // its twin at the stored index.
        {"twin at the stored index",
         {"JACK: vunit:MIDI IN", "JACK: vunit-01:MIDI IN"},
         0,
         "JACK: vunit-01:MIDI IN",
         1,
         Outcome::Moved},
        {"twin renumbered",
         {"JACK: x:in", "JACK: vunit-02:MIDI IN"},
         0,
         "JACK: vunit-01:MIDI IN",
         1,
         Outcome::Moved},
    };
    for (const Case& c : cases) {
        const DeviceChoice got = ResolveDevice(c.names, c.stored, c.remembered);
        EXPECT_EQ(got.index, c.index) << c.what;
        EXPECT_STREQ(OutcomeName(got.outcome), OutcomeName(c.outcome)) << c.what;
    }
}

// The name kept for the next start: the device's name as listed now, the remembered one while it
// is away (so that it is found when it comes back).
TEST(DeviceChoice, NameToRememberKeepsAnAbsentDevicesName) {
    const Names names{"JACK: a:in", "JACK: vunit-02:in"};
    EXPECT_EQ(NameToRemember({1, Outcome::Moved}, names, "JACK: vunit-01:in"), "JACK: vunit-02:in");
    EXPECT_EQ(NameToRemember({0, Outcome::Unnamed}, names, ""), "JACK: a:in");
    EXPECT_EQ(NameToRemember({0, Outcome::Replaced}, names, "JACK: b:in"), "JACK: b:in");
    EXPECT_EQ(NameToRemember({5, Outcome::Gone}, names, "JACK: b:in"), "JACK: b:in");
    EXPECT_EQ(NameToRemember({5, Outcome::Unnamed}, names, ""), "");
}

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

class RememberedNames : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("quellin-names-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = dir / "settings.cfg";
        names = dir / "settings.devices.cfg";
        VF1Settings::Release();
        VF1Settings::SetPath(path.string());
    }
    void TearDown() override {
        VF1Settings::Release();
        VF1Settings::SetPath("settings.cfg");
        fs::remove_all(dir);
    }

    fs::path dir, path, names;
};

} // namespace

TEST_F(RememberedNames, NamesFileSitsBesideTheSettings) {
    EXPECT_EQ(VF1Settings::NamesPath("settings.cfg"), "settings.devices.cfg");
    EXPECT_EQ(VF1Settings::NamesPath("/home/u/.config/quellin/settings.cfg"),
              "/home/u/.config/quellin/settings.devices.cfg");
    EXPECT_EQ(VF1Settings::NamesPath("/tmp/my.d/quellin"), "/tmp/my.d/quellin.devices");
    EXPECT_EQ(VF1Settings::NamesPath("/tmp/.quellin"), "/tmp/.quellin.devices");
}

// Saving writes both files; settings.cfg keeps its 27 bytes, and the next start reads the names
// back for the indexes they were written with.
TEST_F(RememberedNames, SaveWritesTheNamesAndAStartReadsThemBack) {
    {
        VF1Settings& s = VF1Settings::Instance();
        s.SetDevID(4);
        s.SetInIdx(2);
        s.SetOutIdx(11);
        s.SetInName("JACK: unit B:MIDI OUT");
        s.SetOutName("ALSA: VF-1:VF-1 MIDI 1 20:0");
        s.Save();
    }
    EXPECT_EQ(ReadText(path), "DevID=04;InIdx=02;OutIdx=11");
    EXPECT_EQ(ReadText(names),
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
TEST_F(RememberedNames, NamesThatDoNotFitAreNotTaken) {
    struct Case {
        const char* what;
        std::optional<std::string> text; // none: no names file
        const char* in;
        const char* out;
    };
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
        WriteText(path, "DevID=00;InIdx=02;OutIdx=07");
        fs::remove(names);
        if (c.text) WriteText(names, *c.text);
        VF1Settings::Release();
        const VF1Settings& s = VF1Settings::Instance();
        EXPECT_EQ(s.GetInIdx(), 2) << c.what;
        EXPECT_EQ(s.GetOutIdx(), 7) << c.what;
        EXPECT_EQ(s.GetInName(), c.in) << c.what;
        EXPECT_EQ(s.GetOutName(), c.out) << c.what;
        VF1Settings::Release();
        EXPECT_EQ(ReadText(path), "DevID=00;InIdx=02;OutIdx=07") << c.what;
    }
}

// A name that would break the file's lines is not kept: that device goes by its index alone.
TEST_F(RememberedNames, NameWithALineBreakIsNotWritten) {
    {
        VF1Settings& s = VF1Settings::Instance();
        s.SetOutName("evil\nInIdx=0\nInName=x");
        s.SetInName("fine");
        s.Save();
    }
    EXPECT_EQ(ReadText(names), "InIdx=0\nInName=fine\nOutIdx=0\nOutName=\n");
}
