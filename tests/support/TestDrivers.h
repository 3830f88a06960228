#pragma once
// Test doubles for the MIDI layer: a scriptable driver that records what the program sends and
// delivers what a test makes the unit answer, and a stand-in for the transfer dialogs.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "midi/MidiDriver.h"
#include "midi/TransferDialogs.h"
#include "midi/drivers/MidiInputQueue.h"
#include "midi/drivers/MidiStreamPlayer.h"

// A MIDI device under the test's control. Every long message sent is recorded; any call can be
// made to fail with a result code; done notices come at once, late or never; replies are
// delivered from a thread of the driver's own, in pieces of any size.
class RecordingDriver : public MidiDriver {
  public:
    // The output's calls, then the input's.
    enum class Call {
        OpenOut,
        CloseOut,
        Prepare,
        Send,
        Unprepare,
        OpenIn,
        PrepareIn,
        AddBuffer,
        StartIn,
        StopIn,
        ResetIn,
        UnprepareIn,
        CloseIn,
        OpenStream,
        CloseStream,
        StreamPrepare,
        StreamOut,
        StreamRestart,
        StreamPause,
        StreamUnprepare
    };
    // A short message the stream played, with the time it left.
    struct Played {
        std::chrono::steady_clock::time_point at;
        std::vector<uint8_t> bytes;
    };
    enum class Done { Immediate, Delayed, Never, NoticeOnly }; // NoticeOnly: notice without done bit

    RecordingDriver();
    ~RecordingDriver() override;

    // Makes the call return rc from its fromUse-th use on (1 = every use).
    void Fail(Call call, int rc, int fromUse = 1);
    // The device goes away: every later call fails with kMidiErrNoDriver, nothing arrives.
    void Unplug();
    void SetDone(Done mode, int delayMs = 0);
    // Runs on every long message sent, on the caller's thread; may answer with Reply.
    void OnSend(std::function<void(const std::vector<uint8_t>&)> hook);
    // Delivers bytes from the driver's input thread after delayMs, in pieces of the given sizes
    // (repeated; empty = all in one piece).
    void Reply(std::vector<uint8_t> bytes, std::vector<size_t> pieces = {}, int delayMs = 0);
    // Delivers bytes at once on the caller's thread.
    void Deliver(const std::vector<uint8_t>& bytes, const std::vector<size_t>& pieces = {});
    void WaitForReplies();

    std::vector<std::vector<uint8_t>> Sent() const;
    std::vector<Played> StreamPlayed() const;
    std::vector<Call> Calls() const;
    int Uses(Call call) const;

    std::vector<std::string> outNames{"Test Out", kInvalidDeviceName};
    std::vector<std::string> inNames{"Test In", kInvalidDeviceName};

    std::vector<std::string> OutDeviceNames() override { return outNames; }
    int OpenOutput(unsigned device, MidiOutputDriver::Callback callback) override;
    int CloseOutput() override;
    int PrepareLong(MidiLongMessage& message) override;
    int SendLong(MidiLongMessage& message) override;
    int UnprepareLong(MidiLongMessage& message) override;
    int OpenStream(unsigned device, MidiOutputDriver::Callback callback) override;
    int CloseStream() override;
    MidiStream* OpenedStream() override { return stream.IsOpen() ? &stream : nullptr; }

    std::vector<std::string> InDeviceNames() override { return inNames; }
    int OpenInput(unsigned device, MidiInputDriver::Callback callback) override;
    int PrepareInput(MidiInBuffer& buffer) override;
    int AddBuffer(MidiInBuffer& buffer) override;
    int StartInput() override;
    int StopInput() override;
    int ResetInput() override;
    int UnprepareInput(MidiInBuffer& buffer) override;
    int CloseInput() override;

  private:
    struct Fault {
        Call call;
        int rc;
        int fromUse;
    };
    // Logs the call and gives the result code it is scripted to return (0 for none).
    int Enter(Call call);
    void JoinDoneThreads();

    mutable std::mutex mutex; // the log and the script: AddBuffer also runs on the input thread
    std::vector<Call> calls;
    std::vector<Fault> faults;
    std::vector<std::vector<uint8_t>> sent;
    std::atomic<bool> unplugged{false};
    Done done = Done::Immediate;
    int doneDelayMs = 0;
    std::function<void(const std::vector<uint8_t>&)> onSend;

    // The stream's calls go through the script too.
    class Stream : public MidiStreamPlayer {
      public:
        explicit Stream(RecordingDriver& d) : driver(d) {}
        int Prepare(MidiStreamBuffer& buffer) override;
        int Out(MidiStreamBuffer& buffer) override;
        int Restart() override;
        int Pause() override;
        int Unprepare(MidiStreamBuffer& buffer) override;

      private:
        RecordingDriver& driver;
    };

    MidiOutputDriver::Callback outputCallback;
    bool outputOpen = false;
    Stream stream{*this};
    std::vector<Played> played;
    std::vector<std::thread> doneThreads;
    MidiInputQueue input;
    std::vector<std::thread> replyThreads;
};

// The receive dialogs and the bank-send progress as a script: Load or Cancel once a number of
// bytes has arrived (or a time has passed), cancel after a number of bank chunks.
class ScriptedTransfers : public TransferDialogs {
  public:
    bool load = true;
    int waitForBytes = 0; // the dialog stays open until this many bytes arrived...
    int timeoutMs = 5000; // ...or this long
    int cancelAfterChunks = -1;
    std::function<void()> onOpen;    // runs as the dialog opens (after the request went out)
    std::function<void()> whileOpen; // runs once the bytes arrived, before the dialog ends

    int opened = 0;        // receive dialogs run
    int expectedBytes = 0; // what ReceiveBank told its dialog
    int countAtEnd = -1;   // the counter the user saw last
    std::vector<int> progress;
    bool sendBankOpen = false;

    bool RunReceivePatch(VF1MIDI& midi, bool toMemory, bool bankB, int index) override;
    bool RunReceiveBank(VF1MIDI& midi, int expected) override;
    void BeginSendBank(const int& patchesSent, bool& cancel) override;
    void UpdateSendBank() override;
    void EndSendBank() override;

  private:
    bool Wait(VF1MIDI& midi);

    const int* patches = nullptr;
    bool* cancelFlag = nullptr;
};
