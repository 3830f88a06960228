#pragma once
// The open patches kept between runs, so that neither a closed window nor a crash loses an edit:
// a small text file in the user's state folder, rewritten a moment after each change. Its form:
//
//   Quellin session 1
//   patches <count> current <index>
//   patch <edited 0|1> <From text>          one block of three lines per open patch
//   data <388 bytes as hexadecimal>         the patch as edited
//   stored <388 bytes as hexadecimal>       the patch as it was opened, last saved or sent
//   end
//
// Reading is bounded: a file larger than kMaxSessionBytes, or with more than kMaxSessionPatches
// patches, is damaged.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/PatchLayout.h"

struct SessionPatch {
    PatchData data{};
    PatchData stored{};
    std::string from;
    bool edited = false;
};

struct Session {
    std::vector<SessionPatch> patches;
    int current = 0;
};

inline constexpr size_t kMaxSessionBytes = 1 << 20;
inline constexpr int kMaxSessionPatches = 500;

std::vector<uint8_t> SessionBytes(const Session& session);
// False when the bytes are not a session this program wrote.
bool ParseSession(std::span<const uint8_t> bytes, Session& session);

// $XDG_STATE_HOME/quellin/session, by default ~/.local/state/quellin/session; empty when neither
// variable names a folder.
std::string DefaultSessionPath();
