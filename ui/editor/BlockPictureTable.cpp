#include "ui/editor/BlockPictureTable.h"

#include <array>
#include <cstring>

namespace {

// Base name by effect type, for the types whose name does not depend on the variant (05, 08,
// 10, 21 and 22 do: see BlockBaseName). Types above 2D show the "Comp" picture.
struct TypeName {
    uint32_t type;
    const char* baseName;
};
// clang-format off
constexpr std::array<TypeName, 41> kByType = {{
    {0x00, "ACP"},
    {0x01, "AFB"},
    {0x02, "BCF"},
    {0x03, "Comp"},
    {0x04, "Lofi"},
    {0x06, "Comp"},
    {0x07, "Comp"},
    {0x09, "Des"},
    {0x0A, "Dst"},
    {0x0B, "DSC"},
    {0x0C, "Echo"},
    {0x0D, "Enh"},
    {0x0E, "EQ"},
    {0x0F, "Comp"},
    {0x11, "Gate"},
    {0x12, "Geq"},
    {0x13, "HFT"},
    {0x14, "Hum"},
    {0x15, "Iso"},
    {0x16, "LMT"},
    {0x17, "LFT"},
    {0x18, "Master"},
    {0x19, "Mic"},
    {0x1A, "Mod"},
    {0x1B, "NS"},
    {0x1C, "Oct"},
    {0x1D, "OD"},
    {0x1E, "RSSPan"},
    {0x1F, "StPhaser"},
    {0x20, "Amp"},
    {0x23, "Rng"},
    {0x24, "Rotary"},
    {0x25, "RSS"},
    {0x26, "SFX"},
    {0x27, "SpaceChorus"},
    {0x28, "SpModel"},
    {0x29, "TR"},
    {0x2A, "Voc"},
    {0x2B, "Vocal"},
    {0x2C, "VT"},
    {0x2D, "Wah"},
}};
// clang-format on

// Width of each picture (height 10; the Master's 7) and the short name it shows. The widths are
// the unit's; the names are cut to what fits between the frame lines in the small letters.
constexpr std::array<BlockPictureRow, 50> kPictures = {{
    {"ACP", 22, "ACP"},
    {"AFB", 22, "AFB"},
    {"BCF", 22, "BCF"},
    {"Comp", 22, "COMP"},
    {"Lofi", 25, "LO-FI"},
    {"StChorus", 73, "ST CHORUS"},
    {"Chorus", 36, "CHORUS"},
    {"Cho", 22, "CHO"},
    {"Multitap", 64, "MULTI-TAP"},
    {"Delay", 36, "DELAY"},
    {"Dly", 22, "DLY"},
    {"Des", 22, "DES"},
    {"Dst", 22, "DIST"},
    {"DSC", 22, "DSC"},
    {"Echo", 66, "TAPE ECHO"},
    {"Enh", 22, "ENH"},
    {"EQ", 22, "EQ"},
    {"StFlanger", 73, "ST FLANGER"},
    {"Flanger", 42, "FLANGER"},
    {"Gate", 36, "GATE"},
    {"Geq", 22, "GEQ"},
    {"HFT", 22, "HFT"},
    {"Hum", 66, "HUM CANCEL"},
    {"Iso", 22, "ISO"},
    {"LMT", 22, "LMT"},
    {"LFT", 22, "LFT"},
    {"Master", 31, "MASTER"},
    {"Mic", 22, "MIC"},
    {"Mod", 22, "MOD"},
    {"NS", 22, "NS"},
    {"Oct", 22, "OCT"},
    {"OD", 22, "OD"},
    {"RSSPan", 56, "RSS PAN"},
    {"StPhaser", 73, "ST PHASER"},
    {"Amp", 22, "AMP"},
    {"PSDly", 49, "PS DELAY"},
    {"PS", 22, "PS"},
    {"Reverb", 36, "REVERB"},
    {"Rev", 22, "REV"},
    {"Rng", 22, "RING"},
    {"Rotary", 36, "ROTARY"},
    {"RSS", 22, "RSS"},
    {"SFX", 22, "SFX"},
    {"SpaceChorus", 66, "SPACE CHORUS"},
    {"SpModel", 46, "SP MODEL"},
    {"TR", 22, "TR"},
    {"Voc", 22, "VOC"},
    {"Vocal", 73, "VOCAL CANCEL"},
    {"VT", 22, "VT"},
    {"Wah", 22, "WAH"},
}};

constexpr int kButtonHeight = 10;
constexpr int kMasterHeight = 7;

} // namespace

const char* BlockBaseName(uint32_t blockId) {
    const uint32_t type = blockId >> 16;
    const uint32_t variant = blockId & 0xFFFF;
    switch (type) {
    case 0x05:
        if (variant == 5) return "StChorus";
        if (variant == 0 || (variant >= 2 && variant <= 4) || variant == 8 || variant == 9) return "Chorus";
        return "Cho";
    case 0x08:
        if (variant == 2) return "Multitap";
        if (variant >= 4 && variant <= 7) return "Delay";
        return "Dly";
    case 0x10:
        return variant == 1 ? "StFlanger" : "Flanger";
    case 0x21:
        return variant == 1 ? "PSDly" : "PS";
    case 0x22:
        return variant <= 5 || variant == 7 ? "Reverb" : "Rev";
    default:
        for (const TypeName& row : kByType)
            if (row.type == type) return row.baseName;
        return "Comp";
    }
}

const BlockPictureRow* BlockPicture(const char* baseName) {
    for (const BlockPictureRow& row : kPictures)
        if (std::strcmp(row.baseName, baseName) == 0) return &row;
    return nullptr;
}

QSize BlockPictureSize(const char* baseName) {
    const BlockPictureRow* row = BlockPicture(baseName);
    if (row == nullptr) return {22, kButtonHeight};
    return {row->width, std::strcmp(baseName, kMasterBaseName) == 0 ? kMasterHeight : kButtonHeight};
}

std::span<const BlockPictureRow> BlockPictureRows() {
    return kPictures;
}
