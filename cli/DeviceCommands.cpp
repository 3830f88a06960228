#include "cli/DeviceCommands.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <poll.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

#include "cli/CliSupport.h"
#include "lfo/LfoFields.h"
#include "lfo/MIDILFOStream.h"
#include "library/BankFile.h"
#include "midi/DeviceChoice.h"
#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/VirtualPort.h"
#include "midi/drivers/VirtualUnit.h"
#include "midi/drivers/VirtualUnitDriver.h"
#include "model/FileIO.h"
#include "model/Report.h"

using nlohmann::ordered_json;

namespace {

using Clock = std::chrono::steady_clock;

// The dialogs' part, without a person: Load once the expected bytes are in and the line has been
// quiet for a moment; Cancel when the timeout has passed.
class WaitingTransfers : public TransferDialogs {
  public:
    explicit WaitingTransfers(double timeoutSeconds) : timeout(timeoutSeconds) {}

    bool RunReceivePatch(VF1MIDI& midi, bool toMemory, bool bankB, int index) override {
        // The counter starts from zero before the request leaves, so a quick answer is not lost.
        midi.ResetReceivedCount();
        if (!midi.RequestPatch(toMemory, bankB, index)) return false;
        return WaitFor(midi, kPatchReplySize, 300);
    }

    bool RunReceiveBank(VF1MIDI& midi, int expectedBytes) override {
        return WaitFor(midi, expectedBytes, 500);
    }

    void BeginSendBank(const int& patchesSent, bool&) override { counter = &patchesSent; }
    void UpdateSendBank() override {
        if (counter) std::fprintf(stderr, "%d / 202\n", *counter);
    }
    void EndSendBank() override { counter = nullptr; }

  private:
    bool WaitFor(VF1MIDI& midi, int expected, int quietMs) const {
        const auto start = Clock::now();
        int last = -1;
        auto lastChange = start;
        for (;;) {
            const int count = midi.ReceivedCount();
            const auto now = Clock::now();
            if (count != last) {
                last = count;
                lastChange = now;
            }
            if (count >= expected && now - lastChange >= std::chrono::milliseconds(quietMs)) return true;
            if (now - start >= std::chrono::duration<double>(timeout)) return false;
            SleepMs(10);
        }
    }

    double timeout;
    const int* counter = nullptr;
};

int FindByName(const std::vector<std::string>& names, const std::string& text) {
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i].find(text) != std::string::npos) return static_cast<int>(i);
    return -1;
}

// The ports a command talks through; a device the MIDI settings chose that is gone stops only a
// command that needs its direction.
struct PortUse {
    bool out;
    bool in;
};
constexpr PortUse kOutOnly{true, false};
constexpr PortUse kInOnly{false, true};
constexpr PortUse kOutAndIn{true, true};

// The devices the MIDI settings chose, looked up by name in the lists as they are now (all at
// index 0 without a settings file).
struct StoredDevices {
    std::optional<VF1Settings::Values> values;
    DeviceChoice out, in;

    StoredDevices(const std::vector<std::string>& outNames, const std::vector<std::string>& inNames)
        : values(VF1Settings::ReadValues()) {
        if (!values) return;
        out = ResolveDevice(outNames, values->outIdx, values->outName);
        in = ResolveDevice(inNames, values->inIdx, values->inName);
    }

    // A device that stands at another index now keeps its place in the settings: the new index
    // goes into settings.cfg, as the window writes it at exit.
    void FollowMoves(const std::vector<std::string>& outNames,
                     const std::vector<std::string>& inNames) const {
        using Outcome = DeviceChoice::Outcome;
        if (!values || (out.outcome != Outcome::Moved && in.outcome != Outcome::Moved)) return;
        VF1Settings& settings = VF1Settings::Instance();
        if (out.outcome == Outcome::Moved) {
            settings.SetOutIdx(out.index);
            settings.SetOutName(outNames[out.index]);
        }
        if (in.outcome == Outcome::Moved) {
            settings.SetInIdx(in.index);
            settings.SetInName(inNames[in.index]);
        }
        settings.Save();
        VF1Settings::Release();
    }
};

