#pragma once
// The unit's exclusive-message rules: DT1 frame sizes, checksum, nibble coding and slot addresses.

#include <array>
#include <cstdint>
#include <span>

inline constexpr int kHeaderHalfSize = 164; // algorithm, category, name, control-assign area
inline constexpr int kStreamHalfSize = 224; // every block's stream bytes, then zeros
inline constexpr int kPatchDataSize = kHeaderHalfSize + kStreamHalfSize; // 388
inline constexpr int kPatchImageSize = 585;                              // three DT1 messages
inline constexpr int kPatchFileSize = 598; // image at 10 00 00 plus the closing message
inline constexpr int kTerminatorSize = 13;
inline constexpr int kPatchCount = 202;                                 // A1..A101, B1..B101
inline constexpr int kBankImagesSize = kPatchImageSize * kPatchCount;   // 118170
inline constexpr int kBankFileSize = kBankImagesSize + kTerminatorSize; // 118183

inline constexpr uint8_t kSysExStart = 0xF0;
inline constexpr uint8_t kSysExEnd = 0xF7;
inline constexpr uint8_t kManufacturerId = 0x41;
inline constexpr uint8_t kModelId1 = 0x00;
inline constexpr uint8_t kModelId2 = 0x23;
inline constexpr uint8_t kCommandDT1 = 0x12;
inline constexpr uint8_t kCommandRQ1 = 0x11;

using PatchAddressBytes = std::array<uint8_t, 3>;

// (128 - ((addressSum + sum of data) mod 128)) mod 128.
uint8_t SysExChecksum(int addressSum, std::span<const uint8_t> data);

std::array<uint8_t, 2> NibbleEncode8(int value);
std::array<uint8_t, 4> NibbleEncode16(int value);
int NibbleDecode8(const uint8_t* bytes);
int NibbleDecode16(const uint8_t* bytes);

// Address of memory slot n (0..201); the second group's slots start at 04 00 00.
PatchAddressBytes PatchAddress(int patchNumber);

// Slot names A1..A101, B1..B101 for slot indexes 0..201; -1 for a text that names no slot.
int SlotFromName(const char* text);
const char* SlotName(int slot);
