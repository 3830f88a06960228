#include "midi/VirtualUnit.h"

#include <chrono>
#include <cstring>

#include "model/AlgorithmInfo.h"
#include "model/VF1Algorithm.h"
#include "model/VF1Patch.h"

namespace {

constexpr int kEditBufferLinear = 0x10 * 16384;
constexpr int kGroupBLinear = 4 * 16384;
constexpr int kSlotSpan = 512;
constexpr std::array<uint8_t, 3> kGlobalAddress{0x08, 0x01, 0x1C};

int Linear(uint8_t a0, uint8_t a1, uint8_t a2) {
    return a0 * 16384 + a1 * 128 + a2;
}

std::vector<uint8_t> Message(int deviceId, uint8_t command, const std::array<uint8_t, 3>& address,
                             const uint8_t* body, size_t n) {
    std::vector<uint8_t> m(9 + n + 2);
    const uint8_t header[9] = {kSysExStart, kManufacturerId, static_cast<uint8_t>(deviceId),
                               kModelId1,   kModelId2,       command,
                               address[0],  address[1],      address[2]};
    std::memcpy(m.data(), header, 9);
    if (n > 0) std::memcpy(m.data() + 9, body, n);
    m.resize(9 + n);
    m.push_back(SysExChecksum(address[0] + address[1] + address[2], std::span<const uint8_t>(body, n)));
    m.push_back(kSysExEnd);
    return m;
}

std::array<uint8_t, 3> Plus244(const PatchAddressBytes& base) {
    // base + 244 in 7-bit digits: a1 + 1, a2 + 74H (a2 of a patch start is always 0).
    return {base[0], static_cast<uint8_t>(base[1] + 1), static_cast<uint8_t>(base[2] + 0x74)};
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
    for (size_t i = 0; i < n; ++i) {
        const uint8_t b = bytes[i];
        if (b == kSysExStart) {
            incoming.assign(1, b);
            inMessage = true;
        } else if (inMessage && b < 0xF8) {
            incoming.push_back(b);
            if (b == kSysExEnd) {
                inMessage = false;
                Handle(incoming);
            }
        }
    }
}

bool VirtualUnit::Locate(int linear, int& slot, int& offset) const {
    if (linear >= kEditBufferLinear && linear < kEditBufferLinear + kPatchDataSize) {
        slot = -1;
        offset = linear - kEditBufferLinear;
        return true;
    }
    const int group = linear >= kGroupBLinear ? 1 : 0;
    const int rel = linear - group * kGroupBLinear;
    if (rel < 0 || rel >= 101 * kSlotSpan || rel % kSlotSpan >= kPatchDataSize) return false;
    slot = group * 101 + rel / kSlotSpan;
    offset = rel % kSlotSpan;
    return true;
}

void VirtualUnit::Handle(const std::vector<uint8_t>& m) {
    Received info;
    info.length = m.size();
    if (m.size() >= 9) {
        info.command = m[5];
        info.address = {m[6], m[7], m[8]};
    }
    info.frameOk = m.size() >= 12 && m[0] == kSysExStart && m[1] == kManufacturerId && m[2] == deviceId &&
                   m[3] == kModelId1 && m[4] == kModelId2 && (m[5] == kCommandDT1 || m[5] == kCommandRQ1) &&
                   m.back() == kSysExEnd;
    if (m.size() >= 11) {
        const auto body = std::span<const uint8_t>(m.data() + 9, m.size() - 11);
        info.checksumOk = SysExChecksum(m[6] + m[7] + m[8], body) == m[m.size() - 2];
    }
    const bool ok = info.frameOk && info.checksumOk;
    (ok ? good : bad)++;
    Listener l;
    {
        std::lock_guard lock(memoryMutex);
        l = listener;
    }
    if (!ok) {
        if (l) l(info);
        return;
    }
    const uint8_t* data = m.data() + 9;
    const size_t n = m.size() - 11;
    const std::array<uint8_t, 3> address = info.address;
    std::vector<uint8_t> reply;
    {
        std::lock_guard lock(memoryMutex);
        if (info.command == kCommandRQ1) {
            if (n == 3 && address == kGlobalAddress && data[0] == 0 && data[1] == 0 && data[2] == 0x18) {
                reply = Message(deviceId, kCommandDT1, kGlobalAddress, global.data(), global.size());
            } else if (n == 3 && data[0] == 0x00 && data[1] == 0x03 && data[2] == 0x1A) {
                int slot = 0;
                int offset = 0;
                if (Locate(Linear(address[0], address[1], address[2]), slot, offset) && offset == 0)
                    reply = PatchReplyAt(slot < 0 ? editBuffer : memory[static_cast<size_t>(slot)],
                                         {address[0], address[1], address[2]}, deviceId);
            }
        } else if (address == kGlobalAddress && n == global.size()) {
            std::memcpy(global.data(), data, n);
        } else if (address[0] == 0x20) {
            // Real-time edits land in the edit buffer at their patch data offset.
            const int offset = address[1] * 128 + address[2];
            for (size_t i = 0; i < n && offset + static_cast<int>(i) < kPatchDataSize; ++i)
                editBuffer[static_cast<size_t>(offset) + i] = data[i];
        } else if (address[0] != 0x60 && address[0] != 0x70) {
            int slot = 0;
            int offset = 0;
            if (Locate(Linear(address[0], address[1], address[2]), slot, offset)) {
                PatchData& target = slot < 0 ? editBuffer : memory[static_cast<size_t>(slot)];
                for (size_t i = 0; i < n && offset + static_cast<int>(i) < kPatchDataSize; ++i)
                    target[static_cast<size_t>(offset) + i] = data[i];
            }
        }
    }
    if (l) l(info);
    if (!reply.empty()) {
        // A patch answer travels as two messages.
        if (reply.size() == 410) {
            Enqueue(std::vector<uint8_t>(reply.begin(), reply.begin() + 255));
            Enqueue(std::vector<uint8_t>(reply.begin() + 255, reply.end()));
        } else {
            Enqueue(std::move(reply));
        }
    }
}

std::vector<uint8_t> VirtualUnit::PatchImageAt(const PatchData& data, const PatchAddressBytes& base,
                                               int deviceId) {
    std::vector<uint8_t> image = Message(deviceId, kCommandDT1, base, data.data(), kHeaderHalfSize);
    const std::vector<uint8_t> rest = PatchReplyAt(data, base, deviceId);
    image.insert(image.end(), rest.begin(), rest.end());
    return image;
}

std::vector<uint8_t> VirtualUnit::PatchReplyAt(const PatchData& data, const PatchAddressBytes& base,
                                               int deviceId) {
    std::vector<uint8_t> reply = Message(deviceId, kCommandDT1, base, data.data(), 244);
    const std::vector<uint8_t> third = Message(deviceId, kCommandDT1, Plus244(base), data.data() + 244, 144);
    reply.insert(reply.end(), third.begin(), third.end());
    return reply;
}

void VirtualUnit::SendBankDump() {
    std::vector<std::vector<uint8_t>> messages;
    {
        std::lock_guard lock(memoryMutex);
        for (int i = 0; i < kPatchCount; ++i) {
            const auto image = PatchImageAt(memory[static_cast<size_t>(i)], PatchAddress(i), deviceId);
            messages.emplace_back(image.begin(), image.begin() + 175);
            messages.emplace_back(image.begin() + 175, image.begin() + 430);
            messages.emplace_back(image.begin() + 430, image.end());
        }
    }
    const uint8_t zeros[2] = {0, 0};
    messages.push_back(Message(deviceId, kCommandDT1, {0x70, 0x00, 0x00}, zeros, 2));
    for (auto& m : messages) Enqueue(std::move(m));
}

void VirtualUnit::SendPatchByHand(int slot) {
    std::vector<uint8_t> reply;
    {
        std::lock_guard lock(memoryMutex);
        const PatchAddressBytes base = slot < 0 ? PatchAddressBytes{0x10, 0, 0} : PatchAddress(slot);
        reply = PatchReplyAt(slot < 0 ? editBuffer : memory[static_cast<size_t>(slot)], base, deviceId);
    }
    Enqueue(std::vector<uint8_t>(reply.begin(), reply.begin() + 255));
    Enqueue(std::vector<uint8_t>(reply.begin() + 255, reply.end()));
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

std::array<uint8_t, 24> VirtualUnit::Global() const {
    std::lock_guard lock(memoryMutex);
    return global;
}

std::vector<uint8_t> VirtualUnit::BankFile() const {
    std::vector<uint8_t> file;
    file.reserve(kBankFileSize);
    std::lock_guard lock(memoryMutex);
    for (int i = 0; i < kPatchCount; ++i) {
        const auto image = PatchImageAt(memory[static_cast<size_t>(i)], PatchAddress(i), deviceId);
        file.insert(file.end(), image.begin(), image.end());
    }
    const uint8_t zeros[2] = {0, 0};
    const auto end = Message(deviceId, kCommandDT1, {0x70, 0x00, 0x00}, zeros, 2);
    file.insert(file.end(), end.begin(), end.end());
    return file;
}

bool VirtualUnit::LoadBankFile(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < static_cast<size_t>(kBankImagesSize)) return false;
    std::array<PatchData, kPatchCount> loaded{};
    for (int i = 0; i < kPatchCount; ++i) {
        std::array<uint8_t, kPatchImageSize> image{};
        std::memcpy(image.data(), bytes.data() + kPatchImageSize * i, kPatchImageSize);
        if (!ParseImageInto(image.data(), false, loaded[static_cast<size_t>(i)])) return false;
    }
    std::lock_guard lock(memoryMutex);
    memory = loaded;
    return true;
}
