#include "midi/drivers/VirtualUnit.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "midi/SysExMessages.h"
#include "model/PatchImage.h"
#include "model/VF1Algorithm.h"
#include "model/tables/AlgorithmInfo.h"

namespace {

const int kEditBufferLinear = LinearAddress(kEditBufferAddress);
const int kGroupBLinear = LinearAddress(PatchAddress(kGroupSize));
const int kSlotSpan = LinearAddress(PatchAddress(1));

bool IsRequestFor(std::span<const uint8_t> body, const std::array<uint8_t, 3>& size) {
    return body.size() == size.size() && std::equal(size.begin(), size.end(), body.begin());
}

} // namespace

PatchData FreshPatchData(int algorithmNumber, const std::string& name) {
    VF1Algorithm algorithm(algorithmNumber);
    algorithm.SetName(name);
    PatchData data{};
    algorithm.WritePatchData(data.data());
    return data;
}

VirtualUnit::VirtualUnit(Transmit transmit_, int bytesPerSecond, int deviceId_)
    : transmit(std::move(transmit_)), pacing(bytesPerSecond), deviceId(deviceId_) {
    for (int i = 0; i < kPatchCount; ++i)
        memory[static_cast<size_t>(i)] =
            FreshPatchData(AlgorithmAtRow(i % kAlgorithmCount), std::string("Init ") + SlotName(i));
    editBuffer = memory[0];
    // The Global section's defaults: 100% out level, 0 dB threshold, 100% reverb, first output,
    // 120 BPM, Direct Mix off.
    const int defaults[6] = {50, 20, 50, 0, 120, 0};
    for (int i = 0; i < 6; ++i) std::memcpy(global.data() + 4 * i, NibbleEncode16(defaults[i]).data(), 4);
    sender = std::thread([this] { SenderLoop(); });
}

VirtualUnit::~VirtualUnit() {
    {
        std::lock_guard lock(sendMutex);
        stopping = true;
    }
    sendCv.notify_all();
    sender.join();
}

void VirtualUnit::SetListener(Listener l) {
    std::lock_guard lock(memoryMutex);
    listener = std::move(l);
}

void VirtualUnit::Receive(const uint8_t* bytes, size_t n) {
    // The messages are split as the program's own receiver splits them.
    for (size_t i = 0; i < n; ++i) {
        const uint8_t b = bytes[i];
        switch (ClassifySysExByte(b, inMessage)) {
        case SysExByte::Start:
            if (inMessage) Drop(incoming, b);
            incoming.assign(1, b);
            inMessage = true;
            channelStatus = 0;
            break;
        case SysExByte::Data:
            incoming.push_back(b);
            break;
        case SysExByte::End:
            incoming.push_back(b);
            inMessage = false;
            Handle(incoming);
            break;
        case SysExByte::Interrupt:
            inMessage = false;
            Drop(incoming, b);
            // The status byte that ended the message starts the channel message it belongs to.
            HandleChannelByte(b);
            break;
        case SysExByte::Skip:
            if (!inMessage && b < 0xF8) HandleChannelByte(b);
            break;
        }
    }
}

// Channel messages between the SysEx messages. The unit takes Control Changes (which the MIDI
// LFO sends) and passes over the rest.
void VirtualUnit::HandleChannelByte(uint8_t b) {
    if (b >= 0xF0) {
        channelStatus = 0;
        return;
    }
    if (b >= 0x80) {
        channelStatus = b;
        channelCount = 0;
        return;
    }
    if (channelStatus == 0) return;
    channelData[channelCount++] = b;
    const size_t needed = (channelStatus & 0xE0) == 0xC0 ? 1 : 2;
    if (channelCount < needed) return;
    channelCount = 0;
    if ((channelStatus & 0xF0) != 0xB0) return;
    controllers++;
    Received info;
    info.controller = true;
    info.bytes = {channelStatus, channelData[0], channelData[1]};
    info.length = 3;
    Report(info);
}

