#include "ui/widgets/MokSliderCtrl.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

#include "ui/widgets/MokAccessible.h"

// Geometry is worked out with exclusive right and bottom edges in single precision, every
// real-to-pixel conversion cutting toward zero, so bars and values land on the same pixels and
// numbers at every size.

namespace {
int Cut(float value) {
    return static_cast<int>(value);
}

QColor Lightened(const QColor& colour) {
    const auto channel = [](int c) { return c >= 240 ? 255 : c + 15; };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

QColor Mix(const QColor& from, const QColor& to, float f) {
    if (from.rgb() == to.rgb()) return to;
    const auto channel = [f](int a, int b) { return a + Cut(float(b - a) * f); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}
} // namespace

MokSliderCtrl::MokSliderCtrl(bool vertical, QWidget* parent) : QWidget(parent), vertical(vertical) {
    InstallMokAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A tab stop that takes the keys; the mouse gives the focus too, even just passing over.
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void MokSliderCtrl::StorePos(int value) {
    if (value == pos) return;
    pos = value;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, pos);
        QAccessible::updateAccessibility(&event);
    }
}

void MokSliderCtrl::SetPos(int value) {
    StorePos(std::clamp(value, min, max));
    update();
}

void MokSliderCtrl::MoveTo(int value) {
    SetPos(value);
    Notify(kThumbPosition);
}

void MokSliderCtrl::SetRange(int a, int b, bool redraw) {
    Q_UNUSED(redraw); // always redrawn: the bar must never show a value the slider no longer has
    min = std::min(a, b);
    max = std::max(a, b);
    bipolar = a < 0 && b > 0;
    StorePos(std::clamp(pos, min, max));
    update();
}

void MokSliderCtrl::SetColours(const QColor& minC, const QColor& maxC, const QColor& back,
                               const QColor& frame, const QColor& focusBack) {
    if (minC.isValid()) minColour = minC;
    if (maxC.isValid()) maxColour = maxC;
    if (back.isValid()) backColour = back;
    if (frame.isValid()) frameColour = frame;
    focusBackColour = focusBack.isValid() ? focusBack : Lightened(backColour);
    update();
}

QRect MokSliderCtrl::BarRect() const {
    float f = 0;
    return ComputeBar(f);
}

QColor MokSliderCtrl::BarColour() const {
    float f = 0;
    ComputeBar(f);
    return Mix(minColour, maxColour, f);
}

QRect MokSliderCtrl::ComputeBar(float& f) const {
    const int w = width();
    const int h = height();
    // R: the client area inside the frame.
    const int left = 1, top = 1, right = w - 1, bottom = h - 1;
    int barLeft = left, barTop = top, barRight = right, barBottom = bottom;
    const float span = float(max - min); // 0 for a one-value range: no bar then, not a division by 0
    const float below = span > 0 ? float(-min) / span : 0.0f;
    f = 0.0f;

    if (!vertical && !bipolar) {
        if (span > 0) f = float(pos - min) / span;
        barRight = Cut(float(right - left) * f + float(left));
    } else if (!vertical) {
        // The zero point is an offset from the client's left edge, not from R's.
        const int zero = Cut(float(right - left) * below);
        if (pos < 0) {
            f = float(pos) / float(min);
            barLeft = Cut(float(zero) - f * float(zero - left));
            barRight = zero;
        } else {
            f = float(pos) / float(max);
            barRight = Cut(float(right - zero) * f + float(zero));
            barLeft = zero;
        }
        if (barRight == barLeft) barRight = barLeft + 1;
    } else if (!bipolar) {
        if (span > 0) f = float(pos - min) / span;
        barTop = Cut(float(bottom) - float(bottom - top) * f);
    } else {
        const int zero = Cut(float(bottom - top) * (1.0f - below));
        if (pos < 0) {
            f = float(pos) / float(min);
            barBottom = Cut(float(bottom - zero) * f + float(zero));
            barTop = zero;
        } else {
            f = float(pos) / float(max);
            barTop = Cut(float(zero) - float(zero - top) * f);
            barBottom = zero;
        }
        if (barTop == barBottom) barBottom = barTop + 1;
    }

    barRight = std::min(barRight, w - 1);
    barLeft = std::max(barLeft, 1);
    barTop = std::max(barTop, 1);
    barBottom = std::min(barBottom, h - 1);
    return QRect(barLeft, barTop, std::max(0, barRight - barLeft), std::max(0, barBottom - barTop));
}

void MokSliderCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), frameColour);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), focused ? focusBackColour : backColour);
    float f = 0;
    const QRect bar = ComputeBar(f);
    painter.fillRect(bar, Mix(minColour, maxColour, f));
}

