#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "model/Random.h"
#include "model/SysEx.h"
#include "model/VF1Algorithm.h"
#include "model/VF1EffectSlot.h"
#include "model/VF1MasterEffect.h"
#include "model/VF1MultiModeEffect.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr const char* kInvalidTarget = "Invalid value for Control Assign target.  Defaulting.";

class RecordingWindow : public AlgorithmObserver {
  public:
    void OnBlockLayoutChanged() override { ++layoutChanges; }
    void OnEffectPositionsChanged(bool moved) override { positionNotices.push_back(moved); }

    int layoutChanges = 0;
    std::vector<bool> positionNotices;
};

// Puts a value into a parameter the way reading patch data does: nobody is told.
void Store(VF1Param& param, int value) {
    auto bytes = NibbleEncode8(value);
    PatchStream stream(bytes.data(), bytes.size());
    param.Read(stream);
    ASSERT_EQ(param.GetValue(), value);
}

std::array<uint8_t, kPatchDataSize> PatchDataOf(VF1Algorithm& algorithm) {
    std::array<uint8_t, kPatchDataSize> data{};
    algorithm.WritePatchData(data.data());
    return data;
}

const TargetEntry* FindTarget(const VF1MasterEffect& master, int target) {
    for (int i = 0; i <= master.GetLastIndex(); ++i)
        if (master.GetTargetTable()[static_cast<size_t>(i)].target == target)
            return &master.GetTargetTable()[static_cast<size_t>(i)];
    return nullptr;
}

std::vector<std::string> TableTexts(const VF1MasterEffect& master) {
    std::vector<std::string> texts;
    for (int i = 0; i <= master.GetLastIndex(); ++i)
        texts.push_back(master.GetTargetTable()[static_cast<size_t>(i)].text);
    return texts;
}

// Control assign n (1..4) of a patch: the Target and the five parameters after it.
VF1TargetParam* AssignTarget(VF1MasterEffect& master, int n) {
    return dynamic_cast<VF1TargetParam*>(master.GetParam(master.GetOwnParamCount() + 6 * (n - 1)));
}

} // namespace

// When one variable-position effect passes over the other, the other steps one place back; in
// "Bass Multi" the positions next to the first one are skipped as the unit does.
TEST(Algorithm, PositionRules) {
    struct Case {
        int algorithm;
        int first, second; // positions before the change
        int moving;        // 0: the first position block, 1: the second
        int to;
        int firstAfter, secondAfter;
        bool moved;
    };
    const Case cases[] = {
        {0, 2, 4, 0, 5, 5, 3, true},  {0, 2, 4, 0, 4, 4, 3, true},  {0, 2, 4, 1, 2, 3, 2, true},
        {0, 2, 4, 0, 3, 3, 4, false}, {0, 2, 4, 1, 1, 3, 1, true},  {0, 2, 4, 1, 8, 2, 8, false},
        {2, 0, 3, 0, 1, 2, 3, false}, {2, 5, 3, 0, 1, 0, 4, true},  {2, 1, 0, 0, 2, 3, 0, false},
        {2, 4, 0, 0, 2, 1, 0, false}, {2, 3, 0, 1, 1, 3, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "algorithm " << c.algorithm << ": " << c.first << "/" << c.second
                                        << ", block " << c.moving << " to " << c.to);
        VF1Algorithm algorithm(c.algorithm);
        RecordingWindow window;
        algorithm.SetOwnerWindow(&window);
        VF1Effect* const* blocks = algorithm.GetPositionBlocks();
        ASSERT_NE(blocks[0], nullptr);
        ASSERT_NE(blocks[1], nullptr);
        VF1Param& first = *blocks[0]->GetPositionParam();
        VF1Param& second = *blocks[1]->GetPositionParam();
        Store(first, c.first);
        Store(second, c.second);

        (c.moving == 0 ? first : second).SetValue(c.to);
        EXPECT_EQ(first.GetValue(), c.firstAfter);
        EXPECT_EQ(second.GetValue(), c.secondAfter);
        ASSERT_FALSE(window.positionNotices.empty());
        EXPECT_EQ(std::count(window.positionNotices.begin(), window.positionNotices.end(), true) > 0,
                  c.moved);

        window.positionNotices.clear();
        first.SetValue(first.GetValue());
        EXPECT_TRUE(window.positionNotices.empty()) << "an unchanged value tells nobody";
    }

    // Which blocks move: the Preamp Sim and the slot, in list order.
    VF1Algorithm guitar(0);
    EXPECT_EQ(guitar.GetPositionBlocks()[0], guitar.GetBlock(2));
    EXPECT_EQ(guitar.GetPositionBlocks()[1], guitar.GetBlock(5));
    VF1Algorithm delay(19);
    EXPECT_EQ(delay.GetPositionBlocks()[0], nullptr);
    EXPECT_EQ(delay.GetPositionBlocks()[1], nullptr);
}

