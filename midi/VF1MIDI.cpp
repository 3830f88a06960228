#include "midi/VF1MIDI.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "model/Report.h"
#include "model/VF1Algorithm.h"
#include "model/VF1Effect.h"

namespace {

std::unique_ptr<VF1MIDI>& InstancePtr() {
    static std::unique_ptr<VF1MIDI> instance;
    return instance;
}

constexpr const char* kSendFailed = "Error in MIDI call %s.\n\nUnable to send MIDI patch/parameter.  Make "
                                    "sure you've selected a valid MIDI Out "
                                    "Device.";
constexpr const char* kFormattingError = "SysEx formatting error - unable to load.";
constexpr const char* kSendFinishFailed =
    "Error finishing MIDI send, in call %s.  You may be unable to perform any "
    "more MIDI transfers until you restart the program or your MIDI device.";
constexpr const char* kReceiveFinishFailed = "Error finishing MIDI reception, in call %s.  You may be unable "
                                             "to perform any more MIDI transfers until you "
                                             "restart the program or your MIDI device.";

bool FrameOk(const uint8_t* header, uint8_t endByte) {
    return header[0] == kSysExStart && header[1] == kManufacturerId && header[3] == kModelId1 &&
           header[4] == kModelId2 && endByte == kSysExEnd;
}

} // namespace

MidiFlags& SharedMidiFlags() {
    static MidiFlags flags;
    return flags;
}

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

VF1MIDI::VF1MIDI() = default;

VF1MIDI& VF1MIDI::Instance() {
    auto& instance = InstancePtr();
    if (!instance) {
        instance.reset(new VF1MIDI());
        SetRealTimeSink(instance.get());
    }
    return *instance;
}

void VF1MIDI::Release() {
    auto& instance = InstancePtr();
    if (instance && GetRealTimeSink() == instance.get()) SetRealTimeSink(nullptr);
    instance.reset();
}

void VF1MIDI::SetDriver(MidiDriver* d) {
    if (d != driver) CloseOutput();
    driver = d;
}

int VF1MIDI::GetNumInDevs() {
    return driver ? static_cast<int>(driver->InDeviceNames().size()) : 0;
}
int VF1MIDI::GetNumOutDevs() {
    return driver ? static_cast<int>(driver->OutDeviceNames().size()) : 0;
}
std::vector<std::string> VF1MIDI::GetInDevNames() {
    return driver ? driver->InDeviceNames() : std::vector<std::string>{};
}
std::vector<std::string> VF1MIDI::GetOutDevNames() {
    return driver ? driver->OutDeviceNames() : std::vector<std::string>{};
}

void VF1MIDI::SetOutDevice(unsigned index) {
    if (index != outDevice) CloseOutput();
    outDevice = index;
}

namespace {
// Ends one 20 ms step after the notice, or after 200 ms without it; a missing notice is not an error.
void NoticeWait(std::atomic<bool>& flag) {
    int t = 0;
    while ((flag.load() && t < 20) || (!flag.load() && t < 200)) {
        SleepMs(20);
        t += 20;
    }
}

void OutputCallback(int notice) {
    auto& f = SharedMidiFlags();
    if (notice == kMidiOutOpen) f.opened = true;
    else if (notice == kMidiOutClose) f.closed = true;
    else if (notice == kMidiOutDone) f.done = true;
}
} // namespace

bool VF1MIDI::OpenOutput() {
    auto& flags = SharedMidiFlags();
    flags.opened = false;
    if (lfoDialog && lfoDialog->IsRunning()) {
        lfoDialog->Stop();
        while (lfoDialog->StreamBusy()) SleepMs(10);
    }
    const int rc = driver ? driver->OpenOutput(outDevice, OutputCallback) : kMidiErrBadDevice;
    if (rc != kMidiOk) {
        ShowMessage(Format("Error opening MIDI output device - midiOutOpen() rc = %d.\n\nUnable to send MIDI "
                           "patch/parameter.  Make sure you've selected a valid MIDI Out Device.",
                           rc),
                    MessageStyle::Error);
        outputOpen = false;
        return false;
    }
    outputOpen = true;
    NoticeWait(flags.opened);
    return true;
}

