#include "ui/editor/LcdPictures.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <functional>

#include "model/tables/AlgorithmInfo.h"
#include "ui/editor/BlockPictureTable.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/PixelArt.h"

namespace {

// The display draws in two inks: its dark segments on the lime glass. A switched-off block is
// drawn in a faded ink, as a segment the display dims.
const QColor& Ink() {
    return Colours::DarkGreen;
}
const QColor& Glass() {
    return Colours::Lime;
}
QColor Faded(const QColor& ink, const QColor& glass) {
    const auto mix = [](int a, int b) { return (a * 45 + b * 55) / 100; };
    return QColor(mix(ink.red(), glass.red()), mix(ink.green(), glass.green()),
                  mix(ink.blue(), glass.blue()));
}

// ---- Flow pictures: 118 x 24, the signal entering at the left and leaving at the right. The
// buttons, three times larger, lie over them: a top row covers lines 1 to 10, a bottom row 14 to
// 23 and a middle row 7 to 16, so the lines run through the buttons' middles and show between them.

constexpr int kFlowWidth = 118;
constexpr int kFlowHeight = 24;
constexpr int kRight = kFlowWidth - 1;

class Flow {
  public:
    Flow() : canvas(kFlowWidth, kFlowHeight, Glass()) {}

    void H(int x0, int x1, int y) { canvas.Line(x0, y, x1, y, Ink()); }
    void V(int x, int y0, int y1) { canvas.Line(x, y0, x, y1, Ink()); }
    // A control line: every other pixel.
    void DottedV(int x, int y0, int y1) {
        for (int y = y0; y <= y1; y += 2) canvas.Plot(x, y, Ink());
    }
    // The input socket at the left edge, centred on line y.
    void Jack(int y, int lines = 1) { canvas.Fill(0, y - 1, 2, 2 * lines + 1, Ink()); }
    // An arrowhead at the right edge pointing out along line y.
    void Out(int y) {
        canvas.Plot(kRight, y, Ink());
        V(kRight - 1, y - 1, y + 1);
        V(kRight - 2, y - 2, y + 2);
    }
    // An arrowhead pointing up at (x, y).
    void Up(int x, int y) {
        canvas.Plot(x, y, Ink());
        H(x - 1, x + 1, y + 1);
    }
    void Label(int x, int y, const char* text) { canvas.SmallText(x, y, QString::fromLatin1(text), Ink()); }
    // A loudspeaker: a magnet and a cone opening to the right, its top-left corner at (x, y).
    void Speaker(int x, int y) {
        canvas.Fill(x, y + 3, 3, 4, Ink());
        for (int i = 0; i < 4; ++i) V(x + 3 + i, y + 2 - i, y + 7 + i);
    }

    QImage Image() const { return canvas.Image(); }

