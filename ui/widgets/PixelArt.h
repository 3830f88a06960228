#pragma once
// The program's pictures, drawn at run time: a small pixel-art renderer with a built-in bitmap
// font, pictures enlarged by pixel repetition where a window asks for it, cached by name.

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <functional>

// Names of the pictures the windows use.
namespace Pictures {
inline constexpr const char* Banner = "Banner";     // 456 x 37, the unit's name plate
inline constexpr const char* Lcd = "LCD";           // 462 x 165, the display area behind the diagram
inline constexpr const char* IconLarge = "Icon128"; // 32 x 32 window icon
inline constexpr const char* IconSmall = "Icon427"; // 16 x 16 window icon
inline constexpr const char* About = "About414";    // 32 x 32 About box picture
} // namespace Pictures

// A picture drawn pixel by pixel. Every operation sets pixels to exactly the colour given (no
// smoothing, no blending, so Qt::transparent cuts holes); whatever falls outside is dropped.
class PixelCanvas {
  public:
    PixelCanvas(int width, int height, const QColor& background = Qt::transparent);

    int Width() const { return image.width(); }
    int Height() const { return image.height(); }

    void Plot(int x, int y, const QColor& colour);
    QColor At(int x, int y) const;
    void Line(int x0, int y0, int x1, int y1, const QColor& colour);
    void Fill(int x, int y, int w, int h, const QColor& colour);
    void Frame(int x, int y, int w, int h, const QColor& colour); // one pixel wide, inside the rectangle
    // Clears the corner pixels of the rectangle so it reads as rounded (radius 1 to 3).
    void RoundCorners(int x, int y, int w, int h, int radius, const QColor& outside = Qt::transparent);
    // Text in the built-in font, its top-left cell corner at (x, y); each font pixel becomes a
    // scale x scale block. Returns the x after the last cell.
    int Text(int x, int y, const QString& text, const QColor& colour, int scale = 1);
    // Text in the small face: capitals, digits and a few signs 5 px high and mostly 3 px wide, for
    // lettering that must fit a 7 px high picture (lower case shows as capitals). Returns the x
    // after the last glyph's gap.
    int SmallText(int x, int y, const QString& text, const QColor& colour);
    // Copies another picture's pixels; fully transparent ones leave the canvas as it is.
    void Draw(int x, int y, const QImage& picture);

    const QImage& Image() const { return image; }
    QPixmap ToPixmap(int scale = 1) const;

  private:
    QImage image;
};

// The picture enlarged by pixel repetition: each pixel becomes a factor x factor block.
QImage Enlarged(const QImage& picture, int factor);

// The cached picture of that name, enlarged factor times; a null pixmap for a name the renderer
// doesn't know.
QPixmap Picture(const QString& name, int factor = 1);
// Adds a picture the renderer can draw (later windows bring their own); drawn on first use.
void RegisterPicture(const QString& name, std::function<QImage()> draw);

// The program's icon, size x size pixels: drawn from 16 to 32, larger sizes enlarged from the
// largest of those that divides them. The window's icons are its 32 and 16 pixel forms.
QImage AppIcon(int size);

// Text in the built-in bitmap font: 5 x 7 glyphs on a 6 x 8 cell, each pixel repeated scale times.
// Characters outside printable ASCII show as '?'.
QPixmap PixelText(const QString& text, const QColor& colour, int scale = 1);
QSize PixelTextSize(const QString& text, int scale = 1);
// The pixels a text really inks, without the empty column after its last cell.
int PixelTextInkWidth(const QString& text);
int SmallTextInkWidth(const QString& text);
