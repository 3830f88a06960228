// Speed of the MIDI path: a real-time edit from SetValue to the driver and, over JACK, to the
// emulator; a bank send and a bank receive over JACK against the waits the transactions
// themselves make; and how fast the driver may hand a bank to RtMidi's JACK output before bytes
// are lost. The JACK benchmarks start a JACK server of their own (dummy backend) and
// "quellin-cli emulate --fast" from the build directory. docs/performance.md holds the numbers.

#include <benchmark/benchmark.h>

#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "midi/VF1MIDI.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/RtMidiBackend.h"
#include "midi/drivers/VirtualUnit.h"
#include "model/RealTime.h"
#include "model/Report.h"
#include "model/SysEx.h"
#include "model/VF1Algorithm.h"
#include "model/VF1Param.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/BenchSupport.h"
#include "tests/support/JackServer.h"

namespace {

using Clock = std::chrono::steady_clock;
using bench::HandOverDriver;
using bench::Micros;
using bench::ReportPercentiles;
constexpr const char* kPortName = "VF1 bench";
// SendBank's own waits: each of the 11 chunks ends at the first 50 ms step after its done notice.
constexpr double kBankSendFloorMs = 11 * 50.0;
// 118,183 bytes at MIDI's 3125 bytes per second.
constexpr double kWireFloorMs = 1000.0 * kBankFileSize / 3125.0;

// A parameter of a plain block that goes out as one parameter message (not a block, not a move).
VF1Param* PlainParameter(VF1Algorithm& algorithm) {
    algorithm.First();
    while (VF1Effect* block = algorithm.Next()) {
        for (VF1Param* p : block->LiveParams())
            if (!p->IsDummy() && !p->IsSetSelector() && !p->IsPositionParam() && !p->IsAssignParam() &&
                p->ValueAt(1) != p->ValueAt(0))
                return p;
    }
    return nullptr;
}

// A legal value other than the one the parameter holds.
int OtherValue(const VF1Param& p) {
    return p.GetValue() == p.ValueAt(0) ? p.ValueAt(1) : p.ValueAt(0);
}

// Switches real-time edits on for the MIDI object and back off afterwards.
class RealTimeEditsOn {
  public:
    RealTimeEditsOn() : previousSink(GetRealTimeSink()), previousEdits(RealTimeEdits()) {
        SetRealTimeSink(&VF1MIDI::Instance());
        SetRealTimeEdits(true);
    }
    ~RealTimeEditsOn() {
        SetRealTimeEdits(previousEdits);
        SetRealTimeSink(previousSink);
    }

  private:
    RealTimeSink* previousSink;
    bool previousEdits;
};

// SetValue until the parameter message is handed to the driver, edit after edit.
void RealTimeEditToDriver(benchmark::State& state, bool refuse, int edits) {
    const MessageHandler previous = SetMessageHandler([](const std::string&, MessageStyle) { return 1; });
    HandOverDriver driver(refuse);
    VF1MIDI& midi = VF1MIDI::Instance();
    midi.SetDriver(&driver);
    midi.SetOutDevice(0);
    VF1Algorithm algorithm(AlgorithmAtRow(0));
    VF1Param* p = PlainParameter(algorithm);
    std::vector<double> us;
    {
        RealTimeEditsOn on;
        midi.OpenOutput();
        driver.handedOver.reserve(static_cast<size_t>(edits));
        us.reserve(static_cast<size_t>(edits));
        for (auto _ : state) {
            for (int i = 0; i < edits; ++i) {
                const size_t before = driver.handedOver.size();
                const auto start = Clock::now();
                p->SetValue(OtherValue(*p));
                if (driver.handedOver.size() != before + 1) {
                    state.SkipWithError("the edit did not reach the driver");
                    break;
                }
                us.push_back(Micros(driver.handedOver.back() - start));
            }
        }
    }
    midi.SetDriver(nullptr);
    SetMessageHandler(previous);
    ReportPercentiles(state, us);
}

// The settle skipped: 10,000 edits back to back.
void BM_RealTimeEdit_ToDriver(benchmark::State& state) {
    RealTimeEditToDriver(state, true, 10000);
}
BENCHMARK(BM_RealTimeEdit_ToDriver)->Iterations(1)->Unit(benchmark::kMillisecond);

// The whole protocol, done notice at once and the 10 ms settle after it, for fewer edits.
void BM_RealTimeEdit_ToDriverWithSettle(benchmark::State& state) {
    RealTimeEditToDriver(state, false, 300);
}
BENCHMARK(BM_RealTimeEdit_ToDriverWithSettle)->Iterations(1)->Unit(benchmark::kMillisecond);

// A JACK server of our own, the emulator beside it and the MIDI object on its ports.
class JackRig {
  public:
    explicit JackRig(int period, bool synchronous = true) : server(period, synchronous) {
        if (!server.Running()) {
            error = JackServer::FindJackd().empty() ? "jackd is not installed" : server.Error();
            return;
        }
        const auto cli = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "quellin-cli";
        emulator = std::make_unique<ChildProcess>(std::vector<std::string>{
            cli.string(), "emulate", "--api", "jack", "--fast", "--port-name", kPortName});
        if (!emulator->WaitForLine([](const std::string& l) { return l.rfind("ready", 0) == 0; }, 20)) {
            error = "the emulator did not start: " + emulator->Err();
            return;
        }
        system = std::make_unique<MidiSystem>();
        outIndex = Find(system->OutDeviceNames(), std::string(kPortName) + ":MIDI IN");
        inIndex = Find(system->InDeviceNames(), ":MIDI OUT");
        if (outIndex < 0 || inIndex < 0) {
            error = "the emulator's ports are not listed";
            return;
        }
        VF1MIDI& midi = VF1MIDI::Instance();
        midi.SetDriver(system.get());
        midi.SetDialogs(nullptr);
        midi.SetDeviceID(0);
        midi.SetOutDevice(static_cast<unsigned>(outIndex));
        midi.SetInDevice(static_cast<unsigned>(inIndex));
        ok = true;
    }

