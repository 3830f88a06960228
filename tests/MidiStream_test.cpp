// The drivers' timed output: buffers played at their ticks from the moment the stream starts,
// without drift, reported done one by one; and the built-in unit taking the Control Changes.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "midi/MidiDriver.h"
#include "midi/drivers/MidiStreamPlayer.h"
#include "midi/drivers/VirtualUnit.h"
#include "midi/drivers/VirtualUnitDriver.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// A Control Change on channel 1, controller 1, with a position callback.
MidiStreamEvent Cc(uint32_t delta, int value) {
    return {delta, 0, kStreamEventCallback | static_cast<uint32_t>(value) << 16 | 0x01u << 8 | 0xB0u};
}

// A stream on a port that notes when each message left and what it was, and the notices.
class StreamHarness {
  public:
    explicit StreamHarness(int slowEvery = 0, int slowMs = 0) {
        stream.Open(
            [this, slowEvery, slowMs](const uint8_t* bytes, size_t n) {
                std::lock_guard lock(mutex);
                sent.push_back({Clock::now(), std::vector<uint8_t>(bytes, bytes + n)});
                // Some sends take longer than the time between events.
                if (slowEvery > 0 && sent.size() % static_cast<size_t>(slowEvery) == 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(slowMs));
                return true;
            },
            [this](int notice) {
                std::lock_guard lock(mutex);
                notices.push_back(notice);
            });
        // 1000 ticks per second: 1000 ticks per quarter note at 1 s per quarter note.
        stream.SetTimeDivision(1000);
        stream.SetTempo(1000000);
    }

    // The stream reports its close into the members below: it goes first.
    ~StreamHarness() { stream.Close(); }

    struct Sent {
        Clock::time_point at;
        std::vector<uint8_t> bytes;
    };
    std::vector<Sent> Messages() {
        std::lock_guard lock(mutex);
        return sent;
    }
    int Count(int notice) {
        std::lock_guard lock(mutex);
        return static_cast<int>(std::count(notices.begin(), notices.end(), notice));
    }
    bool WaitDone(MidiStreamBuffer& buffer, int ms = 3000) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (!buffer.done && Clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return buffer.done;
    }

    MidiStreamPlayer stream;

  private:
    std::mutex mutex;
    std::vector<Sent> sent;
    std::vector<int> notices;
};

} // namespace

// Every event leaves at start + the sum of the deltas before it: a send that takes longer than
// the gap to the next event delays that one, and the next ones are on time again.
TEST(MidiStream, PlaysAtAbsoluteDeadlinesWithoutDrift) {
    StreamHarness h(/*slowEvery=*/10, /*slowMs=*/12);
    std::vector<MidiStreamEvent> events;
    for (int i = 0; i < 100; ++i) events.push_back(Cc(i == 0 ? 0 : 5, i));
    MidiStreamBuffer buffer{events.data(), events.size()};
    ASSERT_EQ(h.stream.Prepare(buffer), kMidiOk);
    ASSERT_EQ(h.stream.Out(buffer), kMidiOk);
    const Clock::time_point start = Clock::now();
    ASSERT_EQ(h.stream.Restart(), kMidiOk);
    ASSERT_TRUE(h.WaitDone(buffer));
    const auto sent = h.Messages();
    ASSERT_EQ(sent.size(), 100u);
    // The last event is due 495 ms after the start, ten slow sends notwithstanding.
    EXPECT_NEAR(Ms(sent.back().at - start), 495, 8);
    int late = 0;
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].bytes, (std::vector<uint8_t>{0xB0, 0x01, static_cast<uint8_t>(i)}));
        late += Ms(sent[i].at - start) - 5.0 * static_cast<double>(i) > 4 ? 1 : 0;
    }
    // Only the event right after each slow send (and whatever a busy machine adds) is late.
    EXPECT_LE(late, 25);
    EXPECT_EQ(h.Count(kMidiOutPositionCb), 100);
    EXPECT_EQ(h.Count(kMidiOutDone), 1);
}

// A new stream waits for its start; a pause holds the clock, so the events after it keep their
// spacing; a buffer is done only when its last event has left, and stays queued until then; a
// change of tempo counts from the present.
TEST(MidiStream, PausedClockAndQueuedBuffers) {
    StreamHarness h;
    std::vector<MidiStreamEvent> first{Cc(0, 1), Cc(50, 2)};
    std::vector<MidiStreamEvent> second{Cc(100, 3)};
    MidiStreamBuffer a{first.data(), first.size()};
    MidiStreamBuffer b{second.data(), second.size()};
    EXPECT_EQ(h.stream.Out(a), kMidiErrUnprepared);
    ASSERT_EQ(h.stream.Prepare(a), kMidiOk);
    ASSERT_EQ(h.stream.Prepare(b), kMidiOk);
    ASSERT_EQ(h.stream.Out(a), kMidiOk);
    ASSERT_EQ(h.stream.Out(b), kMidiOk);
    // The stream copied the events: the owner may rebuild its buffers at once.
    first[1] = Cc(50, 99);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_TRUE(h.Messages().empty()) << "a new stream starts paused";
    EXPECT_EQ(h.stream.Unprepare(a), kMidiErrStillPlaying);

    const Clock::time_point start = Clock::now();
    h.stream.Restart();
    ASSERT_TRUE(h.WaitDone(a));
    EXPECT_FALSE(b.done);
    h.stream.Pause();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(h.Messages().size(), 2u) << "nothing plays while paused";
    h.stream.Restart();
    ASSERT_TRUE(h.WaitDone(b));
    const auto sent = h.Messages();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1].bytes, (std::vector<uint8_t>{0xB0, 0x01, 0x02}));
    // 150 ticks of playing plus the pause.
    EXPECT_GE(Ms(sent[2].at - start), 150 + 150 - 2);
    EXPECT_EQ(h.stream.Unprepare(a), kMidiOk);
    EXPECT_EQ(h.Count(kMidiOutDone), 2);

    // A new tempo takes effect from where the clock stands: twice as fast, 100 ticks are 50 ms.
    h.stream.SetTempo(500000);
    const Clock::time_point changed = Clock::now();
    h.stream.Out(b);
    ASSERT_TRUE(h.WaitDone(b));
    EXPECT_NEAR(Ms(h.Messages().back().at - changed), 50, 10);
}

