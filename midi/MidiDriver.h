#pragma once
// What the MIDI object needs of the machine's MIDI services, modelled on what a platform MIDI
// layer offers: device lists; an output that takes long SysEx messages asynchronously and says
// when it is done with them; an input that fills buffers the caller queues and hands each back
// filled; open and close notices. Drivers call the callbacks from threads of their own.

#include <array>
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
    kMidiOutPositionCb = 970, // a stream event that asked for a callback has been played
};

// Result codes of driver calls (0 = success), shown in the program's "rc = %d" texts.
inline constexpr int kMidiOk = 0;
inline constexpr int kMidiErrError = 1;     // unspecified failure
inline constexpr int kMidiErrBadDevice = 2; // no such device
inline constexpr int kMidiErrAllocated = 4; // device already in use
inline constexpr int kMidiErrInvalidHandle = 5;
inline constexpr int kMidiErrNoDriver = 6; // the device or its server went away
inline constexpr int kMidiErrNoMemory = 7;
inline constexpr int kMidiErrInvalidParam = 11;
inline constexpr int kMidiErrUnprepared = 64;
inline constexpr int kMidiErrStillPlaying = 65;
inline constexpr int kMidiErrNotReady = 67;

inline constexpr const char* kInvalidDeviceName = "Invalid Device";

// One long message handed to an output. The driver sets done once it no longer needs the bytes.
struct MidiLongMessage {
    const uint8_t* data = nullptr;
    size_t size = 0;
    bool prepared = false;
    std::atomic<bool> done{false};
};

// One input buffer. The caller queues it; the driver fills it and hands it back through the
// callback with bytesRecorded set (0 when handed back by a reset).
inline constexpr size_t kMidiInBufferSize = 255;
struct MidiInBuffer {
    std::array<uint8_t, kMidiInBufferSize> data{};
    size_t length = kMidiInBufferSize;
    std::atomic<int> bytesRecorded{0};
    bool prepared = false;
};

class MidiStream;

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

    // Timed output (the LFO, midi/MidiStream.h): the device opened as a stream, which starts
    // paused. A device is either an output or a stream at a time; each refuses to open while the
    // other is open.
    virtual int OpenStream(unsigned device, Callback callback) = 0;
    virtual int CloseStream() = 0;
    // The open stream, or null.
    virtual MidiStream* OpenedStream() = 0;
};

class MidiInputDriver {
  public:
    using Callback = std::function<void(int notice, MidiInBuffer* buffer)>;
    virtual ~MidiInputDriver() = default;

    virtual std::vector<std::string> InDeviceNames() = 0;
    virtual int OpenInput(unsigned device, Callback callback) = 0;
    virtual int PrepareInput(MidiInBuffer& buffer) = 0;
    virtual int AddBuffer(MidiInBuffer& buffer) = 0;
    virtual int StartInput() = 0;
    virtual int StopInput() = 0;
    // Hands back every queued buffer with 0 bytes.
    virtual int ResetInput() = 0;
    virtual int UnprepareInput(MidiInBuffer& buffer) = 0;
    // No callback runs once this has returned.
    virtual int CloseInput() = 0;
};

class MidiDriver : public MidiOutputDriver, public MidiInputDriver {};
