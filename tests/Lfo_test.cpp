// The MIDI LFO's engine: the buffers of each wave, the event words, the rate from a tempo and the
// fields' checks, and the worker playing the buffers in turn through the device's stream, handing
// the device back to the SysEx output and surviving a device that fails.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "lfo/LfoFields.h"
#include "lfo/MIDILFOStream.h"
#include "midi/VF1MIDI.h"
#include "tests/support/TestDrivers.h"
#include "tests/support/TestSupport.h"

namespace {

using Call = RecordingDriver::Call;
using Clock = std::chrono::steady_clock;

std::vector<int> Levels(const LfoBuffer& buffer) {
    std::vector<int> levels;
    for (size_t i = 0; i < buffer.count; ++i)
        levels.push_back(static_cast<int>(buffer.events[i].event >> 16 & 0xFF));
    return levels;
}

uint64_t Ticks(const LfoBuffer& buffer) {
    uint64_t sum = 0;
    for (size_t i = 0; i < buffer.count; ++i) sum += buffer.events[i].delta;
    return sum;
}

std::vector<int> Span(int from, int to) {
    std::vector<int> v;
    for (int i = from; from <= to ? i <= to : i >= to; i += from <= to ? 1 : -1) v.push_back(i);
    return v;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(LfoBuffers, TicksPerCycle) {
    EXPECT_EQ(kLfoTicksPerSecond, 1920);
    EXPECT_EQ(MIDILFOStream::TicksPerCycle(0.1f), 19200.0f);
    EXPECT_EQ(MIDILFOStream::TicksPerCycle(1.0f), 1920.0f);
    EXPECT_EQ(MIDILFOStream::TicksPerCycle(10.0f), 192.0f);
}

// Levels, lengths and the time each buffer lasts, for every wave at 0.1, 1 and 10 Hz. Every step
// lasts its exact share of the cycle to within one tick, so the rate is the rate asked for.
TEST(LfoBuffers, EachWave) {
    const float f1 = MIDILFOStream::SineTable()[1].fraction;
    struct Case {
        const char* name;
        int wave;
        std::vector<int> a, b;
        double half; // share of a cycle each buffer lasts
    };
    const Case cases[] = {
        {"sine", kLfoSine, Join(Span(64, 127), Span(126, 65)), Join(Span(64, 1), Span(2, 63)), 0.5 - f1},
        {"triangle", kLfoTriangle, Join(Span(64, 127), Span(126, 65)), Join(Span(64, 1), Span(2, 63)), 0.5},
        {"square", kLfoSquare, {127}, {0}, 0.5},
        {"saw up", kLfoSawUp, Span(64, 127), Span(0, 63), 64.0 / 126},
        {"saw down", kLfoSawDown, Span(63, 0), Span(127, 64), 64.0 / 126},
    };
    for (const float rate : {0.1f, 1.0f, 10.0f}) {
        const float T = MIDILFOStream::TicksPerCycle(rate);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(rate) + " Hz");
            LfoBuffer a, b;
            MIDILFOStream::BuildBuffers(c.wave, T, 1, 0xB0, a, b);
            EXPECT_EQ(Levels(a), c.a);
            EXPECT_EQ(Levels(b), c.b);
            EXPECT_EQ(a.count * 12, c.a.size() * 12);
            for (const LfoBuffer* buffer : {&a, &b}) {
                EXPECT_NEAR(static_cast<double>(Ticks(*buffer)), T * c.half, 1.0);
                for (size_t i = 0; i < buffer->count; ++i) EXPECT_EQ(buffer->events[i].streamId, 0u);
            }
            // B is timed as A.
            for (size_t i = 0; i < a.count; ++i) EXPECT_EQ(a.events[i].delta, b.events[i].delta);
        }
    }
}