void VF1MIDI::CloseOutput() {
    if (!outputOpen || driver == nullptr) return;
    auto& flags = SharedMidiFlags();
    flags.closed = false;
    const int rc = driver->CloseOutput();
    if (rc != kMidiOk) {
        ShowMessage(Format("Error closing opened MIDI output device - midiOutClose() rc = %d.\n\nYou may "
                           "experience MIDI issues until you restart the program or your MIDI device.",
                           rc),
                    MessageStyle::Error);
        return;
    }
    outputOpen = false;
    NoticeWait(flags.closed);
}

bool VF1MIDI::SendBuffer(bool longWait) {
    const int limit = longWait ? 500 : 100;
    const int settle = longWait ? 50 : 10;
    if (!outputOpen && !OpenOutput()) return false;

    outMessage.data = msgBuffer.data();
    outMessage.size = static_cast<size_t>(cursor);
    outMessage.prepared = false;
    outMessage.done = false;
    int rc = driver->PrepareLong(outMessage);
    if (rc != kMidiOk) {
        ShowMessage(Format(kSendFailed, Format("midiOutPrepareHeader(), rc = %d", rc).c_str()),
                    MessageStyle::Error);
        return false;
    }
    auto& flags = SharedMidiFlags();
    flags.done = false;
    rc = driver->SendLong(outMessage);
    if (rc != kMidiOk) {
        driver->UnprepareLong(outMessage);
        ShowMessage(Format(kSendFailed, Format("midiOutLongMsg(), rc = %d", rc).c_str()),
                    MessageStyle::Error);
        return false;
    }
    for (int t = 0;;) {
        if (flags.done.load() ? t >= settle : t >= limit) break;
        SleepMs(10);
        t += 10;
    }
    if (!outMessage.done.load())
        ShowMessage(
            "Incomprehensible error!  midiOutLongMsg() returned OK and MOM_DONE was received, but the "
            "MIDIHDR's MHDR_DONE flagwasn't sent.  Attempting to ignore and continue...",
            MessageStyle::Warning);
    // The bytes went out, but a header the driver won't give back is a failed send.
    if (driver->UnprepareLong(outMessage) != kMidiOk) {
        ShowMessage(Format(kSendFinishFailed, "midiOutUnprepareHeader()"), MessageStyle::Error);
        return false;
    }
    return true;
}

VF1MIDI& VF1MIDI::Append(const uint8_t* bytes, int n) {
    // The buffer never grows past its 598 bytes.
    const int fit = std::max(0, std::min(n, kPatchFileSize - cursor));
    std::memcpy(msgBuffer.data() + cursor, bytes, static_cast<size_t>(fit));
    cursor += fit;
    return *this;
}

VF1MIDI& VF1MIDI::ReadBack(uint8_t* destination, int n) {
    const int fit = std::max(0, std::min(n, kPatchFileSize - cursor));
    std::memcpy(destination, msgBuffer.data() + cursor, static_cast<size_t>(fit));
    cursor += fit;
    return *this;
}

void VF1MIDI::SetAddress(uint8_t command, uint8_t a0, uint8_t a1, uint8_t a2) {
    header[5] = command;
    header[6] = a0;
    header[7] = a1;
    header[8] = a2;
}

void VF1MIDI::AppendMessage(const uint8_t* body, int n) {
    checksumByte = SysExChecksum(header[6] + header[7] + header[8],
                                 std::span<const uint8_t>(body, static_cast<size_t>(n)));
    Append(header.data(), 9).Append(body, n).Append(&checksumByte, 1).Append(&endByte, 1);
}

