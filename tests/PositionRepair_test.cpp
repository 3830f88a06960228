// Patch data that gives both variable-position blocks the same place, which no edit can make:
// loading repairs it before anything shows the patch, and says so once.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "model/PatchLayout.h"
#include "model/VF1Algorithm.h"
#include "tests/support/TestSupport.h"

namespace {

PatchData DataWithPositions(int algorithm, int first, int second) {
    VF1Algorithm patch(algorithm);
    VF1Effect* const* blocks = patch.GetPositionBlocks();
    blocks[0]->GetPositionParam()->SetStoredValue(first);
    blocks[1]->GetPositionParam()->SetStoredValue(second);
    PatchData data{};
    patch.WritePatchData(data.data());
    return data;
}

std::array<int, 2> Positions(const VF1Algorithm& patch) {
    VF1Effect* const* blocks = patch.GetPositionBlocks();
    return {blocks[0]->GetPositionParam()->GetValue(), blocks[1]->GetPositionParam()->GetValue()};
}

TEST(PositionRepair, TheSecondBlockMovesToTheNearestFreePlace) {
    struct Case {
        int algorithm;
        int first, second;             // in the data
        std::array<int, 2> afterwards; // once loaded
    };
    const Case cases[] = {
        {0, 3, 3, {3, 4}},                    // one later
        {0, 8, 8, {8, 7}},                    // one earlier from the last place
        {0, 0, 0, {0, 1}}, {1, 5, 5, {5, 6}}, // Guitar Multi 2: preamp and SFX
        {2, 4, 4, {4, 5}},                    // Bass Multi: preamp and modulation
        {0, 2, 6, {2, 6}},                    // apart already: nothing to repair
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "algorithm " << c.algorithm << " at " << c.first << "/" << c.second);
        const PatchData data = DataWithPositions(c.algorithm, c.first, c.second);
        MessageRecorder messages;
        RecordingSink unit; // real-time editing on: the repair must send nothing
        VF1AlgorithmList list;
        ASSERT_TRUE(list.LoadFromPatchData(data.data(), data.data() + kHeaderHalfSize));
        EXPECT_EQ(Positions(*list.GetCurrent()), c.afterwards);
        const std::vector<std::string> expected =
            c.first == c.second
                ? std::vector<std::string>{"Both variable-position effects can't occupy the same position!"}
                : std::vector<std::string>{};
        EXPECT_EQ(messages.Messages(), expected);
        EXPECT_TRUE(unit.parameters.empty());
        EXPECT_TRUE(unit.blocks.empty());

        // The repaired value is what the patch holds from now on: written out, it loads cleanly.
        PatchData written{};
        list.GetCurrent()->WritePatchData(written.data());
        messages.Clear();
        ASSERT_TRUE(list.LoadFromPatchData(written.data(), written.data() + kHeaderHalfSize));
        EXPECT_EQ(Positions(*list.GetCurrent()), c.afterwards);
        EXPECT_TRUE(messages.Messages().empty());
    }
}

} // namespace
