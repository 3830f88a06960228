#include "ui/widgets/MokAccessible.h"

#include <QAccessibleWidget>

#include "ui/widgets/MokCheckBox.h"
#include "ui/widgets/MokSliderCtrl.h"

namespace {

// The text without its mnemonic marks: "&&" is a literal ampersand.
QString WithoutMnemonics(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 >= text.size()) break;
            ++i;
        }
        plain += text[i];
    }
    return plain;
}

class CheckBoxAccessible : public QAccessibleWidget {
  public:
    explicit CheckBoxAccessible(MokCheckBox* box) : QAccessibleWidget(box, QAccessible::CheckBox) {}

    QAccessible::Role role() const override {
        return Box()->IsRadio() ? QAccessible::RadioButton : QAccessible::CheckBox;
    }

    QString text(QAccessible::Text t) const override {
        // Named by its text; a set accessible name or, for a box without text, its label's buddy
        // link comes first, as for Qt's own widgets.
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty() && !Box()->text().isEmpty())
            return WithoutMnemonics(Box()->text());
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Box()->GetCheck() == 1;
        return s;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) names << pressAction() << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction() || action == toggleAction()) Box()->Press();
        else QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction() || action == toggleAction()) return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

  private:
    MokCheckBox* Box() const { return static_cast<MokCheckBox*>(widget()); }
};

class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit SliderAccessible(MokSliderCtrl* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QString::number(Slider()->GetPos());
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return Slider()->GetPos(); }
    // Stored and sent as a notch of the wheel would.
    void setCurrentValue(const QVariant& value) override { Slider()->MoveTo(value.toInt()); }
    QVariant maximumValue() const override { return Slider()->Max(); }
    QVariant minimumValue() const override { return Slider()->Min(); }
    QVariant minimumStepSize() const override { return 1; }

  private:
    MokSliderCtrl* Slider() const { return static_cast<MokSliderCtrl*>(widget()); }
};

// Asked once per class name on the object's class chain, Qt's factory first; a subclass with its
// own meta-object reaches these names further up the chain.
QAccessibleInterface* MokFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("MokCheckBox"))
        if (auto* box = qobject_cast<MokCheckBox*>(object)) return new CheckBoxAccessible(box);
    if (className == QLatin1String("MokSliderCtrl"))
        if (auto* slider = qobject_cast<MokSliderCtrl*>(object)) return new SliderAccessible(slider);
    return nullptr;
}

} // namespace

void InstallMokAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&MokFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
