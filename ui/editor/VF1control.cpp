#include "ui/editor/VF1control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <stdexcept>

#include "model/VF1Param.h"
#include "model/VF1ValueType.h"
#include "ui/editor/EditorAccessible.h"
#include "ui/editor/VF1ValueBox.h"
#include "ui/editor/VF1controlCheck.h"
#include "ui/editor/VF1controlRangeSlider.h"
#include "ui/editor/VF1controlSelSlider.h"
#include "ui/editor/VF1controlSlider.h"
#include "ui/editor/VF1controlTarget.h"
#include "ui/editor/VF1controlToggle.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/MokCheckBox.h"
#include "ui/widgets/MokSliderCtrl.h"

namespace {

// The slider bar darkens from a light lime at the minimum to the display's dark green.
const QColor kBarMin(182, 239, 50);

// Created with the first control and shared by all of them.
const QFont& NameFont() {
    static const QFont font = [] {
        QFont f = NamedFont("Arial", 8.5);
        f.setBold(true);
        return f;
    }();
    return font;
}
const QFont& ValueFont() {
    static const QFont font = NamedFont("Arial", 8.5);
    return font;
}

const QPalette& ControlPalette() {
    static const QPalette palette = [] {
        QPalette p;
        p.setColor(QPalette::WindowText, Colours::DarkGreen);
        p.setColor(QPalette::Base, Colours::DarkGreen);
        p.setColor(QPalette::Text, Colours::Lime);
        return p;
    }();
    return palette;
}

QString DisplayText(const std::string& text) {
    return QString::fromLatin1(text.c_str());
}

} // namespace

VF1control::VF1control(VF1Param* param_, int widthHint_, QWidget* parent)
    : QWidget(parent), param(param_), widthHint(widthHint_) {
    InstallEditorAccessibility();
    // No background of its own: the panel's lime shows through.
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    // Names in dark green, value boxes lime on dark green: set once here, the children inherit them.
    setPalette(ControlPalette());
    setFont(ValueFont());
    setWindowTitle(DisplayText(param->GetName()));
}

VF1control::~VF1control() = default;

QString VF1control::AccessibleName(const VF1Param& p) {
    QString name = DisplayText(p.GetName());
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return name;
}

int VF1control::GetWidth() const {
    return widthHint != -1 ? widthHint : DefaultWidth();
}

QRect VF1control::Span(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

QRect VF1control::NameRect() const {
    return Span(1, 0, GetWidth() - 2, 30);
}

void VF1control::CreateChildren() {
    AddCaption(DisplayText(param->GetName()), NameRect());
}

void VF1control::AddCaption(const QString& text, const QRect& rect) {
    captions.push_back({text, rect});
}

MokSliderCtrl* VF1control::MakeSlider(bool vertical, const QRect& rect) {
    auto* slider = new MokSliderCtrl(vertical, this);
    slider->SetColours(kBarMin, Colours::DarkGreen, Colours::Lime, Colours::DarkGreen);
    slider->setGeometry(rect);
    slider->installEventFilter(this);
    connect(slider, &MokSliderCtrl::scrolled, this, [this, slider](int code, int pos) {
        if (slider->IsVertical()) OnVerticalSlider(code, pos, slider);
        else OnHorizontalSlider(code, pos);
    });
    slider->show();
    return slider;
}

VF1ValueBox* VF1control::MakeValueBox(const QRect& rect) {
    auto* box = new VF1ValueBox(this);
    box->setObjectName(QString::number(kValueBoxId));
    box->setGeometry(rect);
    box->show();
    return box;
}

MokCheckBox* VF1control::MakeButton(const QString& text, const QRect& rect, int id) {
    auto* button = new MokCheckBox(text, false, false, this);
    button->setObjectName(QString::number(id));
    button->SetColours(Colours::Lime, Colours::Lime, Colours::DarkGreen, Colours::DarkGreen);
    button->setGeometry(rect);
    connect(button, &QAbstractButton::clicked, this, [this, id] { OnButton(id); });
    button->show();
    return button;
}

void VF1control::SetBoxText(VF1ValueBox* box, const std::string& text) {
    box->setText(DisplayText(text));
}

void VF1control::FollowSlider(int code, int pos, MokSliderCtrl* slider, VF1ValueBox* box, bool everyStep) {
    if (code == kThumbTrack && !everyStep) {
        SetBoxText(box, param->GetTextForValue(pos));
        return;
    }
    if (CtrlHeld()) {
        param->ResetToDefault();
        Refresh();
        return;
    }
    param->SetValue(slider->GetPos());
    SetBoxText(box, param->GetTextForValue(slider->GetPos()));
}

void VF1control::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Colours::DarkGreen);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    // Names wider than the control go on as many lines as they need, as the unit's names do.
    painter.setFont(NameFont());
    for (const Caption& caption : captions) {
        painter.setClipRect(caption.rect);
        painter.drawText(caption.rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, caption.text);
    }
}

void VF1control::FocusSliderOnHover() {
    // Hovering the control hands its slider the keyboard, so the wheel acts on it.
    if (MokSliderCtrl* slider = FocusSlider(); slider && !slider->hasFocus())
        slider->setFocus(Qt::MouseFocusReason);
}

void VF1control::mouseMoveEvent(QMouseEvent* event) {
    FocusSliderOnHover();
    QWidget::mouseMoveEvent(event);
}

bool VF1control::eventFilter(QObject* watched, QEvent* event) {
    // The slider posts its notifications; what the Ctrl key did is read from the gesture itself.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        ctrlHeld = (static_cast<QInputEvent*>(event)->modifiers() & Qt::ControlModifier) != 0;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

std::unique_ptr<VF1control> CreateParamControl(VF1Param* param, QWidget* parent) {
    if (param->IsDummy()) throw std::logic_error("Shouldn't be creating a control for a Dummy parameter!");
    const int width = param->GetControlWidth();
    switch (param->GetControlKind()) {
    case ParamControlKind::Check:
        return std::make_unique<VF1controlCheck>(param, width, parent);
    case ParamControlKind::Toggle:
        return std::make_unique<VF1controlToggle>(param, width, parent);
    case ParamControlKind::SelSlider:
        return std::make_unique<VF1controlSelSlider>(param, width, parent);
    case ParamControlKind::Target:
        return std::make_unique<VF1controlTarget>(param, width, parent);
    case ParamControlKind::RangeSlider:
        return std::make_unique<VF1controlRangeSlider>(param, width, parent);
    case ParamControlKind::Slider:
    case ParamControlKind::None: // only a Dummy has no value type
        break;
    }
    return std::make_unique<VF1controlSlider>(param, width, parent);
}
