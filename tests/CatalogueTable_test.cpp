#include "model/tables/CatalogueTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::string Hex(uint32_t id) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(id));
    return text;
}

bool IsDummy(const ParamSpec& p) {
    return p.type == TypeCode::kDummy;
}

int Bytes(std::span<const ParamSpec> params) {
    int bytes = 0;
    for (const ParamSpec& p : params)
        bytes += p.width;
    return bytes;
}

// Target indices in list order as the block builder hands them out; -1 for none. Dummies take
// none and leave the running index alone. next carries on across calls, as it does through the
// modes of a multi-mode block.
std::vector<int> TargetIndices(std::span<const ParamSpec> params, int& next) {
    std::vector<int> out;
    for (const ParamSpec& p : params) {
        if (IsDummy(p) || p.target == -2) {
            out.push_back(-1);
        } else {
            if (p.target >= 0) next = p.target;
            out.push_back(next++);
        }
    }
    return out;
}

std::vector<int> TargetIndices(std::span<const ParamSpec> params) {
    int next = 0;
    return TargetIndices(params, next);
}

// A block's full parameter list: the multi-tap delay's table row holds only its first ten, the
// taps follow with their fixed indices 4n - 2 + k.
std::vector<ParamSpec> FullParams(const BlockSpec& block) {
    std::vector<ParamSpec> params(block.params.begin(), block.params.end());
    if (block.id == kMultiTapDelayId) {
        for (int n = 1; n <= kMultiTapCount; ++n) {
            int k = 0;
            for (const ParamSpec& p : MultiTapParams())
                params.push_back(p.T(4 * n - 2 + k++));
        }
    }
    return params;
}

std::vector<int> Assigned(const std::vector<int>& targets) {
    std::vector<int> out;
    for (int t : targets)
        if (t >= 0) out.push_back(t);
    return out;
}

bool AllDistinct(std::vector<int> values) {
    std::sort(values.begin(), values.end());
    return std::adjacent_find(values.begin(), values.end()) == values.end();
}

bool IsSubEffect(const BlockSpec& block) {
    const std::string name = block.name;
    return name.starts_with("Mod - ") || name.starts_with("SFX - ");
}

using Triple = std::tuple<int, int, int>;

void CollectTriples(std::span<const ParamSpec> params, std::set<Triple>& triples) {
    for (const ParamSpec& p : params)
        if (p.type == TypeCode::kGeneric) triples.insert({p.p1, p.p2, p.p3});
}

} // namespace

// The catalogue's own totals: 96 ids, 870 parameters with 81 Dummies. The 870 counts the 80 tap
// parameters the multi-tap delay generates (790 rows + 80), the 81 Dummies include its one.
TEST(CatalogueTable, TotalsMatchTheCatalogue) {
    const auto blocks = CatalogueBlocks();
    ASSERT_EQ(blocks.size(), 96u);
    int params = 0, dummies = 0;
    for (const BlockSpec& block : blocks) {
        const auto full = FullParams(block);
        params += static_cast<int>(full.size());
        dummies += static_cast<int>(std::count_if(full.begin(), full.end(), IsDummy));
    }
    EXPECT_EQ(params, 870);
    EXPECT_EQ(dummies, 81);

    for (size_t i = 1; i < blocks.size(); ++i)
        EXPECT_LT(blocks[i - 1].id, blocks[i].id) << Hex(blocks[i].id);
    for (const BlockSpec& block : blocks)
        EXPECT_EQ(FindCatalogueBlock(block.id), &block) << Hex(block.id);
    EXPECT_EQ(FindCatalogueBlock(0x1A0001), nullptr); // a slot, not a plain block
    EXPECT_EQ(FindCatalogueBlock(0x2D0001), nullptr);
}

