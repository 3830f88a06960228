#include "midi/SysExMessages.h"

#include <algorithm>

namespace {

constexpr uint8_t kNoData[2] = {0x00, 0x00};

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

std::span<const uint8_t> Run(const PatchData& data, int from, int size) {
    return std::span<const uint8_t>(data).subspan(static_cast<size_t>(from), static_cast<size_t>(size));
}

} // namespace

std::vector<uint8_t> SysExMessage(int deviceId, uint8_t command, const PatchAddressBytes& address,
                                  std::span<const uint8_t> body) {
    std::vector<uint8_t> message{kSysExStart, kManufacturerId, static_cast<uint8_t>(deviceId & 0xFF),
                                 kModelId1,   kModelId2,       command,
                                 address[0],  address[1],      address[2]};
    message.reserve(kMessageOverhead + body.size());
    message.insert(message.end(), body.begin(), body.end());
    message.push_back(SysExChecksum(address, body));
    message.push_back(kSysExEnd);
    return message;
}

PatchAddressBytes PatchStartAddress(bool toMemory, bool bankB, int index) {
    if (!toMemory) return kEditBufferAddress;
    return PatchAddress(index + (bankB ? kGroupSize : 0));
}

PatchImage PatchImageMessages(const PatchData& data, const PatchAddressBytes& base, int deviceId) {
    PatchImage image{};
    for (const ImageMessage& m : kImageMessages) {
        const auto message = SysExMessage(deviceId, kCommandDT1, AddressPlus(base, m.addressOffset),
                                          Run(data, m.dataFrom, m.dataSize));
        std::copy(message.begin(), message.end(), image.begin() + m.start);
    }
    return image;
}

std::vector<uint8_t> PatchReplyMessages(const PatchData& data, const PatchAddressBytes& base, int deviceId) {
    const PatchImage image = PatchImageMessages(data, base, deviceId);
    return std::vector<uint8_t>(image.begin() + kImageMessage2.start, image.end());
}

std::array<uint8_t, kPatchFileSize> PatchFileMessages(const PatchData& data, int deviceId) {
    std::array<uint8_t, kPatchFileSize> file{};
    const PatchImage image = PatchImageMessages(data, kEditBufferAddress, deviceId);
    const ClosingMessageBytes closing = ClosingMessage(kEditBufferEndAddress, deviceId);
    std::copy(image.begin(), image.end(), file.begin());
    std::copy(closing.begin(), closing.end(), file.begin() + kPatchImageSize);
    return file;
}

std::vector<uint8_t> PatchSendMessages(const PatchData& data, const PatchAddressBytes& start, bool toMemory,
                                       int deviceId) {
    std::vector<uint8_t> out;
    out.reserve(kPatchSendSize);
    Append(out, SysExMessage(deviceId, kCommandDT1, start, Run(data, 0, kHeaderHalfSize)));
    Append(out, SysExMessage(deviceId, kCommandDT1, AddressPlus(start, kHeaderHalfSize),
                             Run(data, kHeaderHalfSize, kStreamHalfSize)));
    const ClosingMessageBytes closing =
        ClosingMessage(toMemory ? kBulkEndAddress : kEditBufferEndAddress, deviceId);
    out.insert(out.end(), closing.begin(), closing.end());
    return out;
}

ClosingMessageBytes ClosingMessage(const PatchAddressBytes& address, int deviceId) {
    const auto message = SysExMessage(deviceId, kCommandDT1, address, kNoData);
    ClosingMessageBytes bytes{};
    std::copy(message.begin(), message.end(), bytes.begin());
    return bytes;
}

ClosingMessageBytes EndOfBulkMessage(int deviceId) {
    return ClosingMessage(kBulkEndAddress, deviceId);
}

std::vector<uint8_t> PatchRequestMessage(const PatchAddressBytes& start, int deviceId) {
    return SysExMessage(deviceId, kCommandRQ1, start, kPatchRequestSize);
}

std::vector<uint8_t> GlobalRequestMessage(int deviceId) {
    return SysExMessage(deviceId, kCommandRQ1, kGlobalAddress, kGlobalRequestSize);
}

std::vector<uint8_t> GlobalMessage(std::span<const uint8_t, kGlobalSize> global, int deviceId) {
    return SysExMessage(deviceId, kCommandDT1, kGlobalAddress, global);
}

std::vector<uint8_t> ParameterMessage(int address, int value, int width, int deviceId) {
    const PatchAddressBytes at{kRealTimeArea, static_cast<uint8_t>((address >> 8) & 0xFF),
                               static_cast<uint8_t>(address & 0xFF)};
    if (width == 4) return SysExMessage(deviceId, kCommandDT1, at, NibbleEncode16(value));
    return SysExMessage(deviceId, kCommandDT1, at, NibbleEncode8(value));
}

std::vector<uint8_t> BlockMessage(int address, std::span<const uint8_t> body, int deviceId) {
    const PatchAddressBytes at{kRealTimeArea, static_cast<uint8_t>(address >> 8),
                               static_cast<uint8_t>(address & 0x7F)};
    return SysExMessage(deviceId, kCommandDT1, at, body);
}
