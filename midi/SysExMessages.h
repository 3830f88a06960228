#pragma once
// Every exclusive message the program writes, as bytes: the patch image, a patch sent to the
// unit, the requests, the real-time parameter and block messages, the global settings and the
// closing message. Each function is pure: the device ID comes in with everything else.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/PatchLayout.h"

// The unit's addresses beyond its patch memory.
inline constexpr PatchAddressBytes kEditBufferAddress{0x10, 0x00, 0x00};
inline constexpr PatchAddressBytes kEditBufferEndAddress{0x60, 0x00, 0x00}; // ends a patch to the edit buffer
inline constexpr PatchAddressBytes kBulkEndAddress{0x70, 0x00, 0x00};       // ends a patch to memory, a bank
inline constexpr PatchAddressBytes kGlobalAddress{0x08, 0x01, 0x1C};
inline constexpr uint8_t kRealTimeArea = 0x20; // 20 hi lo

// The sizes the requests ask for.
inline constexpr std::array<uint8_t, 3> kPatchRequestSize{0x00, 0x03, 0x1A};
inline constexpr std::array<uint8_t, 3> kGlobalRequestSize{0x00, 0x00, 0x18};

// The global block: six values of four nibble bytes (output level, noise-suppressor threshold,
// reverb level, output, tempo, direct mix), and the unit's answer that carries them.
inline constexpr int kGlobalSize = 24;
inline constexpr int kGlobalValueCount = kGlobalSize / 4;
inline constexpr int kGlobalReplySize = kMessageOverhead + kGlobalSize; // 35

// A patch sent to the unit: its header half at the patch's start, its stream half at start + 164,
// and the closing message.
inline constexpr int kPatchSendSize = 2 * kMessageOverhead + kPatchDataSize + kTerminatorSize; // 423

using ClosingMessageBytes = std::array<uint8_t, kTerminatorSize>;

// One message: F0 41 dev 00 23 command a0 a1 a2, the body, the checksum over the address and the
// body, F7.
std::vector<uint8_t> SysExMessage(int deviceId, uint8_t command, const PatchAddressBytes& address,
                                  std::span<const uint8_t> body);

// Where a patch starts in the unit: its edit buffer, or memory slot index (0..100) of group A or B.
PatchAddressBytes PatchStartAddress(bool toMemory, bool bankB, int index);

// The patch image of patch data at base: three DT1 messages, 585 bytes.
PatchImage PatchImageMessages(const PatchData& data, const PatchAddressBytes& base, int deviceId);
// The unit's answer to a patch request for the patch at base: messages 2 and 3 of its image.
std::vector<uint8_t> PatchReplyMessages(const PatchData& data, const PatchAddressBytes& base, int deviceId);
// The single-patch file: the image at 10 00 00 and the closing message at 60 00 00, 598 bytes.
std::array<uint8_t, kPatchFileSize> PatchFileMessages(const PatchData& data, int deviceId);
// A patch sent to the unit: the two halves at start, then the closing message at 70 00 00 when it
// goes to memory, at 60 00 00 when it goes to the edit buffer. 423 bytes.
std::vector<uint8_t> PatchSendMessages(const PatchData& data, const PatchAddressBytes& start, bool toMemory,
                                       int deviceId);

// Data 00 00 at an end address (60 00 00 or 70 00 00): 13 bytes.
ClosingMessageBytes ClosingMessage(const PatchAddressBytes& address, int deviceId);
// The end of a bulk transfer, 70 00 00: closes a bank.
ClosingMessageBytes EndOfBulkMessage(int deviceId);

// RQ1 for the patch at start (size 00 03 1A).
std::vector<uint8_t> PatchRequestMessage(const PatchAddressBytes& start, int deviceId);
// RQ1 for the global block (size 00 00 18).
std::vector<uint8_t> GlobalRequestMessage(int deviceId);
// DT1 of the global block.
std::vector<uint8_t> GlobalMessage(std::span<const uint8_t, kGlobalSize> global, int deviceId);

// A real-time parameter at 20 hi lo (address = hi * 256 + lo): the value's low byte as two nibble
// bytes for width 2, its low 16 bits as four for width 4.
std::vector<uint8_t> ParameterMessage(int address, int value, int width, int deviceId);
// A block's parameter bytes at 20 hi lo (address = hi * 256 + lo; lo keeps its low 7 bits).
std::vector<uint8_t> BlockMessage(int address, std::span<const uint8_t> body, int deviceId);