  private:
    PixelCanvas canvas;
};

// Two rows of blocks joined in a snake: the top row, down the right edge, back along the gap
// between the rows, down at returnX and along the bottom row to the output. stereoBottom doubles
// the bottom row (lines 17 and 19).
void Snake(Flow& f, int turnX, int returnX, bool stereoBottom) {
    f.Jack(5);
    f.H(0, turnX, 5);
    f.V(turnX, 5, 12);
    f.H(returnX, turnX, 12);
    if (stereoBottom) {
        f.V(returnX, 12, 19);
        f.H(returnX, kRight - 3, 17);
        f.H(returnX, kRight - 3, 19);
        f.Out(17);
        f.Out(19);
    } else {
        f.V(returnX, 12, 18);
        f.H(returnX, kRight - 3, 18);
        f.Out(18);
    }
}

// Guitar Multi 1 and 2, Vocal Multi and RSS Panner: the guitar chain, mono on top, stereo from the
// modulation on.
QImage DrawGuitarMulti() {
    Flow f;
    Snake(f, kRight, 5, true);
    return f.Image();
}

// Bass Multi: the same chain, mono to the end.
QImage DrawBassMulti() {
    Flow f;
    Snake(f, kRight, 5, false);
    return f.Image();
}

// Acoustic Multi: the pickup's two paths (processor and compressor above, preamp and
// anti-feedback below) meet at the noise suppressor, then chorus and reverb run side by side.
QImage DrawAcousticMulti() {
    Flow f;
    f.Jack(12);
    f.H(0, 1, 12);
    f.V(1, 5, 18);
    f.H(1, 49, 5);
    f.H(1, 49, 18);
    f.V(49, 5, 18);
    f.H(49, 75, 12);
    f.V(75, 5, 18);
    f.H(75, 113, 5);
    f.H(75, 113, 18);
    f.V(113, 5, 18);
    f.H(113, kRight - 3, 12);
    f.Out(12);
    return f.Image();
}

// Stereo Dual, and the stereo effects in two rows: a stereo snake, the left channel outside.
QImage DrawStereoDual() {
    Flow f;
    f.Jack(4);
    f.Jack(6);
    // Outer line: row 4, down at the right edge to 13, back to x 5, down to 19.
    f.H(0, kRight, 4);
    f.V(kRight, 4, 13);
    f.H(5, kRight, 13);
    f.V(5, 13, 19);
    f.H(5, kRight - 3, 19);
    // Inner line: row 6, down at 115 to 11, back to x 7, down to 17.
    f.H(0, kRight - 2, 6);
    f.V(kRight - 2, 6, 11);
    f.H(7, kRight - 2, 11);
    f.V(7, 11, 17);
    f.H(7, kRight - 3, 17);
    f.Out(17);
    f.Out(19);
    return f.Image();
}

// Rotary Multi: EQ, overdrive and the rotary speaker above; from the rotor on the sound is stereo
// and comes back along the bottom row through noise suppressor and reverb.
QImage DrawRotaryMulti() {
    Flow f;
    f.Jack(5);
    f.H(0, 98, 5);
    f.V(98, 4, 6);
    f.H(98, 107, 4);
    f.H(98, 105, 6);
    f.V(107, 4, 13);
    f.V(105, 6, 11);
    f.H(40, 107, 13);
    f.H(42, 105, 11);
    f.V(40, 13, 19);
    f.V(42, 11, 17);
    f.H(40, kRight - 3, 19);
    f.H(42, kRight - 3, 17);
    f.Out(17);
    f.Out(19);
    return f.Image();
}

// Vocoder: the instrument enters on the top row; the voice enters below and drives the vocoder.
QImage DrawVocoder() {
    Flow f;
    f.Jack(5);
    f.H(0, kRight - 3, 5);
    f.Out(5);
    f.Jack(18);
    f.H(0, 13, 18);
    f.V(13, 12, 18);
    f.Up(13, 11);
    f.Label(17, 16, "MIC");
    return f.Image();
}

// Voice Transformer: a voice in, stereo after the transformer.
QImage DrawVoiceTransform() {
    Flow f;
    f.Jack(12);
    f.H(0, 27, 12);
    f.V(27, 11, 13);
    f.H(27, kRight - 3, 11);
    f.H(27, kRight - 3, 13);
    f.Out(11);
    f.Out(13);
    f.Label(0, 18, "MIC");
    return f.Image();
}

// One stereo chain on the middle row.
QImage DrawStereoSingle() {
    Flow f;
    f.Jack(11);
    f.Jack(13);
    f.H(0, kRight - 3, 11);
    f.H(0, kRight - 3, 13);
    f.Out(11);
    f.Out(13);
    return f.Image();
}

// Reverb 1: after the EQ, reverb and delay side by side.
QImage DrawReverb1() {
    Flow f;
    f.Jack(5);
    f.H(0, 44, 5);
    f.V(44, 5, 18);
    f.H(44, 90, 5);
    f.H(44, 90, 18);
    f.V(90, 5, 18);
    f.H(90, kRight - 3, 12);
    f.Out(12);
    return f.Image();
}

// Gate Reverb: EQ and reverb in a row; the gate below hears the dry signal and closes the
// reverb's output.
QImage DrawGateReverb() {
    Flow f;
    f.Jack(5);
    f.H(0, kRight - 3, 5);
    f.Out(5);
    f.V(43, 5, 18);
    f.H(43, 90, 18);
    f.DottedV(90, 8, 18);
    f.Up(90, 7);
    return f.Image();
}

// Mic Simulator: two channels of the same chain, left above, right below.
QImage DrawMicSimulator() {
    Flow f;
    f.Label(0, 3, "L");
    f.H(4, kRight - 3, 5);
    f.Out(5);
    f.Label(0, 16, "R");
    f.H(4, kRight - 3, 18);
    f.Out(18);
    return f.Image();
}

// The dual algorithms: two independent chains.
QImage DrawDual() {
    Flow f;
    for (const int y : {5, 19}) {
        f.Jack(y);
        f.H(0, kRight - 3, y);
        f.Out(y);
    }
    return f.Image();
}

// Speaker Modeling: the modelled speaker and bass cut above, the trims and limiter below.
QImage DrawSpeakerModeling() {
    Flow f;
    f.Jack(5);
    f.H(0, 99, 5);
    f.V(99, 5, 12);
    f.H(18, 99, 12);
    f.V(18, 12, 18);
    f.H(18, kRight - 3, 18);
    f.Out(18);
    f.Speaker(105, 1);
    return f.Image();
}

struct FlowRow {
    const char* name;
    QImage (*draw)();
};

constexpr std::array<FlowRow, 13> kFlows = {{
    {"LCDGuitarMulti", DrawGuitarMulti},
    {"LCDBassMulti", DrawBassMulti},
    {"LCDAcousticMulti", DrawAcousticMulti},
    {"LCDStereoDual", DrawStereoDual},
    {"LCDRotaryMulti", DrawRotaryMulti},
    {"LCDVocoder", DrawVocoder},
    {"LCDVoiceTransform", DrawVoiceTransform},
    {"LCDStereoSingle", DrawStereoSingle},
    {"LCDReverb1", DrawReverb1},
    {"LCDGateReverb", DrawGateReverb},
    {"LCDMicSimulator", DrawMicSimulator},
    {"LCDDual", DrawDual},
    {"LCDSpeakerModeling", DrawSpeakerModeling},
}};

// ---- Name pictures: the algorithm's list name in the display's letters, 7 px high.

QImage DrawAlgorithmName(int algorithm) {
    const char* name = AlgorithmDisplayName(algorithm);
    const QString text = QString::fromLatin1(name ? name : "");
    PixelCanvas canvas(std::max(PixelTextInkWidth(text), 1), 7, Glass());
    canvas.Text(0, 0, text, Ink());
    return canvas.Image();
}

// ---- Block buttons: a framed box with the block's short name. On: dark frame and letters on
// the glass; Off: the frame dotted and the letters faded; Sel: the same, inverted.

QImage DrawBlockButton(const BlockPictureRow& row, bool selected, bool on) {
    const QSize size = BlockPictureSize(row.baseName);
    const int w = size.width();
    const int h = size.height();
    const QColor& ground = selected ? Ink() : Glass();
    const QColor& ink = selected ? Glass() : Ink();
    PixelCanvas canvas(w, h, ground);
    const bool master = QString::fromLatin1(row.baseName) == QLatin1String(kMasterBaseName);
    if (master) {
        // Only 7 px high: the name alone, on the glass or, selected, in a dark box.
        canvas.RoundCorners(0, 0, w, h, 1, Glass());
    } else if (on) {
        canvas.Frame(0, 0, w, h, ink);
    } else {
        for (int x = 0; x < w; x += 2) {
            canvas.Plot(x, 0, ink);
            canvas.Plot(x, h - 1, ink);
        }
        for (int y = 0; y < h; y += 2) {
            canvas.Plot(0, y, ink);
            canvas.Plot(w - 1, y, ink);
        }
    }
    const QString caption = QString::fromLatin1(row.caption);
    const int x = (w - SmallTextInkWidth(caption) + 1) / 2;
    const int y = (h - 5 + 1) / 2;
    canvas.SmallText(x, y, caption, on ? ink : Faded(ink, ground));
    return canvas.Image();
}

// ---- Cursors, 32 x 32: '#' black, '.' white, anything else clear.

using CursorArt = std::array<const char*, 20>;

// 419: a pointing hand, its fingertip the hot spot (5, 0).
constexpr CursorArt kHandArt = {{
    "     ##          ", "    #..#         ", "    #..#         ", "    #..#         ", "    #..#         ",
    "    #..###       ", "    #..#..###    ", "    #..#..#..##  ", " ## #..#..#..#.# ", "#..##........#..#",
    "#...#...........#", " #..............#", "  #.............#", "  #............# ", "   #...........# ",
    "   #..........#  ", "    #.........#  ", "    #.........#  ", "    ###########  ", "                 ",
}};

// 410: an arrow with the unit's MIDI socket beside it, the arrow's tip the hot spot (0, 0).
constexpr CursorArt kMidiArt = {{
    "#                   ",   "##                  ",   "#.#                 ",   "#..#                ",
    "#...#               ",   "#....#              ",   "#.....#             ",   "#......#            ",
    "#.......#     ##### ",   "#........#  ##.....##",  "#.....#####.#..#..#.#",  "#..#..#    #.#.....#.#",
    "#.# #..#   #........#",  "##  #..#   #.#.....#.#", "#    #..#   #.#...#.# ", "     #..#   #.......# ",
    "      ##     ##...##  ", "               ###    ", "                      ", "                      ",
}};

QImage DrawCursor(const CursorArt& art) {
    PixelCanvas canvas(32, 32);
    for (int y = 0; y < int(art.size()); ++y)
        for (int x = 0; art[static_cast<size_t>(y)][x] != '\0'; ++x) {
            const char c = art[static_cast<size_t>(y)][x];
            if (c == '#') canvas.Plot(x, y, Qt::black);
            else if (c == '.') canvas.Plot(x, y, Qt::white);
        }
    return canvas.Image();
}

constexpr const char* kBlockCursor = "Cursor419";
constexpr const char* kMidiCursor = "Cursor410";

} // namespace

