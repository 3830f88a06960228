#include "model/VF1Patch.h"

#include <cstring>

#include "model/PatchImage.h"
#include "model/tables/AlgorithmInfo.h"

namespace {
constexpr const char* kNoAlgorithm = "";
} // namespace

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
    PatchData scratch{};
    valid = ParseImageData(image, fixChecksum, scratch);
    if (valid) {
        DecodeName();
        DecodeAlgorithm();
    } else {
        Clear();
    }
}

void VF1Patch::DecodeName() {
    name = ImageName(image);
}

void VF1Patch::DecodeAlgorithm() {
    const int a = ImageAlgorithm(image);
    const char* display = a < kAlgorithmCount ? AlgorithmDisplayName(a) : nullptr;
    algorithmName = display ? display : kNoAlgorithm;
}

void VF1Patch::SetPatchNumber(int patchNumber) {
    SetBaseAddress(PatchAddress(patchNumber));
}

void VF1Patch::SetBaseAddress(const PatchAddressBytes& base) {
    AddressPatchImage(image, base);
}

void VF1Patch::SetDeviceId(int deviceId) {
    SetImageDeviceId(image, deviceId);
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
