#include "ui/widgets/MokButton.h"

#include "ui/widgets/Colours.h"

#include <QMouseEvent>
#include <QPainter>

MokButton::MokButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    // Return in a dialog belongs to the dialog; it must not press the first panel button.
    setAutoDefault(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MokButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect item = rect();
    painter.fillRect(item, Colours::DarkGreen);
    painter.setPen(Colours::Lime);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(item.adjusted(0, 0, -1, -1));

    QRect textRect = item;
    if (isDown()) textRect.setTop(textRect.top() + 2);
    painter.setPen(Qt::white);
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
}

void MokButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QPushButton::mouseDoubleClickEvent(event);
        return;
    }
    // The second press of a double-click arrives as an ordinary press first. It must not become a
    // click of its own on release: the double-click stands in for it.
    if (isDown()) {
        setDown(false);
        update();
    }
    event->accept();
    emit doubleClicked();
}
