#include "ui/widgets/DialogUnits.h"

#include <cmath>

namespace {
// The platform's MulDiv: rounds half away from zero.
int MulDiv(int value, int numerator, int denominator) {
    const double exact = static_cast<double>(value) * numerator / denominator;
    return static_cast<int>(exact < 0 ? std::ceil(exact - 0.5) : std::floor(exact + 0.5));
}
} // namespace

int DialogUnitsToPixelsX(int units) { return MulDiv(units, 6, 4); }
int DialogUnitsToPixelsY(int units) { return MulDiv(units, 13, 8); }

QRect DialogUnitsToPixels(int x, int y, int w, int h) {
    const int left = DialogUnitsToPixelsX(x);
    const int top = DialogUnitsToPixelsY(y);
    // Right and bottom edges are converted as edges, as the platform maps a rectangle.
    return QRect(left, top, DialogUnitsToPixelsX(x + w) - left, DialogUnitsToPixelsY(y + h) - top);
}

QSize DialogSizeToPixels(int w, int h) { return QSize(DialogUnitsToPixelsX(w), DialogUnitsToPixelsY(h)); }

QFont NamedFont(const char* family, double points) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(QFont::SansSerif);
    // Points at 96 dpi, fixed in pixels so the layout matches the templates on every screen.
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    return font;
}

QFont DialogFont() { return NamedFont("MS Shell Dlg", 8); }
