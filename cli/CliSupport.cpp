#include "cli/CliSupport.h"

#include "midi/VF1MIDI.h"
#include "model/FileIO.h"
#include "model/Report.h"

std::vector<uint8_t> ReadFileOrFail(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) throw OperationFailed();
    return bytes;
}

void WriteFileOrFail(const std::string& path, std::span<const uint8_t> bytes) {
    if (!WriteFileReplacing(path, bytes)) throw OperationFailed();
}

std::unique_ptr<VF1Bank> LoadBankFile(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileOrFail(path);
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
