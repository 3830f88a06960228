#pragma once
// Finding the MIDI device the user chose in a device list that may have moved since. settings.cfg
// keeps the chosen devices as indexes; on Linux the lists move (an interface plugged in, a JACK
// client started before another, an ALSA client renumbered after a replug), so the devices'
// names are kept beside it and looked up again at every start.

#include <string>
#include <vector>

struct DeviceChoice {
    enum class Outcome {
        Kept,     // the remembered device stands at the stored index
        Moved,    // it stands at another index now, which is the one to use
        Gone,     // it is not in the list, and nothing stands at the stored index
        Replaced, // it is not in the list, and another device stands at the stored index
        Unnamed,  // no name is remembered: the stored index, as it always was
    };
    int index = 0;
    Outcome outcome = Outcome::Unnamed;
};

// Whether two device names name one device: equal once what changes when a device is plugged in
// again is left out, and nothing else. That is the client and port numbers an ALSA name ends
// with ("VF-1:VF-1 MIDI 1 20:0") and the number JACK appends to a client whose name was taken
// ("vunit-01:in"). The API prefix ("ALSA: ", "JACK: ") counts, so a device of one API never
// matches one of the other.
bool SameDevice(const std::string& a, const std::string& b);

// The device to use from names, the current list, given the stored index and the remembered
// name (empty when none is remembered). The exact name counts before a name as SameDevice has it,
// and either where it stood before anywhere else; the first of several wins.
DeviceChoice ResolveDevice(const std::vector<std::string>& names, int storedIndex,
                           const std::string& remembered);

// The name to remember for a choice: the device's name as the list shows it now, or the
// remembered one while the device is away (so that it is found again when it comes back).
std::string NameToRemember(const DeviceChoice& choice, const std::vector<std::string>& names,
                           const std::string& remembered);