    ~JackRig() {
        if (system) {
            VF1MIDI::Instance().SetDialogs(nullptr);
            VF1MIDI::Instance().SetDriver(nullptr);
            system.reset();
        }
        if (emulator) {
            emulator->CloseInput();
            emulator->Wait(10);
        }
    }

    // Waits until n lines after the first `from` carry text; the number found.
    size_t WaitForLines(size_t from, size_t n, const std::string& text, double seconds) {
        size_t found = 0;
        emulator->WaitForLine(
            [&](const std::string& l) { return l.find(text) != std::string::npos && ++found == n; }, seconds,
            from);
        return found;
    }
    size_t LineCount() const { return emulator->OutLines().size(); }

    static int Find(const std::vector<std::string>& names, const std::string& text) {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i].find(text) != std::string::npos && names[i].find(kPortName) != std::string::npos)
                return static_cast<int>(i);
        return -1;
    }

    JackServer server;
    std::unique_ptr<ChildProcess> emulator;
    std::unique_ptr<MidiSystem> system;
    int outIndex = -1;
    int inIndex = -1;
    bool ok = false;
    std::string error;
};

void AddJackCounters(benchmark::State& state, const JackRig& rig) {
    state.counters["jack_period_frames"] = rig.server.Period();
    state.counters["jack_period_ms"] = rig.server.PeriodMs();
}

