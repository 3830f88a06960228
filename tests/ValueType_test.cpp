#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/VF1ValueType.h"
#include "tests/support/TestSupport.h"

namespace {

// The cache is program-wide; every test starts from an empty one.
class ValueTypeTest : public ::testing::Test {
  protected:
    void SetUp() override { ReleaseAllValueTypes(); }
    void TearDown() override { ReleaseAllValueTypes(); }
};

struct TextCase {
    int code;
    int p1, p2, p3;
    int stored;
    const char* text;
};

// clang-format off
constexpr TextCase kTextCases[] = {
    {0, 0, 0, 0, 4, "U"},
    {1, 0, 0, 0, 0, "Exp Pedal"}, {1, 0, 0, 0, 2, "Ctrl 2"}, {1, 0, 0, 0, 3, "MIDI 1"},
    {1, 0, 0, 0, 33, "MIDI 31"}, {1, 0, 0, 0, 34, "MIDI 64"}, {1, 0, 0, 0, 65, "MIDI 95"},
    {4, 0, 0, 0, 127, "127"},
    {8, 0, 0, 0, 100, "100"}, {8, 0, 0, 0, 101, "BPM 4.0"}, {8, 0, 0, 0, 113, "BPM 1/4"},
    {146, 0, 0, 0, 113, "BPM 1/4"},
    {9, 0, 0, 0, 0, "L180"}, {9, 0, 0, 0, 29, "L6"}, {9, 0, 0, 0, 30, "0"}, {9, 0, 0, 0, 31, "R6"},
    {9, 0, 0, 0, 60, "R180"},
    {10, 0, 0, 0, 0, "100:0"}, {10, 0, 0, 0, 100, "100:100"}, {10, 0, 0, 0, 101, "99:100"},
    {10, 0, 0, 0, 200, "0:100"},
    {11, 0, 0, 0, 0, "L100:R0"}, {11, 0, 0, 0, 100, "L0:R100"}, {12, 0, 0, 0, 10, "90:10"},
    {13, 0, 0, 0, 10, "50"}, {13, 0, 0, 0, 11, "60"}, {13, 0, 0, 0, 15, "100"},
    {14, 0, 0, 0, 18, "36"}, {14, 0, 0, 0, 19, "40"}, {14, 0, 0, 0, 31, "100"},
    {16, 0, 0, 0, 0, "Off"}, {16, 0, 0, 0, 1, "15 bit"}, {16, 0, 0, 0, 15, "1 bit"},
    {18, 0, 0, 0, 0, "-36.0 dB"}, {18, 0, 0, 0, 24, "-12.0 dB"}, {18, 0, 0, 0, 25, "-11.5 dB"},
    {18, 0, 0, 0, 48, "0.0 dB"},
    {19, 0, 0, 0, 0, "Decay"}, {19, 0, 0, 0, 1, "0"}, {19, 0, 0, 0, 101, "100"},
    {20, 0, 0, 0, 1, "1%"}, {20, 0, 0, 0, 400, "400%"},
    {21, 0, 0, 0, 400, "400 ms"}, {21, 0, 0, 0, 401, "BPM 1/4"}, {21, 0, 0, 0, 413, "BPM 4.0"},
    {22, 0, 0, 0, 40, "800 ms"}, {22, 0, 0, 0, 41, "BPM 1/4"},
    {26, 0, 0, 0, 140, "2800 ms"}, {26, 0, 0, 0, 153, "BPM 4.0"},
    {49, 0, 0, 0, 300, "300 ms"}, {49, 0, 0, 0, 301, "BPM 1/4"}, {49, 0, 0, 0, 313, "BPM 4.0"},
    {33, 0, 0, 0, 1, "20 ms"}, {44, 0, 0, 0, 0, "-50 dB"}, {53, 0, 0, 0, 39, "410 Hz"},
    {66, 0, 0, 0, 84, "24 dB"},
    {46, 0, 0, 0, 14, "Tonic"}, {46, 0, 0, 0, 33, "Scale5"},
    {47, 0, 0, 0, 0, "C / Am"}, {47, 0, 0, 0, 11, "B / G#"},
    {78, 0, 0, 0, 40, "40"}, {78, 0, 0, 0, 250, "250"}, {78, 0, 0, 0, 251, "MIDI"}, {78, 0, 0, 0, 252, "Global"},
    {80, 0, 0, 0, 0, "Centre"}, {80, 0, 0, 0, 10, "10 cm"}, {80, 0, 0, 0, 11, "Off"},
    {99, 0, 0, 0, 1, "0.5 ms"}, {99, 0, 0, 0, 80, "40.0 ms"},
    {104, 0, 0, 0, 0, "0.5"}, {104, 0, 0, 0, 1, "1.0"}, {104, 0, 0, 0, 5, "16.0"},
    {108, 0, 0, 0, 100, "100%"},
    {109, 0, 0, 0, 0, "200 Hz"}, {109, 0, 0, 0, 7, "900 Hz"}, {109, 0, 0, 0, 8, "1.0 kHz"},
    {109, 0, 0, 0, 18, "2.0 kHz"}, {109, 0, 0, 0, 19, "3 kHz"}, {109, 0, 0, 0, 30, "14 kHz"},
    {109, 0, 0, 0, 31, "16 kHz"}, {109, 0, 0, 0, 33, "20 kHz"},
    {110, 0, 0, 0, 1, "0.1 s"}, {111, 0, 0, 0, 320, "32.0 s"},
    {116, 0, 0, 0, 56, "5.6 m"}, {116, 0, 0, 0, 326, "32.6 m"},
    {117, 0, 0, 0, 5, "0.05 Hz"}, {117, 0, 0, 0, 500, "5.00 Hz"},
    {118, 0, 0, 0, 500, "5.00 Hz"}, {118, 0, 0, 0, 1000, "10.00 Hz"},
    {119, 0, 0, 0, 0, "Off"}, {119, 0, 0, 0, 1, "1 / 2"}, {119, 0, 0, 0, 31, "1 / 32"},
    {130, 0, 0, 0, 5, "TR: Tremolo / Pan"},
    {138, 0, 0, 0, 0, "-100"}, {138, 0, 0, 0, 100, "100"}, {143, 0, 0, 0, 0, "-100"}, {143, 0, 0, 0, 200, "100"},
    {141, 0, 0, 0, 0, "Thru"}, {141, 0, 0, 0, 20, "20 kHz"},
    {142, 0, 0, 0, 1, "Thru"}, {142, 0, 0, 0, 2, "20 Hz"}, {142, 0, 0, 0, 200, "2000 Hz"},
    {151, 0, 0, 0, 10, "10%"},
    // code 85: shown p1..p2 (counting down when p2 < p1), stored from p3
    {85, 1, 100, 1, 1, "1"}, {85, 1, 100, 1, 100, "100"},
    {85, 1, 10, 0, 0, "1"}, {85, 1, 10, 0, 9, "10"},
    {85, 0, -2, 0, 0, "0"}, {85, 0, -2, 0, 1, "-1"}, {85, 0, -2, 0, 2, "-2"},
    {85, 0, 3000, 0, 3000, "3000"},
};
// clang-format on

TEST_F(ValueTypeTest, TextOfStoredValue) {
    for (const TextCase& c : kTextCases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " (" << c.p1 << ", " << c.p2 << ", " << c.p3
                                        << ") stored " << c.stored);
        const VF1ValueType* type = ValueTypeFor(c.code, c.p1, c.p2, c.p3);
        ASSERT_NE(type, nullptr);
        EXPECT_EQ(type->TextAt(c.stored - type->MinValue()), c.text);
        EXPECT_EQ(type->IndexOf(c.stored), c.stored - type->MinValue());
    }
}

