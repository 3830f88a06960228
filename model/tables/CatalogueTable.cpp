#include "model/tables/CatalogueTable.h"

#include <algorithm>
#include <iterator>

// Every plain block of the unit: its parameters in the order they lie in the patch data, then one
// row per block id. Sub-effects of the slots ("Mod - ", "SFX - ") start behind the slot's shared
// bytes; the multi-tap delay adds its twenty taps from MultiTapParams.

// clang-format off
static constexpr ParamSpec k000000[] = {
    P("FX On/Off", 36, 1),
    N("Body", 0, 100, 0),
    N("Mic Dstnc", 0, 100, 0),
    Dummy(),
};

static constexpr ParamSpec k010000[] = {
    P("FX On/Off", 36, 1),
    N("Depth", 0, 100, 0),
    N("Freq", 0, 100, 0),
    Dummy(),
};

static constexpr ParamSpec k020000[] = {
    P("FX On/Off", 36, 1),
    P("Freq", 142, 1),
};

static constexpr ParamSpec k050000[] = {
    P("FX On/Off", 36, 1),
    P("Xover f", 152, 10),
    P("Lo Rate", 17, 50),
    N("Lo\nDepth", 0, 100, 50),
    P("Lo\nPreDly", 99, 0),
    N("Lo Lvl", 0, 100, 80),
    P("Hi Rate", 17, 50),
    N("Hi\nDepth", 0, 100, 50),
    P("Hi\nPreDly", 99, 0),
    N("Hi Lvl", 0, 100, 80),
};

static constexpr ParamSpec k050001[] = {
    P("FX On/Off", 36, 1),
    P("Mode", 83, 1),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 54, 80),
    Dummy(),
};

static constexpr ParamSpec k050002[] = {
    P("FX On/Off", 36, 1),
    P("Polarity", 94, 0),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    P("Lo Cut", 68, 0),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 54, 80),
    P("Dir\nOn/Off", 87, 1),
    Dummy(),
};

static constexpr ParamSpec k050003[] = {
    P("FX On/Off", 36, 1),
    P("Mode", 83, 1).NoTarget(),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    P("Lo Cut", 68, 0),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 54, 80),
    P("Dir\nOn/Off", 87, 1),
    Dummy(),
};

static constexpr ParamSpec k050004[] = {
    P("FX On/Off", 36, 1),
    P("Polarity", 94, 0),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    P("Lo Cut", 68, 0),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 54, 80),
    P("Dir\nOn/Off", 87, 1),
    P("RSS On/Off", 87, 1),
};

static constexpr ParamSpec k050005[] = {
    P("FX On/Off", 36, 1),
    P("Polarity", 94, 0),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    P("Lo Cut", 68, 0),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 54, 80),
    P("Dir\nOn/Off", 87, 1),
    Dummy(),
};

static constexpr ParamSpec k050006[] = {
    P("FX On/Off", 36, 1),
    P("Polarity", 94, 0),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    Dummy(),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 54, 80),
    Dummy(4),
};

static constexpr ParamSpec k050007[] = {
    P("FX On/Off", 36, 1),
    P("Mode", 83, 1),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    P("Lo Cut", 68, 0),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 54, 80),
    Dummy(),
    Dummy(),
};

static constexpr ParamSpec k050008[] = {
    P("FX On/Off", 36, 1),
    P("Polarity", 94, 0),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    P("Lo Cut", 68, 0),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 54, 80),
    Dummy(4),
};

static constexpr ParamSpec k050009[] = {
    P("FX On/Off", 36, 1),
    P("Mode", 83, 1),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    P("Lo Cut", 68, 0),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 54, 80),
    Dummy(),
    Dummy(),
};

static constexpr ParamSpec k080001[] = {
    P("FX On/Off", 36, 1),
    P("Dly Time", 22, 10),
    P("Fine Time", 34, 0),
    P("Fdbck", 55, 10),
    P("FX Lvl", 59, 80),
    Dummy(),
};

// The twenty taps follow these ten; MultiTapParams holds one tap.
static constexpr ParamSpec k080002[] = {
    P("FX On/Off", 36, 1),
    P("Ratio", 108, 100),
    P("FB Dly", 26, 10).T(82),
    N("FB Fine", 0, 20, 0).T(83),
    P("FB Lvl", 55, 10).T(84),
    P("Lo Cut", 68, 0).T(85),
    P("Hi Cut", 40, 9).T(86),
    P("FX Lvl", 59, 60).T(88),
    P("Dir Lvl", 57, 100).T(87),
    Dummy(),
};

static constexpr ParamSpec k080003[] = {
    P("FX On/Off", 36, 1),
    P("Type", 133, 0).NoTarget(),
    P("Dly Time", 25, 10),
    P("Fine Time", 34, 0),
    P("Tap Time", 140, 50),
    P("Fdbck", 55, 10),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 59, 60),
};

static constexpr ParamSpec k080006[] = {
    P("FX On/Off", 36, 1),
    P("FX Lvl", 59, 60).T(7),
    P("Dir Lvl", 57, 100).T(8),
    P("Hi Damp\nGain", 44, 50).T(9),
    P("Hi Cut\nFlt", 40, 9).T(10),
    Dummy(),
    P("Dly Time\nL", 24, 10).T(1),
    P("Fine T\nL", 34, 0).T(2),
    P("Fdbck\nL", 55, 10).T(5),
    Dummy(),
    P("Dly Time\nR", 24, 10).T(3),
    P("Fine T\nR", 34, 0).T(4),
    P("Fdbck\nR", 55, 10).T(6),
    Dummy(),
};

