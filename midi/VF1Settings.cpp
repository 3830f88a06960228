#include "midi/VF1Settings.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Makes the folder a new settings file goes into, and the folders above it, as the user's alone.
void MakeFolderFor(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return;
    const std::string folder = path.substr(0, slash);
    for (size_t at = folder.find('/', 1);; at = folder.find('/', at + 1)) {
        const std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return;
        if (at == std::string::npos) return;
    }
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

void VF1Settings::SetPath(std::string path) {
    SettingsPath() = std::move(path);
}

const std::string& VF1Settings::Path() {
    return SettingsPath();
}

std::string VF1Settings::PathFor(const Places& places) {
    if (!places.given.empty()) return places.given;
    if (places.inWorkingFolder) return "settings.cfg";
    // The configuration folder's variable counts only when it holds an absolute path.
    if (places.configHome.starts_with('/')) return places.configHome + "/quellin/settings.cfg";
    if (!places.home.empty()) return places.home + "/.config/quellin/settings.cfg";
    return "settings.cfg";
}

std::string VF1Settings::Locate(const std::string& given) {
    struct stat st {};
    Places places{given, stat("settings.cfg", &st) == 0, Environment("XDG_CONFIG_HOME"), Environment("HOME")};
    if (places.home.empty())
        if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) places.home = user->pw_dir;
    return PathFor(places);
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
    MakeFolderFor(path);
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
