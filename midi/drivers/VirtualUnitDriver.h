#pragma once
// The built-in device: a virtual unit inside the program, listed as "Quellin virtual VF-1"
// among the Out and the In devices. Messages sent to it are handled at once; its answers come
// back at MIDI wire speed by default. A bank reception (sixteen input buffers queued) makes it
// start a bank dump half a second after the input starts, as a user pressing ENTER on the unit.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "midi/MidiDriver.h"
#include "midi/drivers/MidiInputQueue.h"
#include "midi/drivers/MidiStreamPlayer.h"
#include "midi/drivers/VirtualUnit.h"

inline constexpr const char* kVirtualDeviceName = "Quellin virtual VF-1";

class VirtualUnitDriver : public MidiDriver {
  public:
    explicit VirtualUnitDriver(int bytesPerSecond = 3125);
    ~VirtualUnitDriver() override;

    std::vector<std::string> OutDeviceNames() override { return {kVirtualDeviceName}; }
    int OpenOutput(unsigned device, MidiOutputDriver::Callback callback) override;
    int CloseOutput() override;
    int PrepareLong(MidiLongMessage& message) override;
    int SendLong(MidiLongMessage& message) override;
    int UnprepareLong(MidiLongMessage& message) override;
    int OpenStream(unsigned device, MidiOutputDriver::Callback callback) override;
    int CloseStream() override { return stream.Close(); }
    MidiStream* OpenedStream() override { return stream.IsOpen() ? &stream : nullptr; }

    std::vector<std::string> InDeviceNames() override { return {kVirtualDeviceName}; }
    int OpenInput(unsigned device, MidiInputDriver::Callback callback) override;
    int PrepareInput(MidiInBuffer& buffer) override { return input.Prepare(buffer); }
    int AddBuffer(MidiInBuffer& buffer) override { return input.Add(buffer); }
    int StartInput() override;
    int StopInput() override { return input.Stop(); }
    int ResetInput() override { return input.Reset(); }
    int UnprepareInput(MidiInBuffer& buffer) override { return input.Unprepare(buffer); }
    int CloseInput() override;

    VirtualUnit& Unit();
    void SetPacing(int bytesPerSecond);
    // Delay between a bank reception's start and the unit's dump; negative: never by itself.
    void SetDumpDelayMs(int ms) { dumpDelayMs = ms; }

  private:
    void CancelDump();

    int pacing;
    int dumpDelayMs = 500;
    std::unique_ptr<VirtualUnit> unit;
    std::mutex unitMutex;
    bool outputOpen = false;
    MidiOutputDriver::Callback outputCallback;
    MidiStreamPlayer stream;
    MidiInputQueue input;

    std::mutex dumpMutex;
    std::condition_variable dumpCv;
    bool dumpCancelled = false;
    std::thread dumpTimer;
};
