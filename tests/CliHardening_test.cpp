// quellin-cli given what a hostile but realistic user gives it: paths that are no files, files that
// never end, standard input and output, two runs writing one file, bytes the unit can't take,
// numbers that are not quite numbers, names the unit can't show, and no unit at all.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/PatchLayout.h"
#include "model/SysEx.h"
#include "tests/CliFixture.h"
#include "tests/support/TestSupport.h"

namespace {

// A bank whose slot A5 carries a data byte of 85H inside message 2 of its image; its frame bytes
// are all right.
Bytes BankWithStrayByte() {
    Bytes bank = MakeBankFile();
    bank[kPatchImageSize * 4 + 175 + 9 + 30] = 0x85;
    return bank;
}

class CliHardening : public CliTest {};

TEST_F(CliHardening, ReadErrorsNameTheFileAndTheReason) {
    Write("bank.syx", MakeBankFile());
    New(3, "p.syx");
    fs::create_directories(dir / "folder");
    const std::string unreadable = "Unable to read the file \"folder\": Is a directory\n";
    const std::string missing = "Unable to open the file \"nope.syx\": No such file or directory\n";
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"bank", "list", "folder"}, unreadable},
        {{"bank", "list", "--json", "nope.syx"}, missing},
        {{"bank", "extract", "folder", "A1", "-o", "out.syx"}, unreadable},
        {{"bank", "put", "bank.syx", "A1", "folder", "-o", "out.syx"}, unreadable},
        {{"bank", "repair", "bank.syx", "-o", "out.syx", "--fill", "folder"}, unreadable},
        {{"show", "folder"}, unreadable},
        {{"show", "folder", "--slot", "A1"}, unreadable},
        {{"set", "folder", "-o", "out.syx", "name=x"}, unreadable},
        {{"diff", "p.syx", "folder"}, unreadable},
        {{"diff", "nope.syx", "p.syx"}, missing},
        {{"send-bank", "folder"}, unreadable},
        {{"emulate", "--bank", "folder"}, unreadable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(Exists("out.syx"));
    }
}

