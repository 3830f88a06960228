#include "model/tables/CatalogueTable.h"

#include <algorithm>
#include <iterator>

// The multi-mode blocks: shared parameters, then one parameter set per selector value. Every mode
// overlays the same bytes behind the shared ones; target indices run on from mode to mode unless
// a parameter names its own, so parameters of one meaning keep one target number across modes.
// A mode row is: label carried by its unlabelled parameters, parameters, bytes.

// clang-format off
static constexpr ParamSpec k040000Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 120, 0).NoTarget(),
};

static constexpr ParamSpec k040000Mode0[] = {
    N("Tuning", 0, 100, 50),
    N("Noise", 0, 100, 10),
    N("Filter", 0, 100, 50),
    N("Sound", 0, 100, 80),
    Dummy(12),
};

static constexpr ParamSpec k040000Mode1[] = {
    N("Wow Flutter", 0, 100, 50),
    N("Noise", 0, 100, 10),
    N("Filter", 0, 100, 10),
    N("Sound", 0, 100, 80),
    Dummy(12),
};

static constexpr ParamSpec k040000Mode2[] = {
    P("Pre Flt", 87, 0),
    P("Sample Rt", 119, 0),
    P("Bit", 16, 0),
    P("Post Flt", 87, 0),
    P("FX Lvl", 58, 80),
    P("Dir Lvl", 57, 20),
    P("R M F", 114, 0),
    N("Cut Off", 0, 100, 10),
    N("Reson", 0, 100, 10),
    P("Gain", 37, 10),
};

static constexpr ModeSpec k040000Modes[] = {
    {"[RADIO] ", k040000Mode0, 20},
    {"[PLAYER] ", k040000Mode1, 20},
    {"[PROCESS] ", k040000Mode2, 20},
};

static constexpr ParamSpec k060001Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 121, 0).NoTarget(),
    P("Detect", 75, 2),
    Dummy(),
};

static constexpr ParamSpec k060001Mode0[] = {
    N("Thrshld", 0, 100, 50),
    P("Ratio", 107, 0),
    N("Attack", 0, 100, 50),
    N("Release", 0, 100, 50),
    N("Tone", -50, 50, 50),
    P("Level", 54, 50),
};

static constexpr ParamSpec k060001Mode1[] = {
    N("Thrshld", 0, 100, 50),
    N("Release", 0, 100, 50),
    N("Tone", -50, 50, 50),
    P("Level", 54, 50),
    Dummy(4),
};

static constexpr ModeSpec k060001Modes[] = {
    {"[COMP] ", k060001Mode0, 12},
    {"[LIMIT] ", k060001Mode1, 12},
};

static constexpr ParamSpec k060002Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 121, 0).NoTarget(),
};

static constexpr ParamSpec k060002Mode0[] = {
    N("Sustain", 0, 100, 50),
    N("Attack", 0, 100, 50),
    N("Tone", -50, 50, 50),
    P("Level", 54, 50),
};

static constexpr ParamSpec k060002Mode1[] = {
    N("Thrshld", 0, 100, 50),
    N("Release", 0, 100, 50),
    N("Tone", -50, 50, 50),
    P("Level", 54, 50),
};

static constexpr ModeSpec k060002Modes[] = {
    {"[COMP] ", k060002Mode0, 8},
    {"[LIMIT] ", k060002Mode1, 8},
};

static constexpr ParamSpec k060003Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 121, 0).NoTarget(),
};

static constexpr ParamSpec k060003Mode0[] = {
    N("Thrshld", 0, 100, 50),
    P("Ratio", 107, 0),
    N("Attack", 0, 100, 50),
    N("Release", 0, 100, 50),
    N("Tone", -50, 50, 50),
    P("Level", 54, 50),
};

static constexpr ParamSpec k060003Mode1[] = {
    N("Thrshld", 0, 100, 50),
    N("Release", 0, 100, 50),
    N("Tone", -50, 50, 50),
    P("Level", 54, 50),
    Dummy(4),
};

