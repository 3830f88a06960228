#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "midi/VF1MIDI.h"
#include "model/Random.h"
#include "model/VF1Algorithm.h"
#include "model/VF1MasterEffect.h"
#include "model/tables/AlgorithmInfo.h"
#include "model/tables/CatalogueTable.h"
#include "tests/support/TestSupport.h"

namespace {

// An address written a1 in the high byte and a2 in the low byte, as a count of 7-bit units.
int Linear(int address) {
    return (address >> 8) * 128 + (address & 0xFF);
}

// The bytes a block takes by its table row; a multi-mode block is built in mode 0, a slot with
// sub-effect 0 (every sub-effect of a slot spans the same bytes).
int TableSize(uint32_t id) {
    if (const MultiModeSpec* m = FindMultiModeBlock(id)) return m->sharedSize + m->modes[0].size;
    if (const SlotSpec* s = FindSlotBlock(id)) return s->size;
    if (const BlockSpec* b = FindCatalogueBlock(id)) return b->size;
    return -1;
}

int MasterSize(uint32_t id) {
    switch (id) {
    case 0x180001:
    case 0x180002:
        return 8;
    case 0x180003:
        return 12;
    case 0x180004:
        return 6;
    default:
        return -1;
    }
}

int StreamSize(VF1Effect& block) {
    std::array<uint8_t, 512> scratch{};
    PatchStream stream(scratch.data(), scratch.size());
    const int written = block.WriteStream(stream);
    EXPECT_EQ(static_cast<size_t>(written), stream.Offset());
    return written;
}

// Gives every control assign of the patch a target, a range inside the target's values and
// non-default source settings, so the header half carries more than initial values.
void SetControlAssigns(VF1Algorithm& algorithm) {
    VF1MasterEffect* master = algorithm.GetMaster();
    const int own = master->GetOwnParamCount();
    for (int n = 0; n < 4; ++n) {
        auto* target = dynamic_cast<VF1TargetParam*>(master->GetParam(own + 6 * n));
        ASSERT_NE(target, nullptr);
        target->SetValueIndex(master->GetLastIndex() - n);
        const VF1Param* aimed = target->GetTargetParam();
        ASSERT_NE(aimed, nullptr);
        target->SetTargetMin(aimed->GetMin());
        target->SetTargetMax(aimed->GetMax());
        master->GetParam(own + 6 * n + 1)->SetValue(34 + n); // Src Type "MIDI 64".. on
        master->GetParam(own + 6 * n + 2)->SetValue(1);      // Src Mode "Toggle"
        master->GetParam(own + 6 * n + 5)->SetValue(1);      // On/Off
    }
}

} // namespace

// Every algorithm builds from its row: the blocks in order with their ids, names, addresses and
// target bases, each block's stream as long as its table row says, one block behind the other
// from 124H, the Master right behind the last block, and the whole stream inside the 224 bytes.
TEST(AlgorithmTable, EveryAlgorithmBuildsItsBlocksBackToBack) {
    MessageRecorder messages;
    for (const AlgorithmInfo& row : AlgorithmTable()) {
        SCOPED_TRACE(row.longName);
        const AlgorithmComposition* composition = AlgorithmBlocks(row.number);
        ASSERT_NE(composition, nullptr);
        VF1Algorithm algorithm(row.number);
        EXPECT_EQ(algorithm.GetNumber(), row.number);
        EXPECT_EQ(algorithm.GetCategory(), row.defaultCategory);
        ASSERT_EQ(algorithm.GetBlockCount(), static_cast<int>(composition->blocks.size()) + 1);

        int next = Linear(0x124);
        for (size_t i = 0; i < composition->blocks.size(); ++i) {
            const AlgorithmBlock& expected = composition->blocks[i];
            VF1Effect* block = algorithm.GetBlock(static_cast<int>(i));
            SCOPED_TRACE(BlockIdText(expected.id));
            EXPECT_EQ(block->GetId(), expected.id);
            EXPECT_EQ(block->GetName(), expected.name);
            EXPECT_EQ(block->GetAddress(), expected.address);
            EXPECT_EQ(block->GetTargetBase(), expected.targetBase);
            EXPECT_EQ(block->GetOwner(), &algorithm);
            EXPECT_EQ(Linear(block->GetAddress()), next);
            const int size = StreamSize(*block);
            EXPECT_EQ(size, TableSize(expected.id));
            next += size;
        }

        VF1MasterEffect* master = algorithm.GetMaster();
        ASSERT_NE(master, nullptr);
        EXPECT_EQ(algorithm.GetBlock(algorithm.GetBlockCount() - 1), master);
        EXPECT_TRUE(master->IsMaster());
        EXPECT_EQ(master->GetName(), "Master");
        EXPECT_EQ(master->GetId(), composition->masterId);
        EXPECT_EQ(master->GetAddress(), composition->masterAddress);
        EXPECT_EQ(master->GetTargetBase(), 2);
        EXPECT_EQ(Linear(master->GetAddress()), next);
        const int masterSize = StreamSize(*master);
        EXPECT_EQ(masterSize, MasterSize(composition->masterId));
        EXPECT_LE(next + masterSize - Linear(0x124), kStreamHalfSize);
    }
    EXPECT_TRUE(messages.Messages().empty());
}