// SetValue until the emulator's log line for the message arrives, with the server synchronous
// (arg 1) or not (0): a client the busy machine did not schedule in time loses what it should
// have read in that cycle, and such edits are counted as lost.
void BM_RealTimeEdit_OverJack(benchmark::State& state) {
    JackRig rig(static_cast<int>(state.range(0)), state.range(1) != 0);
    if (!rig.ok) {
        state.SkipWithError(rig.error.c_str());
        return;
    }
    VF1Algorithm algorithm(AlgorithmAtRow(0));
    VF1Param* p = PlainParameter(algorithm);
    std::vector<double> us;
    int lost = 0;
    {
        RealTimeEditsOn on;
        p->SetValue(OtherValue(*p)); // opens the output
        rig.WaitForLines(0, 1, "DT1 20", 5);
        for (auto _ : state) {
            for (int i = 0; i < 500; ++i) {
                const size_t from = rig.LineCount();
                const auto start = Clock::now();
                p->SetValue(OtherValue(*p));
                if (rig.WaitForLines(from, 1, "DT1 20", 0.5) != 1) {
                    ++lost;
                    continue;
                }
                us.push_back(Micros(rig.emulator->OutLines()[from].arrived - start));
            }
        }
    }
    AddJackCounters(state, rig);
    state.counters["lost_edits"] = lost;
    ReportPercentiles(state, us);
}
BENCHMARK(BM_RealTimeEdit_OverJack)
    ->ArgsProduct({{256, 64}, {1, 0}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The bank as the program sends it: 202 fresh images and the end-of-bulk message.
std::vector<uint8_t> BenchBank() {
    std::vector<uint8_t> bank;
    for (int slot = 0; slot < kPatchCount; ++slot) {
        const auto image = PatchImageMessages(FreshPatchData(AlgorithmAtRow(slot % kAlgorithmCount), "Bench"),
                                              PatchAddress(slot), 0);
        bank.insert(bank.end(), image.begin(), image.end());
    }
    bank.resize(kBankFileSize);
    VF1MIDI::Instance().BuildTerminator(bank.data() + kBankImagesSize);
    return bank;
}

// Wraps the JACK driver to note when each chunk is handed over and when its done notice comes.
class ChunkTimer : public MidiDriver {
  public:
    explicit ChunkTimer(MidiDriver& inner_) : inner(inner_) {}
    std::vector<Clock::time_point> sent, done;

    std::vector<std::string> OutDeviceNames() override { return inner.OutDeviceNames(); }
    int OpenOutput(unsigned device, MidiOutputDriver::Callback cb) override {
        return inner.OpenOutput(device, [this, cb](int notice) {
            if (notice == kMidiOutDone) done.push_back(Clock::now());
            if (cb) cb(notice);
        });
    }
    int CloseOutput() override { return inner.CloseOutput(); }
    int PrepareLong(MidiLongMessage& m) override { return inner.PrepareLong(m); }
    int SendLong(MidiLongMessage& m) override {
        sent.push_back(Clock::now());
        return inner.SendLong(m);
    }
    int UnprepareLong(MidiLongMessage& m) override { return inner.UnprepareLong(m); }
    int OpenStream(unsigned device, MidiOutputDriver::Callback cb) override {
        return inner.OpenStream(device, cb);
    }
    int CloseStream() override { return inner.CloseStream(); }
    MidiStream* OpenedStream() override { return inner.OpenedStream(); }
    std::vector<std::string> InDeviceNames() override { return inner.InDeviceNames(); }
    int OpenInput(unsigned device, MidiInputDriver::Callback cb) override {
        return inner.OpenInput(device, cb);
    }
    int PrepareInput(MidiInBuffer& b) override { return inner.PrepareInput(b); }
    int AddBuffer(MidiInBuffer& b) override { return inner.AddBuffer(b); }
    int StartInput() override { return inner.StartInput(); }
    int StopInput() override { return inner.StopInput(); }
    int ResetInput() override { return inner.ResetInput(); }
    int UnprepareInput(MidiInBuffer& b) override { return inner.UnprepareInput(b); }
    int CloseInput() override { return inner.CloseInput(); }

  private:
    MidiDriver& inner;
};

// SendBank to the emulator, output already open; every message must arrive.
void BM_BankSend_OverJack(benchmark::State& state) {
    JackRig rig(256);
    if (!rig.ok) {
        state.SkipWithError(rig.error.c_str());
        return;
    }
    ChunkTimer timer(*rig.system);
    VF1MIDI& midi = VF1MIDI::Instance();
    midi.SetDriver(&timer);
    const std::vector<uint8_t> bank = BenchBank();
    midi.OpenOutput();
    std::vector<double> wallMs, handOverMs, afterDoneMs;
    for (auto _ : state) {
        const size_t from = rig.LineCount();
        timer.sent.clear();
        timer.done.clear();
        const auto start = Clock::now();
        const bool ok = midi.SendBank(bank.data());
        const auto end = Clock::now();
        if (!ok || rig.WaitForLines(from, 3 * kPatchCount + 1, "checksum ok", 10) != 3 * kPatchCount + 1 ||
            timer.done.size() != timer.sent.size()) {
            state.SkipWithError("the bank did not arrive whole");
            break;
        }
        wallMs.push_back(Micros(end - start) / 1000);
        for (size_t i = 0; i < timer.sent.size(); ++i) {
            handOverMs.push_back(Micros(timer.done[i] - timer.sent[i]) / 1000);
            const auto next = i + 1 < timer.sent.size() ? timer.sent[i + 1] : end;
            afterDoneMs.push_back(Micros(next - timer.done[i]) / 1000);
        }
    }
    midi.SetDriver(rig.system.get());
    const auto mean = [](const std::vector<double>& v) {
        double s = 0;
        for (double x : v) s += x;
        return v.empty() ? 0 : s / static_cast<double>(v.size());
    };
    state.counters["wall_ms"] = mean(wallMs);
    state.counters["floor_ms"] = kBankSendFloorMs;
    state.counters["over_floor_pct"] = 100.0 * (mean(wallMs) / kBankSendFloorMs - 1);
    state.counters["chunk_handover_ms"] = mean(handOverMs);
    state.counters["chunk_after_done_ms"] = mean(afterDoneMs);
    state.counters["wire_floor_ms"] = kWireFloorMs;
    AddJackCounters(state, rig);
}
BENCHMARK(BM_BankSend_OverJack)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// The receive-bank dialog without a person: starts the dump on the emulator and loads as soon
// as the whole dump is in.
class DumpAndLoad : public TransferDialogs {
  public:
    explicit DumpAndLoad(ChildProcess& emulator_) : emulator(emulator_) {}
    Clock::time_point dumpAsked, lastByte;

    bool RunReceivePatch(VF1MIDI&, bool, bool, int) override { return false; }
    bool RunReceiveBank(VF1MIDI& midi, int) override {
        dumpAsked = Clock::now();
        emulator.Write("dump\n");
        const auto end = dumpAsked + std::chrono::seconds(30);
        while (midi.ReceivedCount() < kBankFileSize && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        lastByte = Clock::now();
        return midi.ReceivedCount() >= kBankFileSize;
    }
    void BeginSendBank(const int&, bool&) override {}
    void UpdateSendBank() override {}
    void EndSendBank() override {}

  private:
    ChildProcess& emulator;
};

// ReceiveBank of a dump from the emulator: the reception frame's own waits plus the transfer.
void BM_BankReceive_OverJack(benchmark::State& state) {
    JackRig rig(256);
    if (!rig.ok) {
        state.SkipWithError(rig.error.c_str());
        return;
    }
    DumpAndLoad dialog(*rig.emulator);
    VF1MIDI& midi = VF1MIDI::Instance();
    midi.SetDialogs(&dialog);
    std::vector<uint8_t> buffer(kBankReceiveCapacity);
    std::vector<double> wallMs, transferMs;
    for (auto _ : state) {
        const auto start = Clock::now();
        const int count = midi.ReceiveBank(buffer.data(), kBankReceiveCapacity);
        const auto end = Clock::now();
        if (count != kBankFileSize) {
            state.SkipWithError("the dump did not arrive whole");
            break;
        }
        wallMs.push_back(Micros(end - start) / 1000);
        transferMs.push_back(Micros(dialog.lastByte - dialog.dumpAsked) / 1000);
    }
    midi.SetDialogs(nullptr);
    ReportPercentiles(state, transferMs, "transfer_ms");
    double sum = 0;
    for (double w : wallMs) sum += w;
    state.counters["wall_ms"] = wallMs.empty() ? 0 : sum / static_cast<double>(wallMs.size());
    state.counters["wire_floor_ms"] = kWireFloorMs;
    AddJackCounters(state, rig);
}
BENCHMARK(BM_BankReceive_OverJack)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// A bank's 607 messages handed to RtMidi's JACK output back to back at a given pace (KB/s;
// 0 = unpaced), period and server mode: how long the hand-over takes and how many messages are
// lost. RtMidi waits while its 16 KB ring buffer is full, but its process callback moves
// everything the ring holds into one cycle's port buffer, also what we write while it drains:
// what the port buffer cannot take is dropped.
void BM_BankBackToBack_OverJack(benchmark::State& state) {
    const int kbPerSecond = static_cast<int>(state.range(0));
    JackRig rig(static_cast<int>(state.range(1)), state.range(2) != 0);
    if (!rig.ok) {
        state.SkipWithError(rig.error.c_str());
        return;
    }
    QuietMidiLibraries();
    std::atomic<bool> error{false};
    RtMidiOut out(RtMidi::UNIX_JACK, "Quellin pace");
    RouteErrors(out, error);
    int port = -1;
    for (unsigned i = 0; i < out.getPortCount(); ++i)
        if (out.getPortName(i).find(std::string(kPortName) + ":MIDI IN") != std::string::npos)
            port = static_cast<int>(i);
    if (port < 0) {
        state.SkipWithError("the emulator's port is not listed");
        return;
    }
    out.openPort(static_cast<unsigned>(port), "out");
    PacedSender sender(out, error, kbPerSecond > 0 ? kbPerSecond * 1024 : INT_MAX,
                       kbPerSecond > 0 ? 4096 : INT_MAX);
    const std::vector<uint8_t> bank = BenchBank();
    double lost = 0;
    std::vector<double> ms;
    for (auto _ : state) {
        const size_t from = rig.LineCount();
        const auto start = Clock::now();
        const bool ok = sender.Send(bank.data(), bank.size());
        ms.push_back(Micros(Clock::now() - start) / 1000);
        const size_t arrived = rig.WaitForLines(from, 3 * kPatchCount + 1, "checksum ok", 3);
        if (!ok) state.SkipWithError("RtMidi refused a message");
        lost += static_cast<double>(3 * kPatchCount + 1 - arrived);
    }
    out.closePort();
    double sum = 0;
    for (double x : ms) sum += x;
    state.counters["handover_ms"] = ms.empty() ? 0 : sum / static_cast<double>(ms.size());
    state.counters["lost_messages"] = lost;
    AddJackCounters(state, rig);
}
BENCHMARK(BM_BankBackToBack_OverJack)
    ->ArgsProduct({{256, 1024, 4096, 0}, {64, 256, 1024}, {1}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