TEST(CatalogueTable, WidthsAddUpToEachBlockSize) {
    for (const BlockSpec& block : CatalogueBlocks()) {
        SCOPED_TRACE(Hex(block.id));
        EXPECT_EQ(Bytes(FullParams(block)), block.size);
        if (IsSubEffect(block))
            EXPECT_TRUE(block.startByte == 4 || block.startByte == 8);
        else
            EXPECT_EQ(block.startByte, 0);
        for (const ParamSpec& p : block.params)
            EXPECT_TRUE(IsDummy(p) ? p.width % 2 == 0 : p.width == 2 || p.width == 4) << p.name;
    }
}

// A repeated index would make two parameters answer to one control-assign target.
TEST(CatalogueTable, NoTwoParametersOfABlockShareATarget) {
    for (const BlockSpec& block : CatalogueBlocks())
        EXPECT_TRUE(AllDistinct(Assigned(TargetIndices(FullParams(block))))) << Hex(block.id);
}

TEST(CatalogueTable, TargetSpotChecks) {
    const std::vector<int> delay = TargetIndices(FindCatalogueBlock(0x080006)->params);
    EXPECT_EQ(Assigned(delay), (std::vector<int>{0, 7, 8, 9, 10, 1, 2, 5, 3, 4, 6}));

    // Multi-tap: the ten leading parameters and the taps fill 0..88 without gap; tap 20 is last.
    const std::vector<int> taps = Assigned(TargetIndices(FullParams(*FindCatalogueBlock(kMultiTapDelayId))));
    ASSERT_EQ(taps.size(), 89u);
    EXPECT_EQ(std::vector<int>(taps.end() - 4, taps.end()), (std::vector<int>{78, 79, 80, 81}));
    std::vector<int> sorted = taps;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 89; ++i)
        EXPECT_EQ(sorted[i], i);
    // "FX Lvl" precedes "Dir Lvl" in the list but takes the higher index.
    const auto leading = FindCatalogueBlock(kMultiTapDelayId)->params;
    EXPECT_STREQ(leading[7].name, "FX Lvl");
    EXPECT_EQ(taps[7], 88);
    EXPECT_EQ(taps[8], 87);

    // The second pitch-shifter voice ends on index 13, the one index its list leaves free.
    EXPECT_EQ(Assigned(TargetIndices(FindCatalogueBlock(0x210001)->params)).back(), 13);
}

TEST(CatalogueTable, NamesAndLabelsAsWritten) {
    for (uint32_t id = 0x050000; id <= 0x050009; ++id)
        EXPECT_STREQ(FindCatalogueBlock(id)->name, id == 0x050004 ? "Chorus RSS" : "Chorus") << Hex(id);

    EXPECT_STREQ(FindCatalogueBlock(0x1A000E)->params[3].name, "Sens ");
    EXPECT_STREQ(FindCatalogueBlock(0x1A000E)->label, "[HU] ");

    const BlockSpec* harmonist = FindCatalogueBlock(0x1A000D);
    EXPECT_STREQ(harmonist->label, "");
    std::set<std::string> labels;
    for (const ParamSpec& p : harmonist->params) {
        EXPECT_EQ(IsDummy(p), std::string(p.label).empty()) << p.name;
        labels.insert(p.label);
    }
    EXPECT_EQ(labels, (std::set<std::string>{"", "[HR] ", "[HR 1]", "[HR 2]"}));

    const auto tap = MultiTapParams();
    ASSERT_EQ(tap.size(), 4u);
    EXPECT_STREQ(tap[0].name, "Dly Time\n");
    EXPECT_STREQ(tap[3].name, "Tap Lvl\n");
}

// Rows with an unusual shape, checked field by field.
TEST(CatalogueTable, ParameterSpotChecks) {
    struct Case {
        uint32_t id;
        size_t index;
        const char* name;
        int width, init, type, p1, p2, p3;
    };
    const Case cases[] = {
        {0x0B0000, 2, "Time", 4, 0, TypeCode::kGeneric, 0, 3000, 0},
        {0x1A001B, 3, "Oct Shift", 2, 0, TypeCode::kGeneric, 0, -2, 0},
        {0x1A001C, 2, "Trigger", 2, 0, 87, 0, 0, 0},
        {0x0C0000, 1, "Mode", 2, 1, TypeCode::kGeneric, 1, 7, 1},
        {0x220002, 2, "Room\nSize", 4, 4, TypeCode::kGeneric, 1, 10, 0},
    };
    for (const Case& c : cases) {
        const ParamSpec& p = FindCatalogueBlock(c.id)->params[c.index];
        SCOPED_TRACE(Hex(c.id) + " " + c.name);
        EXPECT_STREQ(p.name, c.name);
        EXPECT_EQ(std::tie(p.width, p.init, p.type, p.p1, p.p2, p.p3),
                  std::tie(c.width, c.init, c.type, c.p1, c.p2, c.p3));
    }
}