// The steps themselves: the triangle's are T/252 (76 or 77 ticks at 0.1 Hz), the square's
// first level comes T/2 after the start, the saws' T/126, and the sine's follow the arcsine.
TEST(LfoBuffers, StepLengths) {
    LfoBuffer a, b;
    MIDILFOStream::BuildBuffers(kLfoTriangle, 19200.0f, 1, 0xB0, a, b);
    for (size_t i = 0; i < a.count; ++i) EXPECT_TRUE(a.events[i].delta == 76 || a.events[i].delta == 77) << i;
    EXPECT_EQ(Ticks(a), 9600u);

    MIDILFOStream::BuildBuffers(kLfoSquare, 19200.0f, 1, 0xB0, a, b);
    EXPECT_EQ(a.events[0].delta, 9600u);
    EXPECT_EQ(b.events[0].delta, 9600u);

    MIDILFOStream::BuildBuffers(kLfoSawUp, 19200.0f, 1, 0xB0, a, b);
    for (size_t i = 0; i < a.count; ++i) EXPECT_NEAR(a.events[i].delta, 19200.0 / 126, 1.0) << i;

    const auto& sine = MIDILFOStream::SineTable();
    EXPECT_EQ(sine[0].fraction, 0.0f);
    double quarter = 0;
    for (int i = 1; i < 64; ++i) {
        EXPECT_EQ(sine[i].level, i);
        EXPECT_NEAR(sine[i].fraction,
                    (std::asin(i / 63.0) - std::asin((i - 1) / 63.0)) / (2 * std::numbers::pi), 1e-6);
        quarter += sine[i].fraction;
    }
    EXPECT_NEAR(quarter, 0.25, 1e-5);
    MIDILFOStream::BuildBuffers(kLfoSine, 19200.0f, 1, 0xB0, a, b);
    EXPECT_EQ(a.events[0].delta, 0u);
    // Short steps near the middle, long ones at the peak; on the way back each level lasts as
    // long as the step that led to the one above it.
    EXPECT_NEAR(a.events[1].delta, 19200 * sine[1].fraction, 1.0);
    EXPECT_NEAR(a.events[63].delta, 19200 * sine[63].fraction, 1.0);
    EXPECT_NEAR(a.events[64].delta, 19200 * sine[63].fraction, 1.0);
    EXPECT_NEAR(a.events[125].delta, 19200 * sine[2].fraction, 1.0);
}

// 40000000H + level x 65536 + controller x 256 + status: a Control Change on the channel.
TEST(LfoBuffers, EventWords) {
    EXPECT_EQ(MIDILFOStream::EventWord(127, 7, 0xB9), 0x407F07B9u);
    LfoBuffer a, b;
    MIDILFOStream::BuildBuffers(kLfoTriangle, 1920.0f, 7, 0xB9, a, b);
    for (const LfoBuffer* buffer : {&a, &b})
        for (size_t i = 0; i < buffer->count; ++i) {
            EXPECT_EQ(buffer->events[i].event & 0xFF00FFFFu, 0x400007B9u) << i;
        }
}

TEST(LfoFields, RateFromTempo) {
    struct Case {
        float tempo;
        int signature, cycles; // list indexes
        const char* rate;
    };
    const Case cases[] = {
        {120, 2, 0, "0.500000"},   // 4/4, 1 cycle per bar
        {250, 0, 15, "33.333332"}, // 2/4, 16 cycles
        {50, 3, 0, "0.166667"},    // 5/4
        {90, 1, 2, "1.500000"},    // 3/4, 3 cycles
    };
    for (const Case& c : cases) EXPECT_EQ(LfoRateTextFromTempo(c.tempo, c.signature, c.cycles), c.rate);
}

