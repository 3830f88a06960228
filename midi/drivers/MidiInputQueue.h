#pragma once
// The input half every driver shares: the buffers the caller queued, and the gathering of
// incoming SysEx bytes into them. Bytes may arrive in any pieces (single bytes, odd sizes, many
// messages at once); each buffer goes back when it is full or a message has ended, exactly as
// if the bytes had come in one by one.

#include <deque>
#include <mutex>

#include "midi/MidiDriver.h"

class MidiInputQueue {
  public:
    void Open(MidiInputDriver::Callback callback);
    int Prepare(MidiInBuffer& buffer);
    int Add(MidiInBuffer& buffer);
    int Start();
    int Stop();
    int Reset();
    int Unprepare(MidiInBuffer& buffer);
    int Close();
    bool IsOpen() const;
    size_t QueuedCount() const;

    // Driver side: bytes as they arrived. Everything outside F0..F7 is dropped, as are real-time
    // bytes inside a message.
    void Deliver(const uint8_t* bytes, size_t n);

  private:
    MidiInBuffer* TakeBuffer();
    void HandBack(MidiInBuffer* buffer, int bytes);

    mutable std::mutex mutex; // queue and state; never held while the callback runs
    std::mutex deliverMutex;  // one delivery at a time; Close waits for the one in progress
    std::deque<MidiInBuffer*> queue;
    MidiInBuffer* current = nullptr;
    size_t fill = 0;
    bool inSysEx = false;
    bool started = false;
    bool open = false;
    MidiInputDriver::Callback callback;
};
