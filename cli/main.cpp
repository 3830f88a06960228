// quellin-cli: the patch model, banks and (with a MIDI port) the unit, from the command line.

#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/CliSupport.h"
#include "cli/DeviceCommands.h"
#include "cli/FileCommands.h"
#include "cli/NumberOptions.h"
#include "midi/VF1Settings.h"
#include "model/Report.h"
#include "model/SysEx.h"
#include "model/tables/AlgorithmInfo.h"

namespace {

// Device indexes on the command line; no machine has that many MIDI ports.
constexpr int kMaxDeviceIndex = 999;
// What a wait for the unit may be given, in seconds: from a millisecond to a day.
constexpr double kMinTimeout = 0.001;
constexpr double kMaxTimeout = 86400;

// Slot names A1..A101 and B1..B101.
struct SlotValidator : public CLI::Validator {
    SlotValidator() {
        name_ = "SLOT";
        func_ = [](const std::string& text) {
            return SlotFromName(text.c_str()) < 0 ? std::string("slots are A1..A101 and B1..B101: ") + text
                                                  : std::string();
        };
    }
};

int Slot(const std::string& text) {
    return text.empty() ? -1 : SlotFromName(text.c_str());
}

// The options that choose the unit's ports and device ID, given before the command.
struct GlobalOptions {
    int deviceId = 0;
    int outIndex = -1;
    int inIndex = -1;
    std::string outName;
    std::string inName;
    std::string settings;