// The device of one direction: the option's, else the stored one; refused when the stored one is
// gone and another device now stands at its index, rather than sending to a stranger.
int ChooseDevice(const char* direction, const std::vector<std::string>& names, int index,
                 const std::string& part, const char* options, const DeviceChoice& stored,
                 const std::string& remembered, bool used) {
    if (index >= 0) return index;
    if (!part.empty()) {
        if ((index = FindByName(names, part)) >= 0) return index;
        ShowMessage(Format("No MIDI %s device's name contains \"%s\".", direction, part.c_str()),
                    MessageStyle::Error);
        throw OperationFailed();
    }
    if (used && stored.outcome == DeviceChoice::Outcome::Replaced) {
        ShowMessage(
            Format("The MIDI %s device chosen in the MIDI settings, \"%s\", is not connected, and device "
                   "%d is now \"%s\".  Say which device to use with %s.",
                   direction, remembered.c_str(), stored.index, names[stored.index].c_str(), options),
            MessageStyle::Error);
        throw OperationFailed();
    }
    return stored.index;
}

// The MIDI object with its ports chosen from the options, else from the settings.
class Session {
  public:
    Session(const PortOptions& ports, double timeout, PortUse use) : transfers(timeout) {
        VF1MIDI& midi = VF1MIDI::Instance();
        midi.SetDriver(&system);
        midi.SetDialogs(&transfers);
        midi.SetDeviceID(ports.deviceId);
        const std::vector<std::string> outNames = system.OutDeviceNames();
        const std::vector<std::string> inNames = system.InDeviceNames();
        const StoredDevices stored(outNames, inNames);
        const VF1Settings::Values none;
        const VF1Settings::Values& values = stored.values ? *stored.values : none;
        const int out = ChooseDevice("Out", outNames, ports.out, ports.outName, "--out or --out-name",
                                     stored.out, values.outName, use.out);
        const int in = ChooseDevice("In", inNames, ports.in, ports.inName, "--in or --in-name", stored.in,
                                    values.inName, use.in);
        stored.FollowMoves(outNames, inNames);
        midi.SetOutDevice(static_cast<unsigned>(out));
        midi.SetInDevice(static_cast<unsigned>(in));
        SayWhenVirtual(static_cast<unsigned>(out), static_cast<unsigned>(in), use);
    }
    ~Session() {
        VF1MIDI& midi = VF1MIDI::Instance();
        midi.CloseOutput();
        midi.SetDialogs(nullptr);
        midi.SetDriver(nullptr);
    }

  private:
    // Without a MIDI system, device 0 is the virtual unit: a command that "worked" must not be
    // taken for one that reached the unit.
    void SayWhenVirtual(unsigned out, unsigned in, PortUse use) {
        const bool virtualOut = use.out && system.IsVirtualOut(out);
        const bool virtualIn = use.in && system.IsVirtualIn(in);
        if (!virtualOut && !virtualIn) return;
        std::fprintf(stderr,
                     "quellin-cli: %s the built-in virtual unit (\"%s\"), not a VF-1 on a MIDI port.\n",
                     virtualOut && virtualIn ? "MIDI Out and In are"
                     : virtualOut            ? "MIDI Out is"
                                             : "MIDI In is",
                     kVirtualDeviceName);
    }

    MidiSystem system;
    WaitingTransfers transfers;
};

// "edit" or a slot name: (toMemory, bankB, index).
bool ParseTarget(const std::string& text, bool& toMemory, bool& bankB, int& index) {
    if (text.empty() || text == "edit") {
        toMemory = false;
        bankB = false;
        index = 0;
        return true;
    }
    const int slot = SlotFromName(text.c_str());
    if (slot < 0) return false;
    toMemory = true;
    bankB = slot >= kGroupSize;
    index = slot % kGroupSize;
    return true;
}