bool VirtualUnit::Locate(int linear, int& slot, int& offset) const {
    if (linear >= kEditBufferLinear && linear < kEditBufferLinear + kPatchDataSize) {
        slot = -1;
        offset = linear - kEditBufferLinear;
        return true;
    }
    const int group = linear >= kGroupBLinear ? 1 : 0;
    const int rel = linear - group * kGroupBLinear;
    if (rel < 0 || rel >= kGroupSize * kSlotSpan || rel % kSlotSpan >= kPatchDataSize) return false;
    slot = group * kGroupSize + rel / kSlotSpan;
    offset = rel % kSlotSpan;
    return true;
}

VirtualUnit::Received VirtualUnit::Describe(const std::vector<uint8_t>& m) {
    Received info;
    info.length = m.size();
    if (m.size() >= kMessageHeaderSize) {
        info.command = m[kCommandByte];
        info.address = {m[kAddressByte], m[kAddressByte + 1], m[kAddressByte + 2]};
    }
    return info;
}

void VirtualUnit::Report(const Received& info) {
    Listener l;
    {
        std::lock_guard lock(memoryMutex);
        l = listener;
    }
    if (l) l(info);
}

void VirtualUnit::Drop(const std::vector<uint8_t>& m, uint8_t endedBy) {
    Received info = Describe(m);
    info.endedBy = endedBy;
    bad++;
    Report(info);
}

void VirtualUnit::Handle(const std::vector<uint8_t>& m) {
    Received info = Describe(m);
    info.frameOk = m.size() > kMessageOverhead && IsUnitFrame(m.data(), m.back()) &&
                   m[kDeviceIdByte] == deviceId &&
                   (info.command == kCommandDT1 || info.command == kCommandRQ1);
    if (m.size() >= kMessageOverhead) {
        const auto body =
            std::span<const uint8_t>(m.data() + kMessageHeaderSize, m.size() - kMessageOverhead);
        info.checksumOk = SysExChecksum(info.address, body) == m[m.size() - 2];
    }
    const bool ok = info.frameOk && info.checksumOk;
    (ok ? good : bad)++;
    if (!ok) {
        Report(info);
        return;
    }
    const uint8_t* data = m.data() + kMessageHeaderSize;
    const size_t n = m.size() - kMessageOverhead;
    const PatchAddressBytes address = info.address;
    std::vector<uint8_t> reply;
    {
        std::lock_guard lock(memoryMutex);
        if (info.command == kCommandRQ1) {
            if (address == kGlobalAddress && IsRequestFor({data, n}, kGlobalRequestSize)) {
                reply = GlobalMessage(global, deviceId);
            } else if (IsRequestFor({data, n}, kPatchRequestSize)) {
                int slot = 0;
                int offset = 0;
                if (Locate(LinearAddress(address), slot, offset) && offset == 0)
                    reply = PatchReplyMessages(slot < 0 ? editBuffer : memory[static_cast<size_t>(slot)],
                                               address, deviceId);
            }
        } else if (address == kGlobalAddress && n == global.size()) {
            std::memcpy(global.data(), data, n);
        } else if (address[0] == kRealTimeArea) {
            // Real-time edits land in the edit buffer at their patch data offset.
            const int offset = address[1] * 128 + address[2];
            for (size_t i = 0; i < n && offset + static_cast<int>(i) < kPatchDataSize; ++i)
                editBuffer[static_cast<size_t>(offset) + i] = data[i];
        } else if (address != kEditBufferEndAddress && address != kBulkEndAddress) {
            int slot = 0;
            int offset = 0;
            if (Locate(LinearAddress(address), slot, offset)) {
                PatchData& target = slot < 0 ? editBuffer : memory[static_cast<size_t>(slot)];
                for (size_t i = 0; i < n && offset + static_cast<int>(i) < kPatchDataSize; ++i)
                    target[static_cast<size_t>(offset) + i] = data[i];
            }
        }
    }
    Report(info);
    if (reply.size() == kPatchReplySize) EnqueuePatchReply(reply);
    else if (!reply.empty()) Enqueue(std::move(reply));
}

void VirtualUnit::EnqueuePatchReply(const std::vector<uint8_t>& reply) {
    // A patch answer travels as its two messages.
    const auto second = reply.begin() + kImageMessage2.Size();
    Enqueue(std::vector<uint8_t>(reply.begin(), second));
    Enqueue(std::vector<uint8_t>(second, reply.end()));
}