// Patch data written for an algorithm goes through the 585-byte image and back into a loaded
// algorithm that writes the same 388 bytes: with initial values, and with every block
// randomised (other modules and sub-effects chosen) and every control assign set.
TEST(AlgorithmTable, PatchDataSurvivesTheImageAndALoad) {
    MessageRecorder messages;
    VF1MIDI& midi = VF1MIDI::Instance();
    SeedRandom(12345);
    for (const bool edited : {false, true}) {
        for (const AlgorithmInfo& row : AlgorithmTable()) {
            SCOPED_TRACE(std::string(row.longName) + (edited ? ", edited" : ", new"));
            VF1Algorithm algorithm(row.number);
            if (edited) {
                algorithm.SetName("Round trip");
                algorithm.SetCategory(11);
                for (int i = 0; i < algorithm.GetBlockCount(); ++i)
                    if (!algorithm.GetBlock(i)->IsMaster()) algorithm.GetBlock(i)->RandomiseAll();
                SetControlAssigns(algorithm);
            }

            std::array<uint8_t, kPatchDataSize> written;
            written.fill(0xEE);
            algorithm.WritePatchData(written.data());
            const int streamEnd =
                Linear(algorithm.GetMaster()->GetAddress()) + StreamSize(*algorithm.GetMaster());
            EXPECT_TRUE(std::all_of(written.begin() + streamEnd, written.end(), [](uint8_t b) {
                return b == 0;
            })) << "zeros behind the Master's stream";
            EXPECT_TRUE(std::all_of(written.begin(), written.end(), [](uint8_t b) { return b < 0x10; }))
                << "one nibble per byte";

            midi.SetPatchData(algorithm);
            EXPECT_TRUE(std::equal(written.begin(), written.end(), midi.PatchData()));

            PatchImage image{};
            ASSERT_TRUE(midi.BuildPatchImage(algorithm, image.data()));
            VF1Algorithm other(row.number == 21 ? 22 : 21);
            midi.SetPatchData(other); // the parse must replace every byte
            ASSERT_TRUE(midi.ParseImage(image.data(), true, false));

            VF1AlgorithmList list;
            ASSERT_TRUE(list.LoadFromPatchData(midi.PatchData(), midi.PatchData() + kHeaderHalfSize));
            ASSERT_EQ(list.GetCount(), 2);
            VF1Algorithm* loaded = list.GetCurrent();
            EXPECT_EQ(loaded->GetNumber(), row.number);
            std::array<uint8_t, kPatchDataSize> again{};
            loaded->WritePatchData(again.data());
            EXPECT_EQ(again, written);
        }
    }
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(AlgorithmTable, Lookups) {
    struct NameCase {
        int number;
        const char* displayName; // nullptr: not in the table
        int defaultCategory;
        int row;
    };
    const NameCase cases[] = {
        {0, "Gtr Multi 1", 0, 11}, {19, "Delay", 8, 6},       {36, "Spkr Model", 9, 26},
        {29, "10-Band GEQ", 9, 0}, {8, "Voc Trnsfrm", 4, 36}, {17, "Reverb RSS", 6, 21},
        {18, "RSS Panner", 7, 24}, {37, nullptr, 14, -1},     {40, nullptr, 14, -1},
        {-1, nullptr, 14, -1},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.number);
        const char* name = AlgorithmDisplayName(c.number);
        if (c.displayName) {
            ASSERT_NE(name, nullptr);
            EXPECT_STREQ(name, c.displayName);
        } else {
            EXPECT_EQ(name, nullptr);
        }
        EXPECT_EQ(AlgorithmDefaultCategory(c.number), c.defaultCategory);
        EXPECT_EQ(AlgorithmRow(c.number), c.row);
    }

    // Rows and numbers convert both ways, every number 0..36 once.
    std::set<int> numbers;
    for (int row = 0; row < kAlgorithmCount; ++row) {
        numbers.insert(AlgorithmAtRow(row));
        EXPECT_EQ(AlgorithmRow(AlgorithmAtRow(row)), row);
    }
    EXPECT_EQ(numbers.size(), 37u);
    EXPECT_EQ(*numbers.begin(), 0);
    EXPECT_EQ(*numbers.rbegin(), 36);
    EXPECT_EQ(AlgorithmAtRow(11), 0);

    EXPECT_STREQ(CategoryName(0), "E.Guitar");
    EXPECT_STREQ(CategoryName(13), "All");
    EXPECT_STREQ(CategoryName(14), "");
    EXPECT_STREQ(AlgorithmPicture(2), "LCDBassMulti");
    EXPECT_STREQ(AlgorithmPicture(18), "LCDGuitarMulti");
    EXPECT_STREQ(AlgorithmPicture(36), "LCDSpeakerModeling");

    // The default patch's algorithm.
    const AlgorithmComposition* geq = AlgorithmBlocks(29);
    ASSERT_NE(geq, nullptr);
    std::vector<uint32_t> ids;
    for (const AlgorithmBlock& b : geq->blocks) ids.push_back(b.id);
    EXPECT_EQ(ids, (std::vector<uint32_t>{0x060001, 0x1B0001, 0x0D0000, 0x120000, 0x080008}));
    EXPECT_EQ(geq->masterId, 0x180001u);
    EXPECT_EQ(AlgorithmBlocks(37), nullptr);
}
