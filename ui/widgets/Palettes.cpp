#include "ui/widgets/Palettes.h"

#include <QPalette>
#include <QWidget>

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
