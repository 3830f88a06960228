#pragma once
// Every MIDI device the program can use, in one list per direction: the ports of each RtMidi API
// this build has (ALSA, then JACK), then the built-in virtual unit. The order is stable for a
// given set of ports, because the settings file stores indexes.

#include <memory>
#include <string>
#include <vector>

#include "midi/MidiDriver.h"

class VirtualUnitDriver;

class MidiSystem : public MidiDriver {
  public:
    // withHardware false lists only the built-in virtual unit (tests).
    explicit MidiSystem(bool withHardware = true);
    ~MidiSystem() override;

    // Lists the ports anew (the device-name calls do too).
    void Refresh();
    VirtualUnitDriver& Virtual() { return *virtualUnit; }
    // Whether a device of the lists is the built-in virtual unit rather than a port.
    bool IsVirtualOut(unsigned device) const;
    bool IsVirtualIn(unsigned device) const;

    std::vector<std::string> OutDeviceNames() override;
    int OpenOutput(unsigned device, MidiOutputDriver::Callback callback) override;
    int CloseOutput() override;
    int PrepareLong(MidiLongMessage& message) override;
    int SendLong(MidiLongMessage& message) override;
    int UnprepareLong(MidiLongMessage& message) override;
    int OpenStream(unsigned device, MidiOutputDriver::Callback callback) override;
    int CloseStream() override;
    MidiStream* OpenedStream() override { return openStream ? openStream->OpenedStream() : nullptr; }

    std::vector<std::string> InDeviceNames() override;
    int OpenInput(unsigned device, MidiInputDriver::Callback callback) override;
    int PrepareInput(MidiInBuffer& buffer) override;
    int AddBuffer(MidiInBuffer& buffer) override;
    int StartInput() override;
    int StopInput() override;
    int ResetInput() override;
    int UnprepareInput(MidiInBuffer& buffer) override;
    int CloseInput() override;

  private:
    void ListOutputs();
    void ListInputs();

    struct Entry {
        MidiDriver* driver;
        unsigned index; // within the driver
    };

    std::vector<std::unique_ptr<MidiDriver>> backends; // RtMidi APIs, then the virtual unit
    VirtualUnitDriver* virtualUnit = nullptr;
    std::vector<std::string> outNames, inNames;
    std::vector<Entry> outEntries, inEntries;
    MidiDriver* openOut = nullptr;
    MidiDriver* openStream = nullptr;
    MidiDriver* openIn = nullptr;
};
