#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/PatchStream.h"
#include "model/SysEx.h"
#include "model/VF1Effect.h"
#include "model/VF1Param.h"
#include "tests/support/TestSupport.h"

namespace {

// A block put together parameter by parameter, the way a block constructor does it.
class TestBlock : public VF1Effect {
  public:
    TestBlock(int address, int targetBase) : VF1Effect(0x7F0000, address, targetBase), placer(targetBase) {}

    ParamPlacer placer;

    VF1Param& Add(std::unique_ptr<VF1Param> param) {
        VF1Param& added = *param;
        added.SetOwner(this);
        AddParam(std::move(param));
        return added;
    }
};

std::unique_ptr<VF1Param> Param(ParamPlacer& placer, int width, int type, int rule, int init = 0) {
    return std::make_unique<VF1Param>(placer, "Param", width, init, type, rule);
}

std::unique_ptr<VF1Param> Generic(ParamPlacer& placer, int width, int from, int to, int first, int init = 0) {
    return std::make_unique<VF1Param>(placer, "", "Generic", width, init, 85, from, to, first, kNextTarget);
}

} // namespace

// Offsets follow the widths; target numbers follow the rules, with Dummies taking none and
// leaving the running index alone. The stream holds the values nibble by nibble.
TEST(Param, LayoutTargetsAndWrittenBytes) {
    struct Case {
        int width;
        int type;
        int rule;
        int value;
        int offset;
        int target;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {2, 54, kNextTarget, 0x12, 0, 14, {0x01, 0x02}},
        {2, 30, kNextTarget, 0x77, 2, -1, {0x00, 0x00}}, // Dummy: zeros whatever it holds
        {2, 54, kNextTarget, 300, 4, 15, {0x02, 0x0C}},  // bits above 7 dropped
        {4, 20, kNoTarget, 0x123, 6, -1, {0x00, 0x01, 0x02, 0x03}},
        {2, 54, 5, 1, 10, 19, {0x00, 0x01}},
        {2, 54, kNextTarget, 0xFF, 12, 20, {0x0F, 0x0F}},
        {6, 30, kNextTarget, 0, 14, -1, {0, 0, 0, 0, 0, 0}},
    };
    TestBlock block(0x124, 14);
    std::vector<uint8_t> expected;
    for (const Case& c : cases) {
        VF1Param& p = block.Add(Param(block.placer, c.width, c.type, c.rule));
        p.SetValue(c.value);
        EXPECT_EQ(p.GetOffset(), c.offset) << "offset of the parameter at " << expected.size();
        EXPECT_EQ(p.GetTarget(), c.target) << "target of the parameter at " << expected.size();
        expected.insert(expected.end(), c.bytes.begin(), c.bytes.end());
    }
    EXPECT_TRUE(block.GetParam(1)->IsDummy());
    EXPECT_EQ(block.GetParam(1)->GetValueType(), nullptr);

    std::vector<uint8_t> stream(expected.size() + 4, 0xEE);
    PatchStream out(stream.data(), stream.size());
    EXPECT_EQ(block.WriteStream(out), static_cast<int>(expected.size()));
    stream.resize(expected.size());
    EXPECT_EQ(stream, expected);
}

TEST(Param, WidthsOtherThanTwoAndFourMoveNothing) {
    ParamPlacer placer(0);
    VF1Param odd(placer, "Odd", 3, 7, 54, kNextTarget);
    std::array<uint8_t, 4> bytes{0x01, 0x02, 0x03, 0x04};
    PatchStream out(bytes.data(), bytes.size());
    odd.Write(out);
    EXPECT_EQ(out.Offset(), 0u);
    EXPECT_EQ(bytes, (std::array<uint8_t, 4>{0x01, 0x02, 0x03, 0x04}));
    PatchStream in(bytes.data(), bytes.size());
    odd.Read(in);
    EXPECT_EQ(in.Offset(), 0u);
    EXPECT_EQ(odd.GetValue(), 7);
}

