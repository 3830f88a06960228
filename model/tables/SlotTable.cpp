#include "model/tables/CatalogueTable.h"

#include <algorithm>
#include <iterator>

// The effect slots: shared parameters, then one plain block per "FX Sel" value, each built from
// the catalogue at the slot's byte 2H with its own absolute target base (not an offset from the
// slot's base). Bytes span the shared bytes and the longest sub-effect.

// clang-format off
static constexpr ParamSpec k1A0001Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 125, 0).NoTarget(),
    P("Position", 95, 5).NoTarget().Position(),
    Dummy(),
};

// selector, text, block id, target base
static constexpr SubEffectSpec k1A0001Subs[] = {
    {0, "HR: Harmonist", 0x1A000D, 51},
    {1, "FL: Flanger", 0x1A0008, 67},
    {2, "PH: Phaser", 0x1A000F, 73},
    {3, "SEQ: Sub EQ", 0x1A0018, 81},
    {4, "2CE: 2x2 Chorus", 0x1A001D, 90},
    {5, "SDD: Short Delay", 0x1A0017, 99},
    {6, "HU: Humanizer", 0x1A000E, 102},
    {7, "VB: Vibrato", 0x1A001C, 110},
    {8, "SYN: Guitar Synth", 0x1A001B, 114},
    {9, "RM: Ring Modulator", 0x1A0016, 131},
    {10, "SL: Slicer", 0x1A0019, 135},
};

static constexpr ParamSpec k1A0002Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 126, 0).NoTarget(),
};

static constexpr SubEffectSpec k1A0002Subs[] = {
    {0, "FL: Flanger", 0x1A000C, 29},
    {1, "PH: Phaser", 0x1A0013, 34},
};

// Both sub-effects end at byte 14; the slot's last two bytes stay reserved whichever is chosen.
static constexpr ParamSpec k1A0002Trailing[] = {
    Dummy(),
};

static constexpr ParamSpec k1A0003Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 127, 0).NoTarget(),
    P("Position", 96, 7).NoTarget().Position(),
    Dummy(),
};

static constexpr SubEffectSpec k1A0003Subs[] = {
    {0, "FL: Flanger", 0x1A0009, 62},
    {1, "PH: Phaser", 0x1A0010, 68},
    {2, "CE: Chorus", 0x1A0006, 72},
};

static constexpr ParamSpec k1A0004Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 128, 0).NoTarget(),
};

static constexpr SubEffectSpec k1A0004Subs[] = {
    {0, "FL: Flanger", 0x1A000A, 39},
    {1, "PH: Phaser", 0x1A0014, 45},
    {2, "PS: Pitch Shifter", 0x1A0015, 53},
};

static constexpr ParamSpec k1A0005Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 129, 0).NoTarget(),
};

static constexpr SubEffectSpec k1A0005Subs[] = {
    {0, "PH: Phaser", 0x1A0012, 14},
    {1, "FL: Flanger", 0x1A000B, 21},
    {2, "CE: Chorus", 0x1A0007, 27},
    {3, "SL: Slicer", 0x1A001A, 34},
};

static constexpr ParamSpec k260000Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 130, 0).NoTarget(),
    P("Position", 95, 5).NoTarget().Position(),
    Dummy(),
};

static constexpr SubEffectSpec k260000Subs[] = {
    {0, "AC: Acoustic Guitar Sim", 0x260001, 51},
    {1, "BSS: Bass Guitar Sim", 0x260002, 54},
    {2, "SG: Slow Gear", 0x260003, 57},
    {3, "FB: Feedbacker", 0x260004, 59},
    {4, "PIC: Pickup Simulator", 0x260005, 68},
    {5, "TR: Tremolo / Pan", 0x260006, 71},
};

// id, name, H, shared parameters, sub-effects, trailing parameters, bytes
static constexpr SlotSpec kSlots[] = {
    {0x1A0001, "Mod", 4, k1A0001Shared, k1A0001Subs, {}, 48},
    {0x1A0002, "Mod", 2, k1A0002Shared, k1A0002Subs, k1A0002Trailing, 16},
    {0x1A0003, "Mod", 4, k1A0003Shared, k1A0003Subs, {}, 20},
    {0x1A0004, "Mod", 2, k1A0004Shared, k1A0004Subs, {}, 20},
    {0x1A0005, "Mod:Mod", 2, k1A0005Shared, k1A0005Subs, {}, 20},
    {0x260000, "SFX", 4, k260000Shared, k260000Subs, {}, 28},
};
// clang-format on

std::span<const SlotSpec> SlotBlocks() {
    return kSlots;
}

const SlotSpec* FindSlotBlock(uint32_t id) {
    const auto it =
        std::find_if(std::begin(kSlots), std::end(kSlots), [id](const SlotSpec& s) { return s.id == id; });
    return it == std::end(kSlots) ? nullptr : &*it;
}
