#include "model/SysEx.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

uint8_t SysExChecksum(int addressSum, std::span<const uint8_t> data) {
    unsigned total = static_cast<unsigned>(addressSum);
    for (uint8_t b : data) total += b;
    return static_cast<uint8_t>((128 - (total % 128)) % 128);
}

std::array<uint8_t, 2> NibbleEncode8(int value) {
    const auto v = static_cast<unsigned>(value) & 0xFF;
    return {static_cast<uint8_t>(v >> 4), static_cast<uint8_t>(v & 0x0F)};
}

std::array<uint8_t, 4> NibbleEncode16(int value) {
    const auto v = static_cast<unsigned>(value) & 0xFFFF;
    return {static_cast<uint8_t>((v >> 12) & 0x0F), static_cast<uint8_t>((v >> 8) & 0x0F),
            static_cast<uint8_t>((v >> 4) & 0x0F), static_cast<uint8_t>(v & 0x0F)};
}

int NibbleDecode8(const uint8_t* bytes) {
    return ((bytes[0] & 0x0F) << 4) | (bytes[1] & 0x0F);
}

int NibbleDecode16(const uint8_t* bytes) {
    return ((bytes[0] & 0x0F) << 12) | ((bytes[1] & 0x0F) << 8) | ((bytes[2] & 0x0F) << 4) |
           (bytes[3] & 0x0F);
}

PatchAddressBytes PatchAddress(int patchNumber) {
    const int n = patchNumber & 0xFF;
    const int x = (n % 101) * 512;
    auto a0 = static_cast<uint8_t>((x >> 14) & 0x7F);
    if (n > 100) a0 = static_cast<uint8_t>(a0 + 4);
    return {a0, static_cast<uint8_t>((x >> 7) & 0x7F), static_cast<uint8_t>(x & 0x7F)};
}

int SlotFromName(const char* text) {
    if (text == nullptr) return -1;
    const char group = text[0];
    if (group != 'A' && group != 'B' && group != 'a' && group != 'b') return -1;
    const char* digits = text + 1;
    if (*digits == '\0' || std::strlen(digits) > 3) return -1;
    for (const char* c = digits; *c; ++c)
        if (*c < '0' || *c > '9') return -1;
    const int number = std::atoi(digits);
    if (number < 1 || number > 101) return -1;
    return (group == 'A' || group == 'a' ? 0 : 101) + number - 1;
}

const char* SlotName(int slot) {
    static const auto names = [] {
        std::array<std::string, kPatchCount> all;
        for (int i = 0; i < kPatchCount; ++i) all[i] = (i < 101 ? "A" : "B") + std::to_string(i % 101 + 1);
        return all;
    }();
    if (slot < 0 || slot >= kPatchCount) return "";
    return names[slot].c_str();
}
