#include "cli/FileCommands.h"

#include <cstdio>
#include <cstring>

#include "cli/CliSupport.h"
#include "library/BankFile.h"
#include "midi/SysExMessages.h"
#include "midi/VF1MIDI.h"
#include "model/PatchImage.h"
#include "model/PatchName.h"
#include "model/Report.h"
#include "model/VF1MasterEffect.h"
#include "model/VF1ValueType.h"
#include "model/tables/AlgorithmInfo.h"

using nlohmann::ordered_json;

namespace {

bool IsTarget(const VF1Param& p) {
    return p.IsTarget();
}

ordered_json ParamJson(int index, VF1Param& p) {
    ordered_json j;
    j["index"] = index;
    if (p.IsDummy()) {
        j["dummy"] = true;
        j["type"] = p.GetType();
        j["width"] = p.GetWidth();
        j["offset"] = p.GetOffset();
        return j;
    }
    j["label"] = p.GetLabel();
    j["name"] = p.GetName();
    j["type"] = p.GetType();
    j["width"] = p.GetWidth();
    j["offset"] = p.GetOffset();
    j["target"] = p.GetTarget();
    j["value"] = p.GetValue();
    j["text"] = p.GetTextForValue(p.GetValue());
    if (IsTarget(p)) {
        const auto& t = static_cast<const VF1TargetParam&>(p);
        j["min"] = t.GetTargetMin();
        j["max"] = t.GetTargetMax();
    }
    return j;
}

ordered_json PatchJson(VF1Algorithm& algorithm) {
    ordered_json j;
    j["algorithm"] = algorithm.GetNumber();
    const char* display = algorithm.GetDisplayName();
    j["algorithmName"] = display ? display : "";
    j["category"] = algorithm.GetCategory();
    j["categoryName"] = CategoryName(algorithm.GetCategory());
    j["name"] = algorithm.GetName();
    ordered_json blocks = ordered_json::array();
    for (int b = 0; b < algorithm.GetBlockCount(); ++b) {
        VF1Effect& block = *algorithm.GetBlock(b);
        ordered_json jb;
        jb["id"] = BlockIdText(block.GetId());
        jb["name"] = block.GetName();
        jb["address"] = Format("%04X", block.GetAddress());
        jb["targetBase"] = block.GetTargetBase();
        ordered_json params = ordered_json::array();
        const auto live = block.LiveParams();
        for (size_t i = 0; i < live.size(); ++i) params.push_back(ParamJson(static_cast<int>(i), *live[i]));
        jb["params"] = std::move(params);
        blocks.push_back(std::move(jb));
    }
    j["blocks"] = std::move(blocks);
    return j;
}

std::string ValueText(VF1Param& p) {
    std::string text = p.GetTextForValue(p.GetValue());
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

void PrintPatchText(VF1Algorithm& algorithm) {
    const char* display = algorithm.GetDisplayName();
    std::printf("Algorithm: %d %s\n", algorithm.GetNumber(), display ? display : "");
    std::printf("Category:  %d %s\n", algorithm.GetCategory(), CategoryName(algorithm.GetCategory()));
    std::printf("Name:      %s\n", algorithm.GetName().c_str());
    for (int b = 0; b < algorithm.GetBlockCount(); ++b) {
        VF1Effect& block = *algorithm.GetBlock(b);
        std::printf("\n%d  %s  (%s at %04X)\n", b, block.GetName().c_str(),
                    BlockIdText(block.GetId()).c_str(), block.GetAddress());
        const auto live = block.LiveParams();
        for (size_t i = 0; i < live.size(); ++i) {
            VF1Param& p = *live[i];
            if (p.IsDummy()) continue;
            std::string text = ValueText(p);
            if (IsTarget(p)) {
                const auto& t = static_cast<const VF1TargetParam&>(p);
                text += Format("  (min %d, max %d)", t.GetTargetMin(), t.GetTargetMax());
            }
            std::printf("  %3zu  %-28s %6d  %s\n", i, DisplayName(p.GetLabel(), p.GetName()).c_str(),
                        p.GetValue(), text.c_str());
        }
    }
}

// The entry index of a parameter's list that a value names: a decimal stored value, or a display
// text in double quotes ("\n" in it stands for a line break). -1 when the list has no such entry.
int EntryIndexFor(VF1Param& p, const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        std::string text = value.substr(1, value.size() - 2);
        for (size_t pos; (pos = text.find("\\n")) != std::string::npos;) text.replace(pos, 2, "\n");
        const int count = IsTarget(p) ? p.GetMax() + 1 : (p.GetValueType() ? p.GetValueType()->Count() : 0);
        for (int i = 0; i < count; ++i)
            if (p.GetEntryText(i) == text) return i;
        return -1;
    }
    if (value.empty() || value.size() > 9 || value.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const int v = std::stoi(value);
    if (IsTarget(p)) return static_cast<VF1TargetParam&>(p).FindEntry(v);
    return p.GetValueType() ? p.GetValueType()->IndexOf(v) : -1;
}

bool ParseInt(const std::string& text, int& out) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out = std::stoi(text);
    return true;
}

void ApplyAssignment(VF1Algorithm& algorithm, const std::string& assignment) {
    const auto eq = assignment.find('=');
    if (eq == std::string::npos) throw UsageError("not an assignment: " + assignment);
    const std::string key = assignment.substr(0, eq);
    const std::string value = assignment.substr(eq + 1);
    if (key == "name") {
        algorithm.SetName(NameFromText(value));
        return;
    }
    if (key == "category") {
        int c = -1;
        if (!ParseInt(value, c) || c >= kCategoryCount)
            throw UsageError("category must be 0 to 13: " + assignment);
        algorithm.SetCategory(c);
        return;
    }
    const auto colon = key.find(':');
    int b = -1;
    int index = -1;
    if (colon == std::string::npos || !ParseInt(key.substr(0, colon), b) ||
        !ParseInt(key.substr(colon + 1), index))
        throw UsageError("expected B:P=V, name=TEXT or category=C: " + assignment);
    VF1Effect* block = algorithm.GetBlock(b);
    if (block == nullptr) throw UsageError("no block " + std::to_string(b) + ": " + assignment);
    const auto live = block->LiveParams();
    if (static_cast<size_t>(index) >= live.size())
        throw UsageError("block " + std::to_string(b) + " has no parameter " + std::to_string(index) + ": " +
                         assignment);
    VF1Param& p = *live[static_cast<size_t>(index)];
    if (p.IsDummy()) throw UsageError("parameter " + key + " is reserved space: " + assignment);
    const int entry = EntryIndexFor(p, value);
    if (entry < 0) throw UsageError("value not in the parameter's list: " + assignment);
    // The parameter's own setter: a Target takes the entry's number and keeps its stored range.
    if (IsTarget(p)) p.SetValueIndex(entry);
    else p.SetValue(p.ValueAt(entry));
}

std::string DiffText(VF1Param& p) {
    std::string text = ValueText(p);
    if (IsTarget(p)) {
        const auto& t = static_cast<const VF1TargetParam&>(p);
        text += Format(" (min %d, max %d)", t.GetTargetMin(), t.GetTargetMax());
    }
    return text;
}

// Two live parameters at the same place are one parameter only while their blocks show the same
// module; after a selector differs, a place holds unrelated parameters that can't be compared.
bool SameParameter(const VF1Param& a, const VF1Param& b) {
    return a.GetType() == b.GetType() && a.GetOffset() == b.GetOffset() && a.GetLabel() == b.GetLabel() &&
           a.GetName() == b.GetName();
}

bool SameStored(VF1Param& a, VF1Param& b) {
    if (a.GetValue() != b.GetValue()) return false;
    if (IsTarget(a) && IsTarget(b)) {
        const auto& ta = static_cast<const VF1TargetParam&>(a);
        const auto& tb = static_cast<const VF1TargetParam&>(b);
        return ta.GetTargetMin() == tb.GetTargetMin() && ta.GetTargetMax() == tb.GetTargetMax();
    }
    return true;
}

// The tool's bank files carry its device ID in every message. A refusal for empty slots names them.
void WriteBank(VF1Bank& bank, const std::string& output, int deviceId) {
    if (SaveBankFile(bank, output, deviceId, ImageDeviceIds::Rewritten)) return;
    if (const auto empty = EmptySlots(bank); !empty.empty())
        ShowMessage(Format("Empty slots: %s.", SlotList(empty).c_str()), MessageStyle::Error);
    throw OperationFailed();
}

} // namespace

