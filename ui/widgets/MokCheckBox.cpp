#include "ui/widgets/MokCheckBox.h"

#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/MokAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

MokCheckBox::MokCheckBox(const QString& text, bool textOnLeft, bool multiLine, QWidget* parent)
    : QAbstractButton(parent), multiLine(multiLine), font(NamedFont("Arial", 7.5)), textOnLeft(textOnLeft) {
    // Before the text is set: setting it reports to assistive technology, which then remembers
    // whatever interface answered first.
    InstallMokAccessibility();
    setText(text);
    // Moving over the box takes the keyboard focus, so the mouse has to be followed unpressed too.
    setMouseTracking(true);
    Layout();
}

void MokCheckBox::SetCheck(int state) {
    const bool changed = (state == 1) != (checkedState == 1);
    checkedState = state;
    update();
    if (changed && QAccessible::isActive()) {
        QAccessible::State checked;
        checked.checked = true;
        QAccessibleStateChangeEvent event(this, checked);
        QAccessible::updateAccessibility(&event);
    }
}

void MokCheckBox::Press() {
    if (!isEnabled()) return;
    Toggle();
    stateBeforePress = -1;
    click();
}

void MokCheckBox::SetColours(const QColor& textBack, const QColor& unchecked, const QColor& checked,
                             const QColor& text, const QColor& spare) {
    if (textBack.isValid()) textBackColour = textBack;
    if (unchecked.isValid()) uncheckedColour = unchecked;
    if (checked.isValid()) checkedColour = checked;
    if (text.isValid()) textColour = text;
    spareColour = spare;
    update();
}

Qt::Alignment MokCheckBox::TextAlignment() const {
    return textOnLeft ? Qt::AlignRight : Qt::AlignLeft;
}

QRect MokCheckBox::BoxRect() const {
    Layout();
    return boxRect;
}

QRect MokCheckBox::TextRect() const {
    Layout();
    return textRect;
}

void MokCheckBox::Layout() const {
    if (clientRect == rect() && !boxRect.isNull()) return;
    clientRect = rect();
    boxRect = textRect = clientRect;
    boxRect.setTop(boxRect.top() + 1);
    if (textOnLeft) {
        boxRect.setLeft(clientRect.right() + 1 - 12);
        textRect.setRight(boxRect.left() - 4 - 1);
    } else {
        boxRect.setWidth(12);
        textRect.setLeft(boxRect.left() + 12 + 4);
    }
    boxRect.setHeight(12);
}

void MokCheckBox::Toggle() {
    stateBeforePress = checkedState;
    SetCheck(checkedState != 1 ? 1 : 0);
}

void MokCheckBox::CancelPress() {
    if (stateBeforePress < 0) return;
    SetCheck(stateBeforePress);
    stateBeforePress = -1;
}

void MokCheckBox::paintEvent(QPaintEvent*) {
    // Only the mark and the text's own lines are painted; the rest shows the window behind.
    Layout();
    QPainter painter(this);
    painter.fillRect(boxRect, frameColour);
    painter.fillRect(boxRect.adjusted(1, 1, -1, -1), checkedState == 1 ? checkedColour : uncheckedColour);

    painter.setFont(font);
    painter.setClipRect(textRect);
    const int flags = int(TextAlignment()) | Qt::AlignTop | Qt::TextShowMnemonic |
                      (multiLine ? Qt::TextWordWrap : Qt::TextSingleLine);
    painter.fillRect(painter.boundingRect(textRect, flags, text()), textBackColour);
    painter.setPen(textColour);
    painter.drawText(textRect, flags, text());
}

void MokCheckBox::resizeEvent(QResizeEvent* event) {
    QAbstractButton::resizeEvent(event);
    Layout();
}

void MokCheckBox::mousePressEvent(QMouseEvent* event) {
    const bool wasDown = isDown();
    QAbstractButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && !wasDown && isDown()) Toggle();
}

void MokCheckBox::keyPressEvent(QKeyEvent* event) {
    const bool wasDown = isDown();
    QAbstractButton::keyPressEvent(event);
    if (!wasDown && isDown()) Toggle();
}

void MokCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && stateBeforePress >= 0) {
        const bool clicks = isDown() && hitButton(event->position().toPoint());
        if (clicks) stateBeforePress = -1;
        else CancelPress();
    }
    QAbstractButton::mouseReleaseEvent(event);
}

void MokCheckBox::keyReleaseEvent(QKeyEvent* event) {
    const bool wasDown = isDown();
    QAbstractButton::keyReleaseEvent(event);
    // Released down by the key: that was the click.
    if (wasDown && !isDown()) stateBeforePress = -1;
}

void MokCheckBox::mouseMoveEvent(QMouseEvent* event) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    QAbstractButton::mouseMoveEvent(event);
}

void MokCheckBox::focusInEvent(QFocusEvent* event) {
    focused = true;
    QAbstractButton::focusInEvent(event);
}

void MokCheckBox::focusOutEvent(QFocusEvent* event) {
    focused = false;
    QAbstractButton::focusOutEvent(event);
    // Losing the focus ends a press without a click.
    if (!isDown()) CancelPress();
}

bool MokCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}
