#include "ui/editor/EditorAccessible.h"

#include <QAccessibleWidget>
#include <QFontMetrics>

#include "model/VF1Effect.h"
#include "model/VF1Param.h"
#include "ui/editor/VF1FXButton.h"
#include "ui/editor/VF1ValueBox.h"
#include "ui/editor/VF1control.h"

namespace {

class BlockButtonAccessible : public QAccessibleWidget {
  public:
    explicit BlockButtonAccessible(VF1FXButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    // The block's name, as the patch reports it.
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QString::fromStdString(Button()->GetBlock()->GetName());
        return QAccessibleWidget::text(t);
    }

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

// A parameter control: a group named after its parameter.
class ControlAccessible : public QAccessibleWidget {
  public:
    explicit ControlAccessible(VF1control* control) : QAccessibleWidget(control, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return VF1control::AccessibleName(*static_cast<VF1control*>(widget())->GetParam());
        return QAccessibleWidget::text(t);
    }
};

// A value box: read-only text, exactly what it shows.
class ValueBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit ValueBoxAccessible(VF1ValueBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        s.focusable = false;
        return s;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Box()->text();
        return QAccessibleWidget::text(t);
    }

    // Nothing can be selected and there is no caret.
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        return Box()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(Box()->text().size()); }
    QRect characterRect(int offset) const override {
        // The text is centred: a character's box from the width of what comes before it.
        const QFontMetrics metrics(Box()->font());
        const QString& text = Box()->text();
        const int left = (Box()->width() - metrics.horizontalAdvance(text)) / 2;
        const int x = left + metrics.horizontalAdvance(text.left(offset));
        const int w = offset < text.size() ? metrics.horizontalAdvance(text.at(offset)) : 0;
        const QRect inBox(x, (Box()->height() - metrics.height()) / 2, w, metrics.height());
        return QRect(Box()->mapToGlobal(inBox.topLeft()), inBox.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        for (int i = 0; i < characterCount(); ++i)
            if (characterRect(i).contains(point)) return i;
        return -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        return {};
    }

  private:
    VF1ValueBox* Box() const { return static_cast<VF1ValueBox*>(widget()); }
};

// Asked once per class name on the object's class chain, Qt's factory first: the six control kinds
// reach "VF1control" further up their chains.
QAccessibleInterface* EditorFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("VF1FXButton"))
        if (auto* button = qobject_cast<VF1FXButton*>(object)) return new BlockButtonAccessible(button);
    if (className == QLatin1String("VF1control"))
        if (auto* control = qobject_cast<VF1control*>(object)) return new ControlAccessible(control);
    if (className == QLatin1String("VF1ValueBox"))
        if (auto* box = qobject_cast<VF1ValueBox*>(object)) return new ValueBoxAccessible(box);
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