TEST(AlgorithmList, NewAddReplaceRemove) {
    VF1AlgorithmList list;
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetCurrentIndex(), 0);
    VF1Algorithm* first = list.GetCurrent();
    EXPECT_EQ(first->GetNumber(), 29);
    EXPECT_EQ(first->GetCategory(), 9);
    EXPECT_EQ(first->GetName(), "");
    EXPECT_EQ(first->GetBlockCount(), 6);

    list.RemoveAt(0);
    EXPECT_EQ(list.GetCount(), 1) << "the last patch stays";
    EXPECT_EQ(list.GetCurrent(), first);

    list.AddDefault();
    list.AddDefault();
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetCurrent(), first);
    VF1Algorithm* second = list.GetAt(1);
    VF1Algorithm* third = list.GetAt(2);

    list.Select(2);
    list.RemoveAt(2);
    EXPECT_EQ(list.GetCurrentIndex(), 1);
    EXPECT_EQ(list.GetCurrent(), second);

    list.AddDefault();
    third = list.GetAt(2);
    list.RemoveAt(1);
    EXPECT_EQ(list.GetCurrentIndex(), 1);
    EXPECT_EQ(list.GetCurrent(), third);

    list.ReplaceCurrent(21);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetCurrentIndex(), 1);
    EXPECT_EQ(list.GetCurrent()->GetNumber(), 21);
    EXPECT_EQ(list.GetCurrent()->GetCategory(), 8);
    EXPECT_EQ(list.GetAt(0), first);
}

TEST(AlgorithmList, LoadingAnUnknownAlgorithmChangesNothing) {
    MessageRecorder messages;
    VF1AlgorithmList list;
    VF1Algorithm algorithm(29);
    auto data = PatchDataOf(algorithm);
    const auto forty = NibbleEncode16(40);
    std::copy(forty.begin(), forty.end(), data.begin());

    EXPECT_FALSE(list.LoadFromPatchData(data.data(), data.data() + kHeaderHalfSize));
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{
                                       "not handling algorithm 40",
                                       "Invalid patch!  The algorithm type was invalid.  Unable to load.",
                                   }));
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetCurrentIndex(), 0);

    messages.Clear();
    const auto twentyOne = NibbleEncode16(21);
    std::copy(twentyOne.begin(), twentyOne.end(), data.begin());
    EXPECT_TRUE(list.LoadFromPatchData(data.data(), data.data() + kHeaderHalfSize));
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetCurrentIndex(), 1);
    EXPECT_EQ(list.GetCurrent()->GetNumber(), 21);
    EXPECT_TRUE(messages.Messages().empty());
}

