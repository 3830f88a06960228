#include "model/VF1Patch.h"

#include <cstring>

#include "model/AlgorithmInfo.h"

namespace {
constexpr const char* kNoAlgorithm = "";

bool FrameOk(const uint8_t* header, uint8_t endByte) {
    return header[0] == kSysExStart && header[1] == kManufacturerId && header[3] == kModelId1 &&
           header[4] == kModelId2 && endByte == kSysExEnd;
}
} // namespace

bool ParseImageInto(uint8_t* image, bool fixChecksum, std::array<uint8_t, kPatchDataSize>& patchData) {
    uint8_t* first = patchData.data();
    uint8_t* second = patchData.data() + kHeaderHalfSize;
    // Message 1: header, 164 data bytes, checksum, F7.
    if (!FrameOk(image, image[174])) return false;
    std::memcpy(first, image + 9, kHeaderHalfSize);
    if (fixChecksum) {
        const int sum = image[6] + image[7] + image[8];
        image[173] = SysExChecksum(sum, std::span<const uint8_t>(image + 9, kHeaderHalfSize));
    }
    // Message 2 repeats message 1's data and carries the first 80 stream bytes.
    if (!FrameOk(image + 175, image[429])) return false;
    std::memcpy(first, image + 184, kHeaderHalfSize);
    std::memcpy(second, image + 184 + kHeaderHalfSize, 80);
    // Message 3: the remaining 144 stream bytes.
    if (!FrameOk(image + 430, image[584])) return false;
    std::memcpy(second + 80, image + 439, 144);
    return true;
}

VF1Patch::VF1Patch() {
    Clear();
}

bool VF1Patch::SetImage(std::span<const uint8_t, kPatchImageSize> bytes, bool fixChecksum) {
    std::memcpy(image.data(), bytes.data(), kPatchImageSize);
    Check(fixChecksum);
    return valid;
}

void VF1Patch::Revalidate() {
    Check(false);
}

void VF1Patch::Check(bool fixChecksum) {
    std::array<uint8_t, kPatchDataSize> scratch{};
    valid = ParseImageInto(image.data(), fixChecksum, scratch);
    if (valid) {
        DecodeName();
        DecodeAlgorithm();
    } else {
        Clear();
    }
}

void VF1Patch::DecodeName() {
    name.clear();
    for (int i = 0; i < 13; ++i) name += static_cast<char>(NibbleDecode8(image.data() + 17 + 2 * i));
}

void VF1Patch::DecodeAlgorithm() {
    const int a = NibbleDecode16(image.data() + 9);
    const char* display = a < kAlgorithmCount ? AlgorithmDisplayName(a) : nullptr;
    algorithmName = display ? display : kNoAlgorithm;
}

void VF1Patch::SetPatchNumber(int patchNumber) {
    const PatchAddressBytes a = PatchAddress(patchNumber);
    const int s = a[0] + a[1] + a[2];
    uint8_t* img = image.data();
    img[6] = a[0];
    img[7] = a[1];
    img[8] = a[2];
    img[173] = SysExChecksum(s, std::span<const uint8_t>(img + 9, 164));
    img[181] = a[0];
    img[182] = a[1];
    img[183] = a[2];
    img[428] = SysExChecksum(s, std::span<const uint8_t>(img + 184, 244));
    img[436] = a[0];
    img[437] = static_cast<uint8_t>(a[1] + 1);
    img[438] = static_cast<uint8_t>(a[2] + 0x74);
    img[583] = SysExChecksum(s + 0x75, std::span<const uint8_t>(img + 439, 144));
}

void VF1Patch::CopyFrom(const VF1Patch& other) {
    image = other.image;
    valid = other.valid;
    name = other.name;
    algorithmName = other.algorithmName;
}

void VF1Patch::Clear() {
    valid = false;
    name = kEmptyPatchName;
    algorithmName = kNoAlgorithm;
}