constexpr const char* kOutputNames[5] = {"Gtr Amp (Combo)", "Gtr Amp (Stack)", "Pwr Amp (Combo)",
                                         "Pwr Amp (Stack)", "Line"};

} // namespace

namespace {

// One direction's list; the device the MIDI settings chose is marked with '*', or named below the
// list while it is not connected; the built-in virtual unit says what it is.
void PrintDevices(const char* direction, const std::vector<std::string>& names, const DeviceChoice& stored,
                  bool haveSettings, const std::string& remembered,
                  const std::function<bool(unsigned)>& isVirtual) {
    using Outcome = DeviceChoice::Outcome;
    const bool present =
        haveSettings && stored.outcome != Outcome::Gone && stored.outcome != Outcome::Replaced;
    std::printf("MIDI %s devices:\n", direction);
    for (size_t i = 0; i < names.size(); ++i)
        std::printf("%c %2zu  %s%s\n", present && static_cast<int>(i) == stored.index ? '*' : ' ', i,
                    names[i].c_str(), isVirtual(static_cast<unsigned>(i)) ? "  (built-in virtual unit)" : "");
    if (haveSettings && !present)
        std::printf("  (the MIDI %s device chosen in the MIDI settings, \"%s\", is not connected)\n",
                    direction, remembered.c_str());
}

} // namespace

int RunPorts() {
    MidiSystem system;
    const auto outs = system.OutDeviceNames();
    const auto ins = system.InDeviceNames();
    const StoredDevices stored(outs, ins);
    const bool haveSettings = stored.values.has_value();
    PrintDevices("Out", outs, stored.out, haveSettings, haveSettings ? stored.values->outName : "",
                 [&](unsigned i) { return system.IsVirtualOut(i); });
    PrintDevices("In", ins, stored.in, haveSettings, haveSettings ? stored.values->inName : "",
                 [&](unsigned i) { return system.IsVirtualIn(i); });
    if (haveSettings)
        std::printf("* the devices chosen in the MIDI settings (%s)\n", VF1Settings::Path().c_str());
    return kExitOk;
}

int RunSendPatch(const PortOptions& ports, const std::string& path, const std::string& to) {
    bool toMemory = false, bankB = false;
    int index = 0;
    if (!ParseTarget(to, toMemory, bankB, index))
        throw UsageError("--to takes edit or a slot A1..B101: " + to);
    // The file first: a patch that can't be loaded opens no device.
    VF1AlgorithmList list;
    VF1Algorithm& algorithm = LoadPatch(list, path, -1);
    Session session(ports, 0, kOutOnly);
    VF1MIDI& midi = VF1MIDI::Instance();
    midi.SetPatchData(algorithm);
    return midi.SendPatch(toMemory, bankB, index) ? kExitOk : kExitFailed;
}

int RunRequestPatch(const PortOptions& ports, const std::string& from, const std::string& output,
                    double timeout) {
    bool toMemory = false, bankB = false;
    int index = 0;
    if (!ParseTarget(from, toMemory, bankB, index))
        throw UsageError("--from takes edit or a slot A1..B101: " + from);
    Session session(ports, timeout, kOutAndIn);
    VF1MIDI& midi = VF1MIDI::Instance();
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    const int result = midi.ReceivePatch(&first, &second, toMemory, bankB, index);
    if (ReceiveCancelled(result)) {
        ShowMessage(Format("No patch arrived within %g seconds.", timeout), MessageStyle::Error);
        return kExitFailed;
    }
    if (!PatchReceived(result)) return kExitFailed;
    VF1AlgorithmList list;
    if (!list.LoadFromPatchData(first, second)) return kExitFailed;
    return midi.SavePatchFile(*list.GetCurrent(), output) ? kExitOk : kExitFailed;
}

