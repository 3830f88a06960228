#include "midi/VF1Settings.h"

#include <memory>
#include <sys/stat.h>

#include "model/Report.h"

namespace {

std::string& SettingsPath() {
    static std::string path = "settings.cfg";
    return path;
}

std::unique_ptr<VF1Settings>& InstancePtr() {
    static std::unique_ptr<VF1Settings> instance;
    return instance;
}

// The decimal value of two characters, as the file's reader takes them.
int TwoDigits(const char* c) {
    return std::atoi(std::string(c, 2).c_str());
}

// The labels are read past without being compared.
VF1Settings::Values FromText(const char* text) {
    return {TwoDigits(text + 6), TwoDigits(text + 15), TwoDigits(text + 25)};
}

} // namespace

void VF1Settings::SetPath(std::string path) {
    SettingsPath() = std::move(path);
}

VF1Settings& VF1Settings::Instance() {
    auto& instance = InstancePtr();
    if (!instance) instance.reset(new VF1Settings());
    return *instance;
}

void VF1Settings::Release() {
    InstancePtr().reset();
}

VF1Settings::VF1Settings() {
    const std::string& path = SettingsPath();
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && st.st_size == kSettingsFileSize) {
        file = std::fopen(path.c_str(), "r+b");
        char text[kSettingsFileSize] = {};
        if (file && std::fread(text, 1, kSettingsFileSize, file) == static_cast<size_t>(kSettingsFileSize)) {
            const Values values = FromText(text);
            DevID = values.devId;
            InIdx = values.inIdx;
            OutIdx = values.outIdx;
        }
        return;
    }
    // Missing, or any other size: start again from zeros.
    file = std::fopen(path.c_str(), "wb");
}

std::optional<VF1Settings::Values> VF1Settings::ReadValues() {
    std::FILE* f = std::fopen(SettingsPath().c_str(), "rb");
    if (f == nullptr) return std::nullopt;
    char text[kSettingsFileSize + 1] = {};
    const size_t n = std::fread(text, 1, sizeof text, f);
    std::fclose(f);
    if (n != static_cast<size_t>(kSettingsFileSize)) return std::nullopt;
    return FromText(text);
}

VF1Settings::~VF1Settings() {
    if (file) std::fclose(file);
}

void VF1Settings::Save() {
    if (file == nullptr) file = std::fopen(SettingsPath().c_str(), "wb");
    if (file == nullptr) return;
    const std::string text = Format("DevID=%.2d;InIdx=%.2d;OutIdx=%.2d", DevID, InIdx, OutIdx);
    std::fseek(file, 0, SEEK_SET);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
    std::fclose(file);
    file = nullptr;
}