TEST_F(ValueTypeTest, GenericRangeFollowsItsNumbers) {
    struct Case {
        int p1, p2, p3, min, max;
    };
    for (const Case& c :
         {Case{1, 100, 1, 1, 100}, Case{1, 10, 0, 0, 9}, Case{0, -2, 0, 0, 2}, Case{5, 5, 7, 7, 7}}) {
        SCOPED_TRACE(testing::Message() << "(" << c.p1 << ", " << c.p2 << ", " << c.p3 << ")");
        const VF1ValueType* type = ValueTypeFor(85, c.p1, c.p2, c.p3);
        EXPECT_EQ(type->MinValue(), c.min);
        EXPECT_EQ(type->MaxValue(), c.max);
        EXPECT_EQ(type->Count(), c.max - c.min + 1);
    }
}

struct RangeCase {
    int code, kind, width, min, max;
};

// Kind, width and stored range of every code that has a row; 85 depends on its numbers.
// clang-format off
constexpr RangeCase kRanges[] = {
    {0, 1, -1, 0, 4}, {1, 3, 65, 0, 65}, {2, 1, -1, 0, 1}, {3, 5, -1, 0, 126}, {4, 5, -1, 1, 127},
    {5, 0, -1, 0, 1}, {7, 1, -1, 0, 1}, {8, 2, -1, 0, 113}, {9, 3, -1, 0, 60}, {10, 3, -1, 0, 200},
    {11, 3, -1, 0, 100}, {12, 3, -1, 10, 90}, {13, 3, -1, 0, 15}, {14, 3, -1, 0, 31}, {15, 3, -1, 0, 14},
    {16, 3, -1, 0, 15}, {17, 2, -1, 0, 113}, {18, 3, 55, 0, 48}, {19, 3, -1, 0, 101}, {20, 3, -1, 1, 400},
    {21, 2, 80, 0, 413}, {22, 2, -1, 0, 53}, {23, 2, 80, 0, 73}, {24, 2, 80, 0, 83}, {25, 2, 80, 0, 103},
    {26, 2, 80, 0, 153}, {27, 1, 120, 0, 1}, {28, 1, 75, 0, 4}, {29, 1, -1, 0, 1}, {31, 3, -1, 0, 6},
    {32, 3, -1, 0, 10}, {33, 3, -1, 1, 140}, {34, 3, -1, 0, 20}, {35, 2, -1, 0, 113}, {36, 3, -1, 0, 1},
    {37, 3, -1, 0, 24}, {38, 3, -1, 0, 1}, {39, 3, -1, 0, 1}, {40, 3, -1, 0, 9}, {41, 3, -1, 0, 16},
    {42, 3, -1, 0, 20}, {43, 2, -1, 0, 113}, {44, 3, -1, 0, 50}, {45, 3, -1, 0, 20}, {46, 3, -1, 0, 33},
    {47, 3, -1, 0, 11}, {48, 1, 73, 0, 4}, {49, 2, -1, 0, 313}, {50, 1, 72, 0, 2}, {51, 1, 70, 0, 2},
    {52, 2, -1, 0, 113}, {53, 3, -1, 0, 39}, {54, 3, -1, 0, 100}, {55, 3, -1, 0, 100}, {56, 3, -1, 0, 100},
    {57, 3, -1, 0, 100}, {58, 3, -1, 0, 100}, {59, 3, -1, 0, 120}, {60, 3, -1, 0, 24}, {61, 3, -1, 0, 24},
    {62, 3, -1, 0, 40}, {63, 3, -1, 0, 40}, {64, 3, -1, 0, 64}, {65, 3, -1, 0, 60}, {66, 3, -1, 0, 84},
    {67, 1, -1, 0, 2}, {68, 3, -1, 0, 10}, {69, 3, -1, 0, 9}, {70, 3, 55, 0, 16}, {71, 3, -1, 0, 20},
    {72, 2, -1, 0, 113}, {73, 1, -1, 0, 1}, {74, 3, -1, 0, 26}, {75, 1, -1, 0, 2}, {76, 3, 60, 0, 4},
    {77, 3, 60, 0, 6}, {78, 2, -1, 40, 252}, {79, 3, -1, 0, 10}, {80, 3, -1, 0, 11}, {81, 1, -1, 0, 4},
    {82, 3, 85, 0, 10}, {83, 1, -1, 0, 1}, {84, 1, -1, 0, 1}, {86, 3, -1, 0, 100}, {87, 0, -1, 0, 1},
    {88, 1, -1, 0, 1}, {89, 1, -1, 0, 1}, {90, 1, 80, 0, 4}, {91, 1, 80, 0, 3}, {92, 2, -1, 0, 113},
    {93, 1, -1, 0, 2}, {94, 1, -1, 0, 1}, {95, 3, -1, 0, 8}, {96, 3, -1, 0, 8}, {97, 3, 85, 0, 17},
    {98, 1, -1, 0, 1}, {99, 3, -1, 0, 80}, {100, 3, -1, 0, 100}, {101, 3, -1, 0, 100}, {102, 3, -1, 0, 200},
    {103, 1, -1, 0, 2}, {104, 3, -1, 0, 5}, {105, 3, -1, 0, 18}, {106, 3, -1, 0, 20}, {107, 1, -1, 0, 3},
    {108, 3, -1, 1, 100}, {109, 3, -1, 0, 33}, {110, 3, -1, 1, 100}, {111, 3, -1, 1, 320}, {112, 1, 70, 0, 4},
    {113, 1, -1, 0, 1}, {114, 1, -1, 0, 3}, {115, 1, 80, 0, 1}, {116, 3, -1, 56, 326}, {117, 3, -1, 5, 500},
    {118, 3, -1, 500, 1000}, {119, 3, -1, 0, 31}, {120, 1, 80, 0, 2}, {121, 1, -1, 0, 1}, {122, 1, 70, 0, 1},
    {123, 1, -1, 0, 1}, {124, 1, -1, 0, 1}, {125, 3, 102, 0, 10}, {126, 1, 90, 0, 1}, {127, 1, 90, 0, 2},
    {128, 1, 110, 0, 2}, {129, 1, 90, 0, 3}, {130, 1, 145, 0, 5}, {131, 1, -1, 0, 1}, {133, 1, -1, 0, 1},
    {134, 1, -1, 0, 1}, {135, 2, -1, 0, 113}, {136, 3, -1, 0, 6}, {137, 2, -1, 0, 113}, {138, 3, -1, 0, 100},
    {139, 1, -1, 0, 3}, {140, 3, -1, 0, 100}, {141, 3, -1, 0, 20}, {142, 3, -1, 1, 200}, {143, 3, -1, 0, 200},
    {144, 1, 70, 0, 1}, {145, 2, -1, 0, 113}, {146, 2, -1, 0, 113}, {147, 1, -1, 0, 2}, {148, 1, -1, 0, 1},
    {149, 1, -1, 0, 3}, {150, 3, -1, 0, 10}, {151, 3, -1, 10, 40}, {152, 3, -1, 0, 16},
};

