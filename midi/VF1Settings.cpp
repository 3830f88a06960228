#include "midi/VF1Settings.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "model/FileIO.h"
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
    return {TwoDigits(text + 6), TwoDigits(text + 15), TwoDigits(text + 25), "", ""};
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

// The names file is a few lines of KEY=VALUE; anything longer than this is not one.
constexpr size_t kNamesFileLimit = 4096;

std::string NamesText(const VF1Settings::Values& v) {
    // A name with a line break in it cannot be kept; the device is then found by its index alone.
    const auto keepable = [](const std::string& name) {
        return name.find_first_of("\r\n") == std::string::npos ? name : std::string();
    };
    return Format("InIdx=%d\nInName=%s\nOutIdx=%d\nOutName=%s\n", v.inIdx, keepable(v.inName).c_str(),
                  v.outIdx, keepable(v.outName).c_str());
}

// Takes the names that were written for the indexes values holds.
void ReadNames(const std::string& settingsPath, VF1Settings::Values& values) {
    std::vector<uint8_t> bytes;
    if (ReadFileQuietly(VF1Settings::NamesPath(settingsPath), kNamesFileLimit + 1, bytes) != 0 ||
        bytes.size() > kNamesFileLimit)
        return;
    const std::string text(bytes.begin(), bytes.end());
    std::string inIdx, inName, outIdx, outName;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "InIdx") inIdx = value;
        else if (key == "InName") inName = value;
        else if (key == "OutIdx") outIdx = value;
        else if (key == "OutName") outName = value;
    }
    if (inIdx == std::to_string(values.inIdx)) values.inName = inName;
    if (outIdx == std::to_string(values.outIdx)) values.outName = outName;
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

namespace {

// The values of a file of exactly 27 bytes, with the device names beside it; none for any other
// size or a file that can't be read.
std::optional<VF1Settings::Values> ReadSettingsFile() {
    std::vector<uint8_t> text;
    if (ReadFileQuietly(SettingsPath(), kSettingsFileSize + 1, text) != 0 ||
        text.size() != static_cast<size_t>(kSettingsFileSize))
        return std::nullopt;
    VF1Settings::Values values = FromText(reinterpret_cast<const char*>(text.data()));
    ReadNames(SettingsPath(), values);
    return values;
}

} // namespace

VF1Settings::VF1Settings() {
    if (auto values = ReadSettingsFile()) {
        DevID = values->devId;
        InIdx = values->inIdx;
        OutIdx = values->outIdx;
        InName = std::move(values->inName);
        OutName = std::move(values->outName);
        return;
    }
    // Missing, or any other size: start again from zeros and an empty file. Nothing is reported.
    MakeFolderFor(SettingsPath());
    WriteFileSafely(SettingsPath(), {});
}

std::optional<VF1Settings::Values> VF1Settings::ReadValues() {
    return ReadSettingsFile();
}

std::string VF1Settings::NamesPath(const std::string& settingsPath) {
    const size_t slash = settingsPath.find_last_of('/');
    const size_t dot = settingsPath.find_last_of('.');
    const size_t stemEnd =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1
            ? settingsPath.size()
            : dot;
    return settingsPath.substr(0, stemEnd) + ".devices" + settingsPath.substr(stemEnd);
}

VF1Settings::~VF1Settings() = default;

void VF1Settings::Save() {
    const std::string text = Format("DevID=%.2d;InIdx=%.2d;OutIdx=%.2d", DevID, InIdx, OutIdx);
    // A settings file that can't be written is not reported: the next start falls back to zeros.
    WriteFileSafely(SettingsPath(), std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    const std::string names = NamesText({DevID, InIdx, OutIdx, InName, OutName});
    WriteFileReplacing(NamesPath(SettingsPath()),
                       std::span(reinterpret_cast<const uint8_t*>(names.data()), names.size()));
}
