#pragma once
// A device's timed output, as a platform MIDI stream offers it: the owner queues buffers of
// events, each with its delta time in ticks after the event before it; the stream plays them in
// order and reports each buffer done through the callback the device was opened with. The clock
// runs at time division x 1000000 / tempo ticks per second (960 ticks per quarter note at 500000 us
// per quarter note give 1920). The drivers open a device as a stream (MidiOutputDriver::OpenStream);
// the player behind this interface is theirs.

#include <atomic>
#include <cstddef>
#include <cstdint>

// One event of a stream buffer, 12 bytes as the platform lays them out.
struct MidiStreamEvent {
    uint32_t delta = 0;    // ticks after the previous event
    uint32_t streamId = 0; // always 0
    uint32_t event = 0;    // flags and type in the top byte, then the short message, status lowest
};
static_assert(sizeof(MidiStreamEvent) == 12);

// The top byte of an event word.
inline constexpr uint32_t kStreamEventCallback = 0x40000000; // report a position notice when played
inline constexpr uint32_t kStreamEventLong = 0x80000000;     // not a short message: ignored
inline constexpr uint32_t kStreamShortMessage = 0x00;        // event type of a short message

// One buffer handed to a stream. The stream copies the events when the buffer is queued and sets
// done once it has played the last of them.
struct MidiStreamBuffer {
    const MidiStreamEvent* events = nullptr;
    size_t count = 0;
    bool prepared = false;
    std::atomic<bool> done{false};
};

class MidiStream {
  public:
    virtual ~MidiStream() = default;

    // The clock's properties; a change counts from where the clock stands.
    virtual int SetTimeDivision(uint32_t ticksPerQuarter) = 0;
    virtual int SetTempo(uint32_t microsPerQuarter) = 0;
    virtual int Prepare(MidiStreamBuffer& buffer) = 0;
    // Queues a prepared buffer behind those already queued.
    virtual int Out(MidiStreamBuffer& buffer) = 0;
    // Starts the clock (a new stream starts paused), or goes on after a pause.
    virtual int Restart() = 0;
    virtual int Pause() = 0;
    // Refused while the buffer is still queued; closing the stream takes queued buffers back.
    virtual int Unprepare(MidiStreamBuffer& buffer) = 0;
};
