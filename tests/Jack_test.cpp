// End to end over a real MIDI server: a JACK server of the tests' own (dummy backend), the
// emulator ("quellin-cli emulate --api jack") as one process standing in for the unit, and the
// device commands as another, each talking to the other through JACK MIDI ports. Every test ends
// by stopping the emulator and checking that every message it received was whole and correct.

#include <gtest/gtest.h>

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "midi/drivers/RtMidiBackend.h"
#include "model/SysEx.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/JackServer.h"
#include "tests/support/JackTest.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr const char* kPortName = "VF1 under test";
// Generous for a loaded two-core machine; a passing run takes a fraction of each.
constexpr double kCommandSeconds = 60;
constexpr double kReplySeconds = 30;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

Bytes ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Names the first differing byte rather than printing two banks.
::testing::AssertionResult SameBytes(const Bytes& actual, const Bytes& expected) {
    const auto diff = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (diff.first == actual.end() && diff.second == expected.end()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual.size() << " bytes against " << expected.size()
           << " expected, first difference at offset " << (diff.first - actual.begin());
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Until a port of ours is connected to the emulator's MIDI OUT: the moment a reception is listening.
bool WaitForListener(double seconds) {
    jack_status_t status{};
    jack_client_t* client = jack_client_open("quellin-watch", JackNoStartServer, &status);
    if (!client) return false;
    bool connected = false;
    const std::string pattern = std::string(kPortName) + ".*:MIDI OUT";
    const auto end = ChildProcess::Clock::now() + std::chrono::duration<double>(seconds);
    while (!connected && ChildProcess::Clock::now() < end) {
        if (const char** ports = jack_get_ports(client, pattern.c_str(), JACK_DEFAULT_MIDI_TYPE, 0)) {
            if (jack_port_t* port = jack_port_by_name(client, ports[0]))
                connected = jack_port_connected(port) > 0;
            jack_free(ports);
        }
        if (!connected) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    jack_client_close(client);
    return connected;
}

class JackEndToEnd : public JackTest {
  protected:
    void SetUp() override {
        JackTest::SetUp();
        if (!Ready()) return;
        emulator = std::make_unique<ChildProcess>(
            std::vector<std::string>{QUELLIN_CLI_PATH, "emulate", "--api", "jack", "--fast", "--port-name",
                                     kPortName, "--save", (dir / "saved.syx").string()},
            dir);
        ASSERT_TRUE(emulator->WaitForLine([](const std::string& l) { return Contains(l, "ready JACK"); },
                                          kReplySeconds))
            << "emulator did not start:\n"
            << emulator->Out() << emulator->Err();
    }

    void TearDown() override {
        emulator.reset();
        JackTest::TearDown();
    }

    // A command of the tool, talking to the emulator's ports.
    CliRun Device(std::vector<std::string> args, double seconds = kCommandSeconds) {
        args.insert(args.begin(), {QUELLIN_CLI_PATH, "--out-name", kPortName, "--in-name", kPortName});
        return Run(args, seconds);
    }

    CliRun Run(const std::vector<std::string>& args, double seconds = kCommandSeconds) {
        ChildProcess tool(args, dir);
        CliRun run;
        run.status = tool.Wait(seconds);
        if (run.status == ChildProcess::kStillRunning) tool.Stop();
        run.out = tool.Out();
        run.err = tool.Err();
        return run;
    }

    // Ends the emulator as a user does ("quit"), checks that it saw no damaged message and
    // returns the number of good ones.
    int StopEmulator() {
        emulator->Write("quit\n");
        EXPECT_EQ(emulator->Wait(kReplySeconds), 0) << emulator->Err();
        const std::string log = emulator->Out();
        EXPECT_FALSE(Contains(log, "BAD")) << log;
        std::smatch m;
        const std::regex summary("received (\\d+) good, (\\d+) bad messages");
        if (!std::regex_search(log, m, summary)) {
            ADD_FAILURE() << "no summary in the emulator's log:\n" << log;
            return -1;
        }
        EXPECT_EQ(m[2], "0");
        return std::stoi(m[1]);
    }

    std::unique_ptr<ChildProcess> emulator;
};

#define EXPECT_RAN(run) EXPECT_EQ((run).status, 0) << (run).out << (run).err

// All patches are sent first and read back after, so a slot that lands in the wrong place (or
// a request answered from the wrong place) shows up as another patch's bytes.
TEST_F(JackEndToEnd, PatchesSentToEditBufferAndSlotsReadBackIdentical) {
    struct Case {
        const char* target;
        int algorithm;
    };
    const Case cases[] = {{"edit", 3}, {"A1", 17}, {"B12", 29}, {"B101", 36}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const std::string file = std::string("sent-") + c.target + ".syx";
        EXPECT_RAN(Run({QUELLIN_CLI_PATH, "new", "--algorithm", std::to_string(c.algorithm), "--name",
                        std::string("E2E ") + c.target, "-o", file}));
        EXPECT_RAN(Device({"send-patch", file, "--to", c.target}));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const std::string file = std::string("back-") + c.target + ".syx";
        EXPECT_RAN(Device({"request-patch", "--from", c.target, "-o", file, "--timeout", "30"}));
        const Bytes sent = ReadBytes(dir / (std::string("sent-") + c.target + ".syx"));
        ASSERT_EQ(sent.size(), static_cast<size_t>(kPatchFileSize));
        EXPECT_TRUE(SameBytes(ReadBytes(dir / file), sent));
    }
    // Three DT1 messages per patch sent, one request per patch read.
    EXPECT_EQ(StopEmulator(), 4 * 4);
}

TEST_F(JackEndToEnd, GlobalsSetAndReadBack) {
    const auto get = [this] {
        const CliRun run = Device({"get-global", "--json"});
        EXPECT_RAN(run);
        return run.out;
    };
    EXPECT_EQ(get(), R"({"outLevel": 50, "nsThreshold": 20, "reverbLevel": 50, "output": 0, "tempo": 120, )"
                     R"("directMix": 0})"
                     "\n");
    EXPECT_RAN(Device({"set-global", "--out-level", "37", "--ns-threshold", "3", "--output", "4", "--tempo",
                       "midi", "--direct-mix", "1"}));
    EXPECT_EQ(get(), R"({"outLevel": 37, "nsThreshold": 3, "reverbLevel": 50, "output": 4, "tempo": 251, )"
                     R"("directMix": 1})"
                     "\n");
    // Only the option given changes; the rest goes back as it was read.
    EXPECT_RAN(Device({"set-global", "--tempo", "97"}));
    EXPECT_EQ(get(), R"({"outLevel": 37, "nsThreshold": 3, "reverbLevel": 50, "output": 4, "tempo": 97, )"
                     R"("directMix": 1})"
                     "\n");
    // Each get is a request; each set reads first and then sends.
    EXPECT_EQ(StopEmulator(), 3 + 2 * 2);
}

TEST_F(JackEndToEnd, BankSentAndReceivedBackIdentical) {
    const Bytes& bank = MakeBankFile();
    WriteBytes(dir / "bank.syx", bank);
    EXPECT_RAN(Device({"send-bank", "bank.syx"}));

    // The dump starts on the unit once the reception listens, as a user presses ENTER on it.
    ChildProcess receive({QUELLIN_CLI_PATH, "--out-name", kPortName, "--in-name", kPortName, "receive-bank",
                          "-o", "received.syx", "--timeout", "30"},
                         dir);
    ASSERT_TRUE(WaitForListener(kReplySeconds)) << receive.Err();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    emulator->Write("dump\n");
    EXPECT_EQ(receive.Wait(kCommandSeconds), 0) << receive.Out() << receive.Err();
    EXPECT_TRUE(SameBytes(ReadBytes(dir / "received.syx"), bank));

    EXPECT_EQ(StopEmulator(), 3 * kPatchCount + 1);
    EXPECT_TRUE(SameBytes(ReadBytes(dir / "saved.syx"), bank));
}

// The driver paces what it hands to RtMidi, whose JACK output drops whatever overflows its ring
// buffer and one cycle: all 607 messages of a bank in one long message must arrive.
TEST_F(JackEndToEnd, BankHandedToTheDriverBackToBackArrivesWhole) {
    const Bytes& bank = MakeBankFile();
    {
        RtMidiBackend jack(RtMidi::UNIX_JACK, "JACK");
        ASSERT_TRUE(jack.Available());
        const auto names = jack.OutDeviceNames();
        unsigned index = 0;
        while (index < names.size() && !Contains(names[index], std::string(kPortName) + ":MIDI IN")) ++index;
        ASSERT_LT(index, names.size()) << "the emulator's port is not listed";
        std::atomic<int> doneNotices{0};
        ASSERT_EQ(jack.OpenOutput(index, [&](int notice) { doneNotices += notice == kMidiOutDone; }),
                  kMidiOk);
        MidiLongMessage message;
        message.data = bank.data();
        message.size = bank.size();
        ASSERT_EQ(jack.PrepareLong(message), kMidiOk);
        ASSERT_EQ(jack.SendLong(message), kMidiOk);
        const auto end = ChildProcess::Clock::now() + std::chrono::seconds(30);
        while (!message.done && ChildProcess::Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_TRUE(message.done);
        EXPECT_EQ(doneNotices, 1);
        EXPECT_EQ(jack.UnprepareLong(message), kMidiOk);
        // Done means handed to the port; the last message reaches the emulator a cycle later.
        EXPECT_TRUE(emulator->WaitForLine(
            [](const std::string& l) { return Contains(l, "DT1 70 00 00 13 bytes"); }, kReplySeconds));
        EXPECT_EQ(jack.CloseOutput(), kMidiOk);
    }
    EXPECT_EQ(StopEmulator(), 3 * kPatchCount + 1);
    EXPECT_TRUE(SameBytes(ReadBytes(dir / "saved.syx"), bank));
}

} // namespace
