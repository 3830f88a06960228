#include "ui/widgets/PixelArt.h"

#include "ui/widgets/Colours.h"

#include <QCoreApplication>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <numbers>
#include <utility>

namespace {

// The built-in font: printable ASCII from ' ' to '~', seven rows of five pixels each, the row's
// 0x10 bit being the leftmost pixel. A cell adds one empty column and one empty row.
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kCellWidth = 6;
constexpr int kCellHeight = 8;
using Glyph = std::array<uint8_t, kGlyphHeight>;

constexpr std::array<Glyph, 95> kFont = {{
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // ' '
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}, // '!'
    {0x0A, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00}, // '"'
    {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}, // '#'
    {0x04, 0x0F, 0x14, 0x0E, 0x05, 0x1E, 0x04}, // '$'
    {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}, // '%'
    {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D}, // '&'
    {0x04, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}, // '''
    {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}, // '('
    {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}, // ')'
    {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00}, // '*'
    {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}, // '+'
    {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}, // ','
    {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}, // '-'
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}, // '.'
    {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}, // '/'
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, // '0'
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}, // '1'
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, // '2'
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}, // '3'
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, // '4'
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}, // '5'
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, // '6'
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}, // '7'
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, // '8'
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}, // '9'
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}, // ':'
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x04, 0x08}, // ';'
    {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02}, // '<'
    {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}, // '='
    {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08}, // '>'
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}, // '?'
    {0x0E, 0x11, 0x01, 0x0D, 0x15, 0x15, 0x0E}, // '@'
    {0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11}, // 'A'
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}, // 'B'
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, // 'C'
    {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}, // 'D'
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, // 'E'
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}, // 'F'
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, // 'G'
    {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, // 'H'
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 'I'
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}, // 'J'
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, // 'K'
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}, // 'L'
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, // 'M'
    {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}, // 'N'
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // 'O'
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}, // 'P'
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, // 'Q'
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}, // 'R'
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, // 'S'
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, // 'T'
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // 'U'
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}, // 'V'
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, // 'W'
    {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}, // 'X'
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, // 'Y'
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}, // 'Z'
    {0x0E, 0x08, 0x08, 0x08, 0x08, 0x08, 0x0E}, // '['
    {0x00, 0x10, 0x08, 0x04, 0x02, 0x01, 0x00}, // '\'
    {0x0E, 0x02, 0x02, 0x02, 0x02, 0x02, 0x0E}, // ']'
    {0x04, 0x0A, 0x11, 0x00, 0x00, 0x00, 0x00}, // '^'
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F}, // '_'
    {0x08, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00}, // '`'
    {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}, // 'a'
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x1E}, // 'b'
    {0x00, 0x00, 0x0E, 0x10, 0x10, 0x11, 0x0E}, // 'c'
    {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F}, // 'd'
    {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}, // 'e'
    {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}, // 'f'
    {0x00, 0x0F, 0x11, 0x11, 0x0F, 0x01, 0x0E}, // 'g'
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11}, // 'h'
    {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}, // 'i'
    {0x02, 0x00, 0x06, 0x02, 0x02, 0x12, 0x0C}, // 'j'
    {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}, // 'k'
    {0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 'l'
    {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11}, // 'm'
    {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}, // 'n'
    {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E}, // 'o'
    {0x00, 0x00, 0x1E, 0x11, 0x1E, 0x10, 0x10}, // 'p'
    {0x00, 0x00, 0x0D, 0x13, 0x0F, 0x01, 0x01}, // 'q'
    {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}, // 'r'
    {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}, // 's'
    {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}, // 't'
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D}, // 'u'
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x0A, 0x04}, // 'v'
    {0x00, 0x00, 0x11, 0x11, 0x15, 0x15, 0x0A}, // 'w'
    {0x00, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11}, // 'x'
    {0x00, 0x00, 0x11, 0x11, 0x0F, 0x01, 0x0E}, // 'y'
    {0x00, 0x00, 0x1F, 0x02, 0x04, 0x08, 0x1F}, // 'z'
    {0x02, 0x04, 0x04, 0x08, 0x04, 0x04, 0x02}, // '{'
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, // '|'
    {0x08, 0x04, 0x04, 0x02, 0x04, 0x04, 0x08}, // '}'
    {0x00, 0x00, 0x08, 0x15, 0x02, 0x00, 0x00}, // '~'
}};