bool VF1MIDI::ParseImage(uint8_t* image, bool showError, bool fixChecksum) {
    cursor = 0;
    Append(image, kPatchImageSize);
    bool ok = ParseImageInto(msgBuffer.data(), false, patchData);
    // Only message 1 is repaired, and in the caller's image, once its frame has been checked.
    if (fixChecksum && FrameOk(image, image[174]))
        image[173] = SysExChecksum(image[6] + image[7] + image[8],
                                   std::span<const uint8_t>(image + 9, kHeaderHalfSize));
    if (!ok && showError) ShowMessage(kFormattingError, MessageStyle::Error);
    return ok;
}

bool VF1MIDI::ParsePatchImage(const uint8_t** firstHalf, const uint8_t** secondHalf, uint8_t* image) {
    if (!ParseImage(image, true, false)) return false;
    *firstHalf = patchData.data();
    *secondHalf = patchData.data() + kHeaderHalfSize;
    return true;
}

void VF1MIDI::SetPatchData(VF1Algorithm& algorithm) {
    algorithm.WritePatchData(patchData.data());
}

void VF1MIDI::AppendPatchImage() {
    const uint8_t* first = patchData.data();
    const uint8_t* second = patchData.data() + kHeaderHalfSize;
    SetAddress(kCommandDT1, 0x10, 0x00, 0x00);
    cursor = 0;
    AppendMessage(first, kHeaderHalfSize);
    // Message 2: the header half again with the first 80 stream bytes.
    std::array<uint8_t, 244> body{};
    std::memcpy(body.data(), first, kHeaderHalfSize);
    std::memcpy(body.data() + kHeaderHalfSize, second, 80);
    AppendMessage(body.data(), 244);
    SetAddress(kCommandDT1, 0x10, 0x01, 0x74);
    AppendMessage(second + 80, 144);
}

bool VF1MIDI::BuildPatchImage(VF1Algorithm& algorithm, uint8_t* out) {
    SetPatchData(algorithm);
    AppendPatchImage();
    std::memcpy(out, msgBuffer.data(), kPatchImageSize);
    return true;
}

void VF1MIDI::BuildPatchFile(VF1Algorithm& algorithm) {
    SetPatchData(algorithm);
    AppendPatchImage();
    static constexpr uint8_t kZeros[2] = {0, 0};
    SetAddress(kCommandDT1, 0x60, 0x00, 0x00);
    AppendMessage(kZeros, 2);
}

bool VF1MIDI::SavePatchFile(VF1Algorithm& algorithm, const std::string& path) {
    BuildPatchFile(algorithm);
    // Write beside the target and rename over it, so a failed save leaves an existing file whole.
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path temp = target.parent_path() / (target.filename().string() + ".quellin-tmp");
    auto fail = [&](int error) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        ShowMessage(Format("Unable to save the file \"%s\": %s", path.c_str(), std::strerror(error)),
                    MessageStyle::Error);
        return false;
    };
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) return fail(errno);
    const bool written =
        std::fwrite(msgBuffer.data(), 1, kPatchFileSize, file) == static_cast<size_t>(kPatchFileSize);
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written) return fail(written ? errno : writeError);
    if (std::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);
    return true;
}

bool VF1MIDI::LoadPatchFile(const std::string& path, const uint8_t** firstHalf, const uint8_t** secondHalf) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ShowMessage(Format("Unable to open the file \"%s\": %s", path.c_str(), std::strerror(errno)),
                    MessageStyle::Error);
        return false;
    }
    file.seekg(0, std::ios::end);
    const auto length = static_cast<long long>(file.tellg());
    file.seekg(0, std::ios::beg);
    constexpr const char* kSizeMessage = "Incorrect SysEx file size.  A single patch file will be 598 bytes.";
    if (length != kPatchFileSize) {
        ShowMessage(kSizeMessage, MessageStyle::Error);
        return false;
    }
    std::array<uint8_t, kPatchFileSize> bytes{};
    file.read(reinterpret_cast<char*>(bytes.data()), kPatchFileSize);
    if (file.gcount() != kPatchFileSize) {
        ShowMessage(kSizeMessage, MessageStyle::Error);
        return false;
    }
    file.close();
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    if (!ParsePatchImage(&first, &second, bytes.data())) return false;
    // The closing message: frame and its two zero data bytes; address, command and checksum vary.
    cursor = kPatchImageSize;
    Append(bytes.data() + kPatchImageSize, kTerminatorSize);
    cursor = kPatchImageSize;
    std::array<uint8_t, 9> scratchHeader{};
    uint8_t data[2] = {0, 0};
    uint8_t checksum = 0;
    uint8_t end = 0;
    ReadBack(scratchHeader.data(), 9).ReadBack(data, 2).ReadBack(&checksum, 1).ReadBack(&end, 1);
    if (!FrameOk(scratchHeader.data(), end) || data[0] != 0 || data[1] != 0) {
        ShowMessage(kFormattingError, MessageStyle::Error);
        return false;
    }
    *firstHalf = first;
    *secondHalf = second;
    return true;
}