int RunNew(const NewOptions& options) {
    VF1Algorithm algorithm(options.algorithm);
    algorithm.SetName(NameFromText(options.name));
    if (options.category >= 0) algorithm.SetCategory(options.category);
    VF1MIDI& midi = VF1MIDI::Instance();
    midi.SetDeviceID(options.deviceId);
    return midi.SavePatchFile(algorithm, options.output) ? kExitOk : kExitFailed;
}

int RunShow(const std::string& path, int slot, bool json) {
    VF1AlgorithmList list;
    VF1Algorithm& algorithm = LoadPatch(list, path, slot);
    if (json) std::printf("%s\n", DumpJson(PatchJson(algorithm)).c_str());
    else PrintPatchText(algorithm);
    return kExitOk;
}

int RunSet(const SetOptions& options) {
    VF1AlgorithmList list;
    VF1Algorithm& algorithm = LoadPatch(list, options.input, options.slot);
    for (const std::string& assignment : options.assignments) ApplyAssignment(algorithm, assignment);
    VF1MIDI& midi = VF1MIDI::Instance();
    midi.SetDeviceID(options.deviceId);
    return midi.SavePatchFile(algorithm, options.output) ? kExitOk : kExitFailed;
}

int RunDiff(const std::string& pathA, int slotA, const std::string& pathB, int slotB) {
    VF1AlgorithmList list;
    VF1Algorithm& a = LoadPatch(list, pathA, slotA);
    VF1Algorithm& b = LoadPatch(list, pathB, slotB);
    bool different = false;
    auto line = [&](const std::string& text) {
        std::printf("%s\n", text.c_str());
        different = true;
    };
    if (a.GetNumber() != b.GetNumber()) {
        line(Format("algorithm: %s -> %s", a.GetDisplayName(), b.GetDisplayName()));
    }
    if (a.GetName() != b.GetName()) line(Format("name: %s -> %s", a.GetName().c_str(), b.GetName().c_str()));
    if (a.GetCategory() != b.GetCategory())
        line(Format("category: %s -> %s", CategoryName(a.GetCategory()), CategoryName(b.GetCategory())));
    // Parameters are compared place by place only within the same algorithm.
    if (a.GetNumber() == b.GetNumber()) {
        for (int i = 0; i < a.GetBlockCount(); ++i) {
            const auto liveA = a.GetBlock(i)->LiveParams();
            const auto liveB = b.GetBlock(i)->LiveParams();
            for (size_t k = 0; k < liveA.size() && k < liveB.size(); ++k) {
                VF1Param& pa = *liveA[k];
                VF1Param& pb = *liveB[k];
                if (pa.IsDummy() || pb.IsDummy() || !SameParameter(pa, pb) || SameStored(pa, pb)) continue;
                line(Format("%d:%zu  %s / %s: %s -> %s", i, k, a.GetBlock(i)->GetName().c_str(),
                            DisplayName(pa.GetLabel(), pa.GetName()).c_str(), DiffText(pa).c_str(),
                            DiffText(pb).c_str()));
            }
        }
    }
    return different ? kExitDifferent : kExitOk;
}

