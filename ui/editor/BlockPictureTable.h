#pragma once
// Which picture a block button shows: the base name for a block id, and for each base name the
// picture's size before enlargement and the short name written on it. The pictures themselves
// are drawn by LcdPictures.

#include <QSize>

#include <cstdint>
#include <span>

struct BlockPictureRow {
    const char* baseName;
    int width;           // height is 10, the Master's 7
    const char* caption; // the short name on the button, in the LCD's small letters
};

// The base name of the block's kind, from the effect type (high 16 bits) and variant of its id.
const char* BlockBaseName(uint32_t blockId);
// The row of a base name, or null for a name the table does not hold.
const BlockPictureRow* BlockPicture(const char* baseName);
// The picture size before enlargement; 22 x 10 for a name the table does not hold.
QSize BlockPictureSize(const char* baseName);
std::span<const BlockPictureRow> BlockPictureRows();

inline constexpr const char* kMasterBaseName = "Master";
