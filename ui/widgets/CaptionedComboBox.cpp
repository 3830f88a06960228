#include "ui/widgets/CaptionedComboBox.h"

#include <QAbstractItemView>

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className != QLatin1String("CaptionedComboBox")) return nullptr;
    return new CaptionedComboBoxAccessible(static_cast<CaptionedComboBox*>(object));
}

} // namespace

CaptionedComboBox::CaptionedComboBox(QWidget* parent) : QComboBox(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

CaptionedComboBoxAccessible::CaptionedComboBoxAccessible(CaptionedComboBox* box)
    : QAccessibleWidget(box, QAccessible::ComboBox) {}

QComboBox* CaptionedComboBoxAccessible::Box() const {
    return static_cast<QComboBox*>(widget());
}

QString CaptionedComboBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name)
        return Box()->accessibleName().isEmpty() ? Box()->currentText() : Box()->accessibleName();
    if (t == QAccessible::Value) return Box()->currentText();
    return QAccessibleWidget::text(t);
}

int CaptionedComboBoxAccessible::childCount() const {
    return Box()->view() ? 1 : 0;
}

QAccessibleInterface* CaptionedComboBoxAccessible::child(int index) const {
    return index == 0 && Box()->view() ? QAccessible::queryAccessibleInterface(Box()->view()) : nullptr;
}

int CaptionedComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && Box()->view() && child->object() == Box()->view() ? 0 : -1;
}

QStringList CaptionedComboBoxAccessible::actionNames() const {
    return {QAccessibleActionInterface::showMenuAction(), QAccessibleActionInterface::pressAction()};
}

void CaptionedComboBoxAccessible::doAction(const QString& actionName) {
    if (actionName == QAccessibleActionInterface::showMenuAction() ||
        actionName == QAccessibleActionInterface::pressAction()) {
        if (Box()->view()->isVisible()) Box()->hidePopup();
        else Box()->showPopup();
    }
}

QStringList CaptionedComboBoxAccessible::keyBindingsForAction(const QString&) const {
    return {};
}
