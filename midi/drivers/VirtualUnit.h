#pragma once
// A stand-in for the unit: its patch memory, edit buffer and global block, answering the
// program's messages as the unit does. It runs inside the program (the built-in device) or as a
// separate process on a MIDI port ("quellin-cli emulate").

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "midi/SysExMessages.h"
#include "model/PatchLayout.h"

class VirtualUnit {
  public:
    // What the unit makes of one received message, for its log.
    struct Received {
        // A Control Change (the LFO's messages): status B0..BF, controller and value in bytes.
        bool controller = false;
        std::array<uint8_t, 3> bytes{};
        // A SysEx message.
        uint8_t command = 0;
        std::array<uint8_t, 3> address{};
        size_t length = 0;
        bool frameOk = false;
        bool checksumOk = false;
        // The status byte that ended the message before its F7 (0 when it ended with F7): such a
        // message is dropped, as the unit drops it.
        uint8_t endedBy = 0;
    };
    using Transmit = std::function<void(const uint8_t* bytes, size_t n)>;
    using Listener = std::function<void(const Received&)>;

    // bytesPerSecond 0 sends as fast as the transport takes it; 3125 is MIDI wire speed.
    explicit VirtualUnit(Transmit transmit, int bytesPerSecond = 3125, int deviceId = 0);
    ~VirtualUnit();
    VirtualUnit(const VirtualUnit&) = delete;
    VirtualUnit& operator=(const VirtualUnit&) = delete;

    void SetListener(Listener listener);
    void SetPacing(int bytesPerSecond) { pacing = bytesPerSecond; }

    // Bytes from the program, in any pieces.
    void Receive(const uint8_t* bytes, size_t n);

    // The unit's answers and hand-started transfers go out through the sender thread.
    void SendBankDump();
    void SendPatchByHand(int slot); // -1 = edit buffer
    // Blocks until everything queued has been sent.
    void Flush();

    // Memory access (a copy; safe from any thread).
    PatchData Patch(int slot) const; // -1 = edit buffer
    void SetPatch(int slot, const PatchData& data);
    std::array<uint8_t, kGlobalSize> Global() const;
    // The bank file of the unit's memory (202 images and the end-of-bulk message).
    std::vector<uint8_t> BankFile() const;
    bool LoadBankFile(const std::vector<uint8_t>& bytes);

    int GoodMessages() const { return good.load(); }
    int BadMessages() const { return bad.load(); }
    int ControllerMessages() const { return controllers.load(); }

  private:
    // What the log says of a message: its command, address and length.
    static Received Describe(const std::vector<uint8_t>& message);
    void Handle(const std::vector<uint8_t>& message);
    void HandleChannelByte(uint8_t b);
    // A message that a status byte ended before its F7: logged as bad, nothing stored or answered.
    void Drop(const std::vector<uint8_t>& message, uint8_t endedBy);
    void Report(const Received& info);
    void EnqueuePatchReply(const std::vector<uint8_t>& reply);
    void Enqueue(std::vector<uint8_t> bytes);
    void SenderLoop();
    // Patch memory slot for a 7-bit linear address, and the offset in it; false outside patches.
    bool Locate(int linear, int& slot, int& offset) const;

    Transmit transmit;
    std::atomic<int> pacing;
    int deviceId;
    Listener listener;

    mutable std::mutex memoryMutex;
    std::array<PatchData, kPatchCount> memory{};
    PatchData editBuffer{};
    std::array<uint8_t, kGlobalSize> global{};

    std::vector<uint8_t> incoming; // the message being gathered
    bool inMessage = false;
    // A channel message being gathered; status 0 when none (running status is kept).
    uint8_t channelStatus = 0;
    std::array<uint8_t, 2> channelData{};
    size_t channelCount = 0;
    std::atomic<int> good{0};
    std::atomic<int> bad{0};
    std::atomic<int> controllers{0};

    std::mutex sendMutex;
    std::condition_variable sendCv;
    std::deque<std::vector<uint8_t>> sendQueue;
    bool sending = false;
    bool stopping = false;
    std::thread sender;
};

// Fresh patch data of an algorithm with a name, as the program writes it.
PatchData FreshPatchData(int algorithmNumber, const std::string& name);
