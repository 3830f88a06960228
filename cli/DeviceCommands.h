#pragma once
// The tool's commands that talk to the unit over MIDI, and the emulator of the unit.

#include <optional>
#include <string>

struct PortOptions {
    int out = -1;
    std::string outName;
    int in = -1;
    std::string inName;
    int deviceId = 0;
};

// The tempo range of the global settings, and the value that makes the tempo follow MIDI clock.
inline constexpr int kMinTempo = 40;
inline constexpr int kMaxTempo = 250;
inline constexpr int kTempoFollowsMidi = 251;

struct GlobalChanges {
    std::optional<int> outLevel, nsThreshold, reverbLevel, output, directMix;
    std::optional<int> tempo; // kMinTempo..kMaxTempo or kTempoFollowsMidi
};

struct EmulateOptions {
    std::string api; // "jack", "alsa" or "" for the first that works
    std::string portName = "Quellin VF-1 emulator";
    std::string bank;
    std::string save;
    bool fast = false;
};

int RunPorts();
int RunSendPatch(const PortOptions& ports, const std::string& path, const std::string& to);
int RunRequestPatch(const PortOptions& ports, const std::string& from, const std::string& output,
                    double timeout);
int RunSendBank(const PortOptions& ports, const std::string& path);
int RunReceiveBank(const PortOptions& ports, const std::string& output, double timeout);
int RunGetGlobal(const PortOptions& ports, bool json);
int RunSetGlobal(const PortOptions& ports, const GlobalChanges& changes);
int RunEmulate(const EmulateOptions& options);

struct LfoOptions {
    std::string wave = "sine";
    int channel = 1;
    int controller = 1;
    std::string rate;  // Hz, if rateGiven; otherwise from the tempo, or 0.1
    std::string tempo; // BPM, if tempoGiven; otherwise 120
    bool rateGiven = false;
    bool tempoGiven = false;
    std::string timeSig; // "2/4" .. "5/4"; empty: 4/4
    int cycles = 0;      // per bar, 1..16; 0: 1
    double seconds = 0;  // 0: until interrupted
};
int RunLfo(const PortOptions& ports, const LfoOptions& options);
