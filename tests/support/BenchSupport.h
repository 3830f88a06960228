#pragma once
// What the benchmarks share: percentiles as counters, and a MIDI output that notes when each
// message is handed to it.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "midi/MidiDriver.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// Median, 99th percentile and maximum of the samples, as counters named with their unit.
inline void ReportPercentiles(benchmark::State& state, std::vector<double> samples,
                              const std::string& unit = "us") {
    if (samples.empty()) return;
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        return samples[std::min(samples.size() - 1, static_cast<size_t>(std::ceil(q * samples.size())) - 1)];
    };
    state.counters["median_" + unit] = at(0.5);
    state.counters["p99_" + unit] = at(0.99);
    state.counters["max_" + unit] = samples.back();
    state.counters["samples"] = static_cast<double>(samples.size());
}

// An output that notes when each long message is handed to it and is done with it at once.
// Refusing the message after the note lets a loop skip SendBuffer's 10 ms settle; everything
// up to the hand-over runs exactly as on success.
class HandOverDriver : public MidiDriver {
  public:
    explicit HandOverDriver(bool refuse_) : refuse(refuse_) {}
    std::vector<Clock::time_point> handedOver;

    std::vector<std::string> OutDeviceNames() override { return {"hand-over recorder"}; }
    int OpenOutput(unsigned, MidiOutputDriver::Callback cb) override {
        callback = std::move(cb);
        if (callback) callback(kMidiOutOpen);
        return kMidiOk;
    }
    int CloseOutput() override {
        if (callback) callback(kMidiOutClose);
        return kMidiOk;
    }
    int PrepareLong(MidiLongMessage& m) override {
        m.prepared = true;
        return kMidiOk;
    }
    int SendLong(MidiLongMessage& m) override {
        handedOver.push_back(Clock::now());
        if (refuse) return kMidiErrNotReady;
        m.done = true;
        if (callback) callback(kMidiOutDone);
        return kMidiOk;
    }
    int UnprepareLong(MidiLongMessage& m) override {
        m.prepared = false;
        return kMidiOk;
    }
    int OpenStream(unsigned, MidiOutputDriver::Callback) override { return kMidiErrBadDevice; }
    int CloseStream() override { return kMidiErrInvalidHandle; }
    MidiStream* OpenedStream() override { return nullptr; }
    std::vector<std::string> InDeviceNames() override { return {}; }
    int OpenInput(unsigned, MidiInputDriver::Callback) override { return kMidiErrBadDevice; }
    int PrepareInput(MidiInBuffer&) override { return kMidiErrInvalidHandle; }
    int AddBuffer(MidiInBuffer&) override { return kMidiErrInvalidHandle; }
    int StartInput() override { return kMidiErrInvalidHandle; }
    int StopInput() override { return kMidiErrInvalidHandle; }
    int ResetInput() override { return kMidiErrInvalidHandle; }
    int UnprepareInput(MidiInBuffer&) override { return kMidiErrInvalidHandle; }
    int CloseInput() override { return kMidiErrInvalidHandle; }

  private:
    bool refuse;
    MidiOutputDriver::Callback callback;
};

} // namespace bench