const Glyph& GlyphOf(QChar c) {
    const char16_t code = c.unicode();
    if (code < u' ' || code > u'~') return kFont['?' - ' '];
    return kFont[code - u' '];
}

// The small face: capitals, digits and a few signs 5 px high, most 3 px wide ('#' inked); M and W
// take 5 and G, N and Q 4 so that they read as themselves. One empty column between glyphs.
constexpr int kSmallGlyphHeight = 5;
struct SmallGlyph {
    char c;
    std::array<const char*, kSmallGlyphHeight> rows;
    int Width() const { return static_cast<int>(std::char_traits<char>::length(rows[0])); }
};
// clang-format off
constexpr std::array<SmallGlyph, 43> kSmallFont = {{
    {' ', {"..", "..", "..", "..", ".."}},
    {'+', {"...", ".#.", "###", ".#.", "..."}},
    {'-', {"...", "...", "###", "...", "..."}},
    {'.', {".", ".", ".", ".", "#"}},
    {'/', {"..#", "..#", ".#.", "#..", "#.."}},
    {'0', {"###", "#.#", "#.#", "#.#", "###"}},
    {'1', {".#", "##", ".#", ".#", ".#"}},
    {'2', {"##.", "..#", ".#.", "#..", "###"}},
    {'3', {"##.", "..#", ".#.", "..#", "##."}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}},
    {'5', {"###", "#..", "##.", "..#", "##."}},
    {'6', {".##", "#..", "###", "#.#", "###"}},
    {'7', {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}},
    {'9', {"###", "#.#", "###", "..#", "##."}},
    {':', {".", "#", ".", "#", "."}},
    {'?', {"##.", "..#", ".#.", "...", ".#."}},
    {'A', {".#.", "#.#", "###", "#.#", "#.#"}},
    {'B', {"##.", "#.#", "##.", "#.#", "##."}},
    {'C', {".##", "#..", "#..", "#..", ".##"}},
    {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
    {'E', {"###", "#..", "##.", "#..", "###"}},
    {'F', {"###", "#..", "##.", "#..", "#.."}},
    {'G', {".###", "#...", "#.##", "#..#", ".###"}},
    {'H', {"#.#", "#.#", "###", "#.#", "#.#"}},
    {'I', {"###", ".#.", ".#.", ".#.", "###"}},
    {'J', {"..#", "..#", "..#", "#.#", ".#."}},
    {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},
    {'L', {"#..", "#..", "#..", "#..", "###"}},
    {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
    {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}},
    {'O', {".#.", "#.#", "#.#", "#.#", ".#."}},
    {'P', {"##.", "#.#", "##.", "#..", "#.."}},
    {'Q', {".##.", "#..#", "#..#", "#.#.", ".#.#"}},
    {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},
    {'S', {".##", "#..", ".#.", "..#", "##."}},
    {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
    {'U', {"#.#", "#.#", "#.#", "#.#", "###"}},
    {'V', {"#.#", "#.#", "#.#", "#.#", ".#."}},
    {'W', {"#...#", "#...#", "#.#.#", "##.##", "#...#"}},
    {'X', {"#.#", "#.#", ".#.", "#.#", "#.#"}},
    {'Y', {"#.#", "#.#", ".#.", ".#.", ".#."}},
    {'Z', {"###", "..#", ".#.", "#..", "###"}},
}};
// clang-format on

const SmallGlyph& SmallGlyphOf(QChar c) {
    const char16_t upper = c.toUpper().unicode();
    for (const SmallGlyph& glyph : kSmallFont)
        if (glyph.c == upper) return glyph;
    return SmallGlyphOf(QLatin1Char('?'));
}

// The panel's own shades beside the shared colours.
const QColor kPlate(24, 22, 22);       // the maker's black name plate
const QColor kRedShadow(150, 4, 28);   // outline of red bodies
const QColor kBezelEdge(16, 26, 10);   // outermost line of the display bezel
const QColor kBezelInner(70, 100, 44); // the bezel's inner step
const QColor kLimeShade(172, 228, 46); // the glass's shadow under the bezel

// Text drawn twice, one pixel apart: heavier strokes for large lettering.
int BoldText(PixelCanvas& canvas, int x, int y, const QString& text, const QColor& colour, int scale) {
    canvas.Text(x + 1, y, text, colour, scale);
    return canvas.Text(x, y, text, colour, scale) + 1;
}

// The width a text really inks: its cells less the empty column after the last glyph.
int InkWidth(const QString& text, int scale) {
    return text.isEmpty() ? 0 : PixelTextSize(text, scale).width() - scale;
}

QImage DrawBanner() {
    PixelCanvas canvas(456, 37, Colours::Red);
    // The maker's plate: white heavy lettering on black, then the model in white on the panel red.
    const QString maker = QStringLiteral("BOSS");
    const int plateWidth = InkWidth(maker, 4) + 1 + 2 * 10;
    canvas.Fill(0, 2, plateWidth, 33, kPlate);
    canvas.RoundCorners(0, 2, plateWidth, 33, 3, Colours::Red);
    BoldText(canvas, 10, 5, maker, Qt::white, 4);

    const int modelX = plateWidth + 14;
    const int modelEnd = BoldText(canvas, modelX, 5, QStringLiteral("VF-1"), Qt::white, 4);

    // Right-hand legend, right-aligned to the plate's margin, over a rule in the display's lime.
    const QString title = QStringLiteral("EFFECTS PROCESSOR");
    const QString subtitle = QStringLiteral("PATCH EDITOR & LIBRARIAN");
    const int right = canvas.Width() - 4;
    canvas.Text(right - InkWidth(title, 2), 5, title, Qt::white, 2);
    canvas.Fill(modelEnd + 14, 22, right - modelEnd - 14, 1, Colours::Lime);
    canvas.Text(right - InkWidth(subtitle, 1), 26, subtitle, Colours::Lime, 1);
    return canvas.Image();
}

QImage DrawLcd() {
    const int w = 462;
    const int h = 165;
    PixelCanvas canvas(w, h, Colours::Lime);
    // Bezel: a dark edge, a dark green band and an inner step, then the glass with its shadow.
    canvas.Frame(0, 0, w, h, kBezelEdge);
    for (int i = 1; i <= 3; ++i) canvas.Frame(i, i, w - 2 * i, h - 2 * i, Colours::DarkGreen);
    canvas.Frame(4, 4, w - 8, h - 8, kBezelInner);
    canvas.Line(5, 5, w - 6, 5, kLimeShade);
    canvas.Line(5, 5, 5, h - 6, kLimeShade);
    canvas.RoundCorners(0, 0, w, h, 3);

    // The MIDI settings spot in the top-left corner of the glass (x 6 to 44, y 7 to 19).
    const QString midi = QStringLiteral("MIDI");
    canvas.Fill(6, 7, 39, 13, Colours::DarkGreen);
    canvas.RoundCorners(6, 7, 39, 13, 1, Colours::Lime);
    canvas.Text(6 + (39 - InkWidth(midi, 1)) / 2, 10, midi, Colours::Lime, 1);
    return canvas.Image();
}

// A red body with a darker outline that follows its rounded corners.
void RedBody(PixelCanvas& canvas, int x, int y, int w, int h) {
    canvas.Fill(x, y, w, h, Colours::Red);
    canvas.Frame(x, y, w, h, kRedShadow);
    canvas.RoundCorners(x, y, w, h, 2);
    for (const auto& [cx, cy] :
         {std::pair{x + 1, y + 1}, {x + w - 2, y + 1}, {x + 1, y + h - 2}, {x + w - 2, y + h - 2}})
        canvas.Plot(cx, cy, kRedShadow);
}

// A wave through the points (x0 + i, middle - round(amplitude * sin(2 pi i / period))), joined.
void Wave(PixelCanvas& canvas, int x0, int x1, int middle, double amplitude, double period,
          const QColor& colour) {
    int lastX = x0;
    int lastY = middle;
    for (int x = x0; x <= x1; ++x) {
        const int y =
            middle -
            static_cast<int>(std::lround(amplitude * std::sin((x - x0) * 2.0 * std::numbers::pi / period)));
        canvas.Line(lastX, lastY, x, y, colour);
        lastX = x;
        lastY = y;
    }
}

// The program's icon drawn at size x size (16 to 32): the banner's model lettering in white over
// its lime rule, where there is room for it, above the unit's display with a sweep, all on the
// panel's red.
QImage DrawIconAt(int size) {
    PixelCanvas canvas(size, size);
    RedBody(canvas, 0, 0, size, size);
    const int margin = size / 8;
    int top = margin;
    const QString model = size >= 32   ? QStringLiteral("VF-1")
                          : size >= 20 ? QStringLiteral("VF1")
                                       : QString();
    if (!model.isEmpty()) {
        BoldText(canvas, (size - InkWidth(model, 1) - 1) / 2, top, model, Qt::white, 1);
        top += kGlyphHeight + 1;
        canvas.Fill(margin, top, size - 2 * margin, 1, Colours::Lime);
        top += 2;
    }
    const int width = size - 2 * margin;
    const int height = size - margin - top;
    canvas.Fill(margin, top, width, height, Colours::DarkGreen);
    canvas.Fill(margin + 1, top + 1, width - 2, height - 2, Colours::Lime);
    Wave(canvas, margin + 2, size - margin - 3, top + height / 2, (height - 5) / 2, width - 4.0,
         Colours::DarkGreen);
    return canvas.Image();
}

QImage DrawLargeIcon() {
    return AppIcon(32);
}

QImage DrawSmallIcon() {
    return AppIcon(16);
}

// The display alone: the model's name over a sweep, as the unit shows a patch.
QImage DrawAbout() {
    PixelCanvas canvas(32, 32, Colours::Lime);
    canvas.Frame(0, 0, 32, 32, Colours::DarkGreen);
    const QString model = QStringLiteral("VF-1");
    canvas.Text((32 - InkWidth(model, 1)) / 2, 4, model, Colours::DarkGreen, 1);
    canvas.Line(3, 13, 28, 13, Colours::DarkGreen);
    Wave(canvas, 3, 28, 22, 5.0, 25.0, Colours::DarkGreen);
    return canvas.Image();
}

std::map<QString, std::function<QImage()>>& Drawers() {
    static std::map<QString, std::function<QImage()>> drawers = {
        {Pictures::Banner, DrawBanner},       {Pictures::Lcd, DrawLcd},
        {Pictures::IconLarge, DrawLargeIcon}, {Pictures::IconSmall, DrawSmallIcon},
        {Pictures::About, DrawAbout},
    };
    return drawers;
}

void ClearCache();

std::map<std::pair<QString, int>, QPixmap>& Cache() {
    static std::map<std::pair<QString, int>, QPixmap> cache;
    // Pixmaps belong to the application: let them go with it, not after it.
    static const bool clearedAtExit = (qAddPostRoutine(ClearCache), true);
    Q_UNUSED(clearedAtExit);
    return cache;
}

void ClearCache() {
    Cache().clear();
}

} // namespace