static constexpr ParamSpec k080007[] = {
    P("FX On/Off", 36, 1),
    Dummy(),
    P("Dly Time\nC", 26, 10),
    P("Fine T\nC", 34, 0),
    P("Dly Time\nL", 20, 100).W4(),
    P("Dly Time\nR", 20, 100).W4(),
    P("Fdbck", 55, 10),
    P("Level\nC", 54, 50),
    P("Level\nL", 54, 50),
    P("Level\nR", 54, 50),
    P("FX Lvl", 59, 60),
    P("Dir Lvl", 57, 100),
    P("Hi Damp\nGain", 44, 50),
    P("Hi Cut\nFlt", 40, 9),
    Dummy(),
    P("RSS On/Off", 87, 1),
};

static constexpr ParamSpec k080008[] = {
    P("FX On/Off", 36, 1),
    P("FX Lvl", 59, 60).T(7),
    P("Dir Lvl", 57, 100).T(8),
    P("Hi Damp\nGain", 44, 50).T(9),
    P("Hi Cut\nFlt", 40, 9).T(10),
    Dummy(),
    P("Dly Time\nL", 24, 10).T(1),
    P("Fine T\nL", 34, 0).T(2),
    P("Fdbck\nL", 55, 10).T(5),
    Dummy(),
    P("Dly Time\nR", 24, 10).T(3),
    P("Fine T\nR", 34, 0).T(4),
    P("Fdbck\nR", 55, 10).T(6),
    Dummy(),
};

static constexpr ParamSpec k080009[] = {
    P("FX On/Off", 36, 1),
    P("Type", 133, 0).NoTarget(),
    P("Dly Time", 23, 10),
    P("Fine Time", 34, 0),
    P("Tap Time", 140, 50),
    P("Fdbck", 55, 10),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 59, 60),
};

static constexpr ParamSpec k090000[] = {
    P("FX On/Off", 36, 1),
    N("Sens", 0, 100, 50),
    P("Freq", 150, 7),
    Dummy(),
};

static constexpr ParamSpec k0A0000[] = {
    P("FX On/Off", 36, 1),
    P("Type", 28, 0).NoTarget(),
    P("Drive", 14, 19),
    P("Bass", 15, 7),
    P("Treble", 15, 7),
    P("FX Lvl", 54, 40),
    P("Dir Lvl", 57, 40),
    Dummy(),
};

static constexpr ParamSpec k0B0000[] = {
    P("FX On/Off", 36, 1),
    N("Prox. FX", -12, 12, 12),
    N("Time", 0, 3000, 0).W4(),
};

static constexpr ParamSpec k0C0000[] = {
    P("FX On/Off", 36, 1),
    N("Mode", 1, 7, 1, 1),
    N("Repeat\nRate", 0, 100, 50),
    N("Intnsty", 0, 100, 50),
    P("Tone Bass", 143, 100),
    P("Tone Treb", 143, 100),
    P("Pan Head S", 11, 50),
    P("Pan Head M", 11, 50),
    P("Pan Head L", 11, 50),
    N("Tape Dist", 0, 100, 50),
    N("Wow Rate", 0, 100, 50),
    N("Wow Depth", 0, 100, 50),
    P("FX Lvl", 54, 50),
    P("Dir Lvl", 57, 80),
};

static constexpr ParamSpec k0D0000[] = {
    P("FX On/Off", 36, 1),
    P("Detect", 75, 2),
    N("Sens", 0, 100, 50),
    P("Freq", 32, 0),
    P("Mix Lvl", 58, 50),
    N("Lo Mix\nLvl", 0, 100, 50),
    P("Level", 54, 50),
    Dummy(),
};

static constexpr ParamSpec k0D0001[] = {
    P("FX On/Off", 36, 1),
    N("Sens", 0, 100, 50),
    P("Freq", 32, 0),
    P("Mix Lvl", 58, 50),
    N("Lo Mix\nLvl", 0, 100, 50),
    P("Level", 54, 50),
};

static constexpr ParamSpec k0E0000[] = {
    P("FX On/Off", 36, 1),
    P("Lo EQ", 62, 20),
    P("Lo-Mid\nf", 71, 0).T(4),
    P("Lo-Mid\nQ", 104, 0),
    P("Lo-Mid\nEQ", 62, 20),
    P("Hi-Mid\nf", 42, 10),
    P("Hi-Mid\nQ", 104, 0),
    P("Hi-Mid\nEQ", 62, 20),
    P("Hi EQ", 62, 20).T(2),
    P("Level", 63, 20).T(3),
};