// An owner that queues its next buffer late gets the events that are due at once, and the stream
// keeps to its start; more than a second late, it loses that time instead of getting a burst.
// Closing takes back what is still queued, and no notice comes after it.
TEST(MidiStream, LateBuffersAndClose) {
    StreamHarness h;
    std::vector<MidiStreamEvent> one{Cc(0, 1)};
    std::vector<MidiStreamEvent> spaced{Cc(20, 2), Cc(20, 3), Cc(20, 4)};
    std::vector<MidiStreamEvent> wide{Cc(200, 5), Cc(200, 6), Cc(200, 7)};
    std::vector<MidiStreamEvent> far{Cc(10000, 8)};
    MidiStreamBuffer a{one.data(), one.size()};
    MidiStreamBuffer b{spaced.data(), spaced.size()};
    MidiStreamBuffer d{wide.data(), wide.size()};
    MidiStreamBuffer c{far.data(), far.size()};
    for (auto* buffer : {&a, &b, &c, &d}) h.stream.Prepare(*buffer);
    h.stream.Out(a);
    const Clock::time_point start = Clock::now();
    h.stream.Restart();
    ASSERT_TRUE(h.WaitDone(a));

    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    h.stream.Out(b);
    ASSERT_TRUE(h.WaitDone(b));
    auto sent = h.Messages();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_LT(Ms(sent[3].at - sent[1].at), 15) << "what is due goes out at once";
    // Still in time with the start: the next events are due at 260 (past), 460 and 660 ms.
    h.stream.Out(d);
    ASSERT_TRUE(h.WaitDone(d));
    sent = h.Messages();
    EXPECT_NEAR(Ms(sent[5].at - start), 460, 20);
    EXPECT_NEAR(Ms(sent[6].at - start), 660, 20);

    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    h.stream.Out(b);
    ASSERT_TRUE(h.WaitDone(b));
    sent = h.Messages();
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_GE(Ms(sent[9].at - sent[7].at), 30) << "more than a second late, the buffer keeps its own spacing";

    h.stream.Out(c);
    ASSERT_EQ(h.stream.Close(), kMidiOk);
    EXPECT_FALSE(c.done);
    EXPECT_FALSE(c.prepared);
    EXPECT_EQ(h.Count(kMidiOutClose), 1);
    EXPECT_EQ(h.stream.Out(c), kMidiErrInvalidHandle);
}

// The built-in unit counts the Control Changes it is sent, running status included, passes over
// other channel messages and still takes SysEx between them; the stream and the SysEx output
// exclude each other.
TEST(MidiStream, VirtualUnitTakesControlChanges) {
    VirtualUnitDriver driver(0);
    std::vector<VirtualUnit::Received> log;
    std::mutex mutex;
    driver.Unit().SetListener([&](const VirtualUnit::Received& r) {
        std::lock_guard lock(mutex);
        log.push_back(r);
    });
    ASSERT_EQ(driver.OpenStream(0, nullptr), kMidiOk);
    EXPECT_EQ(driver.OpenOutput(0, nullptr), kMidiErrAllocated);
    EXPECT_EQ(driver.OpenStream(0, nullptr), kMidiErrAllocated);
    MidiStream* stream = driver.OpenedStream();
    ASSERT_NE(stream, nullptr);
    std::vector<MidiStreamEvent> events{Cc(0, 64), {0, 0, 0x00000000u | 0x05u << 8 | 0xC3u}, Cc(0, 65)};
    MidiStreamBuffer buffer{events.data(), events.size()};
    stream->Prepare(buffer);
    stream->Out(buffer);
    stream->Restart();
    for (int i = 0; i < 300 && !buffer.done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(driver.CloseStream(), kMidiOk);
    EXPECT_EQ(driver.OpenedStream(), nullptr);

    // Running status, a real-time byte in the middle, a program change and a SysEx message.
    const uint8_t more[] = {0xB9, 0x07, 0x10, 0xF8, 0x07, 0x11, 0xC0, 0x05, 0xF0, 0x41, 0x00,
                            0x00, 0x23, 0x11, 0x10, 0x00, 0x00, 0x00, 0x03, 0x1A, 0x53, 0xF7};
    driver.Unit().Receive(more, sizeof more);
    EXPECT_EQ(driver.Unit().ControllerMessages(), 4);
    EXPECT_EQ(driver.Unit().GoodMessages(), 1);
    std::lock_guard lock(mutex);
    std::vector<std::vector<uint8_t>> controllers;
    for (const auto& r : log)
        if (r.controller) controllers.push_back({r.bytes.begin(), r.bytes.end()});
    EXPECT_EQ(controllers, (std::vector<std::vector<uint8_t>>{
                               {0xB0, 0x01, 64}, {0xB0, 0x01, 65}, {0xB9, 0x07, 0x10}, {0xB9, 0x07, 0x11}}));
}