QImage AppIcon(int size) {
    // Larger icons are the largest drawing that divides them, enlarged, so its pixels stay square.
    for (int base = 32; base >= 16; --base)
        if (size % base == 0) return Enlarged(DrawIconAt(base), size / base);
    if (size < 16) return DrawIconAt(16).scaled(size, size);
    const QImage drawn = Enlarged(DrawIconAt(32), size / 32);
    PixelCanvas canvas(size, size);
    canvas.Draw((size - drawn.width()) / 2, (size - drawn.height()) / 2, drawn);
    return canvas.Image();
}

PixelCanvas::PixelCanvas(int width, int height, const QColor& background)
    : image(width, height, QImage::Format_ARGB32) {
    image.fill(background);
}

void PixelCanvas::Plot(int x, int y, const QColor& colour) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
    image.setPixel(x, y, colour.rgba());
}

QColor PixelCanvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return QColor();
    return QColor::fromRgba(image.pixel(x, y));
}

void PixelCanvas::Line(int x0, int y0, int x1, int y1, const QColor& colour) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1;
    const int stepY = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Plot(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y0 += stepY;
        }
    }
}

void PixelCanvas::Fill(int x, int y, int w, int h, const QColor& colour) {
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column) Plot(column, row, colour);
}

void PixelCanvas::Frame(int x, int y, int w, int h, const QColor& colour) {
    if (w <= 0 || h <= 0) return;
    Fill(x, y, w, 1, colour);
    Fill(x, y + h - 1, w, 1, colour);
    Fill(x, y, 1, h, colour);
    Fill(x + w - 1, y, 1, h, colour);
}

