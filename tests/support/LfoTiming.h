#pragma once
// The MIDI LFO measured from outside: "quellin-cli lfo" plays to the input port of a monitor client
// on a JACK server, and the monitor's stamps are held against the schedule the engine's buffers
// describe (start + the sum of the deltas, 1920 ticks per second).
// The monitor stamps each event with the system time at which its cycle handed it over, plus the
// event's place in the cycle: what a listening device would get. Frame counts (what jack_midi_dump
// prints) are no clock on a server without a sound card: the dummy backend never makes up for a
// cycle that woke late, so its frames fall behind the system's time by every late wake-up, about
// 1 % on a busy machine; and the server's frame-to-time estimate jumps by a tenth of a second
// when it starts over after a long stall.
// Header-only, because the tests and the benchmarks both use it.

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "lfo/MIDILFOStream.h"
#include "tests/support/ChildProcess.h"

namespace lfo_timing {

inline constexpr const char* kMonitorName = "quellin-monitor";

struct Event {
    jack_time_t us; // system time (microseconds) of the event's frame
    std::array<unsigned, 3> bytes;
};

// A client with one MIDI input that keeps every event it gets, with its time.
class Monitor {
  public:
    explicit Monitor(size_t capacity = 100000) : events(capacity) {
        jack_status_t status{};
        client = jack_client_open(kMonitorName, JackNoStartServer, &status);
        if (!client) return;
        port = jack_port_register(client, "input", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(client, &Monitor::Process, this);
        if (!port || jack_activate(client) != 0) {
            jack_client_close(client);
            client = nullptr;
        }
    }
    ~Monitor() {
        if (client) jack_client_close(client);
    }
    Monitor(const Monitor&) = delete;
    Monitor& operator=(const Monitor&) = delete;

    bool Ok() const { return client != nullptr; }
    std::string PortName() const { return std::string(kMonitorName) + ":input"; }
    // What has arrived so far.
    std::vector<Event> Events() const {
        return std::vector<Event>(events.begin(), events.begin() + static_cast<long>(count.load()));
    }

  private:
    static int Process(jack_nframes_t frames, void* self) {
        auto* m = static_cast<Monitor*>(self);
        void* buffer = jack_port_get_buffer(m->port, frames);
        const jack_time_t now = jack_get_time();
        const double usPerFrame = 1e6 / jack_get_sample_rate(m->client);
        const uint32_t n = jack_midi_get_event_count(buffer);
        size_t at = m->count.load(std::memory_order_relaxed);
        for (uint32_t i = 0; i < n && at < m->events.size(); ++i) {
            jack_midi_event_t e;
            if (jack_midi_event_get(&e, buffer, i) != 0 || e.size != 3) continue;
            const auto offset = static_cast<jack_time_t>(usPerFrame * e.time);
            m->events[at++] = {now + offset, {e.buffer[0], e.buffer[1], e.buffer[2]}};
        }
        m->count.store(at, std::memory_order_release);
        return 0;
    }

    jack_client_t* client = nullptr;
    jack_port_t* port = nullptr;
    std::vector<Event> events;
    std::atomic<size_t> count{0};
};

struct Report {
    size_t events = 0;
    size_t wrong = 0; // events whose bytes are not the schedule's
    double p50Ms = 0; // timing error against the ideal schedule, the earliest event's offset taken out
    double p99Ms = 0;
    double maxMs = 0;
    double lastMs = 0; // the last event's error: the drift over the whole run
    // The median error of the run's last second less that of its first: the drift, free of the
    // odd late event a busy machine causes.
    double driftMs = 0;
    double seconds = 0;
};

// Compares the events with the cycle the engine builds for the wave and rate, played from its start.
inline Report Compare(const std::vector<Event>& events, int wave, float rate, int channel, int controller) {
    LfoBuffer a, b;
    const auto status = static_cast<uint8_t>(0xB0 + channel - 1);
    MIDILFOStream::BuildBuffers(wave, MIDILFOStream::TicksPerCycle(rate), controller, status, a, b);
    Report r;
    r.events = events.size();
    std::vector<double> error;
    uint64_t tick = 0;
    for (size_t k = 0; k < events.size(); ++k) {
        const LfoBuffer& buffer = (k / a.count) % 2 == 0 ? a : b;
        const MidiStreamEvent& e = buffer.events[k % a.count];
        tick += e.delta;
        const std::array<unsigned, 3> expected{e.event & 0xFF, e.event >> 8 & 0xFF, e.event >> 16 & 0xFF};
        if (events[k].bytes != expected) ++r.wrong;
        const double ideal = static_cast<double>(tick) / kLfoTicksPerSecond;
        error.push_back(static_cast<double>(events[k].us - events[0].us) / 1e6 - ideal);
    }
    if (error.empty()) return r;
    const double offset = *std::min_element(error.begin(), error.end());
    for (double& e : error) e = (e - offset) * 1000;
    r.lastMs = error.back();
    r.seconds = static_cast<double>(events.back().us - events.front().us) / 1e6;
    // Nearest rank, as the benchmarks' percentiles.
    const auto percentile = [](std::vector<double> samples, double q) {
        std::sort(samples.begin(), samples.end());
        return samples[std::min(samples.size() - 1, static_cast<size_t>(std::ceil(q * samples.size())) - 1)];
    };
    const auto second = [&](bool last) {
        std::vector<double> part;
        const jack_time_t from = last ? events.back().us - 1000000 : events.front().us;
        const jack_time_t to = last ? events.back().us : events.front().us + 1000000;
        for (size_t k = 0; k < events.size(); ++k)
            if (events[k].us >= from && events[k].us <= to) part.push_back(error[k]);
        return percentile(part, 0.5);
    };
    r.driftMs = second(true) - second(false);
    r.p50Ms = percentile(error, 0.5);
    r.p99Ms = percentile(error, 0.99);
    r.maxMs = *std::max_element(error.begin(), error.end());
    return r;
}

struct Run {
    std::vector<Event> events;
    std::string error; // why nothing was measured
};

// Runs "quellin-cli lfo" for the given seconds into a fresh monitor on the current JACK server.
inline Run PlayToMonitor(const std::string& cli, const std::vector<std::string>& lfoArgs, double seconds) {
    Run run;
    Monitor monitor;
    if (!monitor.Ok()) {
        run.error = "the monitor could not join the JACK server";
        return run;
    }
    std::vector<std::string> args{cli, "--out-name", monitor.PortName(), "lfo"};
    args.insert(args.end(), lfoArgs.begin(), lfoArgs.end());
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    args.insert(args.end(), {"--seconds", text});
    ChildProcess lfo(args);
    const int status = lfo.Wait(seconds + 30);
    if (status != 0) {
        run.error = "quellin-cli lfo ended with " + std::to_string(status) + ": " + lfo.Out() + lfo.Err();
        return run;
    }
    run.events = monitor.Events();
    return run;
}

} // namespace lfo_timing
