#include "ui/widgets/Palettes.h"

#include <QPalette>
#include <QWidget>

#include "ui/widgets/Colours.h"

void ApplyDialogColours(QWidget* widget, const QColor& background, const QColor& buttons,
                        const QColor& text) {
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::Window, QPalette::Base}) palette.setColor(role, background);
    palette.setColor(QPalette::Button, buttons);
    if (text.isValid())
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void ApplyLcdColours(QWidget* widget) {
    QPalette colours = widget->palette();
    for (const auto role : {QPalette::Base, QPalette::Button}) colours.setColor(role, Colours::Lime);
    for (const auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        colours.setColor(role, Colours::DarkGreen);
    colours.setColor(QPalette::Highlight, Colours::SelectionBlue);
    colours.setColor(QPalette::HighlightedText, Qt::white);
    widget->setPalette(colours);
}
