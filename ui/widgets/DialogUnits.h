#pragma once
// Dialog templates are laid out in dialog units of the 8-point dialog font. At 96 dpi its base
// units are 6 x 13 pixels: one horizontal unit is 1.5 px, one vertical unit 1.625 px. Qt's high-DPI
// scaling takes care of larger screens.

#include <QFont>
#include <QRect>
#include <QSize>

int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
QRect DialogUnitsToPixels(int x, int y, int w, int h);
QSize DialogSizeToPixels(int w, int h);

// The template font ("MS Shell Dlg" 8 pt) and the named fonts of the windows, in pixels at 96 dpi.
QFont DialogFont();
QFont NamedFont(const char* family, double points);

// A template font's base units in pixels at 96 dpi: a quarter of the average character width is
// one horizontal dialog unit, an eighth of the height one vertical unit.
struct DialogBaseUnits {
    int x;
    int y;

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int w, int h) const;
    QSize SizeToPixels(int w, int h) const;
};
// "MS Shell Dlg" 8 pt, the units of the functions above.
inline constexpr DialogBaseUnits kDialogBaseUnits{6, 13};

// A template's font with its base units.
struct DialogFace {
    QFont font;
    DialogBaseUnits units;
};
