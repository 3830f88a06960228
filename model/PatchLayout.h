#pragma once
// Where everything lies in a patch's byte forms: the 388 bytes of patch data, the 585-byte patch
// image of three DT1 messages, the unit's 410-byte answer to a patch request, the 598-byte
// single-patch file and the bank file. The rest of the program names these places from here.

#include <array>
#include <cstdint>

#include "model/SysEx.h"

// Patch data: the header half, then the stream half.
inline constexpr int kHeaderHalfSize = 164; // algorithm, category, name, control-assign area
inline constexpr int kStreamHalfSize = 224; // every block's stream bytes, then zeros
inline constexpr int kPatchDataSize = kHeaderHalfSize + kStreamHalfSize; // 388

// The header half.
inline constexpr int kAlgorithmOffset = 0; // four nibble bytes
inline constexpr int kCategoryOffset = 4;  // four nibble bytes
inline constexpr int kNameOffset = 8;      // two nibble bytes a character
inline constexpr int kPatchNameLength = 13;
inline constexpr int kNameEnd = kNameOffset + 2 * kPatchNameLength; // two zero bytes follow
inline constexpr int kControlAssignAreaOffset = 36;
inline constexpr int kControlAssignAreaSize = kHeaderHalfSize - kControlAssignAreaOffset; // 128

using PatchData = std::array<uint8_t, kPatchDataSize>;

// One DT1 message of a patch image: where it starts in the image, which run of patch data it
// carries, and how far its address lies from the patch's base address (in 7-bit units).
struct ImageMessage {
    int start;
    int dataFrom;
    int dataSize;
    int addressOffset;

    constexpr int Size() const { return kMessageOverhead + dataSize; }
    constexpr int Address() const { return start + kAddressByte; }
    constexpr int Data() const { return start + kMessageHeaderSize; }
    constexpr int Checksum() const { return Data() + dataSize; }
    constexpr int End() const { return Checksum() + 1; }
};

// Message 1 carries the header half; message 2, at the same address, the header half again and
// the first 80 stream bytes; message 3 the remaining 144 at base + 244.
inline constexpr ImageMessage kImageMessage1{0, 0, kHeaderHalfSize, 0};
inline constexpr ImageMessage kImageMessage2{kImageMessage1.End() + 1, 0, 244, 0};
inline constexpr ImageMessage kImageMessage3{kImageMessage2.End() + 1, 244, kPatchDataSize - 244, 244};
inline constexpr std::array<ImageMessage, 3> kImageMessages{kImageMessage1, kImageMessage2, kImageMessage3};

inline constexpr int kPatchImageSize = kImageMessage3.End() + 1; // 585
using PatchImage = std::array<uint8_t, kPatchImageSize>;
static_assert(kPatchImageSize == 585 && kImageMessage2.start == 175 && kImageMessage3.start == 430);

// The unit answers a patch request with messages 2 and 3 of the image.
inline constexpr int kPatchReplySize = kPatchImageSize - kImageMessage2.start; // 410

// The 13-byte closing message (data 00 00) that ends a single-patch file, a patch sent to the
// unit and a bank.
inline constexpr int kTerminatorSize = kMessageOverhead + 2;
inline constexpr int kPatchFileSize = kPatchImageSize + kTerminatorSize; // 598

inline constexpr int kBankImagesSize = kPatchImageSize * kPatchCount;   // 118170
inline constexpr int kBankFileSize = kBankImagesSize + kTerminatorSize; // 118183
