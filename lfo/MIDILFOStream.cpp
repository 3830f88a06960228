#include "lfo/MIDILFOStream.h"

#include <chrono>
#include <cmath>
#include <numbers>

#include "midi/ThreadName.h"
#include "midi/VF1MIDI.h"
#include "model/Report.h"

namespace {

// The worker's nap between looks at the buffers; a done report ends it early.
constexpr auto kNap = std::chrono::milliseconds(10);

// One step of a buffer: the level it sets and its share of a cycle, after the step before.
struct Step {
    int level;
    double fraction;
};

// Fills a buffer with steps. Each event falls on the tick in which its exact time lies, so the
// ticks lost to rounding never add up: a half cycle lasts its exact length to within a tick, at
// any rate. (Rounding every step on its own would make a 1 Hz triangle run at 1.09 Hz and leave a
// 10 Hz one no time at all.)
template <class Steps>
void Fill(LfoBuffer& buffer, const Steps& steps, float ticksPerCycle, int controller, uint8_t status) {
    double exact = 0;
    uint64_t previous = 0;
    buffer.count = 0;
    for (const Step& s : steps) {
        exact += static_cast<double>(ticksPerCycle) * s.fraction;
        const auto tick = static_cast<uint64_t>(std::floor(exact + 1e-6));
        buffer.events[buffer.count++] = {static_cast<uint32_t>(tick - previous), 0,
                                         MIDILFOStream::EventWord(s.level, controller, status)};
        previous = tick;
    }
}

// Sine and triangle: up from the middle to the peak and back to just above the middle (A), then
// down to just above the trough and back (B). The way back reuses the way out's steps shifted by
// one, so each level lasts as long as the step that led to it on the way out.
std::array<Step, kLfoBufferEvents> RoundTrip(const LfoTable& table, int sign) {
    std::array<Step, kLfoBufferEvents> steps{};
    size_t n = 0;
    for (int i = 0; i <= 63; ++i) steps[n++] = {64 + sign * table[i].level, table[i].fraction};
    for (int i = 62; i >= 1; --i) steps[n++] = {64 + sign * table[i].level, table[i + 1].fraction};
    return steps;
}

// A saw: 64 rising or falling levels from first, each T/126 after the one before.
std::array<Step, 64> Ramp(int first, int direction) {
    std::array<Step, 64> steps{};
    for (int i = 0; i < 64; ++i) steps[i] = {first + direction * i, 1.0 / 126};
    return steps;
}

} // namespace

const LfoTable& MIDILFOStream::SineTable() {
    // Levels in equal steps, each lasting the time a sine takes to climb it: the arcsine spacing,
    // in single precision; the shares add up to a quarter period.
    static const LfoTable table = [] {
        LfoTable t{};
        const float twoPi = 2.0f * std::numbers::pi_v<float>;
        t[0] = {0, 0.0f};
        for (int i = 1; i < 64; ++i)
            t[i] = {
                i, (std::asin(static_cast<float>(i) / 63.0f) - std::asin(static_cast<float>(i - 1) / 63.0f)) /
                       twoPi};
        return t;
    }();
    return table;
}

const LfoTable& MIDILFOStream::TriangleTable() {
    static const LfoTable table = [] {
        LfoTable t{};
        for (int i = 0; i < 64; ++i) t[i] = {i, 1.0f / 252.0f};
        return t;
    }();
    return table;
}

float MIDILFOStream::TicksPerCycle(float rate) {
    return static_cast<float>(kLfoTicksPerSecond) / rate;
}

uint32_t MIDILFOStream::EventWord(int level, int controller, uint8_t status) {
    return kStreamEventCallback + static_cast<uint32_t>(level) * 65536 +
           static_cast<uint32_t>(controller) * 256 + status;
}

void MIDILFOStream::BuildBuffers(int wave, float ticksPerCycle, int controller, uint8_t status, LfoBuffer& a,
                                 LfoBuffer& b) {
    switch (wave) {
    case kLfoSine:
    case kLfoTriangle: {
        const LfoTable& table = wave == kLfoSine ? SineTable() : TriangleTable();
        Fill(a, RoundTrip(table, +1), ticksPerCycle, controller, status);
        Fill(b, RoundTrip(table, -1), ticksPerCycle, controller, status);
        break;
    }
    case kLfoSquare:
        Fill(a, std::array{Step{127, 0.5}}, ticksPerCycle, controller, status);
        Fill(b, std::array{Step{0, 0.5}}, ticksPerCycle, controller, status);
        break;
    case kLfoSawUp:
        Fill(a, Ramp(64, +1), ticksPerCycle, controller, status);
        Fill(b, Ramp(0, +1), ticksPerCycle, controller, status);
        break;
    case kLfoSawDown:
        Fill(a, Ramp(63, -1), ticksPerCycle, controller, status);
        Fill(b, Ramp(127, -1), ticksPerCycle, controller, status);
        break;
    default:
        break;
    }
}