namespace {

// A bank as the bank manager takes it in: parsed with salvage, and refused whole when it cannot be
// parsed at all or when it still has empty slots (complete says so, with its message; the tool
// names them).
std::unique_ptr<VF1Bank> TakeWholeBank(const uint8_t* data, size_t length, bool (*complete)(const VF1Bank&)) {
    std::unique_ptr<VF1Bank> bank = TakeBank(data, length);
    if (bank == nullptr) throw OperationFailed();
    if (!complete(*bank)) {
        ShowMessage(Format("Empty slots: %s.", SlotList(EmptySlots(*bank)).c_str()), MessageStyle::Error);
        throw OperationFailed();
    }
    return bank;
}

} // namespace

int RunSendBank(const PortOptions& ports, const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadBankFile(path, bytes)) return kExitFailed;
    const auto bank = TakeWholeBank(bytes.data(), bytes.size(), BankCanBeSent);
    Session session(ports, 0, kOutOnly);
    const std::vector<uint8_t> buffer = BankFileBytes(*bank, ports.deviceId, ImageDeviceIds::AsTheyAre);
    return VF1MIDI::Instance().SendBank(buffer.data()) ? kExitOk : kExitFailed;
}

int RunReceiveBank(const PortOptions& ports, const std::string& output, double timeout) {
    Session session(ports, timeout, kInOnly);
    std::vector<uint8_t> buffer(kBankReceiveCapacity);
    const int count = VF1MIDI::Instance().ReceiveBank(buffer.data(), kBankReceiveCapacity);
    if (!BankReceived(count)) {
        ShowMessage(Format("No complete bank arrived within %g seconds.", timeout), MessageStyle::Error);
        return kExitFailed;
    }
    const auto bank = TakeWholeBank(buffer.data(), static_cast<size_t>(std::min(count, kBankReceiveCapacity)),
                                    BankCanBeSaved);
    // The dump's images keep the unit's device IDs.
    if (!SaveBankFile(*bank, output, ports.deviceId, ImageDeviceIds::AsTheyAre)) throw OperationFailed();
    return kExitOk;
}

namespace {
bool ReadGlobals(int values[kGlobalValueCount]) {
    uint8_t global[kGlobalSize] = {};
    if (!VF1MIDI::Instance().GetGlobal(global)) {
        ShowMessage("The unit did not answer the global settings request.", MessageStyle::Error);
        return false;
    }
    for (int i = 0; i < kGlobalValueCount; ++i) values[i] = NibbleDecode16(global + 4 * i);
    return true;
}
} // namespace

int RunGetGlobal(const PortOptions& ports, bool json) {
    Session session(ports, 0, kOutAndIn);
    int v[kGlobalValueCount] = {};
    if (!ReadGlobals(v)) return kExitFailed;
    if (json) {
        ordered_json j;
        j["outLevel"] = v[0];
        j["nsThreshold"] = v[1];
        j["reverbLevel"] = v[2];
        j["output"] = v[3];
        j["tempo"] = v[4];
        j["directMix"] = v[5];
        std::printf("%s\n", DumpJson(j).c_str());
        return kExitOk;
    }
    std::printf("Out Level   %d%%\n", 2 * v[0]);
    std::printf("NS Thresh   %d dB\n", v[1] - 20);
    std::printf("Rev Lvl     %d%%\n", 2 * v[2]);
    std::printf("Output      %s\n", v[3] >= 0 && v[3] < 5 ? kOutputNames[v[3]] : "?");
    if (v[4] == kTempoFollowsMidi) std::printf("BPM         MIDI\n");
    else std::printf("BPM         %d\n", v[4]);
    std::printf("Direct Mix  %s\n", v[5] == 0 ? "Off" : v[5] == 1 ? "Patch" : "?");
    return kExitOk;
}

int RunSetGlobal(const PortOptions& ports, const GlobalChanges& changes) {
    Session session(ports, 0, kOutAndIn);
    int v[kGlobalValueCount] = {};
    if (!ReadGlobals(v)) return kExitFailed;
    if (changes.outLevel) v[0] = *changes.outLevel;
    if (changes.nsThreshold) v[1] = *changes.nsThreshold;
    if (changes.reverbLevel) v[2] = *changes.reverbLevel;
    if (changes.output) v[3] = *changes.output;
    if (changes.tempo) v[4] = *changes.tempo;
    if (changes.directMix) v[5] = *changes.directMix;
    uint8_t global[kGlobalSize] = {};
    for (int i = 0; i < kGlobalValueCount; ++i) std::memcpy(global + 4 * i, NibbleEncode16(v[i]).data(), 4);
    return VF1MIDI::Instance().SetGlobal(global) ? kExitOk : kExitFailed;
}

