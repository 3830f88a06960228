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

bool ImageFramesOk(std::span<const uint8_t, kPatchImageSize> image) {
    for (const ImageMessage& m : kImageMessages)
        if (!IsUnitFrame(image.data() + m.start, image[static_cast<size_t>(m.End())])) return false;
    return true;
}

std::vector<int> StrayStatusBytes(std::span<const uint8_t, kPatchImageSize> image) {
    std::vector<int> offsets;
    for (const ImageMessage& m : kImageMessages)
        for (int i = m.start + 1; i < m.End(); ++i)
            if (!IsDataByte(image[static_cast<size_t>(i)])) offsets.push_back(i);
    return offsets;
}

std::string StrayBytesText(std::span<const uint8_t, kPatchImageSize> image, const std::vector<int>& offsets) {
    constexpr size_t kShown = 8;
    std::string text = offsets.size() == 1 ? "offset" : "offsets";
    for (size_t i = 0; i < offsets.size() && i < kShown; ++i)
        text +=
            Format("%s %d (%02XH)", i == 0 ? "" : ",", offsets[i], image[static_cast<size_t>(offsets[i])]);
    if (offsets.size() > kShown) text += Format(" and %zu more", offsets.size() - kShown);
    return text;
}

int SlotWithStrayBytes(std::span<const uint8_t> images) {
    for (size_t slot = 0; (slot + 1) * kPatchImageSize <= images.size(); ++slot) {
        const auto image = images.subspan(slot * kPatchImageSize).first<kPatchImageSize>();
        if (!StrayStatusBytes(image).empty()) return static_cast<int>(slot);
    }
    return -1;
}

bool CheckBankImages(std::span<const uint8_t> images, const char* consequence) {
    const int slot = SlotWithStrayBytes(images);
    if (slot < 0) return true;
    const auto image = images.subspan(static_cast<size_t>(slot) * kPatchImageSize).first<kPatchImageSize>();
    ShowMessage(Format("The patch in slot %s holds bytes of 80H or more inside its messages (%s).  %s",
                       SlotName(slot), StrayBytesText(image, StrayStatusBytes(image)).c_str(), consequence),
                MessageStyle::Error);
    return false;
}

bool ParseImageData(std::span<uint8_t, kPatchImageSize> image, bool fixChecksum, PatchData& data) {
    if (!ImageFramesOk(image)) return false;
    // A checksum that is about to be recomputed doesn't count.
    for (const int offset : StrayStatusBytes(image))
        if (!(fixChecksum && offset == kImageMessage1.Checksum())) return false;
    for (const ImageMessage& m : kImageMessages) {
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
    // One byte past a patch file's size is enough to tell a longer file.
    std::vector<uint8_t> read;
    if (!ReadFileUpTo(path, kPatchFileSize + 1, read)) return false;
    if (read.size() != static_cast<size_t>(kPatchFileSize)) {
        ShowMessage("Incorrect SysEx file size.  A single patch file will be 598 bytes.",
                    MessageStyle::Error);
        return false;
    }
    std::copy(read.begin(), read.end(), bytes.begin());
    return true;
}
