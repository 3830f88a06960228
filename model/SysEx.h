#pragma once
// The unit's exclusive-message rules: the DT1 / RQ1 frame, checksum, nibble coding, 7-bit
// addresses and the memory slots' addresses.

#include <array>
#include <cstdint>
#include <span>

inline constexpr uint8_t kSysExStart = 0xF0;
inline constexpr uint8_t kSysExEnd = 0xF7;
inline constexpr uint8_t kManufacturerId = 0x41;
inline constexpr uint8_t kModelId1 = 0x00;
inline constexpr uint8_t kModelId2 = 0x23;
inline constexpr uint8_t kCommandDT1 = 0x12;
inline constexpr uint8_t kCommandRQ1 = 0x11;

// The frame: F0 41 dev 00 23 cmd a0 a1 a2, the body, the checksum, F7.
inline constexpr int kDeviceIdByte = 2;
inline constexpr int kCommandByte = 5;
inline constexpr int kAddressByte = 6;
inline constexpr int kMessageHeaderSize = 9;
inline constexpr int kMessageOverhead = kMessageHeaderSize + 2; // header, checksum, F7

inline constexpr int kPatchCount = 202; // A1..A101, B1..B101
inline constexpr int kGroupSize = 101;

using PatchAddressBytes = std::array<uint8_t, 3>;

// (128 - ((addressSum + sum of data) mod 128)) mod 128.
uint8_t SysExChecksum(int addressSum, std::span<const uint8_t> data);
// The checksum of a message at address over its body.
uint8_t SysExChecksum(const PatchAddressBytes& address, std::span<const uint8_t> body);

// Whether a message starts F0 41 .. 00 23 and ends with F7; device ID, command, address and
// checksum are not examined. header points at the F0.
bool IsUnitFrame(const uint8_t* header, uint8_t endByte);

// Every byte between a message's F0 and its F7 is a data byte, 00H to 7FH; a byte of 80H or more
// there is a status byte, which the unit takes as the end of the message.
constexpr bool IsDataByte(uint8_t b) {
    return b < 0x80;
}

// What a receiver of exclusive messages makes of one byte on the wire, given whether a message is
// open: F0 opens one (and ends any open one); F7 ends it; inside it a data byte belongs to it, a
// real-time byte (F8H to FFH) passes by, and any other status byte ends it unfinished; outside a
// message everything but F0 passes by. The program's own receiver and the virtual unit share it,
// so they split the same bytes into the same messages.
enum class SysExByte { Start, Data, End, Interrupt, Skip };
constexpr SysExByte ClassifySysExByte(uint8_t b, bool inMessage) {
    if (b == kSysExStart) return SysExByte::Start;
    if (!inMessage || b >= 0xF8) return SysExByte::Skip;
    if (b == kSysExEnd) return SysExByte::End;
    return IsDataByte(b) ? SysExByte::Data : SysExByte::Interrupt;
}

std::array<uint8_t, 2> NibbleEncode8(int value);
std::array<uint8_t, 4> NibbleEncode16(int value);
int NibbleDecode8(const uint8_t* bytes);
int NibbleDecode16(const uint8_t* bytes);

// An address as one number of 7-bit digits (a0 * 16384 + a1 * 128 + a2), and back.
int LinearAddress(const PatchAddressBytes& address);
PatchAddressBytes AddressFromLinear(int linear);
// address + units, counted in 7-bit digits.
PatchAddressBytes AddressPlus(const PatchAddressBytes& address, int units);

// Address of memory slot n (0..201); the second group's slots start at 04 00 00.
PatchAddressBytes PatchAddress(int patchNumber);

// Slot names A1..A101, B1..B101 for slot indexes 0..201; -1 for a text that names no slot.
int SlotFromName(const char* text);
const char* SlotName(int slot);