// A value outside the parameter's list reads as its minimum, FX On/Off as On. Reading tells
// neither the unit nor the block.
TEST(Param, ReadCorrectsValuesOutsideTheList) {
    struct Case {
        const char* what;
        std::unique_ptr<VF1Param> (*make)(ParamPlacer&);
        std::vector<uint8_t> bytes;
        int value;
    };
    // clang-format off
    const Case cases[] = {
        {"FX On/Off 255", [](ParamPlacer& at) { return Param(at, 2, 36, kNextTarget, 0); }, {0x0F, 0x0F}, 1},
        {"FX On/Off 2", [](ParamPlacer& at) { return Param(at, 2, 36, kNextTarget, 0); }, {0x00, 0x02}, 1},
        {"FX On/Off 0", [](ParamPlacer& at) { return Param(at, 2, 36, kNextTarget, 1); }, {0x00, 0x00}, 0},
        {"0..100 at 100", [](ParamPlacer& at) { return Param(at, 2, 54, kNextTarget, 50); }, {0x06, 0x04}, 100},
        {"0..100 at 101", [](ParamPlacer& at) { return Param(at, 2, 54, kNextTarget, 50); }, {0x06, 0x05}, 0},
        {"0..100 at 255", [](ParamPlacer& at) { return Param(at, 2, 54, kNextTarget, 50); }, {0x0F, 0x0F}, 0},
        {"upper nibbles ignored", [](ParamPlacer& at) { return Param(at, 2, 54, kNextTarget, 50); }, {0x76, 0x54}, 100},
        {"1..200 at 0", [](ParamPlacer& at) { return Param(at, 2, 142, kNextTarget, 5); }, {0x00, 0x00}, 1},
        {"56..326 at 0", [](ParamPlacer& at) { return Param(at, 4, 116, kNextTarget, 100); }, {0, 0, 0, 0}, 56},
        {"56..326 at 326", [](ParamPlacer& at) { return Param(at, 4, 116, kNextTarget, 100); }, {0, 1, 4, 6}, 326},
        {"56..326 at 327", [](ParamPlacer& at) { return Param(at, 4, 116, kNextTarget, 100); }, {0, 1, 4, 7}, 56},
        {"-24..24 stored 0..48, at 49", [](ParamPlacer& at) { return Generic(at, 2, -24, 24, 0, 24); }, {0x03, 0x01}, 0},
        {"1..100 stored from 1, at 0", [](ParamPlacer& at) { return Generic(at, 2, 1, 100, 1, 50); }, {0x00, 0x00}, 1},
        {"Dummy keeps its value", [](ParamPlacer& at) { return Param(at, 4, 30, kNextTarget, 9); }, {0x01, 0x02, 0x03, 0x04}, 9},
    };
    // clang-format on
    RecordingSink sink;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestBlock block(0x124, 5);
        VF1Param& p = block.Add(c.make(block.placer));
        std::vector<uint8_t> bytes = c.bytes;
        bytes.push_back(0x0E);
        PatchStream in(bytes.data(), bytes.size());
        p.Read(in);
        EXPECT_EQ(p.GetValue(), c.value);
        EXPECT_EQ(in.Offset(), static_cast<size_t>(p.GetWidth()));
    }
    EXPECT_TRUE(sink.parameters.empty());
}

// With "Real-time Edits" on, a change goes to the real-time area at the block's address plus
// the offset, with 180H..1FFH continuing at 200H; a control assign goes to its place in the
// header half. An unchanged value sends nothing.
TEST(Param, ChangesAreSentInRealTime) {
    struct Case {
        int blockAddress;
        int offset;
        int width;
        int type;
        int address;
        int sentWidth;
    };
    const Case cases[] = {
        {0x170, 20, 2, 54, 0x204, 2},   {0x124, 4, 2, 54, 0x128, 2},    {0x17C, 4, 2, 54, 0x200, 2},
        {0x17C, 0x83, 2, 54, 0x27F, 2}, {0x150, 0x2F, 2, 54, 0x17F, 2}, {0x22C, 8, 4, 20, 0x234, 4},
        {0x25C, 100, 4, 1, 0x108, 4},   {0x25C, 12, 4, 5, 0x030, 4},    {0x25C, 124, 4, 5, 0x120, 4},
        {0x25C, 91, 2, 3, 0x07F, 4}, // a control assign always goes as four nibbles
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.blockAddress << " + " << c.offset);
        RecordingSink sink;
        TestBlock block(c.blockAddress, 5);
        ParamPlacer placer(5, c.offset);
        VF1Param& p = block.Add(Param(placer, c.width, c.type, kNextTarget, 7));
        EXPECT_EQ(p.RealTimeAddress(), c.address);

        p.SetValue(7);
        EXPECT_TRUE(sink.parameters.empty()) << "same value";
        p.SetValue(2);
        p.SetValueIndex(0);
        p.ResetToDefault();
        const int first = p.ValueAt(0);
        EXPECT_EQ(sink.parameters, (std::vector<RecordingSink::Sent>{{c.address, 2, c.sentWidth},
                                                                     {c.address, first, c.sentWidth},
                                                                     {c.address, 7, c.sentWidth}}));

        SetRealTimeEdits(false);
        p.SetValue(3);
        EXPECT_EQ(p.GetValue(), 3);
        EXPECT_EQ(sink.parameters.size(), 3u) << "edits off";
    }
}