    PortOptions Ports() const { return {outIndex, outName, inIndex, inName, deviceId}; }
};

// What a command group gives main: the exit status of its command that was chosen, or nothing
// when the command line chose none of its commands. The options it parsed into live as long as it.
using Runner = std::function<std::optional<int>()>;

std::shared_ptr<GlobalOptions> AddGlobalOptions(CLI::App& app) {
    auto global = std::make_shared<GlobalOptions>();
    AddWholeNumber(&app, "--device-id", global->deviceId, 0, 31, "The unit's device ID (0..31)");
    auto* outOpt = AddWholeNumber(&app, "--out", global->outIndex, 0, kMaxDeviceIndex,
                                  "MIDI Out device index (see 'ports')");
    app.add_option("--out-name", global->outName, "First MIDI Out device whose name contains TEXT")
        ->excludes(outOpt);
    auto* inOpt = AddWholeNumber(&app, "--in", global->inIndex, 0, kMaxDeviceIndex,
                                 "MIDI In device index (see 'ports')");
    app.add_option("--in-name", global->inName, "First MIDI In device whose name contains TEXT")
        ->excludes(inOpt);
    app.add_option("--settings", global->settings,
                   "settings.cfg to take the ports from (default: ./settings.cfg if there is one, else "
                   "$XDG_CONFIG_HOME/quellin/settings.cfg)");
    app.set_version_flag("--version", "quellin-cli " QUELLIN_VERSION);
    return global;
}

// new, show, set and diff: single patches on disk.
Runner AddPatchCommands(CLI::App& app, std::shared_ptr<const GlobalOptions> global) {
    struct Options {
        NewOptions fresh;
        std::string showPath, showSlot;
        bool showJson = false;
        SetOptions set;
        std::string setSlot;
        std::string diffA, diffB, diffSlotA, diffSlotB;
    };
    auto o = std::make_shared<Options>();
    const SlotValidator slotName;

    auto* fresh = app.add_subcommand("new", "Write a fresh patch of an algorithm as a single-patch file");
    AddWholeNumber(fresh, "--algorithm", o->fresh.algorithm, 0, kAlgorithmCount - 1,
                   "Algorithm number (0..36)")
        ->required();
    fresh->add_option(
        "--name", o->fresh.name,
        "Patch name: up to 13 characters from blank to '}', as the window's name box takes them");
    AddWholeNumber(fresh, "--category", o->fresh.category, 0, kCategoryCount - 1,
                   "Category (0..13); default: the algorithm's");
    auto* freshDevice =
        AddWholeNumber(fresh, "--device-id", o->fresh.deviceId, 0, 31, "Device ID written (0..31)");
    fresh->add_option("-o,--output", o->fresh.output, "Output file")->required();

    auto* show = app.add_subcommand("show", "Show a patch file, or one slot of a bank");
    show->add_option("file", o->showPath, "Single-patch or bank file")->required();
    show->add_option("--slot", o->showSlot, "Bank slot (A1..B101)")->check(slotName);
    show->add_flag("--json", o->showJson, "Print JSON");

    auto* set = app.add_subcommand("set", "Change parameters and write a single-patch file");
    set->add_option("input", o->set.input, "Single-patch or bank file")->required();
    set->add_option("-o,--output", o->set.output, "Output file")->required();
    set->add_option("--slot", o->setSlot, "Bank slot (A1..B101)")->check(slotName);
    auto* setDevice = AddWholeNumber(set, "--device-id", o->set.deviceId, 0, 31, "Device ID written (0..31)");
    set->add_option("assignments", o->set.assignments,
                    "B:P=V (V a stored value or a \"text\"), name=TEXT, category=C")
        ->required();

    auto* diff = app.add_subcommand("diff", "Compare two patches (exit 3 when they differ)");
    diff->add_option("a", o->diffA, "First file")->required();
    diff->add_option("b", o->diffB, "Second file")->required();
    diff->add_option("--slot-a", o->diffSlotA, "Bank slot of the first file")->check(slotName);
    diff->add_option("--slot-b", o->diffSlotB, "Bank slot of the second file")->check(slotName);

    return [=]() -> std::optional<int> {
        if (*fresh) {
            // --device-id may stand before the command or after it.
            if (!*freshDevice) o->fresh.deviceId = global->deviceId;
            return RunNew(o->fresh);
        }
        if (*show) return RunShow(o->showPath, Slot(o->showSlot), o->showJson);
        if (*set) {
            if (!*setDevice) o->set.deviceId = global->deviceId;
            o->set.slot = Slot(o->setSlot);
            return RunSet(o->set);
        }
        if (*diff) return RunDiff(o->diffA, Slot(o->diffSlotA), o->diffB, Slot(o->diffSlotB));
        return std::nullopt;
    };
}

// bank list, extract, put and repair: bank files on disk.
Runner AddBankCommands(CLI::App& app, std::shared_ptr<const GlobalOptions> global) {
    struct Options {
        std::string path, slot, output, patch, fill;
        bool json = false;
    };
    auto o = std::make_shared<Options>();
    const SlotValidator slotName;

    auto* bank = app.add_subcommand("bank", "Bank files: list, extract, put, repair");
    bank->require_subcommand(1);
    auto* list = bank->add_subcommand("list", "List the 202 slots of a bank");
    list->add_option("bank", o->path, "Bank file")->required();
    list->add_flag("--json", o->json, "Print JSON");
    auto* extract = bank->add_subcommand("extract", "Write one slot as a single-patch file");
    extract->add_option("bank", o->path, "Bank file")->required();
    extract->add_option("slot", o->slot, "Slot (A1..B101)")->required()->check(slotName);
    extract->add_option("-o,--output", o->output, "Output file")->required();
    auto* put = bank->add_subcommand("put", "Replace one slot with a single-patch file");
    put->add_option("bank", o->path, "Bank file")->required();
    put->add_option("slot", o->slot, "Slot (A1..B101)")->required()->check(slotName);
    put->add_option("patch", o->patch, "Single-patch file")->required();
    put->add_option("-o,--output", o->output, "Output bank file")->required();
    auto* repair = bank->add_subcommand("repair", "Load a bank with salvage and write it whole");
    repair->add_option("bank", o->path, "Bank file")->required();
    repair->add_option("-o,--output", o->output, "Output bank file")->required();
    repair->add_option("--fill", o->fill, "Single-patch file for the empty slots");

    return [=]() -> std::optional<int> {
        if (*list) return RunBankList(o->path, o->json);
        if (*extract) return RunBankExtract(o->path, Slot(o->slot), o->output, global->deviceId);
        if (*put) return RunBankPut(o->path, Slot(o->slot), o->patch, o->output, global->deviceId);
        if (*repair) return RunBankRepair(o->path, o->output, o->fill, global->deviceId);
        return std::nullopt;
    };
}

// ports, send-patch, request-patch, send-bank, receive-bank, get-global and set-global: the unit
// over MIDI.
Runner AddDeviceCommands(CLI::App& app, std::shared_ptr<const GlobalOptions> global) {
    struct Options {
        std::string patchPath, patchTo, patchFrom, requestOut, bankFile, receiveOut;
        double requestTimeout = 10;
        double bankTimeout = 120;
        bool globalJson = false;
        GlobalChanges changes;
    };
    auto o = std::make_shared<Options>();

    auto* ports = app.add_subcommand("ports", "List the MIDI Out and In devices with their indexes");
    auto* sendPatch =
        app.add_subcommand("send-patch", "Send a patch file to the unit's edit buffer or a slot");
    sendPatch->add_option("file", o->patchPath, "Single-patch file")->required();
    sendPatch->add_option("--to", o->patchTo, "edit (default) or a slot A1..B101");
    auto* requestPatch = app.add_subcommand("request-patch", "Request a patch from the unit and save it");
    requestPatch->add_option("--from", o->patchFrom, "edit (default) or a slot A1..B101");
    requestPatch->add_option("-o,--output", o->requestOut, "Output file")->required();
    AddSeconds(requestPatch, "--timeout", o->requestTimeout, kMinTimeout, kMaxTimeout,
               "Seconds to wait (default 10)");
    auto* sendBank = app.add_subcommand("send-bank", "Send a bank file to the unit");
    sendBank->add_option("bank", o->bankFile, "Bank file")->required();
    auto* receiveBank = app.add_subcommand("receive-bank", "Receive a bank dump started on the unit");
    receiveBank->add_option("-o,--output", o->receiveOut, "Output bank file")->required();
    AddSeconds(receiveBank, "--timeout", o->bankTimeout, kMinTimeout, kMaxTimeout,
               "Seconds to wait (default 120)");
    auto* getGlobal = app.add_subcommand("get-global", "Read the unit's global settings");
    getGlobal->add_flag("--json", o->globalJson, "Print JSON");
    auto* setGlobal = app.add_subcommand("set-global", "Change the unit's global settings (the others stay)");
    GlobalChanges& changes = o->changes;
    AddWholeNumber(setGlobal, "--out-level", changes.outLevel, 0, 100, "0..100 (shown as twice that in %)");
    AddWholeNumber(setGlobal, "--ns-threshold", changes.nsThreshold, 0, 40, "0..40 (shown as value - 20 dB)");
    AddWholeNumber(setGlobal, "--reverb-level", changes.reverbLevel, 0, 100, "0..100");
    AddWholeNumber(setGlobal, "--output", changes.output, 0, 4, "Output type 0..4");
    setGlobal
        ->add_option_function<std::string>(
            "--tempo",
            [&changes](const std::string& text) {
                if (text == "midi" || text == "MIDI") {
                    changes.tempo = kTempoFollowsMidi;
                    return;
                }
                changes.tempo = ParseWholeNumber(text, kMinTempo, kMaxTempo);
                if (!changes.tempo)
                    throw CLI::ValidationError("--tempo",
                                               text + " is not a tempo: a whole number from 40 to 250, "
                                                      "or midi");
            },
            "40..250 BPM, or midi")
        ->type_name("BPM");
    AddWholeNumber(setGlobal, "--direct-mix", changes.directMix, 0, 1, "0 Off, 1 Patch");

    return [=]() -> std::optional<int> {
        const PortOptions options = global->Ports();
        if (*ports) return RunPorts();
        if (*sendPatch) return RunSendPatch(options, o->patchPath, o->patchTo);
        if (*requestPatch) return RunRequestPatch(options, o->patchFrom, o->requestOut, o->requestTimeout);
        if (*sendBank) return RunSendBank(options, o->bankFile);
        if (*receiveBank) return RunReceiveBank(options, o->receiveOut, o->bankTimeout);
        if (*getGlobal) return RunGetGlobal(options, o->globalJson);
        if (*setGlobal) return RunSetGlobal(options, o->changes);
        return std::nullopt;
    };
}

// emulate: a stand-in for the unit on a virtual MIDI port.
Runner AddEmulateCommand(CLI::App& app) {
    auto o = std::make_shared<EmulateOptions>();
    auto* emulate = app.add_subcommand("emulate", "Stand in for the unit on a virtual MIDI port");
    emulate->add_option("--api", o->api, "jack or alsa (default: the first that works)")
        ->check(CLI::IsMember({"jack", "alsa"}));
    emulate->add_option("--port-name", o->portName, "Client name of the ports");
    emulate->add_option("--bank", o->bank, "Bank file to start the memory from");
    emulate->add_option("--save", o->save, "Write the memory as a bank file at exit");
    emulate->add_flag("--fast", o->fast, "Answer as fast as the transport carries, not at MIDI speed");

    return [=]() -> std::optional<int> {
        if (*emulate) return RunEmulate(*o);
        return std::nullopt;
    };
}

// lfo: the MIDI LFO on the Out device, checked as the LFO panel checks its fields.
Runner AddLfoCommand(CLI::App& app, std::shared_ptr<const GlobalOptions> global) {
    auto o = std::make_shared<LfoOptions>();
    auto* lfo =
        app.add_subcommand("lfo", "Run the MIDI LFO on the MIDI Out device until --seconds or Ctrl+C");
    lfo->add_option("--wave", o->wave, "sine (default), triangle, square, saw-up or saw-down")
        ->check(CLI::IsMember({"sine", "triangle", "square", "saw-up", "saw-down"}));
    lfo->add_option("--channel", o->channel, "MIDI channel 1..16 (default 1)")->check(CLI::Range(1, 16));
    lfo->add_option("--cc", o->controller, "Controller number 1..95 (default 1)")->check(CLI::Range(1, 95));
    auto* rate = lfo->add_option("--rate", o->rate, "Hz, 0.01..10 (default 0.1)");
    auto* tempo = lfo->add_option("--tempo", o->tempo, "BPM, 50..250 (default 120): the rate from the tempo")
                      ->excludes(rate);
    lfo->add_option("--time-sig", o->timeSig, "2/4, 3/4, 4/4 (default) or 5/4")->excludes(rate);
    lfo->add_option("--cycles", o->cycles, "Cycles per bar 1..16 (default 1)")
        ->check(CLI::Range(1, 16))
        ->excludes(rate);
    AddSeconds(lfo, "--seconds", o->seconds, kMinTimeout, kMaxTimeout,
               "Stop after this many seconds (default: at Ctrl+C)");

    return [=]() -> std::optional<int> {
        if (!*lfo) return std::nullopt;
        // An empty value is a value given, and refused as the panel refuses an empty box.
        o->rateGiven = rate->count() > 0;
        o->tempoGiven = tempo->count() > 0;
        return RunLfo(global->Ports(), *o);
    };
}

// The tool, once the message handler is in place.
int Run(int argc, char** argv) {
    CLI::App app{"Quellin: patch editor and librarian for the BOSS VF-1.", "quellin-cli"};
    app.require_subcommand(1);
    const auto global = AddGlobalOptions(app);
    const std::vector<Runner> groups = {AddPatchCommands(app, global), AddBankCommands(app, global),
                                        AddDeviceCommands(app, global), AddEmulateCommand(app),
                                        AddLfoCommand(app, global)};

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    }

    VF1Settings::SetPath(VF1Settings::Locate(global->settings));
    try {
        for (const Runner& run : groups)
            if (const std::optional<int> status = run()) return *status;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "quellin-cli: %s\n", e.what());
        return kExitUsage;
    } catch (const OperationFailed&) {
        return kExitFailed;
    }
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    SetMessageHandler([](const std::string& text, MessageStyle) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return 1;
    });
    // Whatever goes wrong below ends the run with a message and status 1, never an abort.
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "quellin-cli: out of memory\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quellin-cli: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "quellin-cli: unexpected failure\n");
    }
    return kExitFailed;
}
