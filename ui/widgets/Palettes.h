#pragma once
// The few colourings the dialogs share, as palettes.

#include <QColor>

class QWidget;

// Window and box backgrounds in background, buttons in buttons; text in text when it is valid,
// else the style's own. The widget fills its background.
void ApplyDialogColours(QWidget* widget, const QColor& background, const QColor& buttons,
                        const QColor& text = QColor());
// The unit's display look of edit boxes and lists: dark green text on lime, the selection in
// blue.
void ApplyLcdColours(QWidget* widget);
