#pragma once
// The unit's block tables as data: every plain block id with its parameters in stream order,
// the effect slots with their sub-effects, the multi-mode blocks with their modes.
// Builders in VF1Effect, VF1EffectSlot and VF1MultiModeEffect turn rows into objects.

#include <cstdint>
#include <span>

#include "model/ParamPlacer.h"
#include "model/TypeCodes.h"

// One parameter as the table lists it: label, name, width, initial value, type code, p1..p3
// (code 85 only), target rule (kNextTarget, kNoTarget, or an explicit index N >= 0), and whether
// it is the block's position parameter.
struct ParamSpec {
    const char* label;
    const char* name;
    int width;
    int init;
    int type;
    int p1, p2, p3;
    int target;
    bool position;

    constexpr ParamSpec W4() const { ParamSpec p = *this; p.width = 4; return p; }
    constexpr ParamSpec T(int index) const { ParamSpec p = *this; p.target = index; return p; }
    constexpr ParamSpec NoTarget() const { ParamSpec p = *this; p.target = kNoTarget; return p; }
    constexpr ParamSpec Position() const { ParamSpec p = *this; p.position = true; return p; }
    constexpr ParamSpec Label(const char* text) const { ParamSpec p = *this; p.label = text; return p; }
};

// "name" [type; init]
constexpr ParamSpec P(const char* name, int type, int init) {
    return {"", name, 2, init, type, 0, 0, 0, kNextTarget, false};
}
// "name" [85(from..to from first); init]
constexpr ParamSpec N(const char* name, int from, int to, int init, int first = 0) {
    return {"", name, 2, init, TypeCode::kGeneric, from, to, first, kNextTarget, false};
}
// Dummy, or Dummy wN
constexpr ParamSpec Dummy(int width = 2) {
    return {"", "Dummy", width, 0, TypeCode::kDummy, 0, 0, 0, kNextTarget, false};
}

// A plain block, or a sub-effect of a slot. label applies to every parameter that has no label
// of its own; startByte is where its first parameter lies (sub-effects sit behind the slot's
// shared bytes). size is the table's own byte count, kept for checking.
struct BlockSpec {
    uint32_t id;
    const char* name;
    const char* label;
    int startByte;
    int size;
    std::span<const ParamSpec> params;
};

// The multi-tap delay repeats four parameters for taps 1..20; the tap number is appended with
// "%d" and tap n takes target index 4n - 2 + k for its k-th parameter.
inline constexpr uint32_t kMultiTapDelayId = 0x080002;
inline constexpr int kMultiTapCount = 20;
std::span<const ParamSpec> MultiTapParams(); // the four parameters of one tap, names without n

std::span<const BlockSpec> CatalogueBlocks(); // the 96 plain block ids
const BlockSpec* FindCatalogueBlock(uint32_t id);

struct SubEffectSpec {
    int selector;
    const char* text;
    uint32_t id;
    int targetBase;
};

struct SlotSpec {
    uint32_t id;
    const char* name;
    int sharedCount; // H
    std::span<const ParamSpec> shared;
    std::span<const SubEffectSpec> subEffects;
    std::span<const ParamSpec> trailing; // after the sub-effects (only 1A0002 has one)
    int size;
};

struct ModeSpec {
    const char* label; // carried by every parameter of the mode that has no label of its own
    std::span<const ParamSpec> params;
    int size;
};

struct MultiModeSpec {
    uint32_t id;
    const char* name;
    std::span<const ParamSpec> shared;
    int sharedSize;
    std::span<const ModeSpec> modes; // 2 or 3 modes, by selector value
};

std::span<const SlotSpec> SlotBlocks();           // 6 slots
const SlotSpec* FindSlotBlock(uint32_t id);
std::span<const MultiModeSpec> MultiModeBlocks(); // 9 multi-mode blocks
const MultiModeSpec* FindMultiModeBlock(uint32_t id);
