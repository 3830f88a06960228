#include "cli/CliSupport.h"

#include <algorithm>

#include "library/BankFile.h"
#include "midi/VF1MIDI.h"
#include "model/FileIO.h"
#include "model/PatchImage.h"
#include "model/Report.h"

std::vector<uint8_t> ReadBankOrFail(const std::string& path) {
    // Whatever the file holds up to that bound is a bank for the parser to judge.
    std::vector<uint8_t> bytes;
    if (!ReadFileUpTo(path, kBankReadLimit, bytes)) throw OperationFailed();
    return bytes;
}

void WriteFileOrFail(const std::string& path, std::span<const uint8_t> bytes) {
    if (!WriteFileReplacing(path, bytes)) throw OperationFailed();
}

std::unique_ptr<VF1Bank> LoadBankFile(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBankOrFail(path);
    try {
        return std::make_unique<VF1Bank>(bytes.data(), bytes.size());
    } catch (const BankParseError&) {
        throw OperationFailed();
    }
}

VF1Algorithm& LoadPatch(VF1AlgorithmList& list, const std::string& path, int slot) {
    VF1MIDI& midi = VF1MIDI::Instance();
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    if (slot < 0) {
        if (!midi.LoadPatchFile(path, &first, &second)) throw OperationFailed();
    } else {
        const auto bank = LoadBankFile(path);
        VF1Patch* patch = bank->GetAt(slot);
        if (patch == nullptr || !patch->IsValid()) {
            ShowMessage(Format("Slot %s of \"%s\" is empty.", SlotName(slot), path.c_str()),
                        MessageStyle::Error);
            throw OperationFailed();
        }
        PatchImage image = patch->Image();
        if (!midi.ParsePatchImage(&first, &second, image.data())) throw OperationFailed();
    }
    if (!list.LoadFromPatchData(first, second)) throw OperationFailed();
    return *list.GetCurrent();
}

std::string SlotList(const std::vector<int>& slots) {
    std::string text;
    for (const int slot : slots) text += (text.empty() ? "" : ", ") + std::string(SlotName(slot));
    return text;
}

std::vector<int> EmptySlots(VF1Bank& bank) {
    std::vector<int> slots;
    for (int i = 0; i < bank.GetCount(); ++i)
        if (!bank.GetAt(i)->IsValid()) slots.push_back(i);
    return slots;
}

PatchImage LoadPatchImage(const std::string& path) {
    // Read once: the path may be a pipe or standard input.
    PatchFileBytes bytes{};
    if (!VF1MIDI::Instance().ReadCheckedPatchFile(path, bytes)) throw OperationFailed();
    PatchImage image{};
    std::copy(bytes.begin(), bytes.begin() + kPatchImageSize, image.begin());
    return image;
}

std::string DisplayName(const std::string& label, const std::string& name) {
    std::string text = label;
    if (!text.empty() && text.back() != ' ') text += ' ';
    text += name;
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

std::string DumpJson(const nlohmann::ordered_json& value) {
    const std::string compact = value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    std::string out;
    out.reserve(compact.size() + compact.size() / 4);
    bool inString = false;
    bool escaped = false;
    for (char c : compact) {
        out += c;
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == ':' || c == ',') {
            out += ' ';
        }
    }
    return out;
}
