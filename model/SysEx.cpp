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

uint8_t SysExChecksum(const PatchAddressBytes& address, std::span<const uint8_t> body) {
    return SysExChecksum(address[0] + address[1] + address[2], body);
}

bool IsUnitFrame(const uint8_t* header, uint8_t endByte) {
    return header[0] == kSysExStart && header[1] == kManufacturerId && header[3] == kModelId1 &&
           header[4] == kModelId2 && endByte == kSysExEnd;
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

int LinearAddress(const PatchAddressBytes& address) {
    return address[0] * 16384 + address[1] * 128 + address[2];
}

PatchAddressBytes AddressFromLinear(int linear) {
    return {static_cast<uint8_t>((linear >> 14) & 0x7F), static_cast<uint8_t>((linear >> 7) & 0x7F),
            static_cast<uint8_t>(linear & 0x7F)};
}

PatchAddressBytes AddressPlus(const PatchAddressBytes& address, int units) {
    return AddressFromLinear(LinearAddress(address) + units);
}

PatchAddressBytes PatchAddress(int patchNumber) {
    const int n = patchNumber & 0xFF;
    // Each slot spans 512 address units; the second group starts at 04 00 00.
    const int x = (n % kGroupSize) * 512;
    auto a0 = static_cast<uint8_t>((x >> 14) & 0x7F);
    if (n >= kGroupSize) a0 = static_cast<uint8_t>(a0 + 4);
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
    return (group == 'A' || group == 'a' ? 0 : kGroupSize) + number - 1;
}

const char* SlotName(int slot) {
    static const auto names = [] {
        std::array<std::string, kPatchCount> all;
        for (int i = 0; i < kPatchCount; ++i)
            all[i] = (i < kGroupSize ? "A" : "B") + std::to_string(i % kGroupSize + 1);
        return all;
    }();
    if (slot < 0 || slot >= kPatchCount) return "";
    return names[slot].c_str();
}
