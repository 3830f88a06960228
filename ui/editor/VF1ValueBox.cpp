#include "ui/editor/VF1ValueBox.h"

#include <QAccessible>
#include <QPainter>

#include "ui/editor/EditorAccessible.h"
#include "ui/widgets/Colours.h"

VF1ValueBox::VF1ValueBox(QWidget* parent) : QWidget(parent) {
    InstallEditorAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The pointer's movements go on to the control, which hands its slider the wheel.
    setMouseTracking(true);
}

void VF1ValueBox::setText(const QString& text) {
    if (text == value) return;
    const QString old = value;
    value = text;
    update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, old, value);
        QAccessible::updateAccessibility(&event);
    }
}

void VF1ValueBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Colours::DarkGreen);
    painter.setPen(Colours::Lime);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, value);
}