TEST(LfoFields, Checks) {
    const std::string rateRange = "Please enter a number between 0.01 and 10.";
    const std::string tempoRange = "Please enter a number between 50 and 250.";
    EXPECT_EQ(LfoRangeMessage(kLfoRateMin, kLfoRateMax), rateRange);
    EXPECT_EQ(LfoRangeMessage(kLfoTempoMin, kLfoTempoMax), tempoRange);
    struct Case {
        const char* text;
        bool rate; // else tempo
        std::string message;
        float value;
    };
    const Case cases[] = {
        {"0.1", true, "", 0.1f},
        {" 10 ", true, "", 10.0f},
        {"\t.5", true, "", 0.5f},
        {"+2", true, "", 2.0f},
        {"1e-2", true, "", 0.01f},
        {"0.009", true, rateRange, 0.009f},
        {"33.333332", true, rateRange, 33.333332f},
        {"-1", true, rateRange, -1.0f},
        {"", true, kLfoNotANumber, 0},
        {"abc", true, kLfoNotANumber, 0},
        {"5x", true, kLfoNotANumber, 0},
        {"1,5", true, kLfoNotANumber, 0},
        {"0x5", true, kLfoNotANumber, 0},
        {"nan", true, kLfoNotANumber, 0},
        {"inf", true, kLfoNotANumber, 0},
        {"1e99", true, kLfoNotANumber, 0},
        {".", true, kLfoNotANumber, 0},
        {"120", false, "", 120.0f},
        {"49.9", false, tempoRange, 49.9f},
        {"250.5", false, tempoRange, 250.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        float value = -123;
        const std::string message = c.rate ? CheckLfoField(c.text, kLfoRateMin, kLfoRateMax, value)
                                           : CheckLfoField(c.text, kLfoTempoMin, kLfoTempoMax, value);
        EXPECT_EQ(message, c.message);
        // A text that is no number leaves the value alone.
        EXPECT_EQ(value, c.message == kLfoNotANumber ? -123 : c.value);
    }
}

namespace {

class LfoEngine : public ::testing::Test {
  protected:
    void SetUp() override {
        VF1MIDI::Release();
        midi().SetDriver(&driver);
    }
    void TearDown() override {
        midi().SetLFODialog(nullptr);
        midi().SetDriver(nullptr);
        VF1MIDI::Release();
    }
    static VF1MIDI& midi() { return VF1MIDI::Instance(); }

    // Waits until the stream has played n messages (or 5 s have passed) and returns them.
    std::vector<RecordingDriver::Played> WaitPlayed(size_t n) {
        const auto end = Clock::now() + std::chrono::seconds(5);
        while (driver.StreamPlayed().size() < n && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return driver.StreamPlayed();
    }

    MessageRecorder messages;
    RecordingDriver driver;
};

std::vector<int> Values(const std::vector<RecordingDriver::Played>& played, size_t from, size_t n) {
    std::vector<int> v;
    for (size_t i = from; i < from + n && i < played.size(); ++i) v.push_back(played[i].bytes[2]);
    return v;
}

} // namespace

// Started without any setting, the engine runs a sine on channel 1, controller 1 at 0.1 Hz: it
// closes the SysEx output, opens the selected device as a stream and starts it once.
TEST_F(LfoEngine, StartsWithTheDefaults) {
    ASSERT_TRUE(midi().OpenOutput());
    MIDILFOStream lfo(midi());
    ASSERT_TRUE(lfo.Start());
    EXPECT_TRUE(lfo.IsRunning());
    EXPECT_TRUE(lfo.IsBusy());
    EXPECT_FALSE(midi().IsOutputOpen());
    const auto played = WaitPlayed(2);
    ASSERT_GE(played.size(), 2u);
    EXPECT_EQ(played[0].bytes, (std::vector<uint8_t>{0xB0, 0x01, 64}));
    EXPECT_EQ(played[1].bytes, (std::vector<uint8_t>{0xB0, 0x01, 65}));
    // 0.1 Hz: the second level comes T x fraction(1), about 48 ticks, after the first.
    EXPECT_NEAR(Ms(played[1].at - played[0].at), 25.0, 15);
    lfo.Stop();
    EXPECT_EQ(driver.Uses(Call::StreamRestart), 1);
    const auto calls = driver.Calls();
    EXPECT_LT(std::find(calls.begin(), calls.end(), Call::CloseOut) - calls.begin(),
              std::find(calls.begin(), calls.end(), Call::OpenStream) - calls.begin());
    EXPECT_TRUE(messages.Messages().empty());
}

// A, then B once A is done, then A again; a change made while running is heard from the next
// buffer on, on the new channel and controller; Stop ends the worker, closes the stream and clears
// busy, and nothing plays after it.
TEST_F(LfoEngine, AlternatesBuffersAndTakesChanges) {
    MIDILFOStream lfo(midi());
    lfo.SetWave(kLfoSawUp);
    lfo.SetRate(10.0f);
    ASSERT_TRUE(lfo.Start());
    auto played = WaitPlayed(64 * 3);
    EXPECT_EQ(Values(played, 0, 192), Join(Join(Span(64, 127), Span(0, 63)), Span(64, 127)));
    // Each buffer's first event follows the previous one's last by its own step, not by the
    // worker's naps: the whole run keeps the rate.
    EXPECT_NEAR(Ms(played[191].at - played[0].at), 191 * 1000.0 / 1260, 25);

    lfo.SetWave(kLfoSquare);
    lfo.SetChannel(10);
    lfo.SetController(7);
    const size_t before = driver.StreamPlayed().size();
    // At most the rest of the saw's buffer, then five steps of the square (a quarter second).
    played = WaitPlayed(before + 64 + 5);
    // The buffer playing when the change came ends as it was; then the square on B9 07.
    size_t first = before;
    while (first < played.size() && played[first].bytes[0] != 0xB9) ++first;
    ASSERT_LT(first + 4, played.size());
    EXPECT_LE(first - before, 64u);
    for (size_t i = first; i < first + 4; ++i) {
        EXPECT_EQ(played[i].bytes[0], 0xB9);
        EXPECT_EQ(played[i].bytes[1], 0x07);
        EXPECT_TRUE(played[i].bytes[2] == 127 || played[i].bytes[2] == 0);
        EXPECT_NE(played[i].bytes[2], played[i + 1].bytes[2]);
    }

    lfo.Stop();
    EXPECT_FALSE(lfo.IsRunning());
    EXPECT_FALSE(lfo.IsBusy());
    EXPECT_EQ(driver.OpenedStream(), nullptr);
    EXPECT_EQ(driver.Uses(Call::CloseStream), 1);
    const size_t atStop = driver.StreamPlayed().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(driver.StreamPlayed().size(), atStop);
    // And it starts again on the same settings.
    ASSERT_TRUE(lfo.Start());
    played = WaitPlayed(atStop + 1);
    EXPECT_EQ(played.back().bytes[0], 0xB9);
    lfo.Stop();
    EXPECT_EQ(driver.Uses(Call::OpenStream), 2);
}

// A SysEx send while the LFO runs stops it and opens the output only after the stream has
// closed.
TEST_F(LfoEngine, SysExSendTakesTheDeviceBack) {
    MIDILFOStream lfo(midi());
    struct Panel : LfoControl {
        explicit Panel(MIDILFOStream& e) : engine(e) {}
        bool IsRunning() override { return running; }
        void Stop() override {
            engine.Stop();
            running = false;
        }
        bool StreamBusy() override { return engine.IsBusy(); }
        MIDILFOStream& engine;
        bool running = false;
    } panel(lfo);
    midi().SetLFODialog(&panel);
    lfo.SetRate(10.0f);
    ASSERT_TRUE(lfo.Start());
    panel.running = true;
    WaitPlayed(10);
    ASSERT_TRUE(midi().SendParameter(0x124, 1, 2));
    EXPECT_FALSE(panel.running);
    EXPECT_FALSE(lfo.IsRunning());
    EXPECT_FALSE(lfo.IsBusy());
    const auto calls = driver.Calls();
    const auto closed = std::find(calls.begin(), calls.end(), Call::CloseStream);
    const auto opened = std::find(calls.begin(), calls.end(), Call::OpenOut);
    EXPECT_LT(closed - calls.begin(), opened - calls.begin());
    EXPECT_EQ(driver.Sent().size(), 1u);
}

// A stream that cannot be opened: the message, and the engine idle, not busy. A device that
// refuses a buffer while running: the worker still closes the stream, clears busy and running,
// and says so.
TEST_F(LfoEngine, DeviceFailures) {
    MIDILFOStream lfo(midi());
    driver.Fail(Call::OpenStream, kMidiErrAllocated, 1);
    EXPECT_FALSE(lfo.Start());
    EXPECT_EQ(
        messages.Messages(),
        std::vector<std::string>{"Error sending SysEx! Make sure you've selected a valid MIDI Out Device."});
    EXPECT_FALSE(lfo.IsRunning());
    EXPECT_FALSE(lfo.IsBusy());

    midi().SetOutDevice(1); // "Invalid Device"
    messages.Clear();
    EXPECT_FALSE(lfo.Start());
    EXPECT_EQ(messages.Messages().size(), 1u);

    for (const Call failing : {Call::StreamPrepare, Call::StreamOut}) {
        RecordingDriver device;
        midi().SetDriver(&device);
        midi().SetOutDevice(0);
        std::atomic<int> failures{0};
        lfo.SetFailureHandler([&] { failures++; });
        lfo.SetRate(10.0f);
        device.Fail(failing, kMidiErrNoDriver, 2);
        ASSERT_TRUE(lfo.Start());
        const auto end = Clock::now() + std::chrono::seconds(5);
        while (lfo.IsBusy() && Clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_FALSE(lfo.IsBusy());
        EXPECT_FALSE(lfo.IsRunning());
        EXPECT_EQ(failures.load(), 1);
        EXPECT_EQ(device.Uses(Call::CloseStream), 1);
        EXPECT_EQ(device.OpenedStream(), nullptr);
        lfo.Stop();
        midi().SetDriver(&driver);
    }
}
