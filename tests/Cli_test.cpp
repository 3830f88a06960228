// quellin-cli as a user runs it (tests/CliFixture.h): the built tool in a scratch directory, its exit
// status, stdout, stderr and the files it writes. Banks are made in-process with the core, as the
// program writes them.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <nlohmann/json.hpp>

#include "midi/SysExMessages.h"
#include "model/Report.h"
#include "model/SysEx.h"
#include "model/VF1Algorithm.h"
#include "model/VF1Patch.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/CliFixture.h"
#include "tests/support/TestSupport.h"

namespace {

std::vector<std::string> Keys(const ordered_json& object) {
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it) keys.push_back(it.key());
    return keys;
}

std::string TrimRight(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// The bytes the editor's Save writes for a fresh algorithm.
Bytes SavedPatchFile(int number, const std::string& name, int category, int deviceId) {
    VF1Algorithm algorithm(number);
    algorithm.SetName(name);
    if (category >= 0) algorithm.SetCategory(category);
    PatchData data{};
    algorithm.WritePatchData(data.data());
    const auto file = PatchFileMessages(data, deviceId);
    return Bytes(file.begin(), file.end());
}

std::string SlotPatchName(int slot) {
    return std::string("Patch ") + SlotName(slot);
}

// A clean bank as the program writes one: slot i holds a fresh algorithm i mod 37 named after its slot.
const Bytes& CleanBank() {
    static const Bytes bank = MakeBankFile([](int slot) {
        return FreshPatch{slot % kAlgorithmCount, SlotPatchName(slot)};
    });
    return bank;
}

size_t ImageStart(int slot) {
    return static_cast<size_t>(kPatchImageSize) * static_cast<size_t>(slot);
}

// Offsets of the device ID byte in the four messages of a single-patch file.
constexpr std::array<size_t, 4> kDeviceIdOffsets = {2, 177, 432, 587};

constexpr const char* kSalvaged =
    "Encountered patches with invalid SysEx formatting, but I think I was able to salvage them.";

// ---- new ----------------------------------------------------------------------------------------

TEST_F(CliTest, NewWritesEveryAlgorithmAsTheEditorSavesIt) {
    for (int n = 0; n < kAlgorithmCount; ++n) {
        SCOPED_TRACE("algorithm " + std::to_string(n));
        // Every algorithm with a name longer than 13 characters; odd ones with their own category
        // and device ID, even ones with the defaults.
        const std::string name = "Algorithm " + std::to_string(n) + " patch";
        const int category = n % 2 ? (n * 5) % kCategoryCount : -1;
        const int deviceId = n % 2 ? n % 32 : 0;
        std::vector<std::string> extra = {"--name", name};
        if (n % 2)
            extra.insert(extra.end(),
                         {"--category", std::to_string(category), "--device-id", std::to_string(deviceId)});
        New(n, "new.syx", extra);

        const Bytes file = Read("new.syx");
        ASSERT_EQ(file.size(), static_cast<size_t>(kPatchFileSize));
        EXPECT_EQ(file, SavedPatchFile(n, name.substr(0, 13), category, deviceId));
        for (size_t at : kDeviceIdOffsets) EXPECT_EQ(file[at], deviceId) << "offset " << at;
        const Bytes closing(file.end() - kTerminatorSize, file.end());
        EXPECT_EQ(closing, (Bytes{0xF0, 0x41, static_cast<uint8_t>(deviceId), 0x00, 0x23, 0x12, 0x60, 0x00,
                                  0x00, 0x00, 0x00, 0x20, 0xF7}));

        const ordered_json patch = Show("new.syx");
        const int expectedCategory = category >= 0 ? category : AlgorithmDefaultCategory(n);
        EXPECT_EQ(patch["algorithm"], n);
        EXPECT_EQ(patch["algorithmName"], AlgorithmDisplayName(n));
        EXPECT_EQ(patch["category"], expectedCategory);
        EXPECT_EQ(patch["categoryName"], CategoryName(expectedCategory));
        EXPECT_EQ(patch["name"], TrimRight(name.substr(0, 13)));
    }
}

TEST_F(CliTest, DeviceIdBeforeTheCommandAppliesToo) {
    New(4, "dev.syx");
    ASSERT_EQ(Cli({"--device-id", "31", "new", "--algorithm", "4", "-o", "dev31.syx"}).status, 0);
    const Bytes file = Read("dev31.syx");
    ASSERT_EQ(file.size(), static_cast<size_t>(kPatchFileSize));
    for (size_t at : kDeviceIdOffsets) EXPECT_EQ(file[at], 31) << "offset " << at;
    EXPECT_EQ(Cli({"diff", "dev.syx", "dev31.syx"}).status, 0);
}

TEST_F(CliTest, NewRefusesBadArgumentsWithoutWriting) {
    const std::vector<std::vector<std::string>> cases = {
        {"--algorithm", "37"},
        {"--algorithm", "-1"},
        {"--algorithm", "two"},
        {"--algorithm", "3", "--category", "14"},
        {"--algorithm", "3", "--category", "-1"},
        {"--algorithm", "3", "--device-id", "32"},
        {"--algorithm", "3", "--device-id", "-1"},
        {"--name", "x"},
    };
    for (const auto& options : cases) {
        std::vector<std::string> args = {"new", "-o", "bad.syx"};
        args.insert(args.end(), options.begin(), options.end());
        const CliRun run = Cli(args);
        SCOPED_TRACE(::testing::PrintToString(options));
        EXPECT_EQ(run.status, 2);
        EXPECT_FALSE(run.err.empty());
        EXPECT_FALSE(Exists("bad.syx"));
    }
    EXPECT_EQ(Cli({"new", "--algorithm", "3"}).status, 2); // no output file named
}

// ---- show ---------------------------------------------------------------------------------------

TEST_F(CliTest, ShowJsonFollowsTheContractWordForWord) {
    New(21, "echo.syx", {"--name", "MyPatch"});
    const CliRun run = Cli({"show", "echo.syx", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string start =
        R"({"algorithm": 21, "algorithmName": "Tape Echo", "category": 8, "categoryName": "Studio", )"
        R"("name": "MyPatch", "blocks": [{"id": "0C0000", "name": "Echo", "address": "0124", )"
        R"("targetBase": 4, "params": [{"index": 0, "label": "", "name": "FX On/Off", "type": 36, )"
        R"("width": 2, "offset": 0, "target": 4, "value": 1, "text": "On"}, )";
    EXPECT_EQ(run.out.substr(0, start.size()), start);
    EXPECT_EQ(run.out.back(), '\n');
    const ordered_json patch = ordered_json::parse(run.out);
    // Names keep their line breaks.
    EXPECT_EQ(patch["blocks"][0]["params"][2]["name"], "Repeat\nRate");

    New(0, "multi.syx");
    const CliRun multi = Cli({"show", "multi.syx", "--json"});
    ASSERT_EQ(multi.status, 0) << multi.err;
    EXPECT_NE(multi.out.find(R"({"index": 7, "dummy": true, "type": 30, "width": 2, "offset": 14})"),
              std::string::npos);
    // The Master's control assigns: Target with its range, offsets inside the control-assign area.
    const ordered_json master = ordered_json::parse(multi.out)["blocks"].back();
    EXPECT_EQ(master["name"], "Master");
    EXPECT_EQ(master["params"][4], ordered_json::parse(R"({"index": 4, "label": "", "name": "Ctl 1 Target",
        "type": 6, "width": 12, "offset": 0, "target": -1, "value": 0, "text": "Global Tuner On/Off",
        "min": 0, "max": 0})"));
    EXPECT_EQ(master["params"][22]["name"], "Ctl 4 Target");
    EXPECT_EQ(master["params"][22]["offset"], 96);
}

// Every algorithm: key order and shape of every object, blocks in the table's order with Master last,
// and "offset", "width" and "address" telling the same story as the patch data's layout.
TEST_F(CliTest, ShowJsonShapeHoldsForEveryAlgorithm) {
    const std::vector<std::string> patchKeys = {"algorithm",    "algorithmName", "category",
                                                "categoryName", "name",          "blocks"};
    const std::vector<std::string> blockKeys = {"id", "name", "address", "targetBase", "params"};
    const std::vector<std::string> paramKeys = {"index",  "label",  "name",  "type", "width",
                                                "offset", "target", "value", "text"};
    std::vector<std::string> targetKeys = paramKeys;
    targetKeys.insert(targetKeys.end(), {"min", "max"});
    const std::vector<std::string> dummyKeys = {"index", "dummy", "type", "width", "offset"};
    const std::regex sixHex("[0-9A-F]{6}"), fourHex("[0-9A-F]{4}");

    for (int n = 0; n < kAlgorithmCount; ++n) {
        SCOPED_TRACE("algorithm " + std::to_string(n));
        New(n, "a.syx");
        const ordered_json patch = Show("a.syx");
        ASSERT_TRUE(patch.is_object());
        EXPECT_EQ(Keys(patch), patchKeys);
        const AlgorithmComposition& table = *AlgorithmBlocks(n);
        const ordered_json& blocks = patch["blocks"];
        ASSERT_EQ(blocks.size(), table.blocks.size() + 1);

        int nextAddress = -1; // in 7-bit units
        for (size_t b = 0; b < blocks.size(); ++b) {
            const ordered_json& block = blocks[b];
            const bool isMaster = b + 1 == blocks.size();
            SCOPED_TRACE("block " + std::to_string(b) + " " + block["name"].get<std::string>());
            EXPECT_EQ(Keys(block), blockKeys);
            const std::string id = block["id"], address = block["address"];
            ASSERT_TRUE(std::regex_match(id, sixHex));
            ASSERT_TRUE(std::regex_match(address, fourHex));
            const int addressWord = std::stoi(address, nullptr, 16);
            EXPECT_EQ(std::stoul(id, nullptr, 16), isMaster ? table.masterId : table.blocks[b].id);
            EXPECT_EQ(addressWord, isMaster ? table.masterAddress : table.blocks[b].address);
            const int address7 = (addressWord >> 8) * 128 + (addressWord & 0xFF);
            if (nextAddress >= 0) {
                EXPECT_EQ(address7, nextAddress);
            }

            // Byte offsets run on without gaps; the Master's control assigns start again at 0
            // inside their 128-byte area.
            int offset = 0;
            int streamBytes = 0;
            const ordered_json& params = block["params"];
            for (size_t i = 0; i < params.size(); ++i) {
                const ordered_json& p = params[i];
                EXPECT_EQ(p["index"], i);
                if (p.contains("dummy")) {
                    EXPECT_EQ(Keys(p), dummyKeys);
                    EXPECT_EQ(p["dummy"], true);
                    EXPECT_EQ(p["type"], 30);
                } else if (p["type"] == 6) {
                    EXPECT_EQ(Keys(p), targetKeys);
                    EXPECT_EQ(p["target"], -1);
                    EXPECT_FALSE(p["text"].get<std::string>().empty());
                } else {
                    EXPECT_EQ(Keys(p), paramKeys) << p.dump();
                }
                if (isMaster && p["type"] == 6 && p["name"] == "Ctl 1 Target") {
                    streamBytes = offset;
                    offset = 0;
                }
                EXPECT_EQ(p["offset"], offset) << "param " << i;
                offset += p["width"].get<int>();
            }
            if (isMaster) EXPECT_EQ(offset, 128);
            else streamBytes = offset;
            nextAddress = address7 + streamBytes;
        }
        EXPECT_EQ(blocks.back()["name"], "Master");
        EXPECT_EQ(blocks.back()["targetBase"], 2);
    }
}

TEST_F(CliTest, ShowTextListsLiveParametersWithoutDummies) {
    New(0, "a.syx", {"--name", "Text"});
    const CliRun run = Cli({"show", "a.syx"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Gtr Multi 1"), std::string::npos);
    EXPECT_NE(run.out.find("E.Guitar"), std::string::npos);
    EXPECT_NE(run.out.find("Text"), std::string::npos);
    EXPECT_EQ(run.out.find("Dummy"), std::string::npos);
    // "1\nPitch" shown on one line, with its stored value and its display text.
    EXPECT_TRUE(std::regex_search(run.out, std::regex(R"(\[HR 1\] ?1 Pitch +24 +0\n)"))) << run.out;
}

TEST_F(CliTest, ShowRefusesWhatItCannotLoad) {
    Write("bank.syx", CleanBank());
    Bytes broken = SavedPatchFile(3, "", -1, 0);
    broken[174] = 0x00; // message 1 loses its end byte
    Write("broken.syx", broken);
    Write("short.syx", Bytes(broken.begin(), broken.end() - 1));

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"show", "missing.syx"}, 1, "Unable to open the file"},
        {{"show", "broken.syx"}, 1, "SysEx formatting error - unable to load."},
        {{"show", "short.syx"}, 1, "Incorrect SysEx file size.  A single patch file will be 598 bytes."},
        {{"show", "bank.syx"}, 1, "Incorrect SysEx file size.  A single patch file will be 598 bytes."},
        {{"show", "bank.syx", "--slot", "C1"}, 2, ""},
        {{"show", "bank.syx", "--slot", "A102"}, 2, ""},
        {{"show", "bank.syx", "--slot", "B0"}, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

// A file whose two variable-position blocks share a place: show reports the place the loaded
// patch holds after its repair, with the program's message on stderr.
TEST_F(CliTest, ShowReportsTheRepairedPosition) {
    VF1Algorithm algorithm(0);
    VF1Effect* const* movable = algorithm.GetPositionBlocks();
    movable[0]->GetPositionParam()->SetStoredValue(4);
    movable[1]->GetPositionParam()->SetStoredValue(4);
    PatchData data{};
    algorithm.WritePatchData(data.data());
    const auto file = PatchFileMessages(data, 0);
    Write("same.syx", Bytes(file.begin(), file.end()));

    const CliRun run = Cli({"show", "same.syx", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "Both variable-position effects can't occupy the same position!\n");
    const ordered_json patch = ordered_json::parse(run.out);
    // Algorithm 0: the preamp (block 2) keeps "5th", the modulation (block 5) moves to "6th".
    const auto position = [&patch](int block) {
        for (const auto& p : patch["blocks"][block]["params"])
            if (p.value("name", "") == "Position") return p["value"].get<int>();
        return -1;
    };
    EXPECT_EQ(position(2), 4);
    EXPECT_EQ(position(5), 5);
}

// ---- set ----------------------------------------------------------------------------------------

TEST_F(CliTest, SetStoresValuesGivenAsNumbersOrTexts) {
    New(21, "echo.syx", {"--name", "MyPatch"});
    const CliRun run = Cli({"set", "echo.syx", "-o", "out.syx", "0:2=75", "0:0=\"Off\"", "0:6=\"L30:R70\"",
                            "name=A name longer than 13", "category=3"});
    ASSERT_EQ(run.status, 0) << run.err;
    const ordered_json patch = Show("out.syx");
    const ordered_json& echo = patch["blocks"][0]["params"];
    EXPECT_EQ(echo[2]["value"], 75);
    EXPECT_EQ(echo[0]["value"], 0);
    EXPECT_EQ(echo[0]["text"], "Off");
    EXPECT_EQ(echo[6]["value"], 70);
    EXPECT_EQ(echo[6]["text"], "L30:R70");
    EXPECT_EQ(patch["name"], "A name longer");
    EXPECT_EQ(patch["category"], 3);
    EXPECT_EQ(patch["categoryName"], CategoryName(3));
    // Only what was asked for changed.
    EXPECT_EQ(Cli({"diff", "echo.syx", "out.syx"}).out, "name: MyPatch -> A name longer\n"
                                                        "category: Studio -> " +
                                                            std::string(CategoryName(3)) +
                                                            "\n"
                                                            "0:0  Echo / FX On/Off: On -> Off\n"
                                                            "0:2  Echo / Repeat Rate: 50 -> 75\n"
                                                            "0:6  Echo / Pan Head S: L50:R50 -> L30:R70\n");
}

TEST_F(CliTest, SetFollowsASelectorChangeInLaterAssignments) {
    // Algorithm 0, block 5 is the "Mod" slot; "FX Sel" 1 chooses the flanger, whose "Depth" then
    // sits at index 5 (where the harmonist has "Key", whose list stops at 11).
    New(0, "mod.syx");
    ASSERT_EQ(Cli({"set", "mod.syx", "-o", "fl.syx", "5:1=\"FL: Flanger\"", "5:5=90"}).status, 0);
    const ordered_json mod = Show("fl.syx")["blocks"][5];
    EXPECT_EQ(mod["params"][1]["text"], "FL: Flanger");
    EXPECT_EQ(mod["params"][5]["label"], "[FL] ");
    EXPECT_EQ(mod["params"][5]["name"], "Depth");
    EXPECT_EQ(mod["params"][5]["value"], 90);
    EXPECT_EQ(mod["params"][5]["target"], 68);
    EXPECT_EQ(mod["params"].size(), 11u);

    // The other order reaches the harmonist's "Key": 90 is not in its list.
    EXPECT_EQ(Cli({"set", "mod.syx", "-o", "hr.syx", "5:5=90", "5:1=1"}).status, 2);
    EXPECT_FALSE(Exists("hr.syx"));
}

TEST_F(CliTest, SetMovesTheOtherVariablePositionBlock) {
    // Algorithm 0: "Preamp Sim" (block 2, "Position" at index 13) starts 3rd, "Mod" (block 5,
    // "Position" at index 2) starts 6th.
    struct Case {
        std::string assignment;
        int preamp;
        int mod;
    };
    const std::vector<Case> cases = {
        {"2:13=6", 6, 4}, // passes over Mod, which steps back toward Preamp's old side
        {"2:13=3", 3, 5}, // stays before Mod
        {"5:2=1", 3, 1},  // Mod passes over Preamp, which steps toward Mod's old side
        {"5:2=\"1st\"", 3, 0},
    };
    New(0, "pos.syx");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assignment);
        ASSERT_EQ(Cli({"set", "pos.syx", "-o", "moved.syx", c.assignment}).status, 0);
        const ordered_json patch = Show("moved.syx");
        EXPECT_EQ(patch["blocks"][2]["params"][13]["value"], c.preamp);
        EXPECT_EQ(patch["blocks"][5]["params"][2]["value"], c.mod);
    }
}

TEST_F(CliTest, SetChoosesAControlAssignTargetThroughItsSetter) {
    New(0, "ctl.syx");
    ASSERT_EQ(Cli({"set", "ctl.syx", "-o", "out.syx", "9:4=2", "9:10=\"Master BPM\""}).status, 0);
    const ordered_json master = Show("out.syx")["blocks"][9]["params"];
    EXPECT_EQ(master[4]["value"], 2);
    EXPECT_EQ(master[4]["text"], "Master Lvl");
    // The stored range is the Target's own and stays; read back, a range outside the new target's
    // values becomes its minimum (Master BPM starts at 40).
    EXPECT_EQ(master[4]["min"], 0);
    EXPECT_EQ(master[4]["max"], 0);
    EXPECT_EQ(master[10]["value"], 4);
    EXPECT_EQ(master[10]["text"], "Master BPM");
    EXPECT_EQ(master[10]["min"], 40);
    EXPECT_EQ(master[10]["max"], 40);
}

TEST_F(CliTest, SetRefusesBadAssignmentsWithoutWriting) {
    New(0, "in.syx");
    const std::vector<std::vector<std::string>> cases = {
        {"0:0=2"},         // FX On/Off lists 0 and 1
        {"0:0=\"Maybe\""}, // no such text
        {"0:0=\"on\""},    // texts match exactly
        {"5:3=0"},         // Dummy
        {"0:99=1"},        // no such parameter
        {"10:0=1"},        // no such block (Master is 9)
        {"9:4=9999"},      // no such target number
        {"0:0"},           // not an assignment
        {"0:0="},          // no value
        {"x:0=1"},         // block not a number
        {"0:-1=1"},        // negative index
        {"0=1"},           // no parameter index
        {"0:1=-5"},        // negative value
        {"category=14"},   // categories are 0..13
        {"category=E.Guitar"},
        {"0:2=75", "0:0=7"}, // a good assignment before a bad one writes nothing either
    };
    for (const auto& assignments : cases) {
        SCOPED_TRACE(::testing::PrintToString(assignments));
        std::vector<std::string> args = {"set", "in.syx", "-o", "out.syx"};
        args.insert(args.end(), assignments.begin(), assignments.end());
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_FALSE(run.err.empty());
        EXPECT_FALSE(Exists("out.syx"));
    }
}

TEST_F(CliTest, SetWritesTheDeviceIdAndReadsBankSlots) {
    Write("bank.syx", CleanBank());
    const CliRun run = Cli({"set", "bank.syx", "--slot", "B3", "--device-id", "5", "-o", "out.syx", "0:0=0"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Bytes file = Read("out.syx");
    ASSERT_EQ(file.size(), static_cast<size_t>(kPatchFileSize));
    for (size_t at : kDeviceIdOffsets) EXPECT_EQ(file[at], 5) << "offset " << at;
    const ordered_json patch = Show("out.syx");
    EXPECT_EQ(patch["name"], "Patch B3");
    EXPECT_EQ(patch["algorithm"], (101 + 2) % kAlgorithmCount);
    EXPECT_EQ(patch["blocks"][0]["params"][0]["value"], 0);
}

// ---- diff ---------------------------------------------------------------------------------------

TEST_F(CliTest, DiffReportsEveryDifference) {
    New(21, "a.syx", {"--name", "MyPatch"});
    New(21, "same.syx", {"--name", "MyPatch", "--device-id", "9"});
    const CliRun equal = Cli({"diff", "a.syx", "same.syx"});
    EXPECT_EQ(equal.status, 0);
    EXPECT_EQ(equal.out, "");

    ASSERT_EQ(Cli({"set", "a.syx", "-o", "b.syx", "0:13=\"30\"", "0:4=120"}).status, 0);
    const CliRun params = Cli({"diff", "a.syx", "b.syx"});
    EXPECT_EQ(params.status, 3);
    EXPECT_EQ(params.out, "0:4  Echo / Tone Bass: 0 -> 20\n0:13  Echo / Dir Lvl: 80 -> 30\n");

    // Another module in a slot: the module's parameters are not compared with the old module's.
    New(0, "hr.syx");
    ASSERT_EQ(Cli({"set", "hr.syx", "-o", "fl.syx", "5:1=1"}).status, 0);
    const CliRun module = Cli({"diff", "hr.syx", "fl.syx"});
    EXPECT_EQ(module.status, 3);
    EXPECT_EQ(module.out, "5:1  Mod / FX Sel: HR: Harmonist -> FL: Flanger\n");

    New(1, "other.syx", {"--name", "Other"});
    const CliRun algorithm = Cli({"diff", "a.syx", "other.syx"});
    EXPECT_EQ(algorithm.status, 3);
    const std::vector<std::string> lines = Lines(algorithm.out);
    ASSERT_EQ(lines.size(), 3u) << algorithm.out;
    EXPECT_EQ(lines[0], std::string("algorithm: Tape Echo -> ") + AlgorithmDisplayName(1));
    EXPECT_EQ(lines[1], "name: MyPatch -> Other");
    EXPECT_EQ(lines[2], std::string("category: Studio -> ") + CategoryName(AlgorithmDefaultCategory(1)));
}

TEST_F(CliTest, DiffComparesBankSlots) {
    Write("bank.syx", CleanBank());
    EXPECT_EQ(Cli({"diff", "bank.syx", "bank.syx", "--slot-a", "A1", "--slot-b", "A1"}).status, 0);
    // A1 and A38 hold the same algorithm under other names.
    const CliRun run = Cli({"diff", "bank.syx", "bank.syx", "--slot-a", "A1", "--slot-b", "A38"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "name: Patch A1 -> Patch A38\n");
    EXPECT_EQ(Cli({"diff", "bank.syx", "bank.syx"}).status, 1);
}

// ---- bank ---------------------------------------------------------------------------------------

TEST_F(CliTest, BankListShowsEverySlot) {
    Write("bank.syx", CleanBank());
    const CliRun text = Cli({"bank", "list", "bank.syx"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.err, "");
    const std::vector<std::string> lines = Lines(text.out);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kPatchCount));
    for (int slot : {0, 36, 100, 101, 201}) {
        SCOPED_TRACE(SlotName(slot));
        EXPECT_EQ(lines[static_cast<size_t>(slot)].rfind(SlotName(slot), 0), 0u);
        EXPECT_NE(lines[static_cast<size_t>(slot)].find(SlotPatchName(slot)), std::string::npos);
        EXPECT_NE(lines[static_cast<size_t>(slot)].find(AlgorithmDisplayName(slot % kAlgorithmCount)),
                  std::string::npos);
    }

    const CliRun json = Cli({"bank", "list", "bank.syx", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.rfind(R"([{"slot": "A1", "valid": true, "name": "Patch A1     ", "algorithm": ")", 0),
              0u);
    const ordered_json rows = ordered_json::parse(json.out);
    ASSERT_EQ(rows.size(), static_cast<size_t>(kPatchCount));
    for (int slot = 0; slot < kPatchCount; ++slot) {
        const ordered_json& row = rows[static_cast<size_t>(slot)];
        SCOPED_TRACE(SlotName(slot));
        EXPECT_EQ(Keys(row), (std::vector<std::string>{"slot", "valid", "name", "algorithm"}));
        EXPECT_EQ(row["slot"], SlotName(slot));
        EXPECT_EQ(row["valid"], true);
        std::string name = SlotPatchName(slot);
        name.resize(13, ' ');
        EXPECT_EQ(row["name"], name);
        EXPECT_EQ(row["algorithm"], AlgorithmDisplayName(slot % kAlgorithmCount));
    }
}

TEST_F(CliTest, BankCommandsRefuseAFileThatIsNoBank) {
    Bytes notBank = CleanBank();
    notBank[0] = 0x00;
    Write("notbank.syx", notBank);
    Write("empty.syx", {});
    New(1, "patch.syx");
    for (const std::string file : {"notbank.syx", "empty.syx"}) {
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"bank", "list", file},
                 {"bank", "list", file, "--json"},
                 {"bank", "extract", file, "A1", "-o", "out.syx"},
                 {"bank", "put", file, "A1", "patch.syx", "-o", "out.syx"},
                 {"bank", "repair", file, "-o", "out.syx", "--fill", "patch.syx"},
             }) {
            SCOPED_TRACE(::testing::PrintToString(args));
            const CliRun run = Cli(args);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, std::string(kNotABank) + "\n");
            EXPECT_FALSE(Exists("out.syx"));
        }
    }
}

TEST_F(CliTest, BankExtractWritesTheSlotAsASinglePatchFile) {
    Write("bank.syx", CleanBank());
    for (int slot : {0, 100, 107, 201}) {
        SCOPED_TRACE(SlotName(slot));
        ASSERT_EQ(Cli({"bank", "extract", "bank.syx", SlotName(slot), "-o", "one.syx"}).status, 0);
        EXPECT_EQ(Read("one.syx"), SavedPatchFile(slot % kAlgorithmCount, SlotPatchName(slot), -1, 0));
        EXPECT_EQ(Show("bank.syx", SlotName(slot)), Show("one.syx"));
    }
    EXPECT_EQ(Cli({"--device-id", "12", "bank", "extract", "bank.syx", "A2", "-o", "dev.syx"}).status, 0);
    EXPECT_EQ(Read("dev.syx"), SavedPatchFile(1, SlotPatchName(1), -1, 12));

    Bytes damaged = CleanBank();
    damaged[ImageStart(5) + 176] = 0x42; // message 2 of A6 names another manufacturer
    Write("damaged.syx", damaged);
    const CliRun empty = Cli({"bank", "extract", "damaged.syx", "A6", "-o", "six.syx"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("A6"), std::string::npos) << empty.err;
    EXPECT_FALSE(Exists("six.syx"));
}

TEST_F(CliTest, BankPutReplacesOneSlotAndRenumbers) {
    Write("bank.syx", CleanBank());
    New(5, "put.syx", {"--name", "Put here", "--category", "2"});
    const CliRun run = Cli({"bank", "put", "bank.syx", "B50", "put.syx", "-o", "out.syx"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    const Bytes out = Read("out.syx");
    ASSERT_EQ(out.size(), static_cast<size_t>(kBankFileSize));
    const int slot = SlotFromName("B50");
    const Bytes& clean = CleanBank();
    for (int i = 0; i < kPatchCount; ++i) {
        if (i == slot) continue;
        EXPECT_TRUE(std::equal(out.begin() + ImageStart(i), out.begin() + ImageStart(i + 1),
                               clean.begin() + ImageStart(i)))
            << SlotName(i);
    }
    EXPECT_TRUE(std::equal(out.begin() + kBankImagesSize, out.end(), clean.begin() + kBankImagesSize));
    // The slot's three messages carry its own address.
    const PatchAddressBytes a = PatchAddress(slot);
    const size_t at = ImageStart(slot);
    EXPECT_EQ((Bytes{out[at + 6], out[at + 7], out[at + 8]}), (Bytes{a[0], a[1], a[2]}));
    EXPECT_EQ((Bytes{out[at + 436], out[at + 437], out[at + 438]}),
              (Bytes{a[0], static_cast<uint8_t>(a[1] + 1), 0x74}));

    ASSERT_EQ(Cli({"bank", "extract", "out.syx", "B50", "-o", "back.syx"}).status, 0);
    EXPECT_EQ(Read("back.syx"), Read("put.syx"));
    EXPECT_EQ(Cli({"bank", "list", "out.syx", "--json"}).err, ""); // loads clean, no salvage notice
}

TEST_F(CliTest, BankPutWritesTheDeviceIdInEveryMessage) {
    Write("bank.syx", CleanBank());
    New(5, "put.syx");
    ASSERT_EQ(Cli({"--device-id", "7", "bank", "put", "bank.syx", "A1", "put.syx", "-o", "out.syx"}).status,
              0);
    const Bytes out = Read("out.syx");
    ASSERT_EQ(out.size(), static_cast<size_t>(kBankFileSize));
    for (int i = 0; i < kPatchCount; ++i)
        for (size_t message : {0, 175, 430}) EXPECT_EQ(out[ImageStart(i) + message + 2], 7) << SlotName(i);
    EXPECT_EQ(out[kBankImagesSize + 2], 7);
}

TEST_F(CliTest, BankRepairSalvagesWhatItCan) {
    // A11's first message loses one byte: salvage rebuilds it from the second message.
    Bytes shortened = CleanBank();
    shortened.erase(shortened.begin() + static_cast<long>(ImageStart(10)) + 50);
    Write("shortened.syx", shortened);
    const CliRun run = Cli({"bank", "repair", "shortened.syx", "-o", "out.syx"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find(kSalvaged), std::string::npos) << run.err;
    EXPECT_EQ(Read("out.syx"), CleanBank());
}

TEST_F(CliTest, BankRepairFillsEmptySlotsOnlyWhenAsked) {
    Bytes damaged = CleanBank();
    damaged[ImageStart(10) + 176] = 0x42;  // A11 can't be read
    damaged[ImageStart(150) + 432] = 0x7F; // a device ID is no damage
    Write("damaged.syx", damaged);

    const CliRun list = Cli({"bank", "list", "damaged.syx", "--json"});
    ASSERT_EQ(list.status, 0);
    EXPECT_NE(list.err.find(kSkipped), std::string::npos) << list.err;
    const ordered_json rows = ordered_json::parse(list.out);
    EXPECT_EQ(rows[10], ordered_json::parse(R"({"slot": "A11", "valid": false, "name": "empty        ",
        "algorithm": ""})"));
    EXPECT_EQ(rows[150]["valid"], true);

    const CliRun refused = Cli({"bank", "repair", "damaged.syx", "-o", "out.syx"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(std::string(kCantSaveBank) + "\n"), std::string::npos) << refused.err;
    EXPECT_FALSE(Exists("out.syx"));
    New(7, "fill.syx", {"--name", "Filler"});
    const CliRun put = Cli({"bank", "put", "damaged.syx", "A1", "fill.syx", "-o", "out.syx"});
    EXPECT_EQ(put.status, 1);
    EXPECT_NE(put.err.find(kCantSaveBank), std::string::npos) << put.err;
    EXPECT_FALSE(Exists("out.syx"));

    const CliRun filled = Cli({"bank", "repair", "damaged.syx", "-o", "out.syx", "--fill", "fill.syx"});
    ASSERT_EQ(filled.status, 0) << filled.err;
    const Bytes out = Read("out.syx");
    ASSERT_EQ(out.size(), static_cast<size_t>(kBankFileSize));
    const Bytes& clean = CleanBank();
    for (int i = 0; i < kPatchCount; ++i) {
        if (i == 10) continue;
        EXPECT_TRUE(std::equal(out.begin() + ImageStart(i), out.begin() + ImageStart(i + 1),
                               clean.begin() + ImageStart(i)))
            << SlotName(i);
    }
    ASSERT_EQ(Cli({"bank", "extract", "out.syx", "A11", "-o", "a11.syx"}).status, 0);
    EXPECT_EQ(Read("a11.syx"), Read("fill.syx"));
    EXPECT_EQ(Cli({"bank", "list", "out.syx"}).err, "");
}

// ---- command line -------------------------------------------------------------------------------

TEST_F(CliTest, HelpAndUsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--help"},
             {"new", "--help"},
             {"show", "--help"},
             {"set", "--help"},
             {"diff", "--help"},
             {"bank", "--help"},
             {"bank", "list", "--help"},
             {"bank", "extract", "--help"},
             {"bank", "put", "--help"},
             {"bank", "repair", "--help"},
         }) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("Usage"), std::string::npos);
    }
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"frobnicate"},
             {"bank"},
             {"bank", "frobnicate", "x.syx"},
             {"show"},
             {"show", "a.syx", "--frobnicate"},
             {"bank", "extract", "bank.syx", "A0", "-o", "x.syx"},
             {"--device-id", "40", "bank", "list", "bank.syx"},
         }) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_FALSE(run.err.empty());
    }
}

} // namespace