// The emulator checks the files it is given before it opens a port: a memory that can't be saved
// is found now, not after the session.
TEST_F(CliHardening, TheEmulatorRefusesAnUnwritableSaveAtStart) {
    fs::create_directories(dir / "folder");
    struct Case {
        std::string save;
        std::string err;
    };
    const Case cases[] = {
        {"folder", "Unable to save the file \"folder\": Is a directory\n"},
        {"missing/end.syx", "Unable to save the file \"missing/end.syx\": No such file or directory\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.save);
        const CliRun run = Cli({"emulate", "--save", c.save});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
}

// A file is read only as far as a bank or a patch file can reach, and a pipe reads like a file.
TEST_F(CliHardening, ReadsWithABoundAndFromPipes) {
    const CliRun zero = Cli({"bank", "list", "/dev/zero"});
    EXPECT_EQ(zero.status, 1);
    EXPECT_EQ(zero.err, std::string(kNotABank) + "\n");

    // A bank followed by gigabytes: listed from its first bytes alone.
    Write("huge.syx", MakeBankFile());
    fs::resize_file(dir / "huge.syx", 3ull << 30);
    const CliRun huge = Cli({"bank", "list", "huge.syx"});
    EXPECT_EQ(huge.status, 0) << huge.err;
    EXPECT_EQ(Lines(huge.out).size(), static_cast<size_t>(kPatchCount));

    New(21, "p.syx", {"--name", "Piped"});
    Write("bank.syx", MakeBankFile());
    const std::string shown = Cli({"show", "p.syx"}).out;
    const std::string listed = Cli({"bank", "list", "bank.syx"}).out;
    for (const std::string path : {"-", "/dev/stdin"}) {
        SCOPED_TRACE(path);
        const CliRun show = Cli({"show", path}, "p.syx");
        EXPECT_EQ(show.status, 0) << show.err;
        EXPECT_EQ(show.out, shown);
        const CliRun list = Cli({"bank", "list", path}, "bank.syx");
        EXPECT_EQ(list.status, 0) << list.err;
        EXPECT_EQ(list.out, listed);
    }
    // A patch file with a byte more is not a patch file, also through a pipe.
    Bytes longer = Read("p.syx");
    longer.push_back(0);
    Write("longer.syx", longer);
    const CliRun refused = Cli({"show", "-"}, "longer.syx");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Incorrect SysEx file size.  A single patch file will be 598 bytes.\n");
}

TEST_F(CliHardening, WritesWhereverTheOutputLeads) {
    Write("bank.syx", MakeBankFile());
    ASSERT_EQ(Cli({"bank", "extract", "bank.syx", "A7", "-o", "a7.syx"}).status, 0);
    const Bytes a7 = Read("a7.syx");

    // Standard output.
    const CliRun out = Cli({"bank", "extract", "bank.syx", "A7", "-o", "-"});
    EXPECT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(Bytes(out.out.begin(), out.out.end()), a7);

    // A 246-character name, a symlink (which stays one), a file whose mode is 600.
    const std::string longName = std::string(242, 'L') + ".syx";
    fs::create_directories(dir / "real");
    fs::create_symlink("real/target.syx", dir / "link.syx");
    Write("private.syx", {});
    fs::permissions(dir / "private.syx", fs::perms::owner_read | fs::perms::owner_write);
    for (const std::string& target : {longName, std::string("link.syx"), std::string("private.syx")}) {
        SCOPED_TRACE(target);
        const CliRun run = Cli({"bank", "extract", "bank.syx", "A7", "-o", target});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Read(target), a7);
    }
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir / "link.syx")));
    EXPECT_EQ(Read("real/target.syx"), a7);
    struct stat status {};
    ASSERT_EQ(stat((dir / "private.syx").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    // A directory is refused by name.
    fs::create_directories(dir / "folder");
    const CliRun refused = Cli({"bank", "put", "bank.syx", "A1", "a7.syx", "-o", "folder"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Unable to save the file \"folder\": Is a directory\n");
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
}

// Two runs of the tool writing one output at once: the file published is always one run's whole
// output, and neither run fails.
TEST_F(CliHardening, TwoRunsWritingOneFilePublishOneWholeFile) {
    Write("bank.syx", MakeBankFile());
    New(5, "p.syx", {"--name", "Racer"});
    ASSERT_EQ(Cli({"bank", "put", "bank.syx", "B12", "p.syx", "-o", "put.syx"}).status, 0);
    ASSERT_EQ(Cli({"bank", "extract", "bank.syx", "A7", "-o", "extract.syx"}).status, 0);
    const Bytes put = Read("put.syx");
    const Bytes extracted = Read("extract.syx");
    const std::string tool = Quote(QUELLIN_CLI_PATH);
    const std::string race = "cd " + Quote(dir.string()) + " && (" + tool +
                             " bank put bank.syx B12 p.syx -o out.syx & " + tool +
                             " bank extract bank.syx A7 -o out.syx & wait %1 && wait %2) 2>race.err";
    constexpr int kRounds = 30;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(std::system(race.c_str()), 0) << ReadText(dir / "race.err");
        const Bytes published = Read("out.syx");
        ASSERT_TRUE(published == put || published == extracted) << published.size() << " bytes";
    }
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_NE(entry.path().filename().string().rfind(".quellin-", 0), 0u) << entry.path();
}

// A byte of 80H or more inside a patch's messages: the unit would see the message end there.
TEST_F(CliHardening, StrayStatusBytesAreDamageNeverStoredOrSent) {
    Write("damaged.syx", BankWithStrayByte());
    New(7, "fill.syx", {"--name", "Filler"});

    const CliRun list = Cli({"bank", "list", "damaged.syx", "--json"});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.err.find(kSkipped), std::string::npos) << list.err;
    const ordered_json rows = ordered_json::parse(list.out);
    EXPECT_EQ(rows[4]["valid"], false);
    EXPECT_EQ(rows[3]["valid"], true);

    const CliRun refused = Cli({"bank", "repair", "damaged.syx", "-o", "out.syx"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(std::string(kCantSaveBank) + "\nEmpty slots: A5.\n"), std::string::npos)
        << refused.err;
    EXPECT_FALSE(Exists("out.syx"));

    const CliRun filled = Cli({"bank", "repair", "damaged.syx", "-o", "out.syx", "--fill", "fill.syx"});
    EXPECT_EQ(filled.status, 0) << filled.err;
    EXPECT_NE(filled.err.find("Filled 1 empty slot with \"fill.syx\": A5.\n"), std::string::npos)
        << filled.err;
    ASSERT_EQ(Cli({"bank", "extract", "out.syx", "A5", "-o", "a5.syx"}).status, 0);
    EXPECT_EQ(Read("a5.syx"), Read("fill.syx"));

    const CliRun send = Cli({"send-bank", "damaged.syx"});
    EXPECT_EQ(send.status, 1);
    EXPECT_NE(send.err.find("Empty slots: A5.\n"), std::string::npos) << send.err;
    EXPECT_EQ(send.err.find("virtual unit"), std::string::npos) << "no device was opened: " << send.err;

    // A single-patch file: show says which bytes are wrong; nothing takes the patch in.
    Bytes patch = Read("fill.syx");
    patch[200] = 0x85;
    patch[400] = 0xF0;
    Write("stray.syx", patch);
    const std::string why =
        "SysEx formatting error - unable to load.\n\nData bytes are 00H to 7FH; these are "
        "not: offsets 200 (85H), 400 (F0H).\n";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"show", "stray.syx"},
             {"set", "stray.syx", "-o", "out2.syx", "name=x"},
             {"bank", "put", "out.syx", "A1", "stray.syx", "-o", "out2.syx"},
             {"send-patch", "stray.syx"},
         }) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, why);
        EXPECT_FALSE(Exists("out2.syx"));
    }
}