struct SplitCase {
    int code, split;
    const char* first;
    const char* second;
};

constexpr SplitCase kSplits[] = {
    {8, 101, "0 - 100", "BPM x"}, {17, 101, "0 - 100", "BPM x"}, {21, 401, "Time", "BPM x"},
    {22, 41, "Time", "BPM x"}, {23, 61, "Time", "BPM x"}, {24, 71, "Time", "BPM x"}, {25, 91, "Time", "BPM x"},
    {26, 141, "Time", "BPM x"}, {35, 101, "0 - 100", "BPM x"}, {43, 101, "0 - 100", "BPM x"},
    {49, 301, "Time", "BPM x"}, {52, 101, "0 - 100", "BPM x"}, {72, 101, "0 - 100", "BPM x"},
    {78, 251, "BPM", "System"}, {92, 101, "0 - 100", "BPM x"}, {135, 101, "0 - 100", "BPM x"},
    {137, 101, "0 - 100", "BPM x"}, {145, 101, "0 - 100", "BPM x"}, {146, 101, "0 - 100", "BPM x"},
};
// clang-format on

const RangeCase* FindRange(int code) {
    for (const RangeCase& r : kRanges)
        if (r.code == code) return &r;
    return nullptr;
}

SplitCase SplitFor(int code) {
    for (const SplitCase& s : kSplits)
        if (s.code == code) return s;
    return {code, 0, "", ""};
}

