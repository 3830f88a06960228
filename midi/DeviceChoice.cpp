#include "midi/DeviceChoice.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

constexpr std::string_view kAlsaPrefix = "ALSA: ";
constexpr std::string_view kJackPrefix = "JACK: ";

bool Digits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// An ALSA port name ends with " CLIENT:PORT", the sequencer's numbers for it.
std::string_view WithoutAlsaNumbers(std::string_view name) {
    const size_t blank = name.rfind(' ');
    if (blank == std::string_view::npos) return name;
    const std::string_view numbers = name.substr(blank + 1);
    const size_t colon = numbers.find(':');
    if (colon == std::string_view::npos || !Digits(numbers.substr(0, colon)) ||
        !Digits(numbers.substr(colon + 1)))
        return name;
    return name.substr(0, blank);
}

// JACK names a client whose name is taken NAME-01, NAME-02, ...; a port is CLIENT:PORT.
std::string WithoutJackSuffix(std::string_view name) {
    const size_t colon = name.find(':');
    const std::string_view client = name.substr(0, colon);
    if (client.size() < 4 || client[client.size() - 3] != '-' || !Digits(client.substr(client.size() - 2)))
        return std::string(name);
    std::string key(client.substr(0, client.size() - 3));
    if (colon != std::string_view::npos) key += name.substr(colon);
    return key;
}

std::string DeviceKey(std::string_view name) {
    if (name.starts_with(kAlsaPrefix))
        return std::string(kAlsaPrefix) + std::string(WithoutAlsaNumbers(name.substr(kAlsaPrefix.size())));
    if (name.starts_with(kJackPrefix))
        return std::string(kJackPrefix) + WithoutJackSuffix(name.substr(kJackPrefix.size()));
    // A name without an API's prefix may be either kind.
    return WithoutJackSuffix(WithoutAlsaNumbers(name));
}

} // namespace

bool SameDevice(const std::string& a, const std::string& b) {
    return a == b || DeviceKey(a) == DeviceKey(b);
}

DeviceChoice ResolveDevice(const std::vector<std::string>& names, int storedIndex,
                           const std::string& remembered) {
    using Outcome = DeviceChoice::Outcome;
    const bool standsAtIndex = storedIndex >= 0 && static_cast<size_t>(storedIndex) < names.size();
    if (remembered.empty()) return {storedIndex, Outcome::Unnamed};
    // The exact name first, so that of two alike interfaces the one chosen is found, wherever it
    // stands now; then the name as a replug changes it.
    for (const auto same : {+[](const std::string&a, const std::string&b) { return a == b; }, &SameDevice}) {
        if (standsAtIndex && same(names[storedIndex], remembered)) return {storedIndex, Outcome::Kept};
        for (size_t i = 0; i < names.size(); ++i)
            if (same(names[i], remembered)) return {static_cast<int>(i), Outcome::Moved};
    }
    return {storedIndex, standsAtIndex ? Outcome::Replaced : Outcome::Gone};
}

std::string NameToRemember(const DeviceChoice& choice, const std::vector<std::string>& names,
                           const std::string& remembered) {
    using Outcome = DeviceChoice::Outcome;
    const bool listed = choice.index >= 0 && static_cast<size_t>(choice.index) < names.size();
    if (choice.outcome == Outcome::Gone || choice.outcome == Outcome::Replaced || !listed) return remembered;
    return names[choice.index];
}
