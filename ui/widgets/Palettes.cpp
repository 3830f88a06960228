#include "ui/widgets/Palettes.h"

#include <QWidget>

#include "ui/widgets/Colours.h"

QColor DisabledText(const QColor& text, const QColor& background) {
    return QColor((text.red() + background.red()) / 2, (text.green() + background.green()) / 2,
                  (text.blue() + background.blue()) / 2);
}

void SetBackgroundColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour) {
    palette.setColor(role, colour);
}

void SetTextColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour,
                   const QColor& background) {
    for (const auto group : {QPalette::Active, QPalette::Inactive}) palette.setColor(group, role, colour);
    palette.setColor(QPalette::Disabled, role, DisabledText(colour, background));
}

void ApplyDialogColours(QWidget* widget, const QColor& background, const QColor& buttons,
                        const QColor& text) {
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::Window, QPalette::Base}) SetBackgroundColour(palette, role, background);
    SetBackgroundColour(palette, QPalette::Button, buttons);
    if (text.isValid()) {
        for (const auto role : {QPalette::WindowText, QPalette::Text})
            SetTextColour(palette, role, text, background);
        SetTextColour(palette, QPalette::ButtonText, text, buttons);
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void ApplyLcdColours(QWidget* widget) {
    QPalette colours = widget->palette();
    for (const auto role : {QPalette::Base, QPalette::Button})
        SetBackgroundColour(colours, role, Colours::Lime);
    // A disabled box keeps its lime and greys its text.
    for (const auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        SetTextColour(colours, role, Colours::DarkGreen, Colours::Lime);
    colours.setColor(QPalette::Highlight, Colours::SelectionBlue);
    colours.setColor(QPalette::HighlightedText, Qt::white);
    widget->setPalette(colours);
}
