#pragma once
// The few colourings the dialogs share, as palettes. A palette's colours are set for the active
// and inactive groups; its disabled group gets what a disabled control shows, so that a control
// that can't be used looks it.

#include <QColor>
#include <QPalette>

class QWidget;

// What text of colour text on background looks like disabled: halfway to the background.
QColor DisabledText(const QColor& text, const QColor& background);

// A background role: the same in every group.
void SetBackgroundColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour);
// A text role drawn on background: its colour when enabled, DisabledText when disabled.
void SetTextColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour,
                   const QColor& background);

// Window and box backgrounds in background, buttons in buttons; text in text when it is valid,
// else the style's own. The widget fills its background.
void ApplyDialogColours(QWidget* widget, const QColor& background, const QColor& buttons,
                        const QColor& text = QColor());
// The unit's display look of edit boxes and lists: dark green text on lime, the selection in
// blue.
void ApplyLcdColours(QWidget* widget);