void PixelCanvas::RoundCorners(int x, int y, int w, int h, int radius, const QColor& outside) {
    // Pixels cut from each corner, row by row from the corner inward.
    static constexpr std::array<std::array<int, 3>, 3> kCut = {{{1, 0, 0}, {2, 1, 0}, {3, 1, 1}}};
    radius = std::clamp(radius, 1, 3);
    for (int row = 0; row < radius; ++row) {
        const int cut = kCut[radius - 1][row];
        for (int i = 0; i < cut; ++i) {
            Plot(x + i, y + row, outside);
            Plot(x + w - 1 - i, y + row, outside);
            Plot(x + i, y + h - 1 - row, outside);
            Plot(x + w - 1 - i, y + h - 1 - row, outside);
        }
    }
}

int PixelCanvas::Text(int x, int y, const QString& text, const QColor& colour, int scale) {
    scale = std::max(scale, 1);
    for (const QChar c : text) {
        const Glyph& glyph = GlyphOf(c);
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int column = 0; column < kGlyphWidth; ++column)
                if (glyph[row] & (0x10 >> column))
                    Fill(x + column * scale, y + row * scale, scale, scale, colour);
        x += kCellWidth * scale;
    }
    return x;
}

int PixelCanvas::SmallText(int x, int y, const QString& text, const QColor& colour) {
    for (const QChar c : text) {
        const SmallGlyph& glyph = SmallGlyphOf(c);
        for (int row = 0; row < kSmallGlyphHeight; ++row)
            for (int column = 0; column < glyph.Width(); ++column)
                if (glyph.rows[static_cast<size_t>(row)][column] == '#') Plot(x + column, y + row, colour);
        x += glyph.Width() + 1;
    }
    return x;
}