void VF1MIDI::BuildTerminator(uint8_t* destination) {
    static constexpr uint8_t kZeros[2] = {0, 0};
    SetAddress(kCommandDT1, 0x70, 0x00, 0x00);
    std::memcpy(destination, header.data(), 9);
    destination[9] = 0;
    destination[10] = 0;
    destination[11] = SysExChecksum(0x70, kZeros);
    destination[12] = endByte;
}

bool VF1MIDI::SendParameter(int address, int value, int width) {
    SetAddress(kCommandDT1, 0x20, static_cast<uint8_t>((address >> 8) & 0xFF),
               static_cast<uint8_t>(address & 0xFF));
    cursor = 0;
    if (width == 4) {
        AppendMessage(NibbleEncode16(value).data(), 4);
    } else {
        AppendMessage(NibbleEncode8(value).data(), 2);
    }
    return SendBuffer(false);
}

bool VF1MIDI::SendBlock(VF1Effect& block) {
    const int v = block.GetAddress();
    SetAddress(kCommandDT1, 0x20, static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v & 0x7F));
    // The stream half of patchData serves as scratch space for the block's bytes.
    PatchStream stream(patchData.data() + kHeaderHalfSize, kStreamHalfSize);
    const int n = block.WriteStream(stream);
    cursor = 0;
    AppendMessage(patchData.data() + kHeaderHalfSize, n);
    return SendBuffer(false);
}

namespace {
constexpr const char* kCallError =
    "Error in MIDI call %s.\n\nUnable to %s.  Make sure you've selected a valid MIDI %s Device.";

std::string CallError(const char* call, int rc) {
    return Format("%s, rc = %d", call, rc);
}

// Patch start + 164 in 7-bit digits.
PatchAddressBytes SecondPartAddress(const uint8_t* start) {
    const int linear = start[0] * 16384 + start[1] * 128 + kHeaderHalfSize;
    return {static_cast<uint8_t>((linear >> 14) & 0x7F), static_cast<uint8_t>((linear >> 7) & 0x7F),
            static_cast<uint8_t>(linear & 0x7F)};
}
} // namespace

void VF1MIDI::AppendPatchStart(bool toMemory, bool bankB, int index) {
    if (toMemory) {
        const PatchAddressBytes a = PatchAddress(index + (bankB ? 101 : 0));
        SetAddress(header[5], a[0], a[1], a[2]);
    } else {
        SetAddress(header[5], 0x10, 0x00, 0x00);
    }
}

bool VF1MIDI::SendPatch(bool toMemory, bool bankB, int index) {
    header[5] = kCommandDT1;
    AppendPatchStart(toMemory, bankB, index);
    cursor = 0;
    AppendMessage(patchData.data(), kHeaderHalfSize);
    const PatchAddressBytes second = SecondPartAddress(header.data() + 6);
    SetAddress(kCommandDT1, second[0], second[1], second[2]);
    AppendMessage(patchData.data() + kHeaderHalfSize, kStreamHalfSize);
    static constexpr uint8_t kZeros[2] = {0, 0};
    if (toMemory) SetAddress(kCommandDT1, 0x70, 0x00, 0x00);
    else SetAddress(kCommandDT1, 0x60, 0x00, 0x00);
    AppendMessage(kZeros, 2);
    return SendBuffer(true);
}