TEST_F(ValueTypeTest, EveryCodeHasTheRangeAndControlOfItsRow) {
    MessageRecorder messages;
    for (int code = 0; code < kTypeCodeCount; ++code) {
        if (code == 85) continue;
        SCOPED_TRACE(testing::Message() << "code " << code);
        messages.Clear();
        const VF1ValueType* type = ValueTypeFor(code);
        ASSERT_NE(type, nullptr);
        EXPECT_EQ(type->TypeCode(), code);

        if (code == 6 || code == 30 || code == 132) {
            EXPECT_EQ(messages.Messages(),
                      std::vector<std::string>{"not handling paramtype " + std::to_string(code)});
            EXPECT_EQ(type->Count(), 0);
            EXPECT_EQ(type->MinValue(), 0);
            EXPECT_EQ(type->MaxValue(), 0);
            EXPECT_EQ(type->TextAt(0), "");
            EXPECT_EQ(type->ValueAt(0), 0);
            EXPECT_EQ(type->IndexOf(0), -1);
            continue;
        }
        EXPECT_TRUE(messages.Messages().empty());
        const RangeCase* expected = FindRange(code);
        ASSERT_NE(expected, nullptr);
        EXPECT_EQ(static_cast<int>(type->ControlKind()), expected->kind);
        EXPECT_EQ(type->ControlWidth(), expected->width);
        EXPECT_EQ(type->MinValue(), expected->min);
        EXPECT_EQ(type->MaxValue(), expected->max);
        ASSERT_EQ(type->Count(), expected->max - expected->min + 1);
        for (int i = 0; i < type->Count(); ++i) {
            ASSERT_EQ(type->ValueAt(i), expected->min + i) << "index " << i;
            ASSERT_FALSE(type->TextAt(i).empty()) << "index " << i;
        }
        const SplitCase split = SplitFor(code);
        EXPECT_EQ(type->SplitValue(), split.split);
        EXPECT_EQ(type->FirstModeLabel(), split.first);
        EXPECT_EQ(type->SecondModeLabel(), split.second);
    }
}

