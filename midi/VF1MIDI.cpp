#include "midi/VF1MIDI.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "model/FileIO.h"
#include "model/PatchImage.h"
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

void VF1MIDI::SetMessage(std::span<const uint8_t> bytes) {
    cursor = 0;
    Append(bytes.data(), static_cast<int>(bytes.size()));
}

namespace {
// Why an image was refused: its frame, or, in an image whose frame is right, the bytes the unit
// would take as the end of a message.
void ShowParseError(std::span<const uint8_t, kPatchImageSize> image) {
    const std::vector<int> stray = ImageFramesOk(image) ? StrayStatusBytes(image) : std::vector<int>{};
    if (stray.empty()) ShowMessage(kFormattingError, MessageStyle::Error);
    else
        ShowMessage(Format("%s\n\nData bytes are 00H to 7FH; these are not: %s.", kFormattingError,
                           StrayBytesText(image, stray).c_str()),
                    MessageStyle::Error);
}
} // namespace

bool VF1MIDI::ParseImage(uint8_t* image, bool showError, bool fixChecksum) {
    cursor = 0;
    Append(image, kPatchImageSize);
    // Parsing reads the caller's image and repairs only its message 1; the header template stays.
    const bool ok =
        ParseImageData(std::span<uint8_t, kPatchImageSize>(image, kPatchImageSize), fixChecksum, patchData);
    if (!ok && showError) ShowParseError(std::span<const uint8_t, kPatchImageSize>(image, kPatchImageSize));
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

bool VF1MIDI::BuildPatchImage(VF1Algorithm& algorithm, uint8_t* out) {
    SetPatchData(algorithm);
    const PatchImage image = PatchImageMessages(patchData, kEditBufferAddress, GetDeviceID());
    SetMessage(image);
    std::memcpy(out, image.data(), kPatchImageSize);
    return true;
}

bool VF1MIDI::SavePatchFile(VF1Algorithm& algorithm, const std::string& path) {
    SetPatchData(algorithm);
    SetMessage(PatchFileMessages(patchData, GetDeviceID()));
    return WriteFileReplacing(path, msgBuffer);
}

bool VF1MIDI::LoadPatchFile(const std::string& path, const uint8_t** firstHalf, const uint8_t** secondHalf) {
    PatchFileBytes bytes{};
    return ReadCheckedPatchFile(path, bytes) && ParsePatchImage(firstHalf, secondHalf, bytes.data());
}

bool VF1MIDI::ReadCheckedPatchFile(const std::string& path, PatchFileBytes& bytes) {
    return ReadPatchFile(path, bytes) && CheckPatchFile(bytes);
}

bool VF1MIDI::CheckPatchFile(const PatchFileBytes& bytes) {
    // Taking the image apart checks its frames; the copy leaves the file's bytes as they are.
    PatchFileBytes scratch = bytes;
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    if (!ParsePatchImage(&first, &second, scratch.data())) return false;
    if (!IsClosingMessage(
            std::span<const uint8_t, kTerminatorSize>(bytes.data() + kPatchImageSize, kTerminatorSize))) {
        ShowMessage(kFormattingError, MessageStyle::Error);
        return false;
    }
    return true;
}

void VF1MIDI::BuildTerminator(uint8_t* destination) {
    const ClosingMessageBytes end = EndOfBulkMessage(GetDeviceID());
    std::memcpy(destination, end.data(), end.size());
}

bool VF1MIDI::SendParameter(int address, int value, int width) {
    SetMessage(ParameterMessage(address, value, width, GetDeviceID()));
    return SendBuffer(false);
}

bool VF1MIDI::SendBlock(VF1Effect& block) {
    // The stream half of patchData serves as scratch space for the block's bytes.
    PatchStream stream(patchData.data() + kHeaderHalfSize, kStreamHalfSize);
    const int n = block.WriteStream(stream);
    SetMessage(BlockMessage(
        block.GetAddress(),
        std::span<const uint8_t>(patchData.data() + kHeaderHalfSize, static_cast<size_t>(n)), GetDeviceID()));
    return SendBuffer(false);
}

namespace {
constexpr const char* kCallError =
    "Error in MIDI call %s.\n\nUnable to %s.  Make sure you've selected a valid MIDI %s Device.";

std::string CallError(const char* call, int rc) {
    return Format("%s, rc = %d", call, rc);
}
} // namespace

bool VF1MIDI::SendPatch(bool toMemory, bool bankB, int index) {
    SetMessage(
        PatchSendMessages(patchData, PatchStartAddress(toMemory, bankB, index), toMemory, GetDeviceID()));
    return SendBuffer(true);
}

bool VF1MIDI::RequestPatch(bool toMemory, bool bankB, int index) {
    SetMessage(PatchRequestMessage(PatchStartAddress(toMemory, bankB, index), GetDeviceID()));
    return SendBuffer(false);
}

bool VF1MIDI::SetGlobal(const uint8_t* global) {
    SetMessage(GlobalMessage(std::span<const uint8_t, kGlobalSize>(global, kGlobalSize), GetDeviceID()));
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
        SetMessage(GlobalRequestMessage(GetDeviceID()));
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
        std::memcpy(destination, reply.data() + kMessageHeaderSize, kGlobalSize);
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
    if (!load) return kReceiveCancelled;
    const int count = ReceivedCount();
    if (!PatchReceived(count)) {
        ShowMessage("Didn't receive the right number of bytes for a Patch.  Cancelling reception.",
                    MessageStyle::Error);
        return 0;
    }
    // A 598-byte dump has the single-patch file's layout: its first message is skipped, and the
    // closing message behind the last two is ignored.
    std::memcpy(msgBuffer.data(), rxPatch.data(), static_cast<size_t>(count));
    cursor = count == kPatchReplySize ? 0 : kImageMessage2.start;
    ReplyToPatchData(std::span<const uint8_t, kPatchReplySize>(msgBuffer.data() + cursor, kPatchReplySize),
                     patchData);
    cursor += kPatchReplySize;
    *firstHalf = patchData.data();
    *secondHalf = patchData.data() + kHeaderHalfSize;
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
        return kReceiveCancelled;
    }
    if (!teardownError.empty()) {
        ShowMessage(Format(kReceiveFinishFailed, teardownError.c_str()), MessageStyle::Error);
        return kReceiveCancelled;
    }
    const int count = ReceivedCount();
    return load && BankReceived(count) ? count : kReceiveCancelled;
}

bool VF1MIDI::SendBank(const uint8_t* bank) {
    // A slot that would reach the unit as a broken message leaves it a mix of old and new data.
    if (!CheckBankImages(std::span<const uint8_t>(bank, kBankImagesSize), "The bank was not sent."))
        return false;
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
