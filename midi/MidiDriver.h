#pragma once
// What the MIDI object needs of the machine's MIDI services: device lists, an output that takes
// long SysEx messages asynchronously and reports when it is done with them, and notices for
// open and close. Drivers call the callbacks from threads of their own.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Notices, numbered as the platform numbers them so that texts and tests can name them.
enum MidiNotice : int {
    kMidiInOpen = 961,
    kMidiInClose = 962,
    kMidiInLongData = 964,
    kMidiOutOpen = 967,
    kMidiOutClose = 968,
    kMidiOutDone = 969,
};

// Result codes of driver calls (0 = success), shown in the program's "rc = %d" texts.
inline constexpr int kMidiOk = 0;
inline constexpr int kMidiErrBadDevice = 2; // no such device
inline constexpr int kMidiErrAllocated = 4; // device already in use
inline constexpr int kMidiErrInvalidHandle = 5;
inline constexpr int kMidiErrNoDriver = 6; // the device went away
inline constexpr int kMidiErrUnprepared = 64;
inline constexpr int kMidiErrStillPlaying = 65;
inline constexpr int kMidiErrNotReady = 67;

// One long message handed to an output. The driver sets done once it no longer needs the bytes.
struct MidiLongMessage {
    const uint8_t* data = nullptr;
    size_t size = 0;
    bool prepared = false;
    std::atomic<bool> done{false};
};

class MidiOutputDriver {
  public:
    using Callback = std::function<void(int notice)>;
    virtual ~MidiOutputDriver() = default;

    virtual std::vector<std::string> OutDeviceNames() = 0; // "Invalid Device" where a name can't be read
    virtual int OpenOutput(unsigned device, Callback callback) = 0;
    virtual int CloseOutput() = 0;
    virtual int PrepareLong(MidiLongMessage& message) = 0;
    // Starts sending; the done notice arrives through the callback when all bytes are handed on.
    virtual int SendLong(MidiLongMessage& message) = 0;
    virtual int UnprepareLong(MidiLongMessage& message) = 0;
};
