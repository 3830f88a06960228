// The emulator as a script runs it, over a JACK server of the test's own: it runs until "quit" or a
// signal (not until its input ends), drops a message that a status byte cuts short without touching
// its memory, and says so and stops when the server goes away.

#include <gtest/gtest.h>

#include <rtmidi/RtMidi.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "midi/SysExMessages.h"
#include "midi/drivers/RtMidiBackend.h"
#include "midi/drivers/VirtualUnit.h"
#include "model/SysEx.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/JackServer.h"
#include "tests/support/JackTest.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr const char* kPortName = "VF1 emulated";
constexpr double kSeconds = 30;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class EmulatorOverJack : public JackTest {
  protected:
    void TearDown() override {
        emulator.reset();
        JackTest::TearDown();
    }

    void StartEmulator() {
        emulator = std::make_unique<ChildProcess>(
            std::vector<std::string>{QUELLIN_CLI_PATH, "emulate", "--api", "jack", "--fast", "--port-name",
                                     kPortName, "--save", (dir / "saved.syx").string()},
            dir);
        ASSERT_TRUE(
            emulator->WaitForLine([](const std::string& l) { return Contains(l, "ready JACK"); }, kSeconds))
            << emulator->Out() << emulator->Err();
    }

    // A device command of the tool against the emulator's ports: its exit status and stdout.
    int Device(std::vector<std::string> args, std::string* out = nullptr) {
        args.insert(args.begin(), {QUELLIN_CLI_PATH, "--out-name", kPortName, "--in-name", kPortName});
        ChildProcess tool(args, dir);
        const int status = tool.Wait(kSeconds);
        if (out) *out = tool.Out();
        return status;
    }

    std::unique_ptr<ChildProcess> emulator;
};

TEST_F(EmulatorOverJack, RunsUntilQuitOrASignalNotUntilItsInputEnds) {
    struct Case {
        const char* name;
        int signal; // 0: "quit" on its input
    };
    for (const Case c : {Case{"quit", 0}, Case{"SIGTERM", SIGTERM}, Case{"SIGINT", SIGINT}}) {
        SCOPED_TRACE(c.name);
        StartEmulator();
        if (c.signal == 0) {
            emulator->Write("quit\n");
        } else {
            // "emulate &" in a script: its input ends at once, and it keeps answering.
            emulator->CloseInput();
            EXPECT_EQ(emulator->Wait(1.5), ChildProcess::kStillRunning);
            EXPECT_EQ(Device({"get-global", "--json"}), 0);
            emulator->Signal(c.signal);
        }
        EXPECT_EQ(emulator->Wait(kSeconds), 0) << emulator->Err();
        EXPECT_TRUE(Contains(emulator->Out(), "received ")) << emulator->Out();
        EXPECT_EQ(fs::file_size(dir / "saved.syx"), static_cast<uintmax_t>(kBankFileSize));
        emulator.reset();
    }
}

// A DT1 to slot A1 with a data byte of 85H: logged as bad, dropped, and the unit answers as before.
TEST_F(EmulatorOverJack, AMessageCutShortChangesNothing) {
    StartEmulator();
    ASSERT_EQ(Device({"request-patch", "--from", "A1", "-o", "before.syx", "--timeout", "20"}), 0);
    std::string global;
    ASSERT_EQ(Device({"get-global", "--json"}, &global), 0);

    {
        RtMidiBackend jack(RtMidi::UNIX_JACK, "JACK");
        ASSERT_TRUE(jack.Available());
        const auto names = jack.OutDeviceNames();
        unsigned index = 0;
        while (index < names.size() && !Contains(names[index], std::string(kPortName) + ":MIDI IN")) ++index;
        ASSERT_LT(index, names.size());
        ASSERT_EQ(jack.OpenOutput(index, [](int) {}), kMidiOk);
        Bytes write = PatchSendMessages(FreshPatchData(5, "Intruder"), PatchAddress(0), true, 0);
        write.resize(175);
        write[9 + 12] = 0x85;
        MidiLongMessage message;
        message.data = write.data();
        message.size = write.size();
        ASSERT_EQ(jack.PrepareLong(message), kMidiOk);
        ASSERT_EQ(jack.SendLong(message), kMidiOk);
        EXPECT_TRUE(emulator->WaitForLine(
            [](const std::string& l) {
                return Contains(l, "DT1 00 00 00 21 bytes checksum BAD frame BAD (ended by 85H)");
            },
            kSeconds))
            << emulator->Out();
        jack.UnprepareLong(message);
        jack.CloseOutput();
    }

    ASSERT_EQ(Device({"request-patch", "--from", "A1", "-o", "after.syx", "--timeout", "20"}), 0);
    EXPECT_EQ(fs::file_size(dir / "after.syx"), static_cast<uintmax_t>(kPatchFileSize));
    std::string globalAfter;
    EXPECT_EQ(Device({"get-global", "--json"}, &globalAfter), 0);
    EXPECT_EQ(globalAfter, global);
    ChildProcess same({"cmp", (dir / "before.syx").string(), (dir / "after.syx").string()});
    EXPECT_EQ(same.Wait(kSeconds), 0) << "slot A1 changed";
    emulator->Write("quit\n");
    EXPECT_EQ(emulator->Wait(kSeconds), 0);
    EXPECT_TRUE(Contains(emulator->Out(), ", 1 bad messages")) << emulator->Out();
}

TEST_F(EmulatorOverJack, SaysSoAndStopsWhenTheServerGoesAway) {
    StartEmulator();
    server.reset(); // SIGTERM to jackd, waited for
    EXPECT_EQ(emulator->Wait(kSeconds), 1) << emulator->Out() << emulator->Err();
    EXPECT_TRUE(Contains(emulator->Err(), "The JACK server has gone away; the emulator stops."))
        << emulator->Err();
    // What the unit held is saved all the same.
    EXPECT_EQ(fs::file_size(dir / "saved.syx"), static_cast<uintmax_t>(kBankFileSize));
}

} // namespace