namespace {
std::atomic<bool> stopRequested{false};

void OnSignal(int) {
    stopRequested = true;
}

// Messages from the emulator's input port, handed to the unit on a thread of their own.
class ReceiveQueue {
  public:
    explicit ReceiveQueue(VirtualUnit& unit_) : unit(unit_), worker([this] { Run(); }) {}
    ~ReceiveQueue() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        cv.notify_all();
        worker.join();
    }
    // The port's callback: it runs in the MIDI server's cycle, so it only queues the bytes, and a
    // slow log never makes the server drop a message.
    void Push(const uint8_t* bytes, size_t n) {
        {
            std::lock_guard lock(mutex);
            queue.emplace_back(bytes, bytes + n);
        }
        cv.notify_all();
    }
    // Waits until everything queued so far has reached the unit.
    void Drain() {
        std::unique_lock lock(mutex);
        cv.wait(lock, [this] { return queue.empty() && !busy; });
    }

  private:
    void Run() {
        std::unique_lock lock(mutex);
        for (;;) {
            cv.wait(lock, [this] { return stopping || !queue.empty(); });
            if (queue.empty()) return;
            std::vector<uint8_t> bytes = std::move(queue.front());
            queue.pop_front();
            busy = true;
            lock.unlock();
            unit.Receive(bytes.data(), bytes.size());
            lock.lock();
            busy = false;
            cv.notify_all();
        }
    }

    VirtualUnit& unit;
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<std::vector<uint8_t>> queue;
    bool busy = false;
    bool stopping = false;
    std::thread worker;
};

const char* CommandName(uint8_t command) {
    return command == kCommandDT1 ? "DT1" : command == kCommandRQ1 ? "RQ1" : "???";
}

// One line per message the unit takes in.
void LogReceived(const VirtualUnit::Received& r) {
    if (r.controller) {
        std::printf("CC %02X %02X %02X\n", r.bytes[0], r.bytes[1], r.bytes[2]);
    } else {
        std::printf("%s %02X %02X %02X %zu bytes checksum %s%s", CommandName(r.command), r.address[0],
                    r.address[1], r.address[2], r.length, r.checksumOk ? "ok" : "BAD",
                    r.frameOk ? "" : " frame BAD");
        if (r.endedBy != 0) std::printf(" (ended by %02XH)", r.endedBy);
        std::printf("\n");
    }
    std::fflush(stdout);
}

// Opens the emulator's ports with the API the options ask for, or the first that works.
bool OpenEmulatorPort(VirtualPort& port, const EmulateOptions& options) {
    using Api = VirtualPort::Api;
    static constexpr Api kJack[] = {Api::Jack};
    static constexpr Api kAlsa[] = {Api::Alsa};
    static constexpr Api kEither[] = {Api::Jack, Api::Alsa};
    std::span<const Api> apis;
    if (options.api == "jack") apis = kJack;
    else if (options.api == "alsa") apis = kAlsa;
    else if (options.api.empty()) apis = kEither;
    else throw UsageError("--api takes jack or alsa: " + options.api);
    if (port.Open(apis, options.portName)) return true;
    ShowMessage(options.api.empty()
                    ? "Unable to open MIDI ports for the emulator: neither a JACK server nor "
                      "the ALSA sequencer is available."
                    : Format("Unable to open %s MIDI ports for the emulator.", options.api.c_str()),
                MessageStyle::Error);
    return false;
}