void PixelCanvas::Draw(int x, int y, const QImage& picture) {
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < source.height(); ++row)
        for (int column = 0; column < source.width(); ++column) {
            const QRgb pixel = source.pixel(column, row);
            if (qAlpha(pixel) != 0) Plot(x + column, y + row, QColor::fromRgba(pixel));
        }
}

QPixmap PixelCanvas::ToPixmap(int scale) const {
    return QPixmap::fromImage(Enlarged(image, scale));
}

QImage Enlarged(const QImage& picture, int factor) {
    if (factor <= 1 || picture.isNull()) return picture;
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.width() * factor, source.height() * factor, QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y / factor));
        auto* to = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) to[x] = from[x / factor];
    }
    return result;
}

QPixmap Picture(const QString& name, int factor) {
    factor = std::max(factor, 1);
    const auto key = std::make_pair(name, factor);
    auto& cache = Cache();
    if (const auto cached = cache.find(key); cached != cache.end()) return cached->second;
    const auto drawer = Drawers().find(name);
    if (drawer == Drawers().end()) return QPixmap();
    QPixmap pixmap = QPixmap::fromImage(Enlarged(drawer->second(), factor));
    cache.emplace(key, pixmap);
    return pixmap;
}

void RegisterPicture(const QString& name, std::function<QImage()> draw) {
    Drawers()[name] = std::move(draw);
    // A picture drawn before under this name is stale now.
    std::erase_if(Cache(), [&name](const auto& entry) { return entry.first.first == name; });
}

QSize PixelTextSize(const QString& text, int scale) {
    scale = std::max(scale, 1);
    return QSize(int(text.size()) * kCellWidth * scale, kCellHeight * scale);
}

int PixelTextInkWidth(const QString& text) {
    return InkWidth(text, 1);
}

int SmallTextInkWidth(const QString& text) {
    int width = 0;
    for (const QChar c : text) width += SmallGlyphOf(c).Width() + 1;
    return std::max(width - 1, 0);
}

QPixmap PixelText(const QString& text, const QColor& colour, int scale) {
    const QSize size = PixelTextSize(text, scale);
    if (size.isEmpty()) return QPixmap();
    PixelCanvas canvas(size.width(), size.height());
    canvas.Text(0, 0, text, colour, scale);
    return canvas.ToPixmap();
}