MIDILFOStream::MIDILFOStream(VF1MIDI& midi_) : midi(midi_) {
    SineTable();
    TriangleTable();
}

MIDILFOStream::~MIDILFOStream() {
    Stop();
}

void MIDILFOStream::SetChannel(int value) {
    if (value < 1 || value > 16) return;
    channel = value;
    channelChanged = true;
}

void MIDILFOStream::SetController(int value) {
    if (value < 0 || value > 127) return;
    controller = value;
    controllerChanged = true;
}

void MIDILFOStream::SetWave(int value) {
    if (value < 0 || value >= kLfoWaveCount) return;
    wave = value;
    waveChanged = true;
}

void MIDILFOStream::SetRate(float value) {
    if (!(value > 0) || !std::isfinite(value)) return;
    rate = value;
    rateChanged = true;
}

bool MIDILFOStream::Start() {
    if (running) return true;
    // A worker that ended by itself has closed its stream; it only remains to be joined.
    JoinWorker();
    running = true;
    midi.CloseOutput();
    device = midi.GetOutDevice();
    busy = true;
    driver = midi.GetDriver();
    result = driver ? driver->OpenStream(device, [this](int notice) { StreamCallback(notice); })
                    : kMidiErrBadDevice;
    stream = result == kMidiOk ? driver->OpenedStream() : nullptr;
    if (!stream) {
        if (result == kMidiOk) driver->CloseStream();
        // Nothing runs, so nothing is busy: a later SysEx send must not wait for this stream.
        running = false;
        busy = false;
        ShowMessage(kLfoDeviceError, MessageStyle::Error);
        return false;
    }
    stream->SetTimeDivision(kLfoTimeDivision);
    stream->SetTempo(kLfoTempo);
    worker = std::thread([this] { Run(); });
    return true;
}

void MIDILFOStream::Stop() {
    if (!running) {
        JoinWorker();
        return;
    }
    running = false;
    wake.release();
    JoinWorker();
}

void MIDILFOStream::JoinWorker() {
    if (worker.joinable() && worker.get_id() != std::this_thread::get_id()) worker.join();
}

void MIDILFOStream::StreamCallback(int notice) {
    // Position notices (one per event) and the rest say nothing the worker needs.
    if (notice != kMidiOutDone) return;
    bufferState.fetch_add(1);
    wake.release();
}

bool MIDILFOStream::Queue(MidiStreamBuffer& header, const LfoBuffer& buffer) {
    header.events = buffer.events.data();
    header.count = buffer.count;
    if ((result = stream->Prepare(header)) != kMidiOk) return false;
    return (result = stream->Out(header)) == kMidiOk;
}

void MIDILFOStream::Run() {
    NameThisThread("quellin-lfo");
    bufferState = 0;
    float ticksPerCycle = TicksPerCycle(rate);
    bool first = true;
    bool failed = false;
    while (running && !failed) {
        bool rebuild = false;
        const bool channelNew = channelChanged.exchange(false);
        if (controllerChanged.exchange(false) || channelNew) {
            status = static_cast<uint8_t>(0xB0 + channel - 1);
            rebuild = true;
        }
        if (rateChanged.exchange(false)) {
            ticksPerCycle = TicksPerCycle(rate);
            rebuild = true;
        }
        // The stream copies a buffer when it is queued, so both can be rebuilt at any time.
        if (waveChanged.exchange(false) || rebuild)
            BuildBuffers(wave, ticksPerCycle, controller, status, bufferA, bufferB);
        switch (bufferState.load()) {
        case 0:
            bufferState = 1;
            failed = !Queue(headerA, bufferA);
            // A new stream starts paused.
            if (!failed && first) {
                stream->Restart();
                first = false;
            }
            break;
        case 2:
            bufferState = 3;
            failed = !Queue(headerB, bufferB);
            break;
        case 4:
            bufferState = 0;
            break;
        default:
            (void)wake.try_acquire_for(kNap);
            break;
        }
    }
    stream->Pause();
    stream->Unprepare(headerA);
    stream->Unprepare(headerB);
    driver->CloseStream();
    stream = nullptr;
    if (failed) running = false;
    busy = false;
    if (failed && onFailure) onFailure();
}