bool VF1MIDI::RequestPatch(bool toMemory, bool bankB, int index) {
    header[5] = kCommandRQ1;
    AppendPatchStart(toMemory, bankB, index);
    cursor = 0;
    static constexpr uint8_t kSize[3] = {0x00, 0x03, 0x1A};
    AppendMessage(kSize, 3);
    header[5] = kCommandDT1;
    return SendBuffer(false);
}

bool VF1MIDI::SetGlobal(const uint8_t* global) {
    SetAddress(kCommandDT1, 0x08, 0x01, 0x1C);
    cursor = 0;
    AppendMessage(global, kGlobalSize);
    return SendBuffer(false);
}

void VF1MIDI::InputCallback(int notice, MidiInBuffer* buffer) {
    auto& flags = SharedMidiFlags();
    if (notice == kMidiInOpen) {
        flags.opened = true;
        return;
    }
    if (notice == kMidiInClose) {
        flags.closed = true;
        return;
    }
    if (notice != kMidiInLongData || buffer == nullptr) return;
    int index = -1;
    for (int i = 0; i < kInputBufferCount; ++i)
        if (&inBuffers[static_cast<size_t>(i)] == buffer) index = i;
    if (index < 0) return;
    const int n = buffer->bytesRecorded.load(std::memory_order_acquire);
    if (n <= 0) return;
    const int count = rxCount.load(std::memory_order_relaxed);
    const int capacity = rxCapacity.load(std::memory_order_relaxed);
    // Once the target is full, buffers stop circulating.
    if (count >= capacity) return;
    std::memcpy(rxDest.load() + count, buffer->data.data(),
                static_cast<size_t>(std::min(n, capacity - count)));
    // The full count, so that an oversized reply shows as more than the capacity.
    rxCount.store(count + n, std::memory_order_release);
    RequeueInputBuffer(index);
}

void VF1MIDI::RequeueInputBuffer(int index) {
    MidiInBuffer& b = inBuffers[static_cast<size_t>(index)];
    b.length = kMidiInBufferSize;
    b.bytesRecorded.store(0, std::memory_order_relaxed);
    const int rc = driver->AddBuffer(b);
    // Raised on the driver's thread: the message waits for the end of the reception.
    if (rc != kMidiOk) requeueFailure.store(rc);
}

void VF1MIDI::ReportRequeueFailure() {
    const int rc = requeueFailure.exchange(0);
    if (rc != 0)
        ShowMessage(
            Format("Error while reallocating MIDI input buffer to the pool.  midiInAddBuffer() rc = %d.  The "
                   "MIDI receive operation may fail.You may be unable to perform any more MIDI transfers "
                   "until you restart the program or your MIDI device.",
                   rc),
            MessageStyle::Error);
}

bool VF1MIDI::OpenReception(int buffers, uint8_t* destination, int capacity, std::string& callError) {
    auto& flags = SharedMidiFlags();
    flags.opened = false;
    requeueFailure = 0;
    int rc = driver ? driver->OpenInput(inDevice,
                                        [this](int notice, MidiInBuffer* b) { InputCallback(notice, b); })
                    : kMidiErrBadDevice;
    if (rc != kMidiOk) {
        callError = CallError("midiInOpen()", rc);
        return false;
    }
    inputOpen = true;
    NoticeWait(flags.opened);
    rxDest = destination;
    rxCapacity = capacity;
    rxCount = 0;
    for (int j = 0; j < buffers; ++j) {
        MidiInBuffer& b = inBuffers[static_cast<size_t>(j)];
        b.data.fill(0);
        b.length = kMidiInBufferSize;
        b.bytesRecorded = 0;
        b.prepared = false;
        if ((rc = driver->PrepareInput(b)) != kMidiOk) {
            callError = CallError("midiInPrepareHeader()", rc);
            return false;
        }
        if ((rc = driver->AddBuffer(b)) != kMidiOk) {
            callError = CallError("midiInAddBuffer()", rc);
            return false;
        }
    }
    if ((rc = driver->StartInput()) != kMidiOk) {
        callError = CallError("midiInStart()", rc);
        return false;
    }
    return true;
}