static constexpr ModeSpec k060003Modes[] = {
    {"[COMP] ", k060003Mode0, 12},
    {"[LIMIT] ", k060003Mode1, 12},
};

static constexpr ParamSpec k070000Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 122, 0).NoTarget(),
};

static constexpr ParamSpec k070000Mode0[] = {
    P("Sustain", 13, 10),
    P("Attack", 13, 10),
    N("Enh Freq", 0, 3, 0),
    N("Enh Lvl", 0, 100, 10),
    P("Level", 54, 50),
    Dummy(),
};

static constexpr ParamSpec k070000Mode1[] = {
    P("Sens", 13, 10),
    P("Attack", 13, 10),
    P("Depth", 13, 10),
    P("Level", 54, 50),
    Dummy(4),
};

static constexpr ModeSpec k070000Modes[] = {
    {"[COMP] ", k070000Mode0, 12},
    {"[DEFRET] ", k070000Mode1, 12},
};

static constexpr ParamSpec k080004Shared[] = {
    P("FX On/Off", 36, 1),
    P("Type", 123, 0).NoTarget(),
};

static constexpr ParamSpec k080004Mode0[] = {
    P("Dly Time", 25, 10).Label("[SINGLE] "),
    P("Fine Time", 34, 0).Label("[SINGLE] "),
    Dummy(4),
    Dummy(4),
    P("Fdbck", 55, 10).T(7),
    N("Level\nC", 0, 100, 50),
    N("Level\nL", 0, 100, 50),
    N("Level\nR", 0, 100, 50),
    P("FX Lvl", 59, 60),
    P("Dir Lvl", 57, 80),
    P("Hi Damp\nGain", 44, 50),
    P("Hi Cut\nFlt", 40, 9),
    Dummy(),
    Dummy(),
};

static constexpr ParamSpec k080004Mode1[] = {
    P("Dly Time\nC", 25, 10).T(3).Label("[3 TAP] "),
    P("Fine T\nC", 34, 0).Label("[3 TAP] "),
    P("Dly Time\nL", 20, 100).W4().Label("[3 TAP] "),
    P("Dly Time\nR", 20, 100).W4().Label("[3 TAP] "),
    P("Fdbck", 55, 10),
    N("Level\nC", 0, 100, 50),
    N("Level\nL", 0, 100, 50),
    N("Level\nR", 0, 100, 50),
    P("FX Lvl", 59, 60),
    P("Dir Lvl", 57, 80),
    P("Hi Damp\nGain", 44, 50),
    P("Hi Cut\nFlt", 40, 9),
    Dummy(),
    Dummy(),
};

static constexpr ModeSpec k080004Modes[] = {
    {"", k080004Mode0, 32},
    {"", k080004Mode1, 32},
};

static constexpr ParamSpec k080005Shared[] = {
    P("FX On/Off", 36, 1),
    P("Type", 123, 0).NoTarget(),
};

static constexpr ParamSpec k080005Mode0[] = {
    P("Dly Time", 26, 10).Label("[SINGLE] "),
    P("Fine Time", 34, 0).Label("[SINGLE] "),
    Dummy(4),
    Dummy(4),
    P("Fdbck", 55, 10).T(7),
    N("Level\nC", 0, 100, 50),
    N("Level\nL", 0, 100, 50),
    N("Level\nR", 0, 100, 50),
    P("FX Lvl", 59, 60),
    P("Dir Lvl", 57, 80),
    P("Hi Damp\nGain", 44, 50),
    P("Hi Cut\nFlt", 40, 9),
    Dummy(),
    Dummy(),
};

