#pragma once
// The windows' drop-down lists. On this platform Qt names a list to assistive technology by its
// current item and leaves the caption to a label relation; a list given a name of its own (its
// caption) reports that name instead. Either way the current item is its value, its open list its
// one child, and opening it its action, as with Qt's own lists.

#include <QAccessibleWidget>
#include <QComboBox>

class CaptionedComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit CaptionedComboBox(QWidget* parent = nullptr);
};

class CaptionedComboBoxAccessible : public QAccessibleWidget {
  public:
    explicit CaptionedComboBoxAccessible(CaptionedComboBox* box);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

  private:
    QComboBox* Box() const;
};
