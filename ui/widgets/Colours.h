#pragma once
// The unit's colours, as the whole program uses them.

#include <QColor>

namespace Colours {
inline const QColor Red(224, 8, 42);          // window backgrounds
inline const QColor Lime(194, 255, 53);       // "LCD" areas and list backgrounds
inline const QColor DarkGreen(32, 51, 20);    // text and frames on lime
inline const QColor SelectionBlue(49, 106, 197);
inline const QColor Silver(192, 192, 192);
inline const QColor MarkFrame(32, 32, 32);
} // namespace Colours