// The unit's memory from the bank file the options name, if any.
bool LoadEmulatorBank(VirtualUnit& unit, const EmulateOptions& options, const std::vector<uint8_t>& bank) {
    if (options.bank.empty() || unit.LoadBankFile(bank)) return true;
    ShowMessage(Format("\"%s\" is not a clean bank file.", options.bank.c_str()), MessageStyle::Error);
    return false;
}

// One command of standard input other than "quit".
void RunEmulatorCommand(VirtualUnit& unit, const std::string& command) {
    if (command == "dump") {
        unit.SendBankDump();
    } else if (command.rfind("send-patch", 0) == 0) {
        const std::string which = command.size() > 11 ? command.substr(11) : "edit";
        const int slot = which == "edit" ? -1 : SlotFromName(which.c_str());
        if (which != "edit" && slot < 0) std::fprintf(stderr, "send-patch takes edit or A1..B101\n");
        else unit.SendPatchByHand(slot);
    } else if (!command.empty()) {
        std::fprintf(stderr, "commands: dump, send-patch edit|SLOT, quit\n");
    }
}

// How the emulator's run ended.
enum class EmulatorEnd { Quit, Signal, ServerGone };

// Takes commands from standard input until "quit", SIGINT or SIGTERM, or until the MIDI server
// goes away. The end of standard input ends nothing: "emulate &" in a script keeps running.
EmulatorEnd RunEmulatorInput(VirtualUnit& unit, const VirtualPort& port) {
    std::string line;
    bool inputOpen = true;
    bool quit = false;
    while (!stopRequested && !quit) {
        if (port.ServerGone()) return EmulatorEnd::ServerGone;
        pollfd p{STDIN_FILENO, POLLIN, 0};
        // Without input to watch, the same call waits the same 100 ms for a signal or the server.
        const int ready = poll(&p, inputOpen ? 1 : 0, 100);
        if (ready <= 0) continue;
        char chunk[256];
        const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            inputOpen = false;
            continue;
        }
        line.append(chunk, static_cast<size_t>(n));
        for (size_t pos; !quit && (pos = line.find('\n')) != std::string::npos;) {
            std::string command = line.substr(0, pos);
            line.erase(0, pos + 1);
            while (!command.empty() && (command.back() == '\r' || command.back() == ' ')) command.pop_back();
            if (command == "quit") quit = true;
            else RunEmulatorCommand(unit, command);
        }
    }
    return quit ? EmulatorEnd::Quit : EmulatorEnd::Signal;
}

} // namespace

int RunEmulate(const EmulateOptions& options) {
    // The files are checked before any port opens: a memory that can't be saved is found now, not
    // after the session.
    if (!options.save.empty() && !CheckFileWritable(options.save)) return kExitFailed;
    const std::vector<uint8_t> bank =
        options.bank.empty() ? std::vector<uint8_t>{} : ReadBankOrFail(options.bank);
    VirtualPort port;
    if (!OpenEmulatorPort(port, options)) return kExitFailed;
    VirtualUnit unit([&port](const uint8_t* b, size_t n) { port.Send(b, n); }, options.fast ? 0 : 3125);
    if (!LoadEmulatorBank(unit, options, bank)) return kExitFailed;
    unit.SetListener(LogReceived);
    ReceiveQueue received(unit);
    port.Listen([&received](const uint8_t* bytes, size_t n) { received.Push(bytes, n); });

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::printf("ready %s \"%s\"\n", port.ApiName().c_str(), options.portName.c_str());
    std::fflush(stdout);

    const EmulatorEnd end = RunEmulatorInput(unit, port);
    // The port goes first, so no callback can still be running when the queue and the unit go.
    port.CloseInput();
    received.Drain();
    // After "quit" what the unit still has to send goes out; a signal or a dead server drops it.
    if (end == EmulatorEnd::Quit) unit.Flush();
    std::printf("received %d good, %d bad messages\n", unit.GoodMessages(), unit.BadMessages());
    if (unit.ControllerMessages() > 0)
        std::printf("received %d controller messages\n", unit.ControllerMessages());
    std::fflush(stdout);
    if (end == EmulatorEnd::ServerGone)
        ShowMessage(Format("The %s server has gone away; the emulator stops.", port.ApiName().c_str()),
                    MessageStyle::Error);
    // The memory is saved whatever ended the run: it holds what the program sent.
    if (!options.save.empty()) WriteFileOrFail(options.save, unit.BankFile());
    return end == EmulatorEnd::ServerGone ? kExitFailed : kExitOk;
}

