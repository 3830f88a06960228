#pragma once
// The process-wide MIDI object: the SysEx header template, the patch data and message buffers the
// exclusive messages are assembled in, the output and input ports, and every transaction with
// the unit.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiDriver.h"
#include "midi/SysExMessages.h"
#include "midi/TransferDialogs.h"
#include "model/PatchImage.h"
#include "model/PatchLayout.h"
#include "model/RealTime.h"

class VF1Algorithm;
class VF1Effect;

inline constexpr int kInputBufferCount = 16;
inline constexpr int kBankReceiveCapacity = 119183;

// What ReceivePatch and ReceiveBank give back.
inline constexpr int kReceiveCancelled = -1;
// ReceivePatch: a dump of 410 or 598 bytes was taken apart into the patch data.
constexpr bool PatchReceived(int result) {
    return result == kPatchReplySize || result == kPatchFileSize;
}
// ReceivePatch: the user cancelled (or, in the tool, the time ran out); 0 is a failure.
constexpr bool ReceiveCancelled(int result) {
    return result == kReceiveCancelled;
}
// ReceiveBank: at least the 202 images arrived; the result is then the byte count.
constexpr bool BankReceived(int result) {
    return result >= kBankImagesSize;
}

class VF1MIDI : public RealTimeSink {
  public:
    static VF1MIDI& Instance();
    static void Release();

    // The driver the object talks to (not owned) and whoever waits on the user.
    void SetDriver(MidiDriver* driver);
    MidiDriver* GetDriver() const { return driver; }
    void SetDialogs(TransferDialogs* dialogs_) { dialogs = dialogs_; }
    void SetLFODialog(LfoControl* lfo) { lfoDialog = lfo; }
    LfoControl* GetLFODialog() const { return lfoDialog; }

    int GetNumInDevs();
    int GetNumOutDevs();
    std::vector<std::string> GetInDevNames();
    std::vector<std::string> GetOutDevNames();
    void SetOutDevice(unsigned index);
    unsigned GetOutDevice() const { return outDevice; }
    void SetInDevice(unsigned index) { inDevice = index; }
    unsigned GetInDevice() const { return inDevice; }
    void SetDeviceID(int id) { header[kDeviceIdByte] = static_cast<uint8_t>(id & 0xFF); }
    int GetDeviceID() const { return header[kDeviceIdByte]; }

    bool OpenOutput();
    void CloseOutput();
    bool IsOutputOpen() const { return outputOpen; }
    // Sends the first cursor bytes of msgBuffer as one long message.
    bool SendBuffer(bool longWait);

    VF1MIDI& Append(const uint8_t* bytes, int n);
    VF1MIDI& ReadBack(uint8_t* destination, int n);

    // Patch images and files: taken apart and built by the functions of model/PatchImage.h and
    // midi/SysExMessages.h, in patchData and msgBuffer.
    bool ParseImage(uint8_t* image, bool showError, bool fixChecksum);
    bool ParsePatchImage(const uint8_t** firstHalf, const uint8_t** secondHalf, uint8_t* image);
    bool BuildPatchImage(VF1Algorithm& algorithm, uint8_t* out);
    bool SavePatchFile(VF1Algorithm& algorithm, const std::string& path);
    bool LoadPatchFile(const std::string& path, const uint8_t** firstHalf, const uint8_t** secondHalf);
    // Reads a single-patch file and checks it as LoadPatchFile does (its size, the frames of its
    // three messages, its closing message), with the same messages; the bytes as they are.
    bool ReadCheckedPatchFile(const std::string& path, PatchFileBytes& bytes);
    // ReadCheckedPatchFile's checks on a file's bytes already read.
    bool CheckPatchFile(const PatchFileBytes& bytes);

    // Transactions with the unit.
    void SetPatchData(VF1Algorithm& algorithm);
    bool SendPatch(bool toMemory, bool bankB, int index);
    bool RequestPatch(bool toMemory, bool bankB, int index);
    int ReceivePatch(const uint8_t** firstHalf, const uint8_t** secondHalf, bool toMemory, bool bankB,
                     int index);
    bool SendBlock(VF1Effect& block) override;
    bool SendParameter(int address, int value, int width) override;
    bool SetGlobal(const uint8_t* global);
    bool GetGlobal(uint8_t* destination);
    bool SendBank(const uint8_t* bank);
    int ReceiveBank(uint8_t* destination, int capacity);
    void BuildTerminator(uint8_t* destination);

    // The reception counter the transfer dialogs show.
    int ReceivedCount() const { return rxCount.load(std::memory_order_acquire); }
    void ResetReceivedCount() { rxCount.store(0, std::memory_order_release); }

    const uint8_t* PatchData() const { return patchData.data(); }
    const uint8_t* MessageBuffer() const { return msgBuffer.data(); }
    int Cursor() const { return cursor; }

  private:
    VF1MIDI();
    // Puts the bytes of an outgoing message (or several) in msgBuffer, from its start.
    void SetMessage(std::span<const uint8_t> bytes);

    // The reception frame: opens the input, queues n buffers and starts it; callError receives the
    // failing call's text.
    bool OpenReception(int buffers, uint8_t* destination, int capacity, std::string& callError);
    enum class Teardown { Global, Patch, Bank };
    // Stops, resets and closes the input in the transaction's order; the failing step's name goes
    // to teardownError.
    void CloseReception(Teardown order, int buffers, std::string& teardownError);
    void InputCallback(int notice, MidiInBuffer* buffer);
    void RequeueInputBuffer(int index);
    void ReportRequeueFailure();

    // The header template keeps the configured device ID, which every message is built with.
    std::array<uint8_t, kMessageHeaderSize> header{
        kSysExStart, kManufacturerId, 0x00, kModelId1, kModelId2, kCommandDT1, 0, 0, 0};
    std::array<uint8_t, kPatchDataSize> patchData{};
    std::array<uint8_t, kPatchFileSize> msgBuffer{};
    int cursor = 0;
    bool inputOpen = false;
    bool outputOpen = false;
    unsigned outDevice = 0;
    unsigned inDevice = 0;
    LfoControl* lfoDialog = nullptr;
    std::array<MidiInBuffer, kInputBufferCount> inBuffers;

    MidiDriver* driver = nullptr;
    TransferDialogs* dialogs = nullptr;
    MidiLongMessage outMessage;

    // Shared with the driver's callback thread.
    std::atomic<uint8_t*> rxDest{nullptr};
    std::atomic<int> rxCapacity{0};
    std::atomic<int> rxCount{0};
    std::atomic<int> requeueFailure{0};
    // Where a patch reply is gathered: kept apart from msgBuffer, in which the request is built.
    std::array<uint8_t, kPatchFileSize> rxPatch{};
};

// Flags the driver callbacks set; the user-interface thread clears each before the call that
// will set it and polls.
struct MidiFlags {
    std::atomic<bool> opened{false};
    std::atomic<bool> closed{false};
    std::atomic<bool> done{false};
};
MidiFlags& SharedMidiFlags();

void SleepMs(int ms);
