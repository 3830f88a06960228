#pragma once
// The program's pictures, drawn at run time: a small pixel-art renderer with a built-in bitmap
// font, pictures enlarged by pixel repetition where a window asks for it, cached by name.

#include <QPixmap>
#include <QString>

// Names of the pictures the windows use.
namespace Pictures {
inline constexpr const char* Banner = "Banner";       // 456 x 37, the unit's name plate
inline constexpr const char* Lcd = "LCD";             // 462 x 165, the display area behind the diagram
inline constexpr const char* IconLarge = "Icon128";   // 32 x 32 window icon
inline constexpr const char* IconSmall = "Icon427";   // 16 x 16 window icon
inline constexpr const char* About = "About414";      // 32 x 32 About box picture
} // namespace Pictures

// The cached picture of that name; a null pixmap for a name the renderer doesn't know.
QPixmap Picture(const QString& name);

// Text in the built-in bitmap font: 5 x 7 glyphs on a 6 x 8 cell, each pixel repeated scale times.
QPixmap PixelText(const QString& text, const QColor& colour, int scale = 1);
QSize PixelTextSize(const QString& text, int scale = 1);