TEST(SlotTable, LayoutAndSubEffects) {
    const auto slots = SlotBlocks();
    ASSERT_EQ(slots.size(), 6u);
    for (const SlotSpec& slot : slots) {
        SCOPED_TRACE(Hex(slot.id));
        EXPECT_EQ(FindSlotBlock(slot.id), &slot);
        ASSERT_EQ(static_cast<int>(slot.shared.size()), slot.sharedCount);
        EXPECT_EQ(slot.shared[0].type, 36);
        EXPECT_TRUE(slot.shared[1].type >= 120 && slot.shared[1].type <= 131);
        const int sharedBytes = Bytes(slot.shared);
        EXPECT_EQ(sharedBytes, 2 * slot.sharedCount);

        int longest = 0;
        int previousEnd = -1;
        for (size_t i = 0; i < slot.subEffects.size(); ++i) {
            const SubEffectSpec& sub = slot.subEffects[i];
            SCOPED_TRACE(sub.text);
            EXPECT_EQ(sub.selector, static_cast<int>(i));
            const BlockSpec* block = FindCatalogueBlock(sub.id);
            ASSERT_NE(block, nullptr);
            EXPECT_TRUE(IsSubEffect(*block));
            EXPECT_EQ(block->startByte, sharedBytes);
            longest = std::max(longest, block->size);
            // Sub-effect bases are absolute and each sub-effect's numbers end before the next base.
            const auto used = Assigned(TargetIndices(block->params));
            ASSERT_FALSE(used.empty());
            EXPECT_GT(sub.targetBase, previousEnd);
            previousEnd = sub.targetBase + *std::max_element(used.begin(), used.end());
        }
        EXPECT_EQ(slot.size, sharedBytes + longest + Bytes(slot.trailing));
    }
    EXPECT_EQ(FindSlotBlock(0x1A0006), nullptr);
    EXPECT_EQ(Bytes(FindSlotBlock(0x1A0002)->trailing), 2);
}

TEST(MultiModeTable, LayoutOfEveryMode) {
    const auto blocks = MultiModeBlocks();
    ASSERT_EQ(blocks.size(), 9u);
    for (const MultiModeSpec& block : blocks) {
        SCOPED_TRACE(Hex(block.id));
        EXPECT_EQ(FindMultiModeBlock(block.id), &block);
        EXPECT_EQ(FindCatalogueBlock(block.id), nullptr);
        ASSERT_GE(block.shared.size(), 2u);
        EXPECT_EQ(block.shared[0].type, 36);
        EXPECT_TRUE(block.shared[1].type >= 120 && block.shared[1].type <= 131);
        EXPECT_EQ(Bytes(block.shared), block.sharedSize);
        EXPECT_TRUE(block.modes.size() == 2 || block.modes.size() == 3);
        // Modes overlay one another, so each fills the same bytes.
        for (const ModeSpec& mode : block.modes) {
            EXPECT_EQ(Bytes(mode.params), mode.size);
            EXPECT_EQ(mode.size, block.modes[0].size);
        }
        // Shared and live parameters never share a target, in any mode.
        int next = 0;
        const auto shared = Assigned(TargetIndices(block.shared, next));
        for (const ModeSpec& mode : block.modes) {
            auto live = shared;
            const auto own = Assigned(TargetIndices(mode.params, next));
            live.insert(live.end(), own.begin(), own.end());
            EXPECT_TRUE(AllDistinct(live));
        }
    }
    EXPECT_EQ(FindMultiModeBlock(0x080002), nullptr);
}

