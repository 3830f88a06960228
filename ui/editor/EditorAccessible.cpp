#include "ui/editor/EditorAccessible.h"

#include <QAccessibleWidget>

#include "ui/editor/VF1FXButton.h"
#include "ui/editor/VF1control.h"

namespace {

class BlockButtonAccessible : public QAccessibleWidget {
  public:
    explicit BlockButtonAccessible(VF1FXButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        // The Master block has no switch.
        s.checkable = !Button()->IsMaster();
        s.checked = s.checkable && (Button()->GetState() == 0 || Button()->GetState() == 2);
        s.selectable = true;
        s.selected = Button()->IsSelected();
        return s;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) names << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction()) Button()->click();
        else QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction()) return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

  private:
    VF1FXButton* Button() const { return static_cast<VF1FXButton*>(widget()); }
};

// Asked once per class name on the object's class chain, Qt's factory first: the six control kinds
// reach "VF1control" further up their chains.
QAccessibleInterface* EditorFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("VF1FXButton"))
        if (auto* button = qobject_cast<VF1FXButton*>(object)) return new BlockButtonAccessible(button);
    if (className == QLatin1String("VF1control"))
        if (auto* control = qobject_cast<VF1control*>(object))
            return new QAccessibleWidget(control, QAccessible::Grouping);
    return nullptr;
}

} // namespace

void InstallEditorAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&EditorFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
