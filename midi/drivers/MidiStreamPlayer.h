#pragma once
// The drivers' stream (midi/MidiStream.h): plays queued buffers on a thread of its own, each event
// at its deadline on the steady clock, counted from the moment the stream was started, so however
// long sending takes, the stream does not drift: late events go out at once and the next ones are
// on time again. Only a stream more than a second behind starts again from the present. A driver
// owns one and hands it the function that puts a message on its port.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "midi/MidiStream.h"

class MidiStreamPlayer : public MidiStream {
  public:
    using Clock = std::chrono::steady_clock;
    // Puts one short message on the port; false if the port refused it.
    using Send = std::function<bool(const uint8_t* bytes, size_t n)>;
    using Callback = std::function<void(int notice)>;

    MidiStreamPlayer() = default;
    ~MidiStreamPlayer() override;
    MidiStreamPlayer(const MidiStreamPlayer&) = delete;
    MidiStreamPlayer& operator=(const MidiStreamPlayer&) = delete;

    // For the driver: starts the player, paused, and reports the open notice.
    int Open(Send send, Callback callback);
    // Drops every queued buffer, ends the player and reports the close notice; no callback runs
    // once this has returned.
    int Close();
    bool IsOpen() const { return open; }

    int SetTimeDivision(uint32_t ticksPerQuarter) override;
    int SetTempo(uint32_t microsPerQuarter) override;
    int Prepare(MidiStreamBuffer& buffer) override;
    int Out(MidiStreamBuffer& buffer) override;
    int Restart() override;
    int Pause() override;
    int Unprepare(MidiStreamBuffer& buffer) override;

    // Bytes of the short message that starts with status (0 for a data byte).
    static size_t ShortMessageLength(uint8_t status);

  private:
    struct Job {
        std::vector<MidiStreamEvent> events;
        MidiStreamBuffer* buffer;
        size_t next = 0;
    };

    void Run();
    // The deadline of a tick on the stream's clock.
    Clock::time_point TimeOf(uint64_t tick) const;
    void Play(uint32_t event);
    void Notify(int notice);
    // Sets the time division or the tempo, keeping the present position.
    int SetClock(uint32_t& property, uint32_t value);
    // Keeps the present position when the clock's rate changes.
    void Rebase();

    Send send;
    Callback callback;
    bool open = false;

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> queue;
    bool closing = false;
    bool paused = true;
    bool started = false;
    uint32_t division = 960;
    uint32_t tempo = 500000;
    uint64_t tick = 0;       // the tick of the last event played
    uint64_t originTick = 0; // the tick that falls on origin
    Clock::time_point origin;
    Clock::time_point pausedAt;
    std::thread player;
};
