#pragma once
// MIDI ports of one RtMidi API (ALSA or JACK on Linux) as a driver. Device names carry the API
// ("ALSA: ...", "JACK: ..."). An API that cannot start on this machine (no sequencer device, no
// JACK server) lists no devices and says nothing.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "midi/MidiDriver.h"
#include "midi/drivers/MidiInputQueue.h"
#include "midi/drivers/MidiStreamPlayer.h"

class RtMidiIn;
class RtMidiOut;

// Hands SysEx bytes to an RtMidi output one message at a time, no faster than the transport
// carries them: RtMidi's JACK output drops what does not fit its ring buffer and one cycle.
class PacedSender {
  public:
    // errorFlag is set by the output's error callback when RtMidi refuses a message.
    PacedSender(RtMidiOut& out, std::atomic<bool>& errorFlag, int bytesPerSecond = 256 * 1024,
                int burstBytes = 4096);
    // Sends every complete F0..F7 message in bytes; false when the port refused one.
    bool Send(const uint8_t* bytes, size_t n);

  private:
    void Pace(size_t n);

    RtMidiOut& out;
    std::atomic<bool>& errorFlag;
    double rate;
    double burst;
    double tokens;
    std::chrono::steady_clock::time_point last;
};

class RtMidiBackend : public MidiDriver {
  public:
    // api: an RtMidi::Api value; prefix: "ALSA" or "JACK".
    RtMidiBackend(int api, std::string prefix);
    ~RtMidiBackend() override;

    bool Available() const { return available; }

    std::vector<std::string> OutDeviceNames() override;
    int OpenOutput(unsigned device, MidiOutputDriver::Callback callback) override;
    int CloseOutput() override;
    int PrepareLong(MidiLongMessage& message) override;
    int SendLong(MidiLongMessage& message) override;
    int UnprepareLong(MidiLongMessage& message) override;
    int OpenStream(unsigned device, MidiOutputDriver::Callback callback) override;
    int CloseStream() override;
    MidiStream* OpenedStream() override { return stream.IsOpen() ? &stream : nullptr; }

    std::vector<std::string> InDeviceNames() override;
    int OpenInput(unsigned device, MidiInputDriver::Callback callback) override;
    int PrepareInput(MidiInBuffer& buffer) override { return input.Prepare(buffer); }
    int AddBuffer(MidiInBuffer& buffer) override { return input.Add(buffer); }
    int StartInput() override { return input.Start(); }
    int StopInput() override { return input.Stop(); }
    int ResetInput() override { return input.Reset(); }
    int UnprepareInput(MidiInBuffer& buffer) override { return input.Unprepare(buffer); }
    int CloseInput() override;

    // Port names without the prefix, as RtMidi lists them now.
    std::vector<std::string> RawOutPorts();
    std::vector<std::string> RawInPorts();

  private:
    void SenderLoop();
    int FindPort(bool output, unsigned device);

    int api;
    std::string prefix;
    std::atomic<bool> outError{false};
    std::atomic<bool> inError{false};
    bool available = false;
    std::unique_ptr<RtMidiOut> out;
    std::unique_ptr<RtMidiIn> in;
    std::vector<std::string> listedOut;
    std::vector<std::string> listedIn;

    MidiOutputDriver::Callback outputCallback;
    bool outputOpen = false;
    std::unique_ptr<PacedSender> paced;
    std::mutex sendMutex;
    std::condition_variable sendCv;
    struct Pending {
        std::vector<uint8_t> bytes;
        MidiLongMessage* message; // null once the caller has taken it back
    };
    std::deque<Pending> sendQueue;
    MidiLongMessage* inFlight = nullptr;
    bool stopSender = false;
    std::thread sender;

    // The stream plays through a client of its own.
    std::unique_ptr<RtMidiOut> streamOut;
    std::atomic<bool> streamError{false};
    MidiStreamPlayer stream;

    MidiInputQueue input;
    bool inputOpen = false;
};

// RtMidi prints some start-up warnings to std::cerr before an error callback can be installed:
// they go nowhere while one of these lives.
class CerrSilencer {
  public:
    CerrSilencer();
    ~CerrSilencer();
    CerrSilencer(const CerrSilencer&) = delete;
    CerrSilencer& operator=(const CerrSilencer&) = delete;

  private:
    std::ostringstream sink;
    std::streambuf* old;
};

// Keeps the JACK and ALSA libraries' own warnings off stderr; failures reach the program as the
// result codes of driver calls. Called before any RtMidi object exists.
void QuietMidiLibraries();
// Installs an error callback on an RtMidi object that sets flag instead of printing or throwing.
void RouteErrors(RtMidiOut& out, std::atomic<bool>& flag);
void RouteErrors(RtMidiIn& in, std::atomic<bool>& flag);