void RegisterLcdPictures() {
    static const bool registered = [] {
        for (const FlowRow& row : kFlows) RegisterPicture(QString::fromLatin1(row.name), row.draw);
        for (int a = 0; a < kAlgorithmCount; ++a)
            RegisterPicture(AlgorithmNamePicture(a), [a] { return DrawAlgorithmName(a); });
        for (const BlockPictureRow& row : BlockPictureRows()) {
            if (QString::fromLatin1(row.baseName) == QLatin1String(kMasterBaseName)) {
                RegisterPicture(BlockButtonPicture(row.baseName, kBlockOn),
                                [&row] { return DrawBlockButton(row, false, true); });
                RegisterPicture(BlockButtonPicture(row.baseName, kBlockSelOn),
                                [&row] { return DrawBlockButton(row, true, true); });
                continue;
            }
            for (const int state : {kBlockOn, kBlockOff, kBlockSelOn, kBlockSelOff}) {
                const bool selected = state >= kBlockSelOn;
                const bool on = state == kBlockOn || state == kBlockSelOn;
                RegisterPicture(BlockButtonPicture(row.baseName, state),
                                [&row, selected, on] { return DrawBlockButton(row, selected, on); });
            }
        }
        RegisterPicture(QString::fromLatin1(kBlockCursor), [] { return DrawCursor(kHandArt); });
        RegisterPicture(QString::fromLatin1(kMidiCursor), [] { return DrawCursor(kMidiArt); });
        return true;
    }();
    Q_UNUSED(registered);
}

QString AlgorithmNamePicture(int algorithm) {
    return QStringLiteral("AlgName%1").arg(200 + algorithm);
}

QString BlockButtonPicture(const char* baseName, int state) {
    const QString base = QString::fromLatin1(baseName);
    // The Master has no switch: one picture for its two states, one for both selected states.
    if (base == QLatin1String(kMasterBaseName))
        return state >= kBlockSelOn ? base + QStringLiteral("Sel") : base;
    static constexpr std::array<const char*, 4> kSuffixes = {"On", "Off", "SelOn", "SelOff"};
    return base + QString::fromLatin1(kSuffixes[static_cast<size_t>(std::clamp(state, 0, 3))]);
}

QStringList FlowPictureNames() {
    QStringList names;
    for (const FlowRow& row : kFlows) names << QString::fromLatin1(row.name);
    return names;
}

QCursor BlockButtonCursor() {
    RegisterLcdPictures();
    return QCursor(Picture(QString::fromLatin1(kBlockCursor)), 5, 0);
}

QCursor MidiSpotCursor() {
    RegisterLcdPictures();
    return QCursor(Picture(QString::fromLatin1(kMidiCursor)), 0, 0);
}
