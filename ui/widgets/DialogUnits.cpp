#include "ui/widgets/DialogUnits.h"

#include <cmath>

namespace {
// The platform's MulDiv: rounds half away from zero.
int MulDiv(int value, int numerator, int denominator) {
    const double exact = static_cast<double>(value) * numerator / denominator;
    return static_cast<int>(exact < 0 ? std::ceil(exact - 0.5) : std::floor(exact + 0.5));
}
} // namespace

int DialogUnitsToPixelsX(int units) {
    return kDialogBaseUnits.ToPixelsX(units);
}
int DialogUnitsToPixelsY(int units) {
    return kDialogBaseUnits.ToPixelsY(units);
}
QRect DialogUnitsToPixels(int x, int y, int w, int h) {
    return kDialogBaseUnits.ToPixels(x, y, w, h);
}
QSize DialogSizeToPixels(int w, int h) {
    return kDialogBaseUnits.SizeToPixels(w, h);
}

int DialogBaseUnits::ToPixelsX(int units) const {
    return MulDiv(units, x, 4);
}
int DialogBaseUnits::ToPixelsY(int units) const {
    return MulDiv(units, y, 8);
}

QRect DialogBaseUnits::ToPixels(int left, int top, int w, int h) const {
    const int l = ToPixelsX(left);
    const int t = ToPixelsY(top);
    // Right and bottom edges are converted as edges, as the platform maps a rectangle.
    return QRect(l, t, ToPixelsX(left + w) - l, ToPixelsY(top + h) - t);
}

QSize DialogBaseUnits::SizeToPixels(int w, int h) const {
    return QSize(ToPixelsX(w), ToPixelsY(h));
}

QFont NamedFont(const char* family, double points) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(QFont::SansSerif);
    // Points at 96 dpi, fixed in pixels so the layout matches the templates on every screen.
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    return font;
}

QFont DialogFont() {
    return NamedFont("MS Shell Dlg", 8);
}