int RunBankList(const std::string& path, bool json) {
    const auto bank = LoadBankFile(path);
    ordered_json rows = ordered_json::array();
    for (int i = 0; i < bank->GetCount(); ++i) {
        const VF1Patch& patch = *bank->GetAt(i);
        if (json) {
            ordered_json row;
            row["slot"] = SlotName(i);
            row["valid"] = patch.IsValid();
            row["name"] = patch.GetName();
            row["algorithm"] = patch.GetAlgorithmName();
            rows.push_back(std::move(row));
        } else {
            std::string text =
                Format("%-4s  %s  %s", SlotName(i), patch.GetName().c_str(), patch.GetAlgorithmName());
            text.erase(text.find_last_not_of(' ') + 1);
            std::printf("%s\n", text.c_str());
        }
    }
    if (json) std::printf("%s\n", DumpJson(rows).c_str());
    return kExitOk;
}

int RunBankExtract(const std::string& path, int slot, const std::string& output, int deviceId) {
    const auto bank = LoadBankFile(path);
    VF1Patch* patch = bank->GetAt(slot);
    if (patch == nullptr || !patch->IsValid()) {
        ShowMessage(Format("Slot %s of \"%s\" is empty.", SlotName(slot), path.c_str()), MessageStyle::Error);
        return kExitFailed;
    }
    // The patch's own bytes, addressed to the edit buffer as a single-patch file is.
    VF1Patch extracted;
    extracted.CopyFrom(*patch);
    extracted.SetBaseAddress(kEditBufferAddress);
    extracted.SetDeviceId(deviceId);
    PatchFileBytes file{};
    const PatchImage& image = extracted.Image();
    const ClosingMessageBytes closing = ClosingMessage(kEditBufferEndAddress, deviceId);
    std::copy(image.begin(), image.end(), file.begin());
    std::copy(closing.begin(), closing.end(), file.begin() + kPatchImageSize);
    WriteFileOrFail(output, file);
    return kExitOk;
}

int RunBankPut(const std::string& path, int slot, const std::string& patchPath, const std::string& output,
               int deviceId) {
    const auto bank = LoadBankFile(path);
    const PatchImage image = LoadPatchImage(patchPath);
    bank->GetAt(slot)->SetImage(image, false);
    WriteBank(*bank, output, deviceId);
    return kExitOk;
}

int RunBankRepair(const std::string& path, const std::string& output, const std::string& fillPath,
                  int deviceId) {
    const auto bank = LoadBankFile(path);
    const std::vector<int> empty = EmptySlots(*bank);
    if (!fillPath.empty()) {
        const PatchImage image = LoadPatchImage(fillPath);
        for (const int slot : empty) bank->GetAt(slot)->SetImage(image, false);
    }
    WriteBank(*bank, output, deviceId);
    // What the repair did beyond the loader's own report.
    if (!fillPath.empty() && !empty.empty())
        ShowMessage(Format("Filled %zu empty slot%s with \"%s\": %s.", empty.size(),
                           empty.size() == 1 ? "" : "s", fillPath.c_str(), SlotList(empty).c_str()),
                    MessageStyle::Info);
    return kExitOk;
}
