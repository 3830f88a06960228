// quellin-cli lfo as a user runs it: the fields checked as the LFO panel checks them, with the
// panel's texts and the exit status of a usage error, and a run on the built-in virtual unit that
// Ctrl+C ends cleanly.

#include <gtest/gtest.h>

#include <signal.h>

#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"

namespace {

std::vector<std::string> Lfo(std::vector<std::string> args) {
    std::vector<std::string> argv = {QUELLIN_CLI_PATH, "--out-name", "Quellin virtual", "lfo"};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

} // namespace

// Every refused value: the panel's message on stderr, exit status 2, and nothing played.
TEST(LfoCli, RefusesWhatThePanelRefuses) {
    const std::string rateRange = "Please enter a number between 0.01 and 10.";
    const std::string tempoRange = "Please enter a number between 50 and 250.";
    struct Case {
        std::vector<std::string> args;
        std::string message; // empty: the option parser's own usage message
    };
    const std::vector<Case> cases = {
        {{"--rate", "abc"}, "Please enter a number."},
        {{"--rate", "10.5"}, rateRange},
        {{"--rate", "0.001"}, rateRange},
        {{"--rate", ""}, "Please enter a number."},
        {{"--tempo", "49"}, tempoRange},
        {{"--tempo", "fast"}, "Please enter a number."},
        // 250 BPM in 2/4 with 16 cycles per bar is 33.333332 Hz.
        {{"--tempo", "250", "--time-sig", "2/4", "--cycles", "16"}, rateRange},
        {{"--time-sig", "7/8"}, ""},
        {{"--wave", "noise"}, ""},
        {{"--channel", "17"}, ""},
        {{"--cc", "96"}, ""},
        {{"--rate", "1", "--tempo", "120"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        ChildProcess run(Lfo(c.args));
        ASSERT_EQ(run.Wait(30), 2) << run.Err();
        if (!c.message.empty()) {
            EXPECT_NE(run.Err().find(c.message), std::string::npos) << run.Err();
        }
        EXPECT_FALSE(run.Err().empty());
        EXPECT_EQ(run.Out().find("on channel"), std::string::npos) << run.Out();
    }
}

// A run with no end of its own: it plays until Ctrl+C, then closes the output and says so.
TEST(LfoCli, CtrlCStopsCleanly) {
    ChildProcess run(Lfo({"--wave", "saw-up", "--channel", "10", "--cc", "7", "--tempo", "120", "--time-sig",
                          "3/4", "--cycles", "2"}));
    ASSERT_TRUE(
        run.WaitForLine([](const std::string& l) { return l.find("on channel") != std::string::npos; }, 30))
        << run.Err();
    EXPECT_NE(run.Out().find("saw-up on channel 10, controller 7 at 1.333333 Hz to \"Quellin virtual VF-1\""),
              std::string::npos)
        << run.Out();
    run.Signal(SIGINT);
    EXPECT_EQ(run.Wait(10), 0) << run.Err();
    EXPECT_NE(run.Out().find("stopped"), std::string::npos) << run.Out();
    // Nothing but the line that says the output is the built-in virtual unit.
    EXPECT_EQ(run.Err(),
              "quellin-cli: MIDI Out is the built-in virtual unit (\"Quellin virtual VF-1\"), not a VF-1 "
              "on a MIDI port.\n")
        << run.Err();
}