void VF1MIDI::CloseReception(Teardown order, int buffers, std::string& teardownError) {
    if (!inputOpen) return;
    auto step = [&](int rc, const char* name) {
        if (rc != kMidiOk && teardownError.empty()) teardownError = name;
    };
    const char* unprepareName =
        order == Teardown::Patch ? "midiInUnPrepareHeader()" : "midiInUnprepareHeader()";
    auto unprepareAll = [&] {
        for (int j = 0; j < buffers; ++j) {
            MidiInBuffer& b = inBuffers[static_cast<size_t>(j)];
            if (b.prepared) step(driver->UnprepareInput(b), unprepareName);
        }
    };
    step(driver->ResetInput(), "midiInReset()");
    if (order == Teardown::Global) {
        unprepareAll();
        step(driver->StopInput(), "midiInStop()");
    } else {
        step(driver->StopInput(), "midiInStop()");
        unprepareAll();
    }
    auto& flags = SharedMidiFlags();
    flags.closed = false;
    step(driver->CloseInput(), "midiInClose()");
    inputOpen = false;
    if (order != Teardown::Global) NoticeWait(flags.closed);
}

bool VF1MIDI::GetGlobal(uint8_t* destination) {
    std::array<uint8_t, kGlobalReplySize> reply{};
    std::string callError;
    std::string teardownError;
    bool ok = false;
    if (OpenReception(1, reply.data(), kGlobalReplySize, callError)) {
        SetAddress(kCommandRQ1, 0x08, 0x01, 0x1C);
        cursor = 0;
        static constexpr uint8_t kSize[3] = {0x00, 0x00, 0x18};
        AppendMessage(kSize, 3);
        header[5] = kCommandDT1;
        if (SendBuffer(false)) {
            for (int t = 0; ReceivedCount() < kGlobalReplySize && t < 1000; t += 20) SleepMs(20);
        }
    }
    // Torn down fully on every path, so the input is free for the next transfer.
    CloseReception(Teardown::Global, 1, teardownError);
    ReportRequeueFailure();
    if (!callError.empty()) {
        ShowMessage(Format(kCallError, callError.c_str(), "receive Global info", "In"), MessageStyle::Error);
        return false;
    }
    // A teardown error fails the transfer like any other: one message, nothing taken.
    if (!teardownError.empty()) {
        ShowMessage(Format(kReceiveFinishFailed, teardownError.c_str()), MessageStyle::Error);
        return false;
    }
    if (ReceivedCount() == kGlobalReplySize) {
        std::memcpy(destination, reply.data() + 9, kGlobalSize);
        ok = true;
    }
    return ok;
}

int VF1MIDI::ReceivePatch(const uint8_t** firstHalf, const uint8_t** secondHalf, bool toMemory, bool bankB,
                          int index) {
    std::string callError;
    std::string teardownError;
    bool load = false;
    if (OpenReception(4, rxPatch.data(), kPatchFileSize, callError))
        load = dialogs && dialogs->RunReceivePatch(*this, toMemory, bankB, index);
    // The reply is taken apart only once the input has stopped writing into it.
    CloseReception(Teardown::Patch, 4, teardownError);
    ReportRequeueFailure();
    if (!callError.empty()) {
        ShowMessage(Format(kCallError, callError.c_str(), "receive patch", "In"), MessageStyle::Error);
        return 0;
    }
    // A teardown error fails the transfer like any other: one message, the patch data untouched.
    if (!teardownError.empty()) {
        ShowMessage(Format(kReceiveFinishFailed, teardownError.c_str()), MessageStyle::Error);
        return 0;
    }
    if (!load) return -1;
    const int count = ReceivedCount();
    if (count != 410 && count != kPatchFileSize) {
        ShowMessage("Didn't receive the right number of bytes for a Patch.  Cancelling reception.",
                    MessageStyle::Error);
        return 0;
    }
    std::memcpy(msgBuffer.data(), rxPatch.data(), static_cast<size_t>(count));
    cursor = count == 410 ? 0 : 175;
    std::array<uint8_t, 9> scratchHeader{};
    uint8_t scratch = 0;
    uint8_t* first = patchData.data();
    uint8_t* second = patchData.data() + kHeaderHalfSize;
    ReadBack(scratchHeader.data(), 9).ReadBack(first, kHeaderHalfSize).ReadBack(second, 80);
    ReadBack(&scratch, 1).ReadBack(&scratch, 1);
    ReadBack(scratchHeader.data(), 9).ReadBack(second + 80, 144).ReadBack(&scratch, 1).ReadBack(&scratch, 1);
    *firstHalf = first;
    *secondHalf = second;
    return count;
}