static constexpr ParamSpec k100000[] = {
    P("FX On/Off", 36, 1),
    P("Rate", 35, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", 0, 100, 50),
    Dummy(),
    P("Gate", 86, 0).T(6),
    P("Dir Sw", 87, 1).T(7),
};

static constexpr ParamSpec k100001[] = {
    P("FX On/Off", 36, 1),
    P("Rate", 35, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", 0, 100, 50),
    N("Separat", 0, 100, 50),
    P("Gate", 86, 0).T(6),
    P("Dir Sw", 87, 1).T(7),
};

static constexpr ParamSpec k110000[] = {
    P("Gate On/Off", 36, 1),
    N("Thrshld", 0, 100, 50),
    N("Hold\nTime", 1, 100, 50, 1),
    N("Rls\nTime", 1, 100, 50, 1),
};

static constexpr ParamSpec k120000[] = {
    P("FX On/Off", 36, 1),
    P("In Gain", 61, 12),
    P("Level", 61, 12),
    P("31.2 Hz", 60, 12),
    P("62.5 Hz", 60, 12),
    P("125 Hz", 60, 12),
    P("250 Hz", 60, 12),
    P("500 Hz", 60, 12),
    P("1.0 kHz", 60, 12),
    P("2.0 kHz", 60, 12),
    P("4.0 kHz", 60, 12),
    P("8.0 kHz", 60, 12),
    P("16.0 kHz", 60, 12),
    Dummy(),
};

static constexpr ParamSpec k130000[] = {
    P("FX On/Off", 36, 1),
    P("Gain", 60, 12),
    P("Freq", 45, 20),
    Dummy(),
};

static constexpr ParamSpec k140000[] = {
    P("FX On/Off", 36, 1),
    P("Freq", 53, 4),
    P("Width", 151, 10),
    N("Depth", 0, 100, 0),
    N("Thrshld", 0, 100, 50),
    P("Range\nLo", 105, 0),
    P("Range\nHi", 106, 0),
    Dummy(),
};

static constexpr ParamSpec k150000[] = {
    P("FX On/Off", 36, 1),
    N("AntiPhs L Lvl", 0, 100, 10),
    N("AntiPhs M Lvl", 0, 100, 10),
    P("Lo Mix Sw", 87, 0),
    P("Mid Mix Sw", 87, 0),
    P("Lo Lvl", 64, 60),
    P("Mid Lvl", 64, 60),
    P("Hi Lvl", 64, 60),
};

static constexpr ParamSpec k160000[] = {
    P("FX On/Off", 36, 1),
    P("Thrshld", 65, 60),
    N("Attack", 0, 100, 50),
    N("Release", 0, 100, 50),
    P("Detect\nHPF", 142, 1),
    P("Level", 64, 60),
};

static constexpr ParamSpec k160001[] = {
    P("FX On/Off", 36, 1),
    P("Thrshld", 65, 60),
    N("Release", 0, 100, 50),
    P("Level", 66, 60),
    Dummy(),
};

static constexpr ParamSpec k170000[] = {
    P("FX On/Off", 36, 1),
    P("Gain", 60, 12),
    P("Freq", 74, 0),
    Dummy(),
};

static constexpr ParamSpec k190000[] = {
    P("FX On/Off", 36, 1),
    P("Input", 76, 0),
    P("Output", 77, 0),
    P("Phase", 89, 0),
};

static constexpr ParamSpec k1A0006[] = {
    P("Mode", 83, 1),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    P("Lo Cut", 69, 0),
    P("FX Lvl", 54, 80),
};

static constexpr ParamSpec k1A0007[] = {
    P("Polarity", 94, 0),
    P("Rate", 17, 50),
    N("Depth", 0, 100, 50),
    P("PreDly", 99, 0),
    P("Lo Cut", 69, 0),
    P("Hi Cut", 40, 9),
    P("FX Lvl", 54, 80),
    Dummy(),
};

static constexpr ParamSpec k1A0008[] = {
    P("Rate", 35, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", 0, 100, 50),
    N("Separat", 0, 100, 50),
    P("Level", 54, 80),
    Dummy(28),
};

static constexpr ParamSpec k1A0009[] = {
    P("Rate", 35, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", 0, 100, 50),
    N("Separat", 0, 100, 50),
    P("Level", 54, 80),
};

static constexpr ParamSpec k1A000A[] = {
    P("Rate", 35, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", 0, 100, 50),
    N("Separat", 0, 100, 50),
    P("Level", 54, 80),
    Dummy(4),
};

static constexpr ParamSpec k1A000B[] = {
    P("Rate", 35, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", 0, 100, 50),
    N("Separat", 0, 100, 50),
    P("Gate", 86, 0),
    Dummy(4),
};

static constexpr ParamSpec k1A000C[] = {
    P("Rate", 35, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", 0, 100, 50),
    N("Separat", 0, 100, 50),
};

static constexpr ParamSpec k1A000D[] = {
    P("Voice", 50, 0).T(0).Label("[HR] "),
    P("Key", 47, 0).T(14).Label("[HR] "),
    P("Dir Lvl", 57, 80).T(15).Label("[HR] "),
    Dummy(),
    P("1\nMode", 48, 0).T(1).Label("[HR 1]"),
    N("1\nPitch", -24, 24, 24).T(3).Label("[HR 1]"),
    N("1\nFine", -50, 50, 50).T(4).Label("[HR 1]"),
    P("1\nHarmny", 46, 14).T(7).Label("[HR 1]"),
    P("1\nFdbck", 55, 10).T(11).Label("[HR 1]"),
    N("1\nLevel", 0, 100, 50).T(12).Label("[HR 1]"),
    P("1\nPreDly", 49, 0).W4().T(9).Label("[HR 1]"),
    P("2\nMode", 48, 0).T(2).Label("[HR 2]"),
    N("2\nPitch", -24, 24, 24).T(5).Label("[HR 2]"),
    N("2\nFine", -50, 50, 50).T(6).Label("[HR 2]"),
    P("2\nHarmny", 46, 14).T(8).Label("[HR 2]"),
    Dummy(),
    N("2\nLevel", 0, 100, 50).T(13).Label("[HR 2]"),
    P("2\nPreDly", 49, 0).W4().T(10).Label("[HR 2]"),
};

static constexpr ParamSpec k1A000E[] = {
    P("Mode", 51, 0),
    P("Vowel 1", 0, 0),
    P("Vowel 2", 0, 0),
    N("Sens ", 0, 100, 50),
    P("Rate", 52, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    P("Level", 54, 50),
    Dummy(24),
};

static constexpr ParamSpec k1A000F[] = {
    P("Type", 91, 0),
    P("Rate", 92, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", 0, 100, 50),
    Dummy(),
    P("Step", 86, 0).T(6),
    P("Level", 54, 80).T(7),
    Dummy(24),
};

static constexpr ParamSpec k1A0010[] = {
    P("Rate", 92, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", 0, 100, 50),
    Dummy(4),
};

static constexpr ParamSpec k1A0012[] = {
    P("Mode", 90, 0),
    P("Rate", 92, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", -100, 100, 150),
    N("Separat", 0, 100, 50),
    P("Step", 86, 0),
    Dummy(),
};

static constexpr ParamSpec k1A0013[] = {
    P("Rate", 92, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", -100, 100, 150),
    N("Separat", 0, 100, 50),
};

static constexpr ParamSpec k1A0014[] = {
    P("Type", 91, 0),
    P("Rate", 92, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", 0, 100, 50),
    Dummy(),
    P("Step", 86, 0).T(6),
    P("Level", 54, 50).T(7),
};

static constexpr ParamSpec k1A0015[] = {
    P("Mode", 81, 0),
    N("Pitch", -24, 24, 36),
    N("Fine", -50, 50, 50),
    P("Bal Dir:FX", 10, 100),
    P("Level", 54, 80),
    Dummy(6),
};

static constexpr ParamSpec k1A0016[] = {
    P("Mode", 115, 0),
    N("Freq", 0, 100, 50),
    P("FX Lvl", 58, 80),
    P("Dir Lvl", 57, 20),
    Dummy(32),
};

static constexpr ParamSpec k1A0017[] = {
    P("Dly\nTime", 21, 100).W4(),
    P("Fdbck", 55, 10),
    P("FX Lvl", 59, 60),
    Dummy(32),
};

static constexpr ParamSpec k1A0018[] = {
    P("Lo EQ", 62, 20),
    P("Lo-Mid\nf", 71, 0).T(2),
    P("Lo-Mid\nQ", 104, 0),
    P("Lo-Mid\nEQ", 62, 20),
    P("Hi-Mid\nf", 42, 10),
    P("Hi-Mid\nQ", 104, 0),
    P("Hi-Mid\nEQ", 62, 20),
    P("Hi EQ", 62, 20).T(1),
    P("Level", 63, 20).T(8),
    Dummy(22),
};

static constexpr ParamSpec k1A0019[] = {
    N("Pattern", 1, 20, 0),
    P("Rate", 135, 50),
    N("Trig Sens", 0, 100, 50),
    Dummy(34),
};

static constexpr ParamSpec k1A001A[] = {
    N("Pattern", 1, 20, 0),
    P("Rate", 135, 50),
    N("Trig Sens", 0, 100, 50),
    Dummy(10),
};

static constexpr ParamSpec k1A001B[] = {
    N("Sens", 0, 100, 80),
    P("Wave", 139, 0),
    P("Chromtc", 87, 0),
    N("Oct Shift", 0, -2, 0),
    N("PWM Rate", 0, 100, 50),
    N("PWM Depth", 0, 100, 50),
    N("Cutoff F", 0, 100, 50),
    N("Reson", 0, 100, 50),
    N("Flt Sens", 0, 100, 50),
    N("Flt Decay", 0, 100, 50),
    P("Flt Depth", 138, 50),
    P("Attack", 19, 21),
    N("Release", 0, 100, 50),
    N("Velocity", 0, 100, 50),
    P("Hold", 87, 0),
    P("Synth Lvl", 58, 100),
    P("Dir Lvl", 57, 0),
    Dummy(6),
};

static constexpr ParamSpec k1A001C[] = {
    P("Rate", 146, 50),
    N("Depth", 0, 100, 50),
    P("Trigger", 87, 0), // starts Off; 10 is no value of an Off/On switch
    N("Rise Time", 0, 100, 10),
    Dummy(32),
};

static constexpr ParamSpec k1A001D[] = {
    P("Xover f", 152, 7),
    P("Lo Rate", 72, 50),
    N("Lo\nDepth", 0, 100, 50),
    P("Lo\nPreDly", 99, 0),
    N("Lo Lvl", 0, 100, 80),
    P("Hi Rate", 43, 50),
    N("Hi\nDepth", 0, 100, 50),
    P("Hi\nPreDly", 99, 0),
    N("Hi Lvl", 0, 100, 80),
    Dummy(22),
};

static constexpr ParamSpec k1B0000[] = {
    P("FX On/Off", 36, 1),
    P("Detect", 75, 2),
    N("Thrshld", 0, 100, 50),
    N("Release", 0, 100, 50),
    Dummy(),
};

static constexpr ParamSpec k1B0001[] = {
    P("FX On/Off", 36, 1),
    P("Detect", 75, 2),
    N("Thrshld", 0, 100, 50),
    N("Release", 0, 100, 50),
};

static constexpr ParamSpec k1B0002[] = {
    P("FX On/Off", 36, 1),
    N("Thrshld", 0, 100, 50),
    N("Release", 0, 100, 50),
    Dummy(),
};

static constexpr ParamSpec k1C0000[] = {
    P("FX On/Off", 36, 1),
    P("Oct Lvl", 58, 20),
    P("Dir Lvl", 57, 60),
    Dummy(),
};

static constexpr ParamSpec k1D0000[] = {
    P("FX On/Off", 36, 1),
    P("Gain", 54, 50),
    N("Drive", 1, 100, 50, 1),
    P("Level", 54, 80),
};

static constexpr ParamSpec k1E0000[] = {
    P("FX On/Off", 36, 1),
    P("Speed", 137, 50),
    P("Direction", 27, 0),
    Dummy(),
};

static constexpr ParamSpec k1F0000[] = {
    P("FX On/Off", 36, 1),
    P("Type", 90, 0),
    P("Rate", 92, 50),
    N("Depth", 0, 100, 50),
    N("Manual", 0, 100, 50),
    N("Reson", -100, 100, 150),
    N("Separat", 0, 100, 50),
    P("Step", 86, 0),
};

static constexpr ParamSpec k200001[] = {
    P("FX On/Off", 36, 1),
    P("Volume", 54, 80),
    P("Bass", 56, 50),
    P("Mid", 56, 50),
    P("Treble", 56, 50),
    P("Prsnce", 56, 50),
    P("Master", 54, 80),
    P("Gain", 67, 1),
    P("Mic\nSetting", 79, 0),
    P("Mic Lvl", 58, 50),
    P("Dir Lvl", 57, 50),
    Dummy(),
};

static constexpr ParamSpec k200002[] = {
    P("FX On/Off", 36, 1),
    P("Pre Type", 98, 0).NoTarget(),
    P("Volume", 54, 50),
    P("Bass", 143, 100),
    P("Mid", 143, 100),
    P("Treble", 143, 100),
    Dummy(),
    P("Master", 54, 50),
    P("Bright", 87, 0),
    P("Gain", 67, 1),
    P("Mic\nSetting", 80, 0),
    P("Mic Lvl", 58, 20),
    P("Dir Lvl", 57, 50),
    P("Position", 96, 2).NoTarget().Position(),
};

static constexpr ParamSpec k200003[] = {
    P("FX On/Off", 36, 1),
    P("Pre Type", 97, 0).NoTarget(),
    P("Volume", 54, 50),
    P("Bass", 56, 50),
    P("Mid", 56, 50),
    P("Treble", 56, 50),
    P("Prsnce", 56, 50),
    P("Master", 54, 50),
    P("Bright", 87, 0),
    P("Gain", 67, 1),
    P("Mic\nSetting", 79, 0),
    P("Mic Lvl", 58, 50),
    P("Dir Lvl", 57, 50),
    P("Position", 95, 2).NoTarget().Position(),
};

static constexpr ParamSpec k210000[] = {
    P("FX On/Off", 36, 1),
    P("Mode", 103, 0),
    N("Pitch", -24, 24, 36),
    N("Fine", -50, 50, 50),
    P("Bal Dir:FX", 10, 100),
    P("Level", 54, 80),
};

static constexpr ParamSpec k210001[] = {
    P("FX On/Off", 36, 1).T(0),
    P("Mode", 103, 0).T(1),
    P("Bal Dir:FX", 10, 100).T(14),
    P("Level", 54, 80).T(15),
    Dummy(4),
    N("Pitch\nL", -24, 24, 36).T(2),
    N("Fine\nL", -50, 50, 50).T(3),
    P("PreDly\nL", 100, 0).T(6),
    P("FB Dly T\nL", 23, 10).T(8),
    P("FB Fine\nT L", 34, 0).T(9),
    P("FB Lvl\nL", 55, 10).T(12),
    N("Pitch\nR", -24, 24, 36).T(4),
    N("Fine\nR", -50, 50, 50).T(5),
    P("PreDly\nR", 100, 0).T(7),
    P("FB Dly T\nR", 23, 10).T(10),
    P("FB Fine\nT R", 34, 0).T(11),
    P("FB Lvl\nR", 55, 10).T(13), // 13 named: the next index would be 12, which "FB Lvl\nL" holds
};

static constexpr ParamSpec k220000[] = {
    P("FX On/Off", 36, 1),
    P("Type", 112, 0).NoTarget(),
    P("Rev Time", 110, 15),
    P("PreDly", 101, 0),
    P("Lo Cut", 69, 0),
    P("Hi Cut", 40, 9),
    N("Density", 0, 10, 5),
    P("FX Lvl", 54, 50),
};

static constexpr ParamSpec k220001[] = {
    P("FX On/Off", 36, 1),
    Dummy(),
    P("Room\nSize", 116, 56).W4(),
    P("Rev Time", 111, 15).W4(),
    P("Bal Dir:FX", 10, 100),
    P("FX Lvl", 54, 80),
    P("PreDly", 102, 0),
    N("Density", 0, 100, 50),
    N("ER Lvl", 0, 100, 50),
    N("Rel\nDensity", 0, 100, 50),
    P("Lo Damp\nGain", 18, 48),
    P("Lo Damp\nf", 70, 0),
    P("Hi Damp\nGain", 18, 48),
    P("Hi Damp\nf", 41, 16),
    P("Hi Cut\nFlt", 109, 33),
    Dummy(),
};

static constexpr ParamSpec k220002[] = {
    P("FX On/Off", 36, 1),
    P("Type", 113, 0),
    N("Room\nSize", 1, 10, 4).W4(),
    P("Rev Time", 111, 15).W4(),
    P("Bal Dir:FX", 10, 100),
    P("FX Lvl", 54, 80),
    P("PreDly", 102, 0),
    N("Density", 0, 100, 50),
    N("ER Lvl", 0, 100, 50),
    Dummy(),
    P("Lo Damp\nGain", 18, 48),
    P("Lo Damp\nf", 70, 0),
    P("Hi Damp\nGain", 18, 48),
    P("Hi Damp\nf", 41, 16),
    P("Hi Cut\nFlt", 109, 33),
    Dummy(),
};

static constexpr ParamSpec k220003[] = {
    P("FX On/Off", 36, 1),
    Dummy(),
    P("Room\nSize", 116, 56).W4(),
    P("Rev Time", 111, 15).W4(),
    P("Bal Dir:FX", 10, 100),
    P("FX Lvl", 54, 80),
    P("PreDly", 102, 0),
    N("Density", 0, 100, 50),
    N("ER Lvl", 0, 100, 50),
    N("Rel\nDensity", 0, 100, 50),
    P("Lo Damp\nGain", 18, 48),
    P("Lo Damp\nf", 70, 0),
    P("Hi Damp\nGain", 18, 48),
    P("Hi Damp\nf", 41, 16),
    P("Hi Cut\nFlt", 109, 33),
    Dummy(),
};

static constexpr ParamSpec k220004[] = {
    P("FX On/Off", 36, 1),
    P("Type", 112, 0).NoTarget(),
    P("Rev Time", 110, 15),
    P("Bal Dir:FX", 10, 100),
    P("FX Lvl", 54, 80),
    P("PreDly", 101, 0),
    N("Density", 0, 10, 5),
    P("Lo Cut", 68, 0),
    P("Hi Cut", 40, 9),
    Dummy(),
};

static constexpr ParamSpec k220005[] = {
    P("FX On/Off", 36, 1),
    P("Type", 113, 0).NoTarget(),
    N("Room\nSize", 1, 10, 4).W4(),
    P("Rev Time", 111, 15).W4(),
    P("Bal Dir:FX", 10, 100),
    P("FX Lvl", 54, 80),
    P("PreDly", 102, 0),
    N("Density", 0, 100, 50),
    N("ER Lvl", 0, 100, 50),
    Dummy(),
    P("Lo Damp\nGain", 18, 48),
    P("Lo Damp\nf", 70, 0),
    P("Hi Damp\nGain", 18, 48),
    P("Hi Damp\nf", 41, 16),
    P("Hi Cut\nFlt", 109, 33),
    P("RSS On/Off", 87, 1),
};

static constexpr ParamSpec k220006[] = {
    P("FX On/Off", 36, 1),
    P("Type", 112, 0).NoTarget(),
    P("Rev Time", 110, 15),
    P("PreDly", 101, 0),
    P("Lo Cut", 69, 0),
    P("Hi Cut", 40, 9),
    N("Density", 0, 10, 5),
    P("FX Lvl", 54, 50),
};

static constexpr ParamSpec k220007[] = {
    P("FX On/Off", 36, 1),
    P("Type", 113, 0).NoTarget(),
    N("Room\nSize", 1, 10, 4).W4(),
    P("Rev Time", 111, 15).W4(),
    P("Bal Dir:FX", 10, 100),
    P("FX Lvl", 54, 80),
    P("PreDly", 102, 0),
    N("Density", 0, 100, 50),
    N("ER Lvl", 0, 100, 50),
    Dummy(),
    P("Lo Damp\nGain", 18, 48),
    P("Lo Damp\nf", 70, 0),
    P("Hi Damp\nGain", 18, 48),
    P("Hi Damp\nf", 41, 16),
    P("Hi Cut\nFlt", 109, 33),
    Dummy(),
};

static constexpr ParamSpec k230000[] = {
    P("FX On/Off", 36, 1),
    N("Freq", 0, 100, 50),
    P("FX Lvl", 58, 80),
    P("Dir Lvl", 57, 20),
};

static constexpr ParamSpec k240000[] = {
    P("FX On/Off", 36, 1),
    P("Speed Sel", 134, 0),
    P("Horn Fast", 118, 500).W4(),
    P("Rotor Fast", 118, 500).W4(),
    P("Horn Slow", 117, 50).W4(),
    P("Rotor Slow", 117, 50).W4(),
    N("Rise T Horn", 0, 100, 50),
    N("Rise T Rotor", 0, 100, 50),
    N("Fall T Horn", 0, 100, 50),
    N("Fall T Rotor", 0, 100, 50),
    P("R:H Bal", 12, 50),
    P("Mic Setting", 87, 0),
    N("Horn Depth", 0, 100, 50),
    N("Rotor Depth", 0, 100, 50),
    N("Horn Trmlo", 0, 100, 20),
    N("Rotor Trmlo", 0, 100, 20),
    N("Diffus", 0, 100, 50),
    P("FX Lvl", 54, 80),
};

static constexpr ParamSpec k250000[] = {
    P("FX On/Off", 36, 1),
    P("Azim L", 9, 20),
    P("Elev L", 31, 3),
    P("Azim R", 9, 40),
    P("Elev R", 31, 3),
    Dummy(),
};

static constexpr ParamSpec k260001[] = {
    N("Top", 0, 100, 50),
    N("Body", 0, 100, 50),
    P("Level", 54, 80),
    Dummy(14),
};

static constexpr ParamSpec k260002[] = {
    P("Character", 73, 0),
    P("FX Lvl", 58, 80),
    P("Dir Lvl", 57, 20),
    Dummy(14),
};

static constexpr ParamSpec k260003[] = {
    N("Sens", 0, 100, 50),
    N("Rise\nTime", 0, 100, 50),
    Dummy(16),
};

static constexpr ParamSpec k260004[] = {
    P("Mode", 88, 0),
    N("Rise T", 0, 100, 50),
    N("Rise T Oct Up", 0, 100, 50),
    P("FB Lvl", 54, 50),
    N("FB Lvl Oct Up", 0, 100, 50),
    N("Vib\nRate", 0, 100, 50),
    N("Vib Depth", 0, 100, 50),
    N("FB Depth", 0, 100, 50),
    P("FB Tone", 84, 0),
    Dummy(),
};

static constexpr ParamSpec k260005[] = {
    P("Type", 93, 0),
    N("Tone", -50, 50, 50),
    P("Level", 54, 80),
    Dummy(14),
};

static constexpr ParamSpec k260006[] = {
    P("Mode", 144, 0),
    N("Wave Shape", 0, 100, 50),
    P("Rate", 145, 50),
    N("Depth", 0, 100, 50),
    Dummy(12),
};

static constexpr ParamSpec k270000[] = {
    P("FX On/Off", 36, 1),
    P("Input", 83, 1),
    P("Mode", 136, 0),
    P("FX Lvl", 54, 80),
    P("Dir\nOn/Off", 87, 1),
    Dummy(),
};

static constexpr ParamSpec k280000[] = {
    P("FX On/Off", 36, 1),
    P("Model", 82, 0),
    P("Phase", 89, 0),
    Dummy(),
};

static constexpr ParamSpec k290000[] = {
    P("FX On/Off", 36, 1),
    P("FX Sel", 144, 0),
    N("Wave Shape", 0, 100, 50),
    P("Rate", 145, 50),
    N("Depth", 0, 100, 50),
    Dummy(),
};

static constexpr ParamSpec k2A0000[] = {
    P("FX On/Off", 36, 1),
    P("Envelope", 147, 0),
    P("Pan Mode", 149, 0),
    P("Hold", 148, 0),
    N("Mic Sens", 0, 100, 50),
    N("Synth Lvl", 0, 100, 50),
    N("Mic Mix", 0, 100, 80).T(16),
    P("Mic HPF", 141, 0).T(17),
    P("Mic Pan", 11, 50),
    N("NS Thrshld", 0, 100, 50).T(19),
    N("Char CH 1", 0, 100, 0).T(6),
    N("Char CH 2", 0, 100, 0),
    N("Char CH 3", 0, 100, 0),
    N("Char CH 4", 0, 100, 0),
    N("Char CH 5", 0, 100, 0),
    N("Char CH 6", 0, 100, 0),
    N("Char CH 7", 0, 100, 0),
    N("Char CH 8", 0, 100, 0),
    N("Char CH 9", 0, 100, 0),
    N("Char CH 10", 0, 100, 0),
};

static constexpr ParamSpec k2B0000[] = {
    P("FX On/Off", 36, 1),
    N("Balance", 0, 100, 50),
    P("Range\nLo", 105, 5),
    P("Range\nHi", 106, 11),
};

static constexpr ParamSpec k2C0000[] = {
    P("FX On/Off", 36, 1),
    P("Robot", 87, 0),
    N("Crmtc Pitch", -12, 12, 24),
    N("Fine Pitch", -100, 100, 100),
    N("Crmtc Frmt", -12, 12, 24),
    N("Fine Frmt", -100, 100, 100),
    N("Mix Bal", 0, 100, 50),
    Dummy(),
};

static constexpr ParamSpec kMultiTap[] = {
    P("Dly Time\n", 26, 10),
    P("Fine T\n", 34, 0),
    P("Pan\n", 11, 50),
    N("Tap Lvl\n", 0, 100, 50),
};

// id, name, label, start byte, size in bytes, parameters
static constexpr BlockSpec kBlocks[] = {
    {0x000000, "Acoustic Processor", "", 0, 8, k000000},
    {0x010000, "Anti-Feedback", "", 0, 8, k010000},
    {0x020000, "Bass Cut Filter", "", 0, 4, k020000},
    {0x050000, "Chorus", "", 0, 20, k050000},
    {0x050001, "Chorus", "", 0, 16, k050001},
    {0x050002, "Chorus", "", 0, 20, k050002},
    {0x050003, "Chorus", "", 0, 20, k050003},
    {0x050004, "Chorus RSS", "", 0, 20, k050004},
    {0x050005, "Chorus", "", 0, 20, k050005},
    {0x050006, "Chorus", "", 0, 20, k050006},
    {0x050007, "Chorus", "", 0, 20, k050007},
    {0x050008, "Chorus", "", 0, 20, k050008},
    {0x050009, "Chorus", "", 0, 20, k050009},
    {0x080001, "Delay", "", 0, 12, k080001},
    {0x080002, "Delay", "", 0, 180, k080002},
    {0x080003, "Delay (Single/Tap)", "", 0, 16, k080003},
    {0x080006, "Delay", "", 0, 28, k080006},
    {0x080007, "Delay RSS", "", 0, 36, k080007},
    {0x080008, "Delay", "", 0, 28, k080008},
    {0x080009, "Delay (Single/Tap)", "", 0, 16, k080009},
    {0x090000, "De-Esser", "", 0, 8, k090000},
    {0x0A0000, "Distortion", "", 0, 16, k0A0000},
    {0x0B0000, "Distance", "", 0, 8, k0B0000},
    {0x0C0000, "Echo", "", 0, 28, k0C0000},
    {0x0D0000, "Enhancer", "", 0, 16, k0D0000},
    {0x0D0001, "Enhancer", "", 0, 12, k0D0001},
    {0x0E0000, "EQ", "", 0, 20, k0E0000},
    {0x100000, "Flanger", "", 0, 16, k100000},
    {0x100001, "Flanger", "", 0, 16, k100001},
    {0x110000, "Gate", "", 0, 8, k110000},
    {0x120000, "Graphic EQ", "", 0, 28, k120000},
    {0x130000, "Hi Freq Trim", "", 0, 8, k130000},
    {0x140000, "Hum Canceller", "", 0, 16, k140000},
    {0x150000, "Isolator", "", 0, 16, k150000},
    {0x160000, "Limiter", "", 0, 12, k160000},
    {0x160001, "Limiter", "", 0, 10, k160001},
    {0x170000, "Lo Freq Trim", "", 0, 8, k170000},
    {0x190000, "Mic Converter", "", 0, 8, k190000},
    {0x1A0006, "Mod - Chorus", "[CE] ", 8, 12, k1A0006},
    {0x1A0007, "Mod - Chorus", "[CE] ", 4, 16, k1A0007},
    {0x1A0008, "Mod - Flanger", "[FL] ", 8, 40, k1A0008},
    {0x1A0009, "Mod - Flanger", "[FL] ", 8, 12, k1A0009},
    {0x1A000A, "Mod - Flanger", "[FL] ", 4, 16, k1A000A},
    {0x1A000B, "Mod - Flanger", "[FL] ", 4, 16, k1A000B},
    {0x1A000C, "Mod - Flanger", "[FL] ", 4, 10, k1A000C},
    {0x1A000D, "Mod - Harmonist", "", 8, 40, k1A000D},
    {0x1A000E, "Mod - Humanizer", "[HU] ", 8, 40, k1A000E},
    {0x1A000F, "Mod - Phaser", "[PH] ", 8, 40, k1A000F},
    {0x1A0010, "Mod - Phaser", "[PH] ", 8, 12, k1A0010},
    {0x1A0012, "Mod - Phaser", "[PH] ", 4, 16, k1A0012},
    {0x1A0013, "Mod - Phaser", "[PH] ", 4, 10, k1A0013},
    {0x1A0014, "Mod - Phaser", "[PH] ", 4, 16, k1A0014},
    {0x1A0015, "Mod - Pitch Shifter", "[PS] ", 4, 16, k1A0015},
    {0x1A0016, "Mod - Ring Modulator", "[RM] ", 8, 40, k1A0016},
    {0x1A0017, "Mod - Short Delay", "[SDD] ", 8, 40, k1A0017},
    {0x1A0018, "Mod - Sub 4-band EQ", "[SEQ] ", 8, 40, k1A0018},
    {0x1A0019, "Mod - Slicer", "[SL] ", 8, 40, k1A0019},
    {0x1A001A, "Mod - Slicer", "[SL] ", 4, 16, k1A001A},
    {0x1A001B, "Mod - Guitar Synth", "[SYN] ", 8, 40, k1A001B},
    {0x1A001C, "Mod - Vibrato", "[VB] ", 8, 40, k1A001C},
    {0x1A001D, "Mod - 2x2 Chorus", "[2CE] ", 8, 40, k1A001D},
    {0x1B0000, "Noise Suppressor", "", 0, 10, k1B0000},
    {0x1B0001, "Noise Suppressor", "", 0, 8, k1B0001},
    {0x1B0002, "Noise Suppressor", "", 0, 8, k1B0002},
    {0x1C0000, "Octave", "", 0, 8, k1C0000},
    {0x1D0000, "Overdrive", "", 0, 8, k1D0000},
    {0x1E0000, "Panner", "", 0, 8, k1E0000},
    {0x1F0000, "Phaser", "", 0, 16, k1F0000},
    {0x200001, "Preamp Sim", "", 0, 24, k200001},
    {0x200002, "Preamp Sim", "", 0, 28, k200002},
    {0x200003, "Preamp Sim", "", 0, 28, k200003},
    {0x210000, "Pitch Shifter", "", 0, 12, k210000},
    {0x210001, "Pitch Shifter", "", 0, 36, k210001},
    {0x220000, "Reverb", "", 0, 16, k220000},
    {0x220001, "Reverb", "", 0, 36, k220001},
    {0x220002, "Reverb", "", 0, 36, k220002},
    {0x220003, "Reverb", "", 0, 36, k220003},
    {0x220004, "Reverb", "", 0, 20, k220004},
    {0x220005, "Reverb RSS", "", 0, 36, k220005},
    {0x220006, "Reverb", "", 0, 16, k220006},
    {0x220007, "Reverb", "", 0, 36, k220007},
    {0x230000, "Ring Modulator", "", 0, 8, k230000},
    {0x240000, "Rotary", "", 0, 44, k240000},
    {0x250000, "RSS", "", 0, 12, k250000},
    {0x260001, "SFX - Acoustic Guitar Simulator", "[AC] ", 8, 20, k260001},
    {0x260002, "SFX - Bass Guitar Simulator", "[BS] ", 8, 20, k260002},
    {0x260003, "SFX - Slow Gear", "[SG] ", 8, 20, k260003},
    {0x260004, "SFX - Feedbacker", "[FB] ", 8, 20, k260004},
    {0x260005, "SFX - Pickup Simulator", "[PIC] ", 8, 20, k260005},
    {0x260006, "SFX - Tremolo / Pan", "[TR] ", 8, 20, k260006},
    {0x270000, "Space Chorus", "", 0, 12, k270000},
    {0x280000, "Speaker Modelling", "", 0, 8, k280000},
    {0x290000, "Tremolo/Pan", "", 0, 12, k290000},
    {0x2A0000, "Vocoder", "", 0, 40, k2A0000},
    {0x2B0000, "Vocal Canceller", "", 0, 8, k2B0000},
    {0x2C0000, "Voice Transformer", "", 0, 16, k2C0000},
};
// clang-format on

std::span<const ParamSpec> MultiTapParams() {
    return kMultiTap;
}

std::span<const BlockSpec> CatalogueBlocks() {
    return kBlocks;
}

const BlockSpec* FindCatalogueBlock(uint32_t id) {
    const auto it =
        std::find_if(std::begin(kBlocks), std::end(kBlocks), [id](const BlockSpec& b) { return b.id == id; });
    return it == std::end(kBlocks) ? nullptr : &*it;
}