static constexpr ParamSpec k080005Mode1[] = {
    P("Dly Time\nC", 26, 10).T(3).Label("[3 TAP] "),
    P("Fine T\nC", 34, 0).Label("[3 TAP] "),
    P("Dly Time\nL", 20, 100).W4().Label("[3 TAP] "),
    P("Dly Time\nR", 20, 100).W4().Label("[3 TAP] "),
    P("Fdbck", 55, 10),
    N("Level\nC", 0, 100, 50),
    N("Level\nL", 0, 100, 50),
    N("Level\nR", 0, 100, 50),
    P("FX Lvl", 59, 60),
    P("Dir Lvl", 57, 80),
    P("Hi Damp\nGain", 44, 50),
    P("Hi Cut\nFlt", 40, 9),
    Dummy(),
    Dummy(),
};

static constexpr ModeSpec k080005Modes[] = {
    {"", k080005Mode0, 32},
    {"", k080005Mode1, 32},
};

static constexpr ParamSpec k0E0001Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 124, 0).NoTarget(),
};

static constexpr ParamSpec k0E0001Mode0[] = {
    P("Low EQ", 62, 20),
    P("Lo-Mid\nf", 71, 0),
    P("Lo-Mid\nQ", 104, 0),
    P("Lo-Mid\nEQ", 62, 20),
    P("Hi-Mid\nf", 42, 10),
    P("Hi-Mid\nQ", 104, 0),
    P("Hi-Mid\nEQ", 62, 20),
    P("High EQ", 62, 20),
    P("Level", 63, 20),
    Dummy(),
};

static constexpr ParamSpec k0E0001Mode1[] = {
    P("Sens", 13, 10),
    P("Start", 29, 0),
    P("Stop", 13, 10),
    P("Reson", 13, 10),
    P("FX Lvl", 58, 80),
    P("Dir Lvl", 57, 20),
    Dummy(8),
};

static constexpr ModeSpec k0E0001Modes[] = {
    {"[EQ] ", k0E0001Mode0, 20},
    {"[T WAH] ", k0E0001Mode1, 20},
};

static constexpr ParamSpec k2D0000Shared[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 131, 0).NoTarget(),
};

static constexpr ParamSpec k2D0000Mode0[] = {
    N("Pedal", 0, 100, 50),
    P("Level", 54, 80),
    Dummy(12),
};

static constexpr ParamSpec k2D0000Mode1[] = {
    P("Mode", 7, 0),
    P("Polarity", 29, 0),
    N("Sens", 0, 100, 50),
    N("Freq", 0, 100, 50),
    N("Peak", 0, 100, 50),
    P("Rate", 8, 50),
    N("Depth", 0, 100, 50),
    P("Level", 54, 80),
};

static constexpr ModeSpec k2D0000Modes[] = {
    {"[WAH] ", k2D0000Mode0, 16},
    {"[A-W] ", k2D0000Mode1, 16},
};

// id, name, shared parameters, shared bytes, modes by selector value
static constexpr MultiModeSpec kMultiModes[] = {
    {0x040000, "Lo-Fi", k040000Shared, 4, k040000Modes},
    {0x060001, "Comp/Lim", k060001Shared, 8, k060001Modes},
    {0x060002, "Comp/Lim", k060002Shared, 4, k060002Modes},
    {0x060003, "Comp/Lim", k060003Shared, 4, k060003Modes},
    {0x070000, "Comp/Defret", k070000Shared, 4, k070000Modes},
    {0x080004, "Delay Sngl/3Tap", k080004Shared, 4, k080004Modes},
    {0x080005, "Delay Sngl/3Tap", k080005Shared, 4, k080005Modes},
    {0x0E0001, "EQ/Touch Wah", k0E0001Shared, 4, k0E0001Modes},
    {0x2D0000, "Wah/Auto-Wah", k2D0000Shared, 4, k2D0000Modes},
};
// clang-format on

std::span<const MultiModeSpec> MultiModeBlocks() {
    return kMultiModes;
}

const MultiModeSpec* FindMultiModeBlock(uint32_t id) {
    const auto it = std::find_if(std::begin(kMultiModes), std::end(kMultiModes),
                                 [id](const MultiModeSpec& m) { return m.id == id; });
    return it == std::end(kMultiModes) ? nullptr : &*it;
}
