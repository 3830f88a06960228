#include "ui/librarian/DragCursors.h"

#include <QImage>

#include <algorithm>
#include <array>

#include "ui/widgets/Colours.h"
#include "ui/widgets/PixelArt.h"

namespace {

constexpr int kSize = 64;
constexpr int kHotSpot = kSize / 2;

// 'X' outline, '.' fill, ' ' transparent; the first row's first pixel is the tip.
constexpr std::array<const char*, 19> kArrow = {
    "X",         "XX",        "X.X",        "X..X",        "X...X",        "X....X",   "X.....X",
    "X......X",  "X.......X", "X........X", "X.........X", "X......XXXXX", "X...X..X", "X..XX..X",
    "X.X  X..X", "XX   X..X", "X     X..X", "      X..X",  "       XX",
};

// Up-and-down arrows; the middle row is the hot spot.
constexpr std::array<const char*, 21> kUpDown = {
    "    X    ", "   X.X   ", "  X...X  ", " X.....X ", "X.......X", "XXXX.XXXX", "   X.X   ",
    "   X.X   ", "   X.X   ", "   X.X   ", "   X.X   ", "   X.X   ", "   X.X   ", "   X.X   ",
    "   X.X   ", "XXXX.XXXX", "X.......X", " X.....X ", "  X...X  ", "   X.X   ", "    X    ",
};

template <size_t N>
void DrawShape(PixelCanvas& canvas, int x, int y, const std::array<const char*, N>& rows) {
    for (size_t row = 0; row < N; ++row)
        for (int col = 0; rows[row][col] != '\0'; ++col) {
            const char c = rows[row][col];
            if (c == 'X') canvas.Plot(x + col, y + static_cast<int>(row), Qt::black);
            else if (c == '.') canvas.Plot(x + col, y + static_cast<int>(row), Qt::white);
        }
}

QImage LabelledArrow(const QString& label) {
    PixelCanvas canvas(kSize, kSize);
    DrawShape(canvas, kHotSpot, kHotSpot, kArrow);
    // The label hangs below the arrow in the display's colours.
    const QSize text = PixelTextSize(label);
    const int w = text.width() + 3;
    const int h = text.height() + 3;
    const int x = std::clamp(kHotSpot + 4 - w / 2, 0, kSize - w);
    const int y = kHotSpot + static_cast<int>(kArrow.size()) + 1;
    canvas.Fill(x, y, w, h, Colours::Lime);
    canvas.Frame(x, y, w, h, Colours::DarkGreen);
    canvas.Text(x + 2, y + 2, label, Colours::DarkGreen);
    return canvas.Image();
}

QImage ScrollArrows() {
    PixelCanvas canvas(kSize, kSize);
    const int w = static_cast<int>(std::char_traits<char>::length(kUpDown[0]));
    DrawShape(canvas, kHotSpot - w / 2, kHotSpot - static_cast<int>(kUpDown.size()) / 2, kUpDown);
    return canvas.Image();
}

} // namespace

void RegisterDragCursors() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterPicture(Pictures::InsertCursor, [] { return LabelledArrow(QStringLiteral("Insert")); });
    RegisterPicture(Pictures::ReplaceCursor, [] { return LabelledArrow(QStringLiteral("Replace")); });
    RegisterPicture(Pictures::SwapCursor, [] { return LabelledArrow(QStringLiteral("Swap")); });
    RegisterPicture(Pictures::ScrollCursor, ScrollArrows);
}