void VirtualUnit::SendBankDump() {
    std::vector<std::vector<uint8_t>> messages;
    {
        std::lock_guard lock(memoryMutex);
        for (int i = 0; i < kPatchCount; ++i) {
            const PatchImage image =
                PatchImageMessages(memory[static_cast<size_t>(i)], PatchAddress(i), deviceId);
            for (const ImageMessage& m : kImageMessages)
                messages.emplace_back(image.begin() + m.start, image.begin() + m.start + m.Size());
        }
    }
    const ClosingMessageBytes end = EndOfBulkMessage(deviceId);
    messages.emplace_back(end.begin(), end.end());
    for (auto& m : messages) Enqueue(std::move(m));
}

void VirtualUnit::SendPatchByHand(int slot) {
    std::vector<uint8_t> reply;
    {
        std::lock_guard lock(memoryMutex);
        const PatchAddressBytes base = slot < 0 ? kEditBufferAddress : PatchAddress(slot);
        reply = PatchReplyMessages(slot < 0 ? editBuffer : memory[static_cast<size_t>(slot)], base, deviceId);
    }
    EnqueuePatchReply(reply);
}

void VirtualUnit::Enqueue(std::vector<uint8_t> bytes) {
    {
        std::lock_guard lock(sendMutex);
        sendQueue.push_back(std::move(bytes));
    }
    sendCv.notify_all();
}

void VirtualUnit::Flush() {
    std::unique_lock lock(sendMutex);
    sendCv.wait(lock, [this] { return (sendQueue.empty() && !sending) || stopping; });
}

void VirtualUnit::SenderLoop() {
    for (;;) {
        std::vector<uint8_t> bytes;
        {
            std::unique_lock lock(sendMutex);
            sendCv.wait(lock, [this] { return stopping || !sendQueue.empty(); });
            if (stopping) return;
            bytes = std::move(sendQueue.front());
            sendQueue.pop_front();
            sending = true;
        }
        const int rate = pacing.load();
        // At wire speed a message has fully arrived only after its last byte's time.
        if (rate > 0) std::this_thread::sleep_for(std::chrono::microseconds(bytes.size() * 1000000LL / rate));
        if (transmit) transmit(bytes.data(), bytes.size());
        {
            std::lock_guard lock(sendMutex);
            sending = false;
        }
        sendCv.notify_all();
    }
}

PatchData VirtualUnit::Patch(int slot) const {
    std::lock_guard lock(memoryMutex);
    return slot < 0 ? editBuffer : memory[static_cast<size_t>(slot)];
}

void VirtualUnit::SetPatch(int slot, const PatchData& data) {
    std::lock_guard lock(memoryMutex);
    (slot < 0 ? editBuffer : memory[static_cast<size_t>(slot)]) = data;
}

std::array<uint8_t, kGlobalSize> VirtualUnit::Global() const {
    std::lock_guard lock(memoryMutex);
    return global;
}

std::vector<uint8_t> VirtualUnit::BankFile() const {
    std::vector<uint8_t> file;
    file.reserve(kBankFileSize);
    std::lock_guard lock(memoryMutex);
    for (int i = 0; i < kPatchCount; ++i) {
        const PatchImage image =
            PatchImageMessages(memory[static_cast<size_t>(i)], PatchAddress(i), deviceId);
        file.insert(file.end(), image.begin(), image.end());
    }
    const ClosingMessageBytes end = EndOfBulkMessage(deviceId);
    file.insert(file.end(), end.begin(), end.end());
    return file;
}

bool VirtualUnit::LoadBankFile(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < static_cast<size_t>(kBankImagesSize)) return false;
    std::array<PatchData, kPatchCount> loaded{};
    for (int i = 0; i < kPatchCount; ++i) {
        PatchImage image{};
        std::memcpy(image.data(), bytes.data() + kPatchImageSize * i, kPatchImageSize);
        if (!ParseImageData(image, false, loaded[static_cast<size_t>(i)])) return false;
    }
    std::lock_guard lock(memoryMutex);
    memory = loaded;
    return true;
}
