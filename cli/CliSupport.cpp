#include "cli/CliSupport.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "midi/VF1MIDI.h"
#include "model/Report.h"

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ShowMessage(Format("Unable to open the file \"%s\": %s", path.c_str(), std::strerror(errno)),
                    MessageStyle::Error);
        throw OperationFailed();
    }
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const uint8_t* data, size_t size) {
    // Write beside the target and rename over it, so a failed write leaves an existing file whole.
    const std::string temp = path + ".quellin-tmp";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    int error = errno;
    bool ok = file != nullptr;
    if (ok) {
        ok = std::fwrite(data, 1, size, file) == size;
        error = errno;
        if (std::fclose(file) != 0 && ok) {
            ok = false;
            error = errno;
        }
        if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
            ok = false;
            error = errno;
        }
        if (!ok) std::remove(temp.c_str());
    }
    if (!ok) {
        ShowMessage(Format("Unable to save the file \"%s\": %s", path.c_str(), std::strerror(error)),
                    MessageStyle::Error);
        throw OperationFailed();
    }
}

std::unique_ptr<VF1Bank> LoadBankFile(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
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

void SetImageDeviceId(uint8_t* image, int deviceId) {
    image[2] = image[175 + 2] = image[430 + 2] = static_cast<uint8_t>(deviceId);
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