// Target indices run on through the modes: "Comp/Lim" limiter takes 8..11 after the compressor,
// and both delay modes keep one number per meaning.
TEST(MultiModeTable, TargetsRunOnThroughTheModes) {
    struct Case {
        uint32_t id;
        std::vector<std::vector<int>> modes;
    };
    const Case cases[] = {
        {0x060001, {{2, 3, 4, 5, 6, 7}, {8, 9, 10, 11}}},
        {0x080004, {{1, 2, 7, 8, 9, 10, 11, 12, 13, 14}, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}}},
        {0x080005, {{1, 2, 7, 8, 9, 10, 11, 12, 13, 14}, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.id));
        const MultiModeSpec* block = FindMultiModeBlock(c.id);
        int next = 0;
        TargetIndices(block->shared, next);
        ASSERT_EQ(block->modes.size(), c.modes.size());
        for (size_t m = 0; m < c.modes.size(); ++m)
            EXPECT_EQ(Assigned(TargetIndices(block->modes[m].params, next)), c.modes[m]) << "mode " << m;
    }
}

TEST(BlockTables, GenericValueTypesAndInitialValues) {
    std::set<Triple> catalogue;
    std::set<Triple> all;
    std::vector<std::span<const ParamSpec>> lists;
    for (const BlockSpec& block : CatalogueBlocks())
        lists.push_back(block.params);
    lists.push_back(MultiTapParams());
    for (auto params : lists)
        CollectTriples(params, catalogue);
    all = catalogue;
    for (const SlotSpec& slot : SlotBlocks()) {
        lists.push_back(slot.shared);
        lists.push_back(slot.trailing);
    }
    for (const MultiModeSpec& block : MultiModeBlocks()) {
        lists.push_back(block.shared);
        for (const ModeSpec& mode : block.modes)
            lists.push_back(mode.params);
    }
    for (auto params : lists)
        CollectTriples(params, all);
    EXPECT_EQ(catalogue.size(), 13u);
    EXPECT_EQ(all.size(), 14u);

    // A code-85 value stores p3 upward, one code per step from p1 to p2; an Off/On switch is 0 or 1.
    for (auto params : lists) {
        for (const ParamSpec& p : params) {
            SCOPED_TRACE(p.name);
            if (p.type == TypeCode::kGeneric) {
                EXPECT_GE(p.init, p.p3);
                EXPECT_LE(p.init, p.p3 + std::abs(p.p2 - p.p1));
            } else if (p.type == 87) {
                EXPECT_TRUE(p.init == 0 || p.init == 1);
            }
        }
    }
}

// The blocks that can move in the chain, and the only ones.
TEST(BlockTables, PositionParameters) {
    struct Position {
        uint32_t id;
        int type, init;
    };
    std::vector<Position> found;
    auto scan = [&found](uint32_t id, std::span<const ParamSpec> params) {
        for (const ParamSpec& p : params)
            if (p.position) {
                EXPECT_EQ(p.target, -2) << Hex(id);
                found.push_back({id, p.type, p.init});
            }
    };
    for (const BlockSpec& block : CatalogueBlocks())
        scan(block.id, block.params);
    for (const SlotSpec& slot : SlotBlocks())
        scan(slot.id, slot.shared);
    for (const MultiModeSpec& block : MultiModeBlocks()) {
        scan(block.id, block.shared);
        for (const ModeSpec& mode : block.modes)
            scan(block.id, mode.params);
    }
    const std::vector<Position> expected = {
        {0x200002, 96, 2}, {0x200003, 95, 2}, {0x1A0001, 95, 5}, {0x1A0003, 96, 7}, {0x260000, 95, 5},
    };
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].id, expected[i].id);
        EXPECT_EQ(found[i].type, expected[i].type) << Hex(found[i].id);
        EXPECT_EQ(found[i].init, expected[i].init) << Hex(found[i].id);
    }
}
