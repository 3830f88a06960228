// quellin-cli: the patch model, banks and (with a MIDI port) the unit, from the command line.

#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/CliSupport.h"
#include "cli/DeviceCommands.h"
#include "cli/FileCommands.h"
#include "model/AlgorithmInfo.h"
#include "model/Report.h"
#include "model/SysEx.h"

namespace {

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

} // namespace

int main(int argc, char** argv) {
    SetMessageHandler([](const std::string& text, MessageStyle) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return 1;
    });

    CLI::App app{"Quellin: patch editor and librarian for the BOSS VF-1.", "quellin-cli"};
    app.require_subcommand(1);
    const SlotValidator slotName;

    // Options that choose the unit's ports and device ID, shared by every command.
    int globalDeviceId = 0;
    int outIndex = -1;
    int inIndex = -1;
    std::string outName;
    std::string inName;
    app.add_option("--device-id", globalDeviceId, "The unit's device ID (0..31)")->check(CLI::Range(0, 31));
    auto* outOpt = app.add_option("--out", outIndex, "MIDI Out device index (see 'ports')")
                       ->check(CLI::NonNegativeNumber);
    app.add_option("--out-name", outName, "First MIDI Out device whose name contains TEXT")->excludes(outOpt);
    auto* inOpt =
        app.add_option("--in", inIndex, "MIDI In device index (see 'ports')")->check(CLI::NonNegativeNumber);
    app.add_option("--in-name", inName, "First MIDI In device whose name contains TEXT")->excludes(inOpt);

    // new
    NewOptions newOptions;
    auto* cmdNew = app.add_subcommand("new", "Write a fresh patch of an algorithm as a single-patch file");
    cmdNew->add_option("--algorithm", newOptions.algorithm, "Algorithm number (0..36)")
        ->required()
        ->check(CLI::Range(0, kAlgorithmCount - 1));
    cmdNew->add_option("--name", newOptions.name, "Patch name (cut at 13 characters)");
    cmdNew->add_option("--category", newOptions.category, "Category (0..13); default: the algorithm's")
        ->check(CLI::Range(0, kCategoryCount - 1));
    auto* newDevice = cmdNew->add_option("--device-id", newOptions.deviceId, "Device ID written (0..31)")
                          ->check(CLI::Range(0, 31));
    cmdNew->add_option("-o,--output", newOptions.output, "Output file")->required();

    // show
    std::string showPath, showSlot, patchPath;
    bool showJson = false;
    auto* cmdShow = app.add_subcommand("show", "Show a patch file, or one slot of a bank");
    cmdShow->add_option("file", showPath, "Single-patch or bank file")->required();
    cmdShow->add_option("--slot", showSlot, "Bank slot (A1..B101)")->check(slotName);
    cmdShow->add_flag("--json", showJson, "Print JSON");

    // set
    SetOptions setOptions;
    std::string setSlot;
    auto* cmdSet = app.add_subcommand("set", "Change parameters and write a single-patch file");
    cmdSet->add_option("input", setOptions.input, "Single-patch or bank file")->required();
    cmdSet->add_option("-o,--output", setOptions.output, "Output file")->required();
    cmdSet->add_option("--slot", setSlot, "Bank slot (A1..B101)")->check(slotName);
    auto* setDevice = cmdSet->add_option("--device-id", setOptions.deviceId, "Device ID written (0..31)")
                          ->check(CLI::Range(0, 31));
    cmdSet
        ->add_option("assignments", setOptions.assignments,
                     "B:P=V (V a stored value or a \"text\"), name=TEXT, category=C")
        ->required();

    // diff
    std::string diffA, diffB, diffSlotA, diffSlotB;
    auto* cmdDiff = app.add_subcommand("diff", "Compare two patches (exit 3 when they differ)");
    cmdDiff->add_option("a", diffA, "First file")->required();
    cmdDiff->add_option("b", diffB, "Second file")->required();
    cmdDiff->add_option("--slot-a", diffSlotA, "Bank slot of the first file")->check(slotName);
    cmdDiff->add_option("--slot-b", diffSlotB, "Bank slot of the second file")->check(slotName);

    // bank ...
    auto* cmdBank = app.add_subcommand("bank", "Bank files: list, extract, put, repair");
    cmdBank->require_subcommand(1);
    std::string bankPath, bankSlot, bankOut, bankPatch, bankFill;
    bool bankJson = false;
    auto* bankList = cmdBank->add_subcommand("list", "List the 202 slots of a bank");
    bankList->add_option("bank", bankPath, "Bank file")->required();
    bankList->add_flag("--json", bankJson, "Print JSON");
    auto* bankExtract = cmdBank->add_subcommand("extract", "Write one slot as a single-patch file");
    bankExtract->add_option("bank", bankPath, "Bank file")->required();
    bankExtract->add_option("slot", bankSlot, "Slot (A1..B101)")->required()->check(slotName);
    bankExtract->add_option("-o,--output", bankOut, "Output file")->required();
    auto* bankPut = cmdBank->add_subcommand("put", "Replace one slot with a single-patch file");
    bankPut->add_option("bank", bankPath, "Bank file")->required();
    bankPut->add_option("slot", bankSlot, "Slot (A1..B101)")->required()->check(slotName);
    bankPut->add_option("patch", bankPatch, "Single-patch file")->required();
    bankPut->add_option("-o,--output", bankOut, "Output bank file")->required();
    auto* bankRepair = cmdBank->add_subcommand("repair", "Load a bank with salvage and write it whole");
    bankRepair->add_option("bank", bankPath, "Bank file")->required();
    bankRepair->add_option("-o,--output", bankOut, "Output bank file")->required();
    bankRepair->add_option("--fill", bankFill, "Single-patch file for the empty slots");

    // Commands that talk to the unit.
    auto* cmdPorts = app.add_subcommand("ports", "List the MIDI Out and In devices with their indexes");
    std::string patchTo, patchFrom, requestOut, bankFile, receiveOut;
    double requestTimeout = 10, bankTimeout = 120;
    auto* cmdSendPatch =
        app.add_subcommand("send-patch", "Send a patch file to the unit's edit buffer or a slot");
    cmdSendPatch->add_option("file", patchPath, "Single-patch file")->required();
    cmdSendPatch->add_option("--to", patchTo, "edit (default) or a slot A1..B101");
    auto* cmdRequestPatch = app.add_subcommand("request-patch", "Request a patch from the unit and save it");
    cmdRequestPatch->add_option("--from", patchFrom, "edit (default) or a slot A1..B101");
    cmdRequestPatch->add_option("-o,--output", requestOut, "Output file")->required();
    cmdRequestPatch->add_option("--timeout", requestTimeout, "Seconds to wait (default 10)")
        ->check(CLI::PositiveNumber);
    auto* cmdSendBank = app.add_subcommand("send-bank", "Send a bank file to the unit");
    cmdSendBank->add_option("bank", bankFile, "Bank file")->required();
    auto* cmdReceiveBank = app.add_subcommand("receive-bank", "Receive a bank dump started on the unit");
    cmdReceiveBank->add_option("-o,--output", receiveOut, "Output bank file")->required();
    cmdReceiveBank->add_option("--timeout", bankTimeout, "Seconds to wait (default 120)")
        ->check(CLI::PositiveNumber);
    bool globalJson = false;
    auto* cmdGetGlobal = app.add_subcommand("get-global", "Read the unit's global settings");
    cmdGetGlobal->add_flag("--json", globalJson, "Print JSON");
    GlobalChanges globalChanges;
    auto* cmdSetGlobal =
        app.add_subcommand("set-global", "Change the unit's global settings (the others stay)");
    cmdSetGlobal->add_option("--out-level", globalChanges.outLevel, "0..100 (shown as twice that in %)")
        ->check(CLI::Range(0, 100));
    cmdSetGlobal->add_option("--ns-threshold", globalChanges.nsThreshold, "0..40 (shown as value - 20 dB)")
        ->check(CLI::Range(0, 40));
    cmdSetGlobal->add_option("--reverb-level", globalChanges.reverbLevel, "0..100")
        ->check(CLI::Range(0, 100));
    cmdSetGlobal->add_option("--output", globalChanges.output, "Output type 0..4")->check(CLI::Range(0, 4));
    cmdSetGlobal->add_option("--tempo", globalChanges.tempo, "40..250 BPM, or midi");
    cmdSetGlobal->add_option("--direct-mix", globalChanges.directMix, "0 Off, 1 Patch")
        ->check(CLI::Range(0, 1));
    EmulateOptions emulate;
    auto* cmdEmulate = app.add_subcommand("emulate", "Stand in for the unit on a virtual MIDI port");
    cmdEmulate->add_option("--api", emulate.api, "jack or alsa (default: the first that works)")
        ->check(CLI::IsMember({"jack", "alsa"}));
    cmdEmulate->add_option("--port-name", emulate.portName, "Client name of the ports");
    cmdEmulate->add_option("--bank", emulate.bank, "Bank file to start the memory from");
    cmdEmulate->add_option("--save", emulate.save, "Write the memory as a bank file at exit");
    cmdEmulate->add_flag("--fast", emulate.fast,
                         "Answer as fast as the transport carries, not at MIDI speed");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    }

    try {
        if (*cmdNew) {
            if (!*newDevice) newOptions.deviceId = globalDeviceId;
            return RunNew(newOptions);
        }
        if (*cmdShow) return RunShow(showPath, Slot(showSlot), showJson);
        if (*cmdSet) {
            if (!*setDevice) setOptions.deviceId = globalDeviceId;
            setOptions.slot = Slot(setSlot);
            return RunSet(setOptions);
        }
        if (*cmdDiff) return RunDiff(diffA, Slot(diffSlotA), diffB, Slot(diffSlotB));
        if (*bankList) return RunBankList(bankPath, bankJson);
        if (*bankExtract) return RunBankExtract(bankPath, Slot(bankSlot), bankOut, globalDeviceId);
        if (*bankPut) return RunBankPut(bankPath, Slot(bankSlot), bankPatch, bankOut, globalDeviceId);
        if (*bankRepair) return RunBankRepair(bankPath, bankOut, bankFill, globalDeviceId);
        const PortOptions ports{outIndex, outName, inIndex, inName, globalDeviceId};
        if (*cmdPorts) return RunPorts();
        if (*cmdSendPatch) return RunSendPatch(ports, patchPath, patchTo);
        if (*cmdRequestPatch) return RunRequestPatch(ports, patchFrom, requestOut, requestTimeout);
        if (*cmdSendBank) return RunSendBank(ports, bankFile);
        if (*cmdReceiveBank) return RunReceiveBank(ports, receiveOut, bankTimeout);
        if (*cmdGetGlobal) return RunGetGlobal(ports, globalJson);
        if (*cmdSetGlobal) return RunSetGlobal(ports, globalChanges);
        if (*cmdEmulate) return RunEmulate(emulate);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "quellin-cli: %s\n", e.what());
        return kExitUsage;
    } catch (const OperationFailed&) {
        return kExitFailed;
    }
    return kExitUsage;
}
