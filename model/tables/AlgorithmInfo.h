#pragma once
// Fixed facts about the unit's 37 algorithms and 14 patch categories.

#include <cstdint>
#include <span>

struct AlgorithmInfo {
    int number;
    int defaultCategory;
    const char* longName;
    const char* shortName; // "" when the long name is shown everywhere
};

// One effect block of an algorithm: id, where its stream sits in the real-time area (a1 in the
// high byte, a2 in the low byte), the target number of its first assignable parameter, and the
// name the block reports once built.
struct AlgorithmBlock {
    uint32_t id;
    const char* name;
    int address;
    int targetBase;
};

struct AlgorithmComposition {
    int number;
    std::span<const AlgorithmBlock> blocks;
    uint32_t masterId;
    int masterAddress;
};

inline constexpr int kAlgorithmCount = 37;
inline constexpr int kCategoryCount = 14;

// The 37 rows in the order the algorithm box lists them.
std::span<const AlgorithmInfo> AlgorithmTable();
const char* CategoryName(int category); // "" outside 0..13

const char* AlgorithmDisplayName(int number); // nullptr for a number not in the table
int AlgorithmDefaultCategory(int number);     // 14 for a number not in the table
int AlgorithmRow(int number);                 // -1 for a number not in the table
int AlgorithmAtRow(int row);
const char* AlgorithmPicture(int number); // "" outside 0..36

// Block composition by algorithm number; nullptr for a number without a row.
const AlgorithmComposition* AlgorithmBlocks(int number);
