#pragma once
// The process-wide MIDI object: the SysEx header template, the patch data and message buffers the
// exclusive messages are assembled in, and the transactions with the unit.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "midi/MidiDriver.h"
#include "model/RealTime.h"
#include "model/SysEx.h"
#include "model/VF1Patch.h"

class VF1Algorithm;
class VF1Effect;

class VF1MIDI : public RealTimeSink {
  public:
    static VF1MIDI& Instance();
    static void Release();

    // The driver the object talks to (not owned); tests install a recording driver.
    void SetOutputDriver(MidiOutputDriver* driver);
    void SetOutDevice(unsigned index);
    unsigned GetOutDevice() const { return outDevice; }
    void SetDeviceID(int id) { header[2] = static_cast<uint8_t>(id & 0xFF); }
    int GetDeviceID() const { return header[2]; }

    bool OpenOutput();
    void CloseOutput();
    bool IsOutputOpen() const { return outputOpen; }
    // Sends the first cursor bytes of msgBuffer as one long message.
    bool SendBuffer(bool longWait);

    VF1MIDI& Append(const uint8_t* bytes, int n);
    VF1MIDI& ReadBack(uint8_t* destination, int n);

    bool ParseImage(uint8_t* image, bool showError, bool fixChecksum);
    bool ParsePatchImage(const uint8_t** firstHalf, const uint8_t** secondHalf, uint8_t* image);
    bool BuildPatchImage(VF1Algorithm& algorithm, uint8_t* out);
    bool SavePatchFile(VF1Algorithm& algorithm, const std::string& path);
    bool LoadPatchFile(const std::string& path, const uint8_t** firstHalf, const uint8_t** secondHalf);
    void SetPatchData(VF1Algorithm& algorithm);
    void BuildTerminator(uint8_t* destination);

    bool SendParameter(int address, int value, int width) override;
    bool SendBlock(VF1Effect& block) override;

    const uint8_t* PatchData() const { return patchData.data(); }
    const uint8_t* MessageBuffer() const { return msgBuffer.data(); }
    int Cursor() const { return cursor; }

    // Assembles the single-patch file for an algorithm in msgBuffer (598 bytes).
    void BuildPatchFile(VF1Algorithm& algorithm);

  private:
    VF1MIDI();
    void SetAddress(uint8_t command, uint8_t a0, uint8_t a1, uint8_t a2);
    void AppendMessage(const uint8_t* body, int n); // header, body, checksum, F7
    void AppendPatchImage();                        // the three messages of patchData
    static void NoticeWait(std::atomic<bool>& flag);

    std::array<uint8_t, 9> header{
        kSysExStart, kManufacturerId, 0x00, kModelId1, kModelId2, kCommandDT1, 0, 0, 0};
    std::array<uint8_t, kPatchDataSize> patchData{};
    std::array<uint8_t, kPatchFileSize> msgBuffer{};
    uint8_t checksumByte = 0;
    const uint8_t endByte = kSysExEnd;
    int cursor = 0;
    MidiOutputDriver* outputDriver = nullptr;
    bool outputOpen = false;
    unsigned outDevice = 0;
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
