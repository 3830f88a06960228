#pragma once
// The MIDI LFO's engine: a Control Change sweep of one controller on one channel, played through
// the output device's stream as two buffers, each half a cycle, that a worker thread queues in
// turn: A, then B once A is done, then A again. A change of channel, controller, wave or rate is
// built into both buffers at the worker's next pass and is heard from the next buffer queued.
// Starting takes the device from the SysEx output; the SysEx output stops the LFO and waits until
// it is no longer busy before it takes the device back.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <semaphore>
#include <thread>

#include "midi/MidiStream.h"

class MidiDriver;
class VF1MIDI;

enum LfoWave : int { kLfoSine = 0, kLfoTriangle, kLfoSquare, kLfoSawUp, kLfoSawDown };
inline constexpr int kLfoWaveCount = 5;

// The stream's clock: 960 ticks per quarter note at 500000 us per quarter note.
inline constexpr uint32_t kLfoTimeDivision = 960;
inline constexpr uint32_t kLfoTempo = 500000;
inline constexpr int kLfoTicksPerSecond = (1000000 / kLfoTempo) * kLfoTimeDivision; // 1920

inline constexpr int kLfoBufferEvents = 126;

// Shown when the stream cannot be opened, or the device fails while it plays.
inline constexpr const char* kLfoDeviceError =
    "Error sending SysEx! Make sure you've selected a valid MIDI Out Device.";

// One half of a cycle: count events of 12 bytes (sine and triangle 126, square 1, saws 64).
struct LfoBuffer {
    std::array<MidiStreamEvent, kLfoBufferEvents> events{};
    size_t count = 0;
};

// A wave table entry: the level above or below the middle, and the step's share of a cycle.
struct LfoTableEntry {
    int level;
    float fraction;
};
using LfoTable = std::array<LfoTableEntry, 64>;

class MIDILFOStream {
  public:
    explicit MIDILFOStream(VF1MIDI& midi);
    ~MIDILFOStream();
    MIDILFOStream(const MIDILFOStream&) = delete;
    MIDILFOStream& operator=(const MIDILFOStream&) = delete;

    // Takes the output device from the SysEx output and opens it as a stream; false (after its
    // message) when the stream cannot be opened.
    bool Start();
    // Ends the worker, which closes the stream; the engine is idle and not busy once it returns.
    void Stop();
    bool IsRunning() const { return running.load(); }
    // The stream is open; the SysEx output waits for this to end.
    bool IsBusy() const { return busy.load(); }

    // Out-of-range values are ignored: channel 1..16, controller 0..127, wave 0..4, rate above 0.
    void SetChannel(int channel);
    void SetController(int controller);
    void SetWave(int wave);
    void SetRate(float rate);
    int Channel() const { return channel.load(); }
    int Controller() const { return controller.load(); }
    int Wave() const { return wave.load(); }
    float Rate() const { return rate.load(); }

    // Runs on the worker's thread when the worker ends by itself because the device refused a
    // buffer (the stream is closed by then and the engine idle). Set while the engine is idle.
    void SetFailureHandler(std::function<void()> handler) { onFailure = std::move(handler); }

    static const LfoTable& SineTable();
    static const LfoTable& TriangleTable();
    // Ticks per cycle at a rate in Hz.
    static float TicksPerCycle(float rate);
    // A Control Change with the level as its value, asking for a position callback.
    static uint32_t EventWord(int level, int controller, uint8_t status);
    // The two buffers of a cycle of ticksPerCycle ticks.
    static void BuildBuffers(int wave, float ticksPerCycle, int controller, uint8_t status, LfoBuffer& a,
                             LfoBuffer& b);

  private:
    void Run();
    // Prepares and queues a buffer; false if the stream refused either.
    bool Queue(MidiStreamBuffer& header, const LfoBuffer& buffer);
    void StreamCallback(int notice);
    void JoinWorker();

    VF1MIDI& midi;
    MidiDriver* driver = nullptr; // the one the stream was opened on
    MidiStream* stream = nullptr;
    MidiStreamBuffer headerA, headerB;
    int result = 0; // the last platform result
    LfoBuffer bufferA, bufferB;

    // Shared with the worker and the stream's thread.
    std::atomic<bool> running{false};
    std::atomic<bool> channelChanged{true}, controllerChanged{true}, waveChanged{true}, rateChanged{true};
    std::atomic<int> channel{1};
    std::atomic<int> controller{1};
    std::atomic<int> wave{kLfoSine};
    std::atomic<float> rate{0.1f};
    std::atomic<int> bufferState{0}; // 0 queue A, 1 A playing, 2 queue B, 3 B playing, 4 cycle over
    std::atomic<bool> busy{false};
    // Wakes the worker when a buffer is done or the engine stops, so the next buffer follows at once.
    std::counting_semaphore<1024> wake{0};

    uint8_t status = 0xB0; // the worker's own
    unsigned device = 0;
    std::function<void()> onFailure;
    std::thread worker;
};