namespace {

constexpr const char* kWaveNames[kLfoWaveCount] = {"sine", "triangle", "square", "saw-up", "saw-down"};

// A field's check failed: its message, and the exit status of a usage error.
class InvalidField : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

float CheckedField(const std::string& text, float min, float max) {
    float value = 0;
    const std::string message = CheckLfoField(text, min, max, value);
    if (!message.empty()) throw InvalidField(message);
    return value;
}

// The rate the options ask for, checked as the LFO panel checks its fields: from --rate, or from
// the tempo, time signature and cycles per bar as the panel's rate box would show it.
float LfoRate(const LfoOptions& options) {
    if (options.rateGiven) return CheckedField(options.rate, kLfoRateMin, kLfoRateMax);
    if (!options.tempoGiven && options.timeSig.empty() && options.cycles == 0) return 0.1f;
    const float tempo = options.tempoGiven ? CheckedField(options.tempo, kLfoTempoMin, kLfoTempoMax) : 120.0f;
    int signature = 2;
    if (!options.timeSig.empty()) {
        const std::string& t = options.timeSig;
        if (t.size() != 3 || t[0] < '2' || t[0] > '5' || t.substr(1) != "/4")
            throw UsageError("--time-sig takes 2/4, 3/4, 4/4 or 5/4: " + t);
        signature = t[0] - '2';
    }
    const int cycles = options.cycles == 0 ? 0 : options.cycles - 1;
    return CheckedField(LfoRateTextFromTempo(tempo, signature, cycles), kLfoRateMin, kLfoRateMax);
}

} // namespace

int RunLfo(const PortOptions& ports, const LfoOptions& options) {
    const auto wave = std::find(std::begin(kWaveNames), std::end(kWaveNames), options.wave);
    if (wave == std::end(kWaveNames))
        throw UsageError("--wave takes sine, triangle, square, saw-up or saw-down");
    float rate = 0;
    try {
        rate = LfoRate(options);
    } catch (const InvalidField& e) {
        ShowMessage(e.what(), MessageStyle::Warning);
        return kExitUsage;
    }

    Session session(ports, 0, kOutOnly);
    VF1MIDI& midi = VF1MIDI::Instance();
    MIDILFOStream lfo(midi);
    lfo.SetChannel(options.channel);
    lfo.SetController(options.controller);
    lfo.SetWave(static_cast<int>(wave - std::begin(kWaveNames)));
    lfo.SetRate(rate);
    std::atomic<bool> failed{false};
    lfo.SetFailureHandler([&failed] { failed = true; });

    if (!lfo.Start()) return kExitFailed;
    stopRequested = false;
    auto* previousInt = std::signal(SIGINT, OnSignal);
    auto* previousTerm = std::signal(SIGTERM, OnSignal);
    const std::vector<std::string> names = midi.GetOutDevNames();
    const unsigned device = midi.GetOutDevice();
    std::printf("%s on channel %d, controller %d at %s Hz to \"%s\"\n", options.wave.c_str(), options.channel,
                options.controller, Format("%f", static_cast<double>(rate)).c_str(),
                device < names.size() ? names[device].c_str() : "");
    std::fflush(stdout);
    const auto end = Clock::now() + std::chrono::duration<double>(options.seconds);
    while (!stopRequested && !failed && (options.seconds <= 0 || Clock::now() < end)) SleepMs(10);
    lfo.Stop();
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    if (failed) {
        ShowMessage(kLfoDeviceError, MessageStyle::Error);
        return kExitFailed;
    }
    std::printf("stopped\n");
    return kExitOk;
}
