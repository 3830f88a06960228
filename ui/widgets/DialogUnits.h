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
