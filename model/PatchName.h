#pragma once
// What a patch name may hold: the characters the unit shows, codes 32 (blank) to 125 ('}'), at
// most 13 of them. The window's name box and the tool's name options take a name by this rule.

#include <algorithm>
#include <string>

#include "model/PatchLayout.h"

constexpr bool IsNameCharacter(unsigned code) {
    return code >= 32 && code <= 125;
}

// A text taken as a name: cut before its first character the unit does not show (a line break, or
// any byte of a character beyond ASCII), then to 13 characters.
inline std::string NameFromText(const std::string& text) {
    const auto bad = std::find_if(text.begin(), text.end(),
                                  [](char c) { return !IsNameCharacter(static_cast<unsigned char>(c)); });
    std::string name(text.begin(), bad);
    if (name.size() > static_cast<size_t>(kPatchNameLength)) name.resize(kPatchNameLength);
    return name;
}