// The randomiser's draws, r = draw / 32768: FX On/Off and Dummies keep their values, a position
// moves only when its first draw gives r >= 0.75 (one call in four), and the codes with ranges
// of their own use their formulas.
TEST(Param, RandomiseFormulas) {
    struct Case {
        const char* what;
        std::unique_ptr<VF1Param> (*make)(ParamPlacer&);
        std::vector<int> draws;
        int value;
        int used;
    };
    // clang-format off
    const Case cases[] = {
        {"FX On/Off", [](ParamPlacer& at) { return Param(at, 2, 36, kNextTarget, 0); }, {32767}, 0, 0},
        {"Dummy", [](ParamPlacer& at) { return Param(at, 2, 30, kNextTarget, 0); }, {32767}, 0, 0},
        {"position stays below 0.75", [](ParamPlacer& at) { return Param(at, 2, 95, kNoTarget, 3); }, {24575, 0}, 3, 1},
        {"position moves from 0.75", [](ParamPlacer& at) { return Param(at, 2, 95, kNoTarget, 3); }, {24576, 16384}, 4, 2},
        {"position 96", [](ParamPlacer& at) { return Param(at, 2, 96, kNoTarget, 3); }, {32767, 0}, 0, 2},
        {"14", [](ParamPlacer& at) { return Param(at, 2, 14, kNextTarget); }, {16384}, 16, 1},
        {"15", [](ParamPlacer& at) { return Param(at, 2, 15, kNextTarget); }, {16384}, 7, 1},
        {"23, k < 4", [](ParamPlacer& at) { return Param(at, 2, 23, kNextTarget); }, {6554}, 4, 1},
        {"23, k < 7", [](ParamPlacer& at) { return Param(at, 2, 23, kNextTarget); }, {16384}, 18, 1},
        {"23, k < 9", [](ParamPlacer& at) { return Param(at, 2, 23, kNextTarget); }, {26214}, 40, 1},
        {"23, k = 9", [](ParamPlacer& at) { return Param(at, 2, 23, kNextTarget); }, {32767}, 73, 1},
        {"54", [](ParamPlacer& at) { return Param(at, 2, 54, kNextTarget); }, {16384}, 58, 1},
        {"55, long", [](ParamPlacer& at) { return Param(at, 2, 55, kNextTarget); }, {29491}, 81, 1},
        {"55, short", [](ParamPlacer& at) { return Param(at, 2, 55, kNextTarget); }, {16384}, 25, 1},
        {"56", [](ParamPlacer& at) { return Param(at, 2, 56, kNextTarget); }, {16384}, 50, 1},
        {"57", [](ParamPlacer& at) { return Param(at, 2, 57, kNextTarget); }, {0}, 20, 1},
        {"58", [](ParamPlacer& at) { return Param(at, 2, 58, kNextTarget); }, {32767}, 80, 1},
        {"59", [](ParamPlacer& at) { return Param(at, 2, 59, kNextTarget); }, {16384}, 58, 1},
        {"60", [](ParamPlacer& at) { return Param(at, 2, 60, kNextTarget); }, {16384}, 12, 1},
        {"61", [](ParamPlacer& at) { return Param(at, 2, 61, kNextTarget); }, {16384}, 12, 1},
        {"62", [](ParamPlacer& at) { return Param(at, 2, 62, kNextTarget); }, {16384}, 20, 1},
        {"63", [](ParamPlacer& at) { return Param(at, 2, 63, kNextTarget); }, {16384}, 20, 1},
        {"64", [](ParamPlacer& at) { return Param(at, 2, 64, kNextTarget); }, {16384}, 52, 1},
        {"65", [](ParamPlacer& at) { return Param(at, 2, 65, kNextTarget); }, {16384}, 50, 1},
        {"66", [](ParamPlacer& at) { return Param(at, 2, 66, kNextTarget); }, {32767}, 84, 1},
        {"143", [](ParamPlacer& at) { return Param(at, 2, 143, kNextTarget); }, {16384}, 100, 1},
        {"any other, from 1", [](ParamPlacer& at) { return Generic(at, 2, 1, 100, 1, 1); }, {16384}, 51, 1},
        {"any other, 56..326", [](ParamPlacer& at) { return Param(at, 4, 116, kNextTarget, 56); }, {16384}, 191, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParamPlacer placer(0);
        auto p = c.make(placer);
        ScriptedRandom random(c.draws);
        p->Randomise();
        EXPECT_EQ(p->GetValue(), c.value);
        EXPECT_EQ(random.Used(), c.used);
    }
}