TEST_F(CliHardening, NumbersAreTakenWholeOrRefusedWithTheirRange) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"set-global", "--tempo", "100abc"},
         "--tempo: 100abc is not a tempo: a whole number from 40 to 250, or midi"},
        {{"set-global", "--tempo", "40.5"},
         "--tempo: 40.5 is not a tempo: a whole number from 40 to 250, or midi"},
        {{"set-global", "--tempo", "251"},
         "--tempo: 251 is not a tempo: a whole number from 40 to 250, or midi"},
        {{"set-global", "--out-level", "1e2"}, "--out-level: 1e2 is not a whole number from 0 to 100"},
        {{"set-global", "--direct-mix", "2"}, "--direct-mix: 2 is not a whole number from 0 to 1"},
        {{"receive-bank", "-o", "b.syx", "--timeout", "nan"},
         "--timeout: nan is not a number of seconds from 0.001 to 86400"},
        {{"request-patch", "-o", "p.syx", "--timeout", "inf"},
         "--timeout: inf is not a number of seconds from 0.001 to 86400"},
        {{"request-patch", "-o", "p.syx", "--timeout", "1e999"},
         "--timeout: 1e999 is not a number of seconds from 0.001 to 86400"},
        {{"request-patch", "-o", "p.syx", "--timeout", "5s"},
         "--timeout: 5s is not a number of seconds from 0.001 to 86400"},
        {{"--device-id", "1.5", "bank", "list", "b.syx"},
         "--device-id: 1.5 is not a whole number from 0 to 31"},
        {{"--device-id", "0x1F", "bank", "list", "b.syx"},
         "--device-id: 0x1F is not a whole number from 0 to 31"},
        {{"--out", "2x", "ports"}, "--out: 2x is not a whole number from 0 to 999"},
        {{"--in", "1.0", "ports"}, "--in: 1.0 is not a whole number from 0 to 999"},
        {{"new", "--algorithm", "36.0", "-o", "n.syx"},
         "--algorithm: 36.0 is not a whole number from 0 to 36"},
        {{"new", "--algorithm", "3", "--category", "nan", "-o", "n.syx"},
         "--category: nan is not a whole number from 0 to 13"},
        {{"set", "p.syx", "-o", "n.syx", "--device-id", "99999999999999999999", "name=x"},
         "--device-id: 99999999999999999999 is not a whole number from 0 to 31"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(Lines(run.err).at(0), c.message);
        EXPECT_FALSE(Exists("n.syx"));
    }
}

// Names follow the window's name box: the unit's characters (blank to '}'), at most 13.
TEST_F(CliHardening, NamesFollowTheNameBoxRules) {
    New(2, "p.syx");
    struct Case {
        std::string given;
        std::string name;
    };
    const Case cases[] = {
        {"Plain", "Plain"},
        {"Thirteen+more chars", "Thirteen+more"},
        {"Two\nlines", "Two"},
        {"Tab\there", "Tab"},
        {"Gr\xC3\xB6\xC3\x9F"
         "e",
         "Gr"},
        {"abcdefghijkl\xC3\xA9", "abcdefghijkl"},
        {"Curly}~tilde", "Curly}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        ASSERT_EQ(Cli({"set", "p.syx", "-o", "named.syx", "name=" + c.given}).status, 0);
        EXPECT_EQ(Show("named.syx")["name"], c.name);
        New(2, "fresh.syx", {"--name", c.given});
        EXPECT_EQ(Show("fresh.syx")["name"], c.name);
        const CliRun show = Cli({"show", "named.syx"});
        EXPECT_EQ(Lines(show.out).at(2), "Name:      " + c.name);
    }
}

// Without a MIDI system the devices are the virtual unit inside the program: the tool says so.
TEST_F(CliHardening, TheVirtualUnitIsNamedWhenItIsTheDevice) {
    const CliRun ports = Cli({"ports"});
    ASSERT_EQ(ports.status, 0);
    const std::vector<std::string> lines = Lines(ports.out);
    std::vector<std::string> marked;
    for (const std::string& line : lines)
        if (line.find("Quellin virtual VF-1  (built-in virtual unit)") != std::string::npos)
            marked.push_back(line);
    ASSERT_EQ(marked.size(), 2u) << ports.out; // once among the Outs, once among the Ins
    const std::string index = std::to_string(std::stoi(marked[0]));
    const std::string inIndex = std::to_string(std::stoi(marked[1]));

    New(4, "p.syx");
    const CliRun send = Cli({"--out", index, "send-patch", "p.syx"});
    EXPECT_EQ(send.status, 0) << send.err;
    EXPECT_EQ(send.err,
              "quellin-cli: MIDI Out is the built-in virtual unit (\"Quellin virtual VF-1\"), not a "
              "VF-1 on a MIDI port.\n");
    const CliRun get = Cli({"--out", index, "--in", inIndex, "get-global"});
    EXPECT_EQ(get.status, 0) << get.err;
    EXPECT_EQ(get.err,
              "quellin-cli: MIDI Out and In are the built-in virtual unit (\"Quellin virtual VF-1\"), "
              "not a VF-1 on a MIDI port.\n");
}

} // namespace
