// Finding the chosen MIDI devices again after the lists have moved.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "midi/DeviceChoice.h"

namespace {

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