// The name takes 13 characters padded with blanks; reading drops trailing white space.
TEST(Algorithm, NameInTheHeader) {
    struct Case {
        const char* name;
        const char* stored;
        const char* read;
    };
    const Case cases[] = {
        {"Vocal", "Vocal        ", "Vocal"},
        {"", "             ", ""},
        {"Thirteen char", "Thirteen char", "Thirteen char"},
        {"Fourteen chars", "Fourteen char", "Fourteen char"},
        {"  Lead  ", "  Lead       ", "  Lead"},
        {"Tab\t", "Tab\t         ", "Tab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VF1Algorithm algorithm(7);
        algorithm.SetName(c.name);
        algorithm.SetCategory(12);
        const auto data = PatchDataOf(algorithm);
        EXPECT_EQ(NibbleDecode16(data.data()), 7);
        EXPECT_EQ(NibbleDecode16(data.data() + 4), 12);
        std::string stored;
        for (int i = 0; i < 13; ++i) stored += static_cast<char>(NibbleDecode8(data.data() + 8 + 2 * i));
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(data[34], 0);
        EXPECT_EQ(data[35], 0);

        VF1Algorithm reader(7);
        reader.ReadHeader(data.data());
        EXPECT_EQ(reader.GetName(), c.read);
        EXPECT_EQ(reader.GetCategory(), 12);
    }
}

// Entries 0 and 1 are the global switches, then the Master's own entries by variant (index and
// target number may differ), then the blocks' parameters from the first block entry on.
TEST(MasterEffect, TargetTableByVariant) {
    struct Entry {
        int index;
        int target;
        const char* text;
    };
    struct Case {
        int algorithm;
        int ownParams;
        int firstBlockEntry;
        std::vector<Entry> entries;
    };
    const Case cases[] = {
        {29,
         4,
         5,
         {{2, 2, "Master Lvl"},
          {3, 4, "Master BPM"},
          {4, 3, "Foot Volume Level"},
          {5, 5, "Comp/Lim  FX On/Off"}}},
        {21, 4, 4, {{2, 2, "Master Lvl"}, {3, 3, "Foot Volume Level"}, {4, 4, "Echo  FX On/Off"}}},
        {22,
         6,
         5,
         {{2, 2, "Link"},
          {3, 3, "Master Lvl"},
          {4, 4, "Foot Volume Level"},
          {5, 5, "Mic Converter  FX On/Off"}}},
        {36,
         3,
         4,
         {{2, 2, "Master Lvl"}, {3, 3, "Foot Volume Level"}, {4, 5, "Speaker Modelling  FX On/Off"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.algorithm);
        VF1Algorithm algorithm(c.algorithm);
        VF1MasterEffect& master = *algorithm.GetMaster();
        const TargetTable& table = master.GetTargetTable();
        EXPECT_EQ(master.GetOwnParamCount(), c.ownParams);
        EXPECT_EQ(master.GetFirstBlockEntry(), c.firstBlockEntry);
        EXPECT_EQ(master.OwnParamCount(), c.ownParams + 24);

        EXPECT_EQ(table[0].target, 0);
        EXPECT_EQ(table[0].text, "Global Tuner On/Off");
        EXPECT_EQ(table[0].param, master.GetTunerSwitch());
        EXPECT_EQ(table[1].target, 1);
        EXPECT_EQ(table[1].text, "Global Effects On/Off");
        EXPECT_EQ(table[1].param, master.GetEffectsSwitch());
        for (int i = 0; i < master.OwnParamCount(); ++i) {
            EXPECT_NE(master.GetTunerSwitch(), master.GetParam(i));
            EXPECT_NE(master.GetEffectsSwitch(), master.GetParam(i));
        }
        for (const Entry& e : c.entries) {
            EXPECT_EQ(table[static_cast<size_t>(e.index)].target, e.target) << e.text;
            EXPECT_EQ(table[static_cast<size_t>(e.index)].text, e.text);
            ASSERT_NE(table[static_cast<size_t>(e.index)].param, nullptr);
        }
        // The first block entry is the first block's "FX On/Off".
        EXPECT_EQ(table[static_cast<size_t>(c.firstBlockEntry)].param, algorithm.GetBlock(0)->GetParam(0));

        int expectedCount = c.firstBlockEntry;
        for (int b = 0; b + 1 < algorithm.GetBlockCount(); ++b)
            for (VF1Param* p : algorithm.GetBlock(b)->LiveParams()) expectedCount += p->GetTarget() != -1;
        EXPECT_EQ(master.GetLastIndex(), expectedCount - 1);
    }

    // Labels stand between block name and parameter name, each with a blank after it.
    VF1Algorithm guitar(0);
    const VF1MasterEffect& master = *guitar.GetMaster();
    ASSERT_NE(FindTarget(master, 51), nullptr);
    EXPECT_EQ(FindTarget(master, 51)->text, "Mod [HR]  Voice");
    EXPECT_EQ(FindTarget(master, 52)->text, "Mod [HR 1] 1\nMode");
    EXPECT_EQ(FindTarget(master, 6)->text, "Comp/Lim [COMP]  Sustain");
    EXPECT_EQ(FindTarget(master, 25)->text, "Preamp Sim  FX On/Off");

    VF1Algorithm bass(2);
    bass.GetBlock(7)->GetParam(1)->SetValue(2); // "Mod" slot: "CE: Chorus"
    ASSERT_NE(FindTarget(*bass.GetMaster(), 73), nullptr);
    EXPECT_EQ(FindTarget(*bass.GetMaster(), 73)->text, "Mod [CE]  Rate");
}

// A Target reads its number from offset 8 of its 12 bytes, then its range from offsets 0 and 4;
// a number missing from the table falls back to the largest lower one with a message, a range
// end outside the target's values becomes the target's minimum.
TEST(MasterEffect, ReadingControlAssignTargets) {
    struct Case {
        const char* what;
        int stored, min, max;
        int target, targetMin, targetMax;
        const char* targetText;
        bool message;
    };
    const Case cases[] = {
        {"in the table", 7, 30, 80, 7, 30, 80, "Comp/Lim [COMP]  Thrshld", false},
        {"max above the range", 7, 30, 150, 7, 30, 0, "Comp/Lim [COMP]  Thrshld", false},
        {"min above the range", 7, 101, 100, 7, 0, 100, "Comp/Lim [COMP]  Thrshld", false},
        {"module not selected", 14, 10, 20, 12, 10, 20, "Comp/Lim [COMP]  Level", true},
        {"above every entry", 999, 0, 1, 51, 0, 1, "Delay  Hi Cut\nFlt", true},
        {"index and number differ", 3, 0, 100, 3, 0, 100, "Foot Volume Level", false},
        {"global switch", 1, 0, 5, 1, 0, 0, "Global Effects On/Off", false},
        {"Master BPM", 4, 40, 252, 4, 40, 252, "Master BPM", false},
        {"Master BPM range below", 4, 39, 253, 4, 40, 40, "Master BPM", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageRecorder messages;
        VF1Algorithm written(29);
        auto data = PatchDataOf(written);
        // Control assign 2: 32 bytes into the area at header byte 36.
        const int at = 36 + 32;
        const auto min = NibbleEncode16(c.min), max = NibbleEncode16(c.max),
                   number = NibbleEncode16(c.stored);
        std::copy(min.begin(), min.end(), data.begin() + at);
        std::copy(max.begin(), max.end(), data.begin() + at + 4);
        std::copy(number.begin(), number.end(), data.begin() + at + 8);

        VF1AlgorithmList list;
        ASSERT_TRUE(list.LoadFromPatchData(data.data(), data.data() + kHeaderHalfSize));
        VF1MasterEffect& master = *list.GetCurrent()->GetMaster();
        VF1TargetParam* target = AssignTarget(master, 2);
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(target->GetValue(), c.target);
        EXPECT_EQ(target->GetTargetMin(), c.targetMin);
        EXPECT_EQ(target->GetTargetMax(), c.targetMax);
        const int index = target->GetValueIndex();
        ASSERT_GE(index, 0);
        EXPECT_EQ(target->GetEntryText(index), c.targetText);
        EXPECT_EQ(target->GetTextForValue(c.target), c.targetText);
        EXPECT_EQ(target->GetTargetParam(), master.GetTargetTable()[static_cast<size_t>(index)].param);
        EXPECT_EQ(messages.Messages(),
                  c.message ? std::vector<std::string>{kInvalidTarget} : std::vector<std::string>{});
        EXPECT_EQ(AssignTarget(master, 1)->GetValue(), 0) << "the other assigns keep theirs";
    }

    // A number the table doesn't hold indexes as the negated index of the largest lower entry.
    VF1Algorithm algorithm(29);
    VF1TargetParam* target = AssignTarget(*algorithm.GetMaster(), 1);
    target->SetValue(14);
    const int fallback = -target->GetValueIndex();
    EXPECT_EQ(algorithm.GetMaster()->GetTargetTable()[static_cast<size_t>(fallback)].target, 12);
    EXPECT_EQ(target->GetTextForValue(14), "");
}

// Control-assign changes go to the header half: byte offset 36 + offset in the area, bit 7
// moved into the high byte, the Target's three values at its start + 0, 4 and 8.
TEST(MasterEffect, ControlAssignsAreSentInRealTime) {
    VF1Algorithm algorithm(29);
    VF1MasterEffect& master = *algorithm.GetMaster();
    const int own = master.GetOwnParamCount();
    RecordingSink sink;

    VF1TargetParam* third = AssignTarget(master, 3);
    third->SetValueIndex(5);
    third->SetTargetMin(3);
    third->SetTargetMax(9);
    VF1TargetParam* fourth = AssignTarget(master, 4);
    fourth->SetValueIndex(6);
    fourth->SetTargetMin(1);
    fourth->SetTargetMax(0);
    master.GetParam(own + 1)->SetValue(2);       // Ctl 1 Src Type
    master.GetParam(own + 6 + 4)->SetValue(100); // Ctl 2 Src Max
    master.GetParam(own + 18 + 5)->SetValue(1);  // Ctl 4 On/Off
    master.GetParam(own + 18 + 5)->SetValue(1);  // unchanged: nothing
    EXPECT_EQ(sink.parameters, (std::vector<RecordingSink::Sent>{
                                   {0x6C, 5, 4},
                                   {0x64, 3, 4},
                                   {0x68, 9, 4},
                                   {0x10C, 6, 4},
                                   {0x104, 1, 4},
                                   {0x108, 0, 4},
                                   {0x30, 2, 4},
                                   {0x5C, 100, 4},
                                   {0x120, 1, 4},
                               }));
    EXPECT_EQ(third->GetTargetParam(), master.GetTargetTable()[5].param);
}

// The table holds 150 entries; collecting never writes past it.
TEST(MasterEffect, CollectingStopsAtTheEndOfTheTable) {
    auto delay = CreateEffect(0x080002, 0x138, 15, "");
    int targets = 0;
    for (VF1Param* p : delay->LiveParams()) targets += p->GetTarget() != -1;
    ASSERT_GT(targets, 20);

    TargetTable table;
    int count = 0;
    delay->CollectTargets(table, count);
    EXPECT_EQ(count, targets);
    for (const int start : {kTargetTableSize - 10, kTargetTableSize - 1, kTargetTableSize}) {
        count = start;
        delay->CollectTargets(table, count);
        EXPECT_EQ(count, kTargetTableSize);
    }
    EXPECT_EQ(table[kTargetTableSize - 1].param, delay->GetParam(0));
    EXPECT_EQ(table[kTargetTableSize - 1].text, "Delay  FX On/Off");
}

// Patch data selecting "SDD: Short Delay" in a "Mod" slot is read into that sub-effect from the
// slot's byte 8 on, and its parameters are the slot's targets from 99 on.
TEST(EffectSlot, ReadingSelectsTheSubEffect) {
    MessageRecorder messages;
    VF1Algorithm written(0);
    auto* slot = dynamic_cast<VF1EffectSlot*>(written.GetBlock(5));
    ASSERT_NE(slot, nullptr);
    ASSERT_EQ(slot->GetHeaderCount(), 4);
    slot->Select(4);
    EXPECT_EQ(slot->GetSelectedParam()->GetName(), "Voice");
    slot->GetParam(1)->SetValue(5);
    EXPECT_EQ(slot->GetSelectedParam()->GetName(), "Dly\nTime") << "the selection follows the sub-effect";
    slot->GetParam(4)->SetValue(300);
    slot->GetParam(5)->SetValue(70);
    const auto data = PatchDataOf(written);
    constexpr int slotStart = 1 * 128 + 0x7C; // the slot's address 17CH as a patch data offset
    EXPECT_EQ(std::vector<uint8_t>(data.begin() + slotStart + 8, data.begin() + slotStart + 12),
              (std::vector<uint8_t>{0x00, 0x01, 0x02, 0x0C}));

    VF1AlgorithmList list;
    ASSERT_TRUE(list.LoadFromPatchData(data.data(), data.data() + kHeaderHalfSize));
    auto* loaded = dynamic_cast<VF1EffectSlot*>(list.GetCurrent()->GetBlock(5));
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->GetCurrentSubEffect(), nullptr);
    EXPECT_EQ(loaded->GetCurrentSubEffect()->GetId(), 0x1A0017u);
    EXPECT_EQ(loaded->GetCurrentSubEffect()->GetName(), "Mod - Short Delay");
    struct Expected {
        int index;
        const char* name;
        int offset, target, value;
    };
    for (const Expected& e : {Expected{4, "Dly\nTime", 8, 99, 300}, Expected{5, "Fdbck", 12, 100, 70},
                              Expected{6, "FX Lvl", 14, 101, 60}}) {
        VF1Param* p = loaded->GetParam(e.index);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->GetName(), e.name);
        EXPECT_EQ(p->GetLabel(), "[SDD] ");
        EXPECT_EQ(p->GetOffset(), e.offset);
        EXPECT_EQ(p->GetTarget(), e.target);
        EXPECT_EQ(p->GetValue(), e.value);
        EXPECT_EQ(p->GetOwner(), loaded);
    }
    const VF1MasterEffect& master = *list.GetCurrent()->GetMaster();
    ASSERT_NE(FindTarget(master, 99), nullptr);
    EXPECT_EQ(FindTarget(master, 99)->text, "Mod [SDD]  Dly\nTime");
    EXPECT_EQ(FindTarget(master, 51), nullptr) << "the harmonist is not selected";

    // A selector value past the sub-effects reads as the first.
    auto bad = data;
    bad[static_cast<size_t>(slotStart + 3)] = 0x0F;
    ASSERT_TRUE(list.LoadFromPatchData(bad.data(), bad.data() + kHeaderHalfSize));
    auto* reset = dynamic_cast<VF1EffectSlot*>(list.GetCurrent()->GetBlock(5));
    EXPECT_EQ(reset->GetParam(1)->GetValue(), 0);
    EXPECT_EQ(reset->GetCurrentSubEffect()->GetId(), 0x1A000Du);
    EXPECT_TRUE(messages.Messages().empty());
}

// A multi-mode block writes only the chosen mode's bytes and keeps the others' values.
TEST(MultiModeEffect, ModesShareTheirBytes) {
    VF1Algorithm algorithm(10);
    auto* lofi = dynamic_cast<VF1MultiModeEffect*>(algorithm.GetBlock(1));
    ASSERT_NE(lofi, nullptr);
    lofi->GetParam(2)->SetValue(55); // [RADIO] Tuning
    lofi->GetParam(1)->SetValue(2);
    EXPECT_EQ(lofi->GetMode(), 2);
    std::array<uint8_t, 40> bytes{};
    PatchStream out(bytes.data(), bytes.size());
    EXPECT_EQ(lofi->WriteStream(out), 24);
    EXPECT_EQ(
        std::vector<uint8_t>(bytes.begin(), bytes.begin() + 24),
        (std::vector<uint8_t>{0, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 1, 4, 0, 0, 0, 10, 0, 10, 0, 10}));
    EXPECT_EQ(lofi->GetParam(11)->GetLabel(), "[PROCESS] ");
    EXPECT_EQ(lofi->GetParam(12), nullptr);
    lofi->GetParam(1)->SetValue(0);
    EXPECT_EQ(lofi->GetParam(2)->GetName(), "Tuning");
    EXPECT_EQ(lofi->GetParam(2)->GetValue(), 55);

    // Wah/Auto-Wah, H = 2: index H + 2 is the [WAH] Dummy in mode 0 and [A-W] "Sens" in mode 1.
    VF1Algorithm guitar(0);
    VF1Effect* wah = guitar.GetBlock(1);
    ASSERT_EQ(wah->GetHeaderCount(), 2);
    EXPECT_TRUE(wah->GetParam(4)->IsDummy());
    EXPECT_EQ(wah->GetParam(4)->GetWidth(), 12);
    wah->GetParam(1)->SetValue(1);
    EXPECT_EQ(wah->GetParam(4)->GetName(), "Sens");
    EXPECT_EQ(wah->GetParam(4)->GetLabel(), "[A-W] ");
}

// Switching a selector sends the whole block (not a value), rebuilds the Master's table from
// the live parameters and tells the window.
TEST(MultiModeEffect, SwitchingRebuildsTheTargets) {
    VF1Algorithm algorithm(29);
    RecordingWindow window;
    algorithm.SetOwnerWindow(&window);
    VF1Effect* comp = algorithm.GetBlock(0);
    ASSERT_EQ(comp->GetId(), 0x060001u);
    const VF1MasterEffect& master = *algorithm.GetMaster();
    ASSERT_NE(FindTarget(master, 7), nullptr);
    EXPECT_EQ(FindTarget(master, 7)->text, "Comp/Lim [COMP]  Thrshld");
    EXPECT_EQ(FindTarget(master, 13), nullptr);

    RecordingSink sink;
    comp->GetParam(1)->SetValue(1);
    EXPECT_EQ(sink.blocks, (std::vector<VF1Effect*>{comp}));
    EXPECT_TRUE(sink.parameters.empty());
    EXPECT_EQ(window.layoutChanges, 1);

    const char* limit[] = {"Thrshld", "Release", "Tone", "Level"};
    for (int i = 0; i < 4; ++i) {
        const TargetEntry* entry = FindTarget(master, 5 + 8 + i);
        ASSERT_NE(entry, nullptr) << limit[i];
        EXPECT_EQ(entry->text, std::string("Comp/Lim [LIMIT]  ") + limit[i]);
    }
    for (const std::string& text : TableTexts(master))
        EXPECT_EQ(text.find("[COMP]"), std::string::npos) << text;
    for (int t = 7; t <= 12; ++t) EXPECT_EQ(FindTarget(master, t), nullptr) << t;
}

// Randomising a block draws every live parameter after the selector, module or sub-effect
// included, and leaves "FX On/Off" alone; every value stays inside its list.
TEST(Effect, RandomiseAllKeepsFxOnOff) {
    SeedRandom(7);
    int selectorsChanged = 0;
    for (const AlgorithmInfo& row : AlgorithmTable()) {
        SCOPED_TRACE(row.longName);
        VF1Algorithm algorithm(row.number);
        for (int b = 0; b + 1 < algorithm.GetBlockCount(); ++b) {
            VF1Effect* block = algorithm.GetBlock(b);
            SCOPED_TRACE(block->GetName());
            block->SwitchOff();
            for (int round = 0; round < 4; ++round) {
                const int selector = block->HasModules() ? block->GetParam(1)->GetValue() : 0;
                block->RandomiseAll();
                EXPECT_EQ(block->GetParam(0)->GetValue(), 0);
                if (block->HasModules() && block->GetParam(1)->GetValue() != selector) ++selectorsChanged;
                for (VF1Param* p : block->LiveParams()) {
                    if (p->IsDummy()) continue;
                    EXPECT_GE(p->GetValue(), p->GetMin()) << p->GetName();
                    EXPECT_LE(p->GetValue(), p->GetMax()) << p->GetName();
                }
            }
            block->SwitchOn();
            EXPECT_EQ(block->GetParam(0)->GetValue(), 1);
        }
    }
    EXPECT_GT(selectorsChanged, 10);
}