TEST_F(ValueTypeTest, IndexesOutsideTheListReadNothing) {
    const VF1ValueType* type = ValueTypeFor(117); // stored 5..500
    for (int index : {-1, type->Count(), type->Count() + 1000}) {
        EXPECT_EQ(type->TextAt(index), "") << index;
        EXPECT_EQ(type->ValueAt(index), 0) << index;
    }
    EXPECT_EQ(type->IndexOf(4), -1);
    EXPECT_EQ(type->IndexOf(501), -1);
}

TEST_F(ValueTypeTest, ValueTypesAreSharedPerCodeAndPerGenericTriple) {
    EXPECT_EQ(ValueTypeFor(54), ValueTypeFor(54));
    EXPECT_EQ(ValueTypeFor(54), ValueTypeFor(54, 1, 2, 3)); // the numbers matter for code 85 only
    EXPECT_NE(ValueTypeFor(54), ValueTypeFor(55));          // same list, own object

    const VF1ValueType* a = ValueTypeFor(85, 0, 100, 0);
    const VF1ValueType* b = ValueTypeFor(85, 0, 100, 1);
    const VF1ValueType* c = ValueTypeFor(85, 100, 0, 0);
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(ValueTypeFor(85, 0, 100, 0), a);
    EXPECT_EQ(ValueTypeFor(85, 0, 100, 1), b);
    EXPECT_EQ(CachedGenericTypeCount(), 3);

    // No fixed limit on distinct triples; earlier ones stay valid and shared.
    for (int i = 0; i < 150; ++i)
        ValueTypeFor(85, 0, i, 1000);
    EXPECT_EQ(CachedGenericTypeCount(), 153);
    EXPECT_EQ(ValueTypeFor(85, 0, 100, 0), a);
    EXPECT_EQ(a->TextAt(100), "100");

    ReleaseValueType(85);
    EXPECT_EQ(CachedGenericTypeCount(), 0);
    EXPECT_EQ(ValueTypeFor(85, 0, 100, 0)->Count(), 101);
    EXPECT_EQ(CachedGenericTypeCount(), 1);
}

TEST_F(ValueTypeTest, CodesOutsideTheTableGiveAnEmptyTypeOnce) {
    MessageRecorder messages;
    const VF1ValueType* type = ValueTypeFor(153);
    EXPECT_EQ(ValueTypeFor(153), type);
    EXPECT_EQ(ValueTypeFor(-1)->Count(), 0);
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>{"not handling paramtype 153", "not handling paramtype -1"}));
    EXPECT_EQ(type->Count(), 0);
    EXPECT_EQ(type->TextAt(0), "");
}

} // namespace
