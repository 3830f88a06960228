// The MIDI LFO over JACK: how close its Control Changes come to the ideal schedule as a monitor
// client of the benchmark's own stamps them, over ten seconds and over a minute; and what
// the LFO costs in CPU while it runs at 10 Hz. Each benchmark starts a JACK server of its own
// (dummy backend). docs/performance.md holds the numbers.

#include <benchmark/benchmark.h>

#include <dirent.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "lfo/MIDILFOStream.h"
#include "midi/VF1MIDI.h"
#include "midi/drivers/MidiSystem.h"
#include "tests/support/JackServer.h"
#include "tests/support/LfoTiming.h"

namespace {

std::string Cli() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "quellin-cli").string();
}

// A 1 Hz triangle for the benchmark's seconds, to the monitor; the errors against the schedule.
void LfoTiming(benchmark::State& state, double seconds) {
    JackServer server(static_cast<int>(state.range(0)));
    if (!server.Running()) {
        state.SkipWithError(JackServer::FindJackd().empty() ? "jackd is not installed"
                                                            : server.Error().c_str());
        return;
    }
    lfo_timing::Report r;
    lfo_timing::Run run;
    for (auto _ : state) {
        run = lfo_timing::PlayToMonitor(Cli(), {"--wave", "triangle", "--rate", "1"}, seconds);
        if (!run.error.empty()) {
            state.SkipWithError(run.error.c_str());
            return;
        }
        r = lfo_timing::Compare(run.events, kLfoTriangle, 1.0f, 1, 1);
    }
    state.counters["jack_period_ms"] = server.PeriodMs();
    state.counters["events"] = static_cast<double>(r.events);
    state.counters["wrong_events"] = static_cast<double>(r.wrong);
    state.counters["median_ms"] = r.p50Ms;
    state.counters["p99_ms"] = r.p99Ms;
    state.counters["max_ms"] = r.maxMs;
    state.counters["last_ms"] = r.lastMs;
    state.counters["drift_ms"] = r.driftMs;
    state.counters["goal_ms"] = server.PeriodMs() + 0.5;
}

void BM_LfoTiming_OverJack(benchmark::State& state) {
    LfoTiming(state, 10);
}
BENCHMARK(BM_LfoTiming_OverJack)->Arg(256)->Arg(64)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_LfoDrift_OverJack(benchmark::State& state) {
    LfoTiming(state, 60);
}
BENCHMARK(BM_LfoDrift_OverJack)->Arg(256)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// CPU time of each of this process's threads by name, in nanoseconds (from the scheduler's
// statistics, which count to the nanosecond).
std::map<std::string, double> ThreadCpu() {
    std::map<std::string, double> cpu;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) return cpu;
    while (dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') continue;
        const std::string dir = std::string("/proc/self/task/") + entry->d_name;
        std::string name;
        std::ifstream(dir + "/comm") >> name;
        double ns = 0;
        std::ifstream(dir + "/schedstat") >> ns;
        cpu[name] += ns;
    }
    closedir(tasks);
    return cpu;
}

// The engine itself at 10 Hz on a JACK port, for the benchmark's seconds: the worker's share of
// one core, the stream's player's, and the whole process's (the JACK client's threads included).
void BM_LfoCpu_10Hz_OverJack(benchmark::State& state) {
    JackServer server(256);
    if (!server.Running()) {
        state.SkipWithError(JackServer::FindJackd().empty() ? "jackd is not installed"
                                                            : server.Error().c_str());
        return;
    }
    // Another process gives the LFO a port to play to, so that this process runs nothing but the
    // LFO; its output would cost this process the reading.
    ChildProcess monitor(
        {"sh", "-c", std::string("exec jack_midi_dump ") + lfo_timing::kMonitorName + " >/dev/null"});
    MidiSystem system;
    int out = -1;
    for (int i = 0; i < 200 && out < 0; ++i) {
        system.Refresh();
        const auto names = system.OutDeviceNames();
        for (size_t k = 0; k < names.size(); ++k)
            if (names[k].find(lfo_timing::kMonitorName) != std::string::npos) out = static_cast<int>(k);
        if (out < 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (out < 0) {
        state.SkipWithError("the monitor's port did not appear");
        return;
    }
    VF1MIDI& midi = VF1MIDI::Instance();
    midi.SetDriver(&system);
    midi.SetOutDevice(static_cast<unsigned>(out));
    const double seconds = 20;
    double worker = 0, player = 0, process = 0;
    for (auto _ : state) {
        MIDILFOStream lfo(midi);
        lfo.SetWave(static_cast<int>(state.range(0)));
        lfo.SetRate(10.0f);
        if (!lfo.Start()) {
            state.SkipWithError("the LFO did not start");
            break;
        }
        // Once running: the start itself (opening the port) is not the running cost.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const auto before = ThreadCpu();
        timespec p0{}, p1{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &p0);
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        const auto after = ThreadCpu();
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &p1);
        lfo.Stop();
        const auto share = [&](const std::string& name) {
            const auto a = after.find(name);
            const auto b = before.find(name);
            return a == after.end() || b == before.end() ? -1.0
                                                         : (a->second - b->second) / (seconds * 1e9) * 100;
        };
        worker = share("quellin-lfo");
        player = share("midi-stream");
        process = ((p1.tv_sec - p0.tv_sec) * 1e9 + (p1.tv_nsec - p0.tv_nsec)) / (seconds * 1e9) * 100;
    }
    midi.SetDriver(nullptr);
    VF1MIDI::Release();
    monitor.Stop();
    state.counters["worker_cpu_pct"] = worker;
    state.counters["player_cpu_pct"] = player;
    state.counters["process_cpu_pct"] = process;
}
BENCHMARK(BM_LfoCpu_10Hz_OverJack)
    ->Arg(kLfoSine)
    ->Arg(kLfoTriangle)
    ->Arg(kLfoSawUp)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace
