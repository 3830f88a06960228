#include "model/tables/AlgorithmInfo.h"

#include <array>

namespace {

constexpr AlgorithmInfo kAlgorithms[kAlgorithmCount] = {
    {29, 9, "10-Band GEQ", ""},
    {14, 7, "2 Channel RSS", "2-Chan RSS"},
    {3, 1, "Acoustic Multi", "Acous Multi"},
    {2, 2, "Bass Multi", ""},
    {16, 7, "Chorus RSS", ""},
    {33, 6, "Chorus + Reverb", "Cho + Rev"},
    {19, 8, "Delay", ""},
    {15, 7, "Delay RSS", ""},
    {35, 8, "Delay + Chorus", "Dly + Cho"},
    {34, 6, "Delay + Reverb", "Dly + Rev"},
    {13, 6, "Gate Reverb", ""},
    {0, 0, "Guitar Multi 1", "Gtr Multi 1"},
    {1, 0, "Guitar Multi 2", "Gtr Multi 2"},
    {30, 9, "Hum Canceller", "Hum Cancel"},
    {9, 5, "Isolator", ""},
    {4, 3, "Keyboard Multi", "Keybd Multi"},
    {10, 5, "Lo-Fi Processor", "Lo-Fi"},
    {22, 4, "Mic Simulator", "Mic Sim"},
    {20, 8, "Multi-tap Delay", "Multitap Dly"},
    {11, 6, "Reverb 1", ""},
    {12, 6, "Reverb 2", ""},
    {17, 6, "Reverb RSS", ""},
    {32, 6, "Reverb + Reverb", "Rev + Rev"},
    {5, 3, "Rotary Multi", ""},
    {18, 7, "RSS Panner", ""},
    {23, 8, "Space Chorus", ""},
    {36, 9, "Speaker Modeling", "Spkr Model"},
    {26, 8, "Stereo Chorus Delay", "ST Cho Dly"},
    {24, 8, "Stereo Flanger Delay", "ST Flngr Dly"},
    {28, 8, "Stereo Multi", ""},
    {25, 8, "Stereo Phaser Delay", "ST Phsr Dly"},
    {27, 8, "Stereo Pitch Shifter Delay", "ST P.S. Dly"},
    {21, 8, "Tape Echo 201", "Tape Echo"},
    {31, 4, "Vocal Canceller", "Voc Cancel"},
    {6, 4, "Vocal Multi", ""},
    {7, 4, "Vocoder", ""},
    {8, 4, "Voice Transformer", "Voc Trnsfrm"},
};

constexpr const char* kCategories[kCategoryCount] = {
    "E.Guitar", "A.Guitar", "Bass",     "Keyboard", "Vocal",    "Groove",   "Reverb",
    "RSS",      "Studio",   "Master",   "Others 1", "Others 2", "Others 3", "All",
};

// Display picture by algorithm number 0..36.
constexpr const char* kPictures[kAlgorithmCount] = {
    "LCDGuitarMulti",     // 0
    "LCDGuitarMulti",     // 1
    "LCDBassMulti",       // 2
    "LCDAcousticMulti",   // 3
    "LCDStereoDual",      // 4
    "LCDRotaryMulti",     // 5
    "LCDGuitarMulti",     // 6
    "LCDVocoder",         // 7
    "LCDVoiceTransform",  // 8
    "LCDStereoSingle",    // 9
    "LCDStereoSingle",    // 10
    "LCDReverb1",         // 11
    "LCDStereoSingle",    // 12
    "LCDGateReverb",      // 13
    "LCDStereoSingle",    // 14
    "LCDStereoSingle",    // 15
    "LCDStereoSingle",    // 16
    "LCDStereoSingle",    // 17
    "LCDGuitarMulti",     // 18
    "LCDStereoSingle",    // 19
    "LCDStereoSingle",    // 20
    "LCDStereoSingle",    // 21
    "LCDMicSimulator",    // 22
    "LCDStereoSingle",    // 23
    "LCDStereoDual",      // 24
    "LCDStereoDual",      // 25
    "LCDStereoDual",      // 26
    "LCDStereoSingle",    // 27
    "LCDStereoSingle",    // 28
    "LCDStereoSingle",    // 29
    "LCDStereoSingle",    // 30
    "LCDStereoDual",      // 31
    "LCDDual",            // 32
    "LCDDual",            // 33
    "LCDDual",            // 34
    "LCDDual",            // 35
    "LCDSpeakerModeling", // 36
};

// Block composition, one array per algorithm number: id, name, address, target base.
constexpr AlgorithmBlock kBlocks0[] = {{0x060002, "Comp/Lim", 0x124, 5}, {0x2D0000, "Wah/Auto-Wah", 0x130, 14}, {0x200003, "Preamp Sim", 0x144, 25}, {0x0E0000, "EQ", 0x160, 37}, {0x1B0002, "Noise Suppressor", 0x174, 47}, {0x1A0001, "Mod", 0x17C, 50}, {0x080003, "Delay (Single/Tap)", 0x22C, 138}, {0x050001, "Chorus", 0x23C, 145}, {0x220006, "Reverb", 0x24C, 152}};
constexpr AlgorithmBlock kBlocks1[] = {{0x060002, "Comp/Lim", 0x124, 5}, {0x2D0000, "Wah/Auto-Wah", 0x130, 14}, {0x200003, "Preamp Sim", 0x144, 25}, {0x0E0000, "EQ", 0x160, 37}, {0x1B0002, "Noise Suppressor", 0x174, 47}, {0x260000, "SFX", 0x17C, 50}, {0x080003, "Delay (Single/Tap)", 0x218, 75}, {0x050001, "Chorus", 0x228, 82}, {0x220006, "Reverb", 0x238, 89}};
constexpr AlgorithmBlock kBlocks2[] = {{0x070000, "Comp/Defret", 0x124, 5}, {0x1C0000, "Octave", 0x134, 15}, {0x200002, "Preamp Sim", 0x13C, 18}, {0x0A0000, "Distortion", 0x158, 29}, {0x0E0001, "EQ/Touch Wah", 0x168, 35}, {0x1B0002, "Noise Suppressor", 0x200, 51}, {0x080003, "Delay (Single/Tap)", 0x208, 54}, {0x1A0003, "Mod", 0x218, 61}, {0x220006, "Reverb", 0x22C, 78}};
constexpr AlgorithmBlock kBlocks3[] = {{0x060002, "Comp/Lim", 0x124, 8}, {0x200001, "Preamp Sim", 0x130, 17}, {0x000000, "Acoustic Processor", 0x148, 5}, {0x010000, "Anti-Feedback", 0x150, 28}, {0x1B0002, "Noise Suppressor", 0x158, 31}, {0x050000, "Chorus", 0x160, 34}, {0x220000, "Reverb", 0x174, 44}};
constexpr AlgorithmBlock kBlocks4[] = {{0x230000, "Ring Modulator", 0x124, 5}, {0x0E0000, "EQ", 0x12C, 9}, {0x1B0002, "Noise Suppressor", 0x140, 19}, {0x210000, "Pitch Shifter", 0x148, 22}, {0x1A0002, "Mod", 0x154, 28}, {0x080001, "Delay", 0x164, 39}, {0x050006, "Chorus", 0x170, 44}, {0x290000, "Tremolo/Pan", 0x204, 51}, {0x220006, "Reverb", 0x210, 56}};
constexpr AlgorithmBlock kBlocks5[] = {{0x0E0000, "EQ", 0x124, 4}, {0x1D0000, "Overdrive", 0x138, 14}, {0x240000, "Rotary", 0x140, 18}, {0x1B0002, "Noise Suppressor", 0x16C, 36}, {0x220006, "Reverb", 0x174, 39}};
constexpr AlgorithmBlock kBlocks6[] = {{0x060003, "Comp/Lim", 0x124, 5}, {0x090000, "De-Esser", 0x134, 16}, {0x0E0000, "EQ", 0x13C, 19}, {0x0D0001, "Enhancer", 0x150, 29}, {0x1B0002, "Noise Suppressor", 0x15C, 35}, {0x1A0004, "Mod", 0x164, 38}, {0x080009, "Delay (Single/Tap)", 0x178, 58}, {0x050007, "Chorus", 0x208, 65}, {0x220006, "Reverb", 0x21C, 73}};
constexpr AlgorithmBlock kBlocks7[] = {{0x2A0000, "Vocoder", 0x124, 5}, {0x050008, "Chorus", 0x14C, 25}, {0x220000, "Reverb", 0x160, 33}};
constexpr AlgorithmBlock kBlocks8[] = {{0x2C0000, "Voice Transformer", 0x124, 5}, {0x050009, "Chorus", 0x134, 12}, {0x220000, "Reverb", 0x148, 20}};
constexpr AlgorithmBlock kBlocks9[] = {{0x150000, "Isolator", 0x124, 5}, {0x1A0005, "Mod:Mod", 0x134, 13}, {0x080006, "Delay", 0x148, 37}};
constexpr AlgorithmBlock kBlocks10[] = {{0x0E0000, "EQ", 0x124, 4}, {0x040000, "Lo-Fi", 0x138, 14}, {0x1B0002, "Noise Suppressor", 0x150, 33}};
constexpr AlgorithmBlock kBlocks11[] = {{0x0E0000, "EQ", 0x124, 5}, {0x220001, "Reverb", 0x138, 15}, {0x080004, "Delay Sngl/3Tap", 0x15C, 29}};
constexpr AlgorithmBlock kBlocks12[] = {{0x0E0000, "EQ", 0x124, 5}, {0x220002, "Reverb", 0x138, 24}, {0x050002, "Chorus", 0x15C, 15}};
constexpr AlgorithmBlock kBlocks13[] = {{0x0E0000, "EQ", 0x124, 4}, {0x220003, "Reverb", 0x138, 14}, {0x110000, "Gate", 0x15C, 28}};
constexpr AlgorithmBlock kBlocks14[] = {{0x0E0000, "EQ", 0x124, 4}, {0x250000, "RSS", 0x138, 14}};
constexpr AlgorithmBlock kBlocks15[] = {{0x0E0000, "EQ", 0x124, 5}, {0x080007, "Delay RSS", 0x138, 15}};
constexpr AlgorithmBlock kBlocks16[] = {{0x0E0000, "EQ", 0x124, 5}, {0x050004, "Chorus RSS", 0x138, 15}};
constexpr AlgorithmBlock kBlocks17[] = {{0x0E0000, "EQ", 0x124, 4}, {0x220005, "Reverb RSS", 0x138, 14}};
constexpr AlgorithmBlock kBlocks18[] = {{0x0E0000, "EQ", 0x124, 5}, {0x100000, "Flanger", 0x138, 15}, {0x1E0000, "Panner", 0x148, 23}};
constexpr AlgorithmBlock kBlocks19[] = {{0x0E0000, "EQ", 0x124, 5}, {0x080005, "Delay Sngl/3Tap", 0x138, 15}};
constexpr AlgorithmBlock kBlocks20[] = {{0x0E0000, "EQ", 0x124, 5}, {0x080002, "Delay", 0x138, 15}};
constexpr AlgorithmBlock kBlocks21[] = {{0x0C0000, "Echo", 0x124, 4}};
constexpr AlgorithmBlock kBlocks22[] = {{0x190000, "Mic Converter", 0x124, 5}, {0x020000, "Bass Cut Filter", 0x12C, 9}, {0x0B0000, "Distance", 0x130, 11}, {0x160000, "Limiter", 0x138, 14}, {0x190000, "Mic Converter", 0x144, 20}, {0x020000, "Bass Cut Filter", 0x14C, 24}, {0x0B0000, "Distance", 0x150, 26}, {0x160000, "Limiter", 0x158, 29}};
constexpr AlgorithmBlock kBlocks23[] = {{0x270000, "Space Chorus", 0x124, 4}, {0x0E0000, "EQ", 0x130, 9}};
constexpr AlgorithmBlock kBlocks24[] = {{0x080006, "Delay", 0x124, 5}, {0x100001, "Flanger", 0x140, 16}, {0x0E0000, "EQ", 0x150, 24}};
constexpr AlgorithmBlock kBlocks25[] = {{0x080006, "Delay", 0x124, 5}, {0x1F0000, "Phaser", 0x140, 16}, {0x0E0000, "EQ", 0x150, 24}};
constexpr AlgorithmBlock kBlocks26[] = {{0x080006, "Delay", 0x124, 5}, {0x050005, "Chorus", 0x140, 16}, {0x0E0000, "EQ", 0x154, 25}};
constexpr AlgorithmBlock kBlocks27[] = {{0x210001, "Pitch Shifter", 0x124, 5}, {0x0E0000, "EQ", 0x148, 21}};
constexpr AlgorithmBlock kBlocks28[] = {{0x060001, "Comp/Lim", 0x124, 5}, {0x1B0001, "Noise Suppressor", 0x138, 17}, {0x0D0000, "Enhancer", 0x140, 21}, {0x0E0000, "EQ", 0x150, 28}, {0x080008, "Delay", 0x164, 38}};
constexpr AlgorithmBlock kBlocks29[] = {{0x060001, "Comp/Lim", 0x124, 5}, {0x1B0001, "Noise Suppressor", 0x138, 17}, {0x0D0000, "Enhancer", 0x140, 21}, {0x120000, "Graphic EQ", 0x150, 28}, {0x080008, "Delay", 0x16C, 41}};
constexpr AlgorithmBlock kBlocks30[] = {{0x140000, "Hum Canceller", 0x124, 4}, {0x1B0002, "Noise Suppressor", 0x134, 11}};
constexpr AlgorithmBlock kBlocks31[] = {{0x2B0000, "Vocal Canceller", 0x124, 4}, {0x1B0002, "Noise Suppressor", 0x12C, 8}, {0x0E0000, "EQ", 0x134, 11}};
constexpr AlgorithmBlock kBlocks32[] = {{0x0E0000, "EQ", 0x124, 4}, {0x0E0000, "EQ", 0x138, 27}, {0x220007, "Reverb", 0x14C, 14}, {0x220004, "Reverb", 0x170, 37}};
constexpr AlgorithmBlock kBlocks33[] = {{0x0E0000, "EQ", 0x124, 5}, {0x0E0000, "EQ", 0x138, 23}, {0x220004, "Reverb", 0x14C, 33}, {0x050003, "Chorus", 0x160, 15}};
constexpr AlgorithmBlock kBlocks34[] = {{0x0E0000, "EQ", 0x124, 5}, {0x0E0000, "EQ", 0x138, 30}, {0x080004, "Delay Sngl/3Tap", 0x14C, 15}, {0x220004, "Reverb", 0x170, 40}};
constexpr AlgorithmBlock kBlocks35[] = {{0x0E0000, "EQ", 0x124, 5}, {0x0E0000, "EQ", 0x138, 30}, {0x080004, "Delay Sngl/3Tap", 0x14C, 15}, {0x050003, "Chorus", 0x170, 40}};
constexpr AlgorithmBlock kBlocks36[] = {{0x280000, "Speaker Modelling", 0x124, 5}, {0x020000, "Bass Cut Filter", 0x12C, 8}, {0x170000, "Lo Freq Trim", 0x130, 10}, {0x130000, "Hi Freq Trim", 0x138, 13}, {0x160001, "Limiter", 0x140, 16}};

constexpr AlgorithmComposition kCompositions[kAlgorithmCount] = {
    {0, kBlocks0, 0x180001, 0x25C},  {1, kBlocks1, 0x180001, 0x248},  {2, kBlocks2, 0x180001, 0x23C},
    {3, kBlocks3, 0x180001, 0x204},  {4, kBlocks4, 0x180001, 0x220},  {5, kBlocks5, 0x180002, 0x204},
    {6, kBlocks6, 0x180001, 0x22C},  {7, kBlocks7, 0x180001, 0x170},  {8, kBlocks8, 0x180001, 0x158},
    {9, kBlocks9, 0x180001, 0x164},  {10, kBlocks10, 0x180002, 0x158}, {11, kBlocks11, 0x180001, 0x200},
    {12, kBlocks12, 0x180001, 0x170}, {13, kBlocks13, 0x180002, 0x164}, {14, kBlocks14, 0x180002, 0x144},
    {15, kBlocks15, 0x180001, 0x15C}, {16, kBlocks16, 0x180001, 0x14C}, {17, kBlocks17, 0x180002, 0x15C},
    {18, kBlocks18, 0x180001, 0x150}, {19, kBlocks19, 0x180001, 0x15C}, {20, kBlocks20, 0x180001, 0x26C},
    {21, kBlocks21, 0x180002, 0x140}, {22, kBlocks22, 0x180003, 0x164}, {23, kBlocks23, 0x180002, 0x144},
    {24, kBlocks24, 0x180001, 0x164}, {25, kBlocks25, 0x180001, 0x164}, {26, kBlocks26, 0x180001, 0x168},
    {27, kBlocks27, 0x180001, 0x15C}, {28, kBlocks28, 0x180001, 0x200}, {29, kBlocks29, 0x180001, 0x208},
    {30, kBlocks30, 0x180002, 0x13C}, {31, kBlocks31, 0x180002, 0x148}, {32, kBlocks32, 0x180002, 0x204},
    {33, kBlocks33, 0x180001, 0x174}, {34, kBlocks34, 0x180001, 0x204}, {35, kBlocks35, 0x180001, 0x204},
    {36, kBlocks36, 0x180004, 0x14A},
};

} // namespace

std::span<const AlgorithmInfo> AlgorithmTable() { return kAlgorithms; }

const char* CategoryName(int category) {
    return category >= 0 && category < kCategoryCount ? kCategories[category] : "";
}

const char* AlgorithmDisplayName(int number) {
    for (const auto& row : kAlgorithms)
        if (row.number == number) return row.shortName[0] != '\0' ? row.shortName : row.longName;
    return nullptr;
}

int AlgorithmDefaultCategory(int number) {
    for (const auto& row : kAlgorithms)
        if (row.number == number) return row.defaultCategory;
    return 14;
}

int AlgorithmRow(int number) {
    for (int i = 0; i < kAlgorithmCount; ++i)
        if (kAlgorithms[i].number == number) return i;
    return -1;
}

int AlgorithmAtRow(int row) { return kAlgorithms[row].number; }

const char* AlgorithmPicture(int number) {
    return number >= 0 && number < kAlgorithmCount ? kPictures[number] : "";
}

const AlgorithmComposition* AlgorithmBlocks(int number) {
    for (const auto& c : kCompositions)
        if (c.number == number) return &c;
    return nullptr;
}
