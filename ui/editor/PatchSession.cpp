#include "ui/editor/PatchSession.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {

constexpr const char* kMagic = "Quellin session 1";
// A From text is a short label ("file", "edit", "A5", "1:B17").
constexpr size_t kMaxFromLength = 32;

std::string Hex(const PatchData& data) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(data.size() * 2);
    for (const uint8_t b : data) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ReadHex(const std::string& text, PatchData& data) {
    if (text.size() != data.size() * 2) return false;
    for (size_t i = 0; i < data.size(); ++i) {
        const int hi = HexDigit(text[2 * i]);
        const int lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        data[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return true;
}

// A From text stays on its line and within its length.
std::string CleanFrom(const std::string& from) {
    std::string clean;
    for (const char c : from.substr(0, kMaxFromLength)) clean += (c >= 0x20 && c < 0x7F) ? c : '?';
    return clean;
}

bool ReadLine(std::istringstream& in, std::string& line) {
    return static_cast<bool>(std::getline(in, line));
}

// "<word> <rest>": rest after exactly one blank.
bool Field(const std::string& line, const std::string& word, std::string& rest) {
    if (line.compare(0, word.size() + 1, word + ' ') != 0) return false;
    rest = line.substr(word.size() + 1);
    return true;
}

} // namespace

std::vector<uint8_t> SessionBytes(const Session& session) {
    std::string text = std::string(kMagic) + "\n";
    text += "patches " + std::to_string(session.patches.size()) + " current " +
            std::to_string(session.current) + "\n";
    for (const SessionPatch& p : session.patches) {
        text += std::string("patch ") + (p.edited ? "1" : "0") + " " + CleanFrom(p.from) + "\n";
        text += "data " + Hex(p.data) + "\n";
        text += "stored " + Hex(p.stored) + "\n";
    }
    text += "end\n";
    return {text.begin(), text.end()};
}

bool ParseSession(std::span<const uint8_t> bytes, Session& session) {
    if (bytes.size() > kMaxSessionBytes) return false;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string line;
    if (!ReadLine(in, line) || line != kMagic) return false;
    if (!ReadLine(in, line)) return false;
    int count = -1;
    int current = -1;
    {
        std::istringstream head(line);
        std::string word1, word2;
        if (!(head >> word1 >> count >> word2 >> current) || word1 != "patches" || word2 != "current")
            return false;
        std::string trailing;
        if (head >> trailing) return false;
    }
    if (count < 0 || count > kMaxSessionPatches || current < 0 || (count > 0 && current >= count))
        return false;
    Session read;
    read.current = current;
    for (int i = 0; i < count; ++i) {
        SessionPatch patch;
        std::string rest;
        if (!ReadLine(in, line) || !Field(line, "patch", rest) || rest.size() < 2 ||
            (rest[0] != '0' && rest[0] != '1') || rest[1] != ' ')
            return false;
        patch.edited = rest[0] == '1';
        patch.from = rest.substr(2);
        if (patch.from.size() > kMaxFromLength) return false;
        if (!ReadLine(in, line) || !Field(line, "data", rest) || !ReadHex(rest, patch.data)) return false;
        if (!ReadLine(in, line) || !Field(line, "stored", rest) || !ReadHex(rest, patch.stored)) return false;
        read.patches.push_back(std::move(patch));
    }
    if (!ReadLine(in, line) || line != "end") return false;
    session = std::move(read);
    return true;
}

std::string DefaultSessionPath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/') return std::string(state) + "/quellin/session";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.local/state/quellin/session";
    return {};
}
