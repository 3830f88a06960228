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

void VF1MIDI::SetOutputDriver(MidiOutputDriver* driver) {
    if (driver != outputDriver) CloseOutput();
    outputDriver = driver;
}

void VF1MIDI::SetOutDevice(unsigned index) {
    if (index != outDevice) CloseOutput();
    outDevice = index;
}

void VF1MIDI::NoticeWait(std::atomic<bool>& flag) {
    int t = 0;
    while ((flag.load() && t < 20) || (!flag.load() && t < 200)) {
        SleepMs(20);
        t += 20;
    }
}

bool VF1MIDI::OpenOutput() {
    auto& flags = SharedMidiFlags();
    flags.opened = false;
    const int rc = outputDriver ? outputDriver->OpenOutput(outDevice,
                                                           [](int notice) {
                                                               auto& f = SharedMidiFlags();
                                                               if (notice == kMidiOutOpen) f.opened = true;
                                                               else if (notice == kMidiOutClose)
                                                                   f.closed = true;
                                                               else if (notice == kMidiOutDone) f.done = true;
                                                           })
                                : kMidiErrBadDevice;
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
    if (!outputOpen || outputDriver == nullptr) return;
    auto& flags = SharedMidiFlags();
    flags.closed = false;
    const int rc = outputDriver->CloseOutput();
    if (rc != kMidiOk) {
        ShowMessage(
            Format("Error closing opened MIDI output device - midiOutClose() rc = %d.\n\nYou may experience "
                   "MIDI issues until you restart the program or your MIDI device.",
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

    static MidiLongMessage message;
    message.data = msgBuffer.data();
    message.size = static_cast<size_t>(cursor);
    message.prepared = false;
    message.done = false;
    int rc = outputDriver->PrepareLong(message);
    if (rc != kMidiOk) {
        ShowMessage(Format(kSendFailed, Format("midiOutPrepareHeader(), rc = %d", rc).c_str()),
                    MessageStyle::Error);
        return false;
    }
    auto& flags = SharedMidiFlags();
    flags.done = false;
    rc = outputDriver->SendLong(message);
    if (rc != kMidiOk) {
        ShowMessage(Format(kSendFailed, Format("midiOutLongMsg(), rc = %d", rc).c_str()),
                    MessageStyle::Error);
        outputDriver->UnprepareLong(message);
        return false;
    }
    for (int t = 0;;) {
        if (flags.done.load() ? t >= settle : t >= limit) break;
        SleepMs(10);
        t += 10;
    }
    if (!message.done.load())
        ShowMessage(
            "Incomprehensible error!  midiOutLongMsg() returned OK and MOM_DONE was received, but the "
            "MIDIHDR's MHDR_DONE flagwasn't sent.  Attempting to ignore and continue...",
            MessageStyle::Warning);
    rc = outputDriver->UnprepareLong(message);
    if (rc != kMidiOk) {
        ShowMessage(
            Format("Error finishing MIDI send, in call %s.  You may be unable to perform any more MIDI "
                   "transfers until you restart the program or your MIDI device.",
                   "midiOutUnprepareHeader()"),
            MessageStyle::Error);
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
