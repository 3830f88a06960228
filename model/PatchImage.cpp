#include "model/PatchImage.h"

#include <algorithm>
#include <cstring>

#include "model/FileIO.h"
#include "model/Report.h"

namespace {

// The checksum a message of the image should carry: over the address and data it holds.
uint8_t ChecksumOf(std::span<const uint8_t, kPatchImageSize> image, const ImageMessage& m) {
    const PatchAddressBytes address{image[m.Address()], image[m.Address() + 1], image[m.Address() + 2]};
    return SysExChecksum(address,
                         image.subspan(static_cast<size_t>(m.Data()), static_cast<size_t>(m.dataSize)));
}

} // namespace

bool ParseImageData(std::span<uint8_t, kPatchImageSize> image, bool fixChecksum, PatchData& data) {
    for (const ImageMessage& m : kImageMessages) {
        if (!IsUnitFrame(image.data() + m.start, image[static_cast<size_t>(m.End())])) return false;
        std::memcpy(data.data() + m.dataFrom, image.data() + m.Data(), static_cast<size_t>(m.dataSize));
        // Only message 1 is repaired: it repeats what message 2 carries.
        if (fixChecksum && m.start == kImageMessage1.start)
            image[static_cast<size_t>(m.Checksum())] = ChecksumOf(image, m);
    }
    return true;
}

void ReplyToPatchData(std::span<const uint8_t, kPatchReplySize> reply, PatchData& data) {
    for (const ImageMessage& m : {kImageMessage2, kImageMessage3})
        std::memcpy(data.data() + m.dataFrom, reply.data() + m.Data() - kImageMessage2.start,
                    static_cast<size_t>(m.dataSize));
}

bool IsClosingMessage(std::span<const uint8_t, kTerminatorSize> message) {
    return IsUnitFrame(message.data(), message[kTerminatorSize - 1]) && message[kMessageHeaderSize] == 0 &&
           message[kMessageHeaderSize + 1] == 0;
}

void AddressPatchImage(std::span<uint8_t, kPatchImageSize> image, const PatchAddressBytes& base) {
    for (const ImageMessage& m : kImageMessages) {
        const PatchAddressBytes address = AddressPlus(base, m.addressOffset);
        std::copy(address.begin(), address.end(), image.begin() + m.Address());
        image[static_cast<size_t>(m.Checksum())] = ChecksumOf(image, m);
    }
}

void SetImageDeviceId(std::span<uint8_t, kPatchImageSize> image, int deviceId) {
    for (const ImageMessage& m : kImageMessages)
        image[static_cast<size_t>(m.start + kDeviceIdByte)] = static_cast<uint8_t>(deviceId);
}

std::string ImageName(std::span<const uint8_t, kPatchImageSize> image) {
    std::string name;
    for (int i = 0; i < kPatchNameLength; ++i)
        name += static_cast<char>(NibbleDecode8(image.data() + kImageMessage1.Data() + kNameOffset + 2 * i));
    return name;
}

int ImageAlgorithm(std::span<const uint8_t, kPatchImageSize> image) {
    return NibbleDecode16(image.data() + kImageMessage1.Data() + kAlgorithmOffset);
}

bool ReadPatchFile(const std::string& path, PatchFileBytes& bytes) {
    std::ifstream file;
    if (!OpenToRead(path, file)) return false;
    file.seekg(0, std::ios::end);
    const auto length = static_cast<long long>(file.tellg());
    file.seekg(0, std::ios::beg);
    constexpr const char* kSizeMessage = "Incorrect SysEx file size.  A single patch file will be 598 bytes.";
    if (length != kPatchFileSize) {
        ShowMessage(kSizeMessage, MessageStyle::Error);
        return false;
    }
    file.read(reinterpret_cast<char*>(bytes.data()), kPatchFileSize);
    if (file.gcount() != kPatchFileSize) {
        ShowMessage(kSizeMessage, MessageStyle::Error);
        return false;
    }
    return true;
}