int VF1MIDI::ReceiveBank(uint8_t* destination, int capacity) {
    std::string callError;
    std::string teardownError;
    bool load = false;
    if (OpenReception(kInputBufferCount, destination, capacity, callError))
        load = dialogs && dialogs->RunReceiveBank(*this, kBankImagesSize);
    CloseReception(Teardown::Bank, kInputBufferCount, teardownError);
    ReportRequeueFailure();
    if (!callError.empty()) {
        ShowMessage(Format(kCallError, callError.c_str(), "receive bank", "In"), MessageStyle::Error);
        return -1;
    }
    if (!teardownError.empty()) {
        ShowMessage(Format(kReceiveFinishFailed, teardownError.c_str()), MessageStyle::Error);
        return -1;
    }
    const int count = ReceivedCount();
    return load && count >= kBankImagesSize ? count : -1;
}

bool VF1MIDI::SendBank(const uint8_t* bank) {
    if (!outputOpen && !OpenOutput()) return false;
    int sent = 0;
    int patchesSent = 0;
    bool cancel = false;
    if (dialogs) dialogs->BeginSendBank(patchesSent, cancel);
    // Each chunk has a header of its own: the driver may still hold the last one when a chunk's
    // wait runs out at MIDI speed.
    std::vector<std::unique_ptr<MidiLongMessage>> chunks;
    std::string callError;
    auto& flags = SharedMidiFlags();
    while (sent < kBankFileSize && !cancel) {
        auto chunk = std::make_unique<MidiLongMessage>();
        chunk->data = bank + sent;
        chunk->size = static_cast<size_t>(std::min(11700, kBankFileSize - sent));
        int rc = driver->PrepareLong(*chunk);
        if (rc != kMidiOk) {
            callError = CallError("midiOutPrepareHeader()", rc);
            break;
        }
        flags.done = false;
        rc = driver->SendLong(*chunk);
        if (rc != kMidiOk) {
            driver->UnprepareLong(*chunk);
            callError = CallError("midiOutLongMsg()", rc);
            break;
        }
        for (int t = 0; (chunk->done.load() && t < 50) || (!chunk->done.load() && t < 1000); t += 50)
            SleepMs(50);
        sent += static_cast<int>(chunk->size);
        patchesSent += static_cast<int>(chunk->size) / kPatchImageSize;
        chunks.push_back(std::move(chunk));
        if (dialogs) dialogs->UpdateSendBank();
    }
    if (dialogs) dialogs->EndSendBank();
    bool unprepared = true;
    for (auto& c : chunks) unprepared = driver->UnprepareLong(*c) == kMidiOk && unprepared;
    if (!callError.empty()) {
        ShowMessage(Format(kCallError, callError.c_str(), "send bank", "Out"), MessageStyle::Error);
        return false;
    }
    if (!unprepared) {
        ShowMessage(Format(kSendFinishFailed, "midiOutUnprepareHeader()"), MessageStyle::Error);
        return false;
    }
    return true;
}