bool MokSliderCtrl::SetFromPoint(const QPoint& point, int code) {
    const int extent = (vertical ? height() : width()) - 1;
    const int at = vertical ? point.y() : point.x();
    const float f = extent > 0 ? std::clamp(float(at) / float(extent), 0.0f, 1.0f) : 0.0f;
    const float span = float(max - min);
    float value = float(min);
    if (!bipolar) {
        value = (vertical ? 1.0f - f : f) * span + float(min);
    } else if (!vertical) {
        const float d = float(-min) / span;
        const float c = f - d;
        value = c >= 0 ? c / (1.0f - d) * float(max) : -c / d * float(min);
    } else {
        // Top is the maximum: the part above the zero point holds the positive values.
        const float d = 1.0f - float(-min) / span;
        const float c = f - d;
        value = c >= 0 ? c / (1.0f - d) * float(min) : -c / d * float(max);
    }
    const int newPos = std::clamp(Cut(value), min, max);
    if (newPos == pos) return false;
    StorePos(newPos);
    Notify(code);
    return true;
}

void MokSliderCtrl::Notify(int code) {
    // Posted, not sent: the owner hears of the change after the event that caused it has ended.
    const int reported = pos;
    QMetaObject::invokeMethod(
        this, [this, code, reported] { emit scrolled(code, reported); }, Qt::QueuedConnection);
}

void MokSliderCtrl::mousePressEvent(QMouseEvent* event) {
    event->accept();
    // The second press of a double-click has been handled as a press already.
    if (event->type() == QEvent::MouseButtonDblClick) return;
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    if (event->button() == Qt::LeftButton) {
        // The press grabs the mouse until the release, so a drag may leave the slider.
        dragging = true;
        if (ctrl && bipolar) {
            MoveTo(0);
        } else if (SetFromPoint(event->position().toPoint(), kThumbPosition)) {
            update();
        }
    } else if (event->button() == Qt::RightButton && bipolar) {
        MoveTo(0);
    }
}

void MokSliderCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    if (dragging && (event->buttons() & Qt::LeftButton) && !ctrl &&
        SetFromPoint(event->position().toPoint(), kThumbTrack))
        update();
}

void MokSliderCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging = false;
    Notify(kEndScroll);
}

void MokSliderCtrl::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    // Turned toward the user raises the value; at either end it still reports.
    MoveTo(delta < 0 ? pos + 1 : pos - 1);
}

void MokSliderCtrl::keyPressEvent(QKeyEvent* event) {
    // Up and Right raise the value, as the bar grows upward and rightward.
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        MoveTo(pos + 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        MoveTo(pos - 1);
        break;
    case Qt::Key_PageUp:
        MoveTo(pos + 10);
        break;
    case Qt::Key_PageDown:
        MoveTo(pos - 10);
        break;
    case Qt::Key_Home:
        MoveTo(min);
        break;
    case Qt::Key_End:
        MoveTo(max);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MokSliderCtrl::focusInEvent(QFocusEvent* event) {
    focused = true;
    update();
    QWidget::focusInEvent(event);
}

void MokSliderCtrl::focusOutEvent(QFocusEvent* event) {
    focused = false;
    update();
    QWidget::focusOutEvent(event);
}

void MokSliderCtrl::contextMenuEvent(QContextMenuEvent* event) {
    // The right button belongs to the slider (it resets a bipolar one); no window menu over it.
    event->accept();
}
