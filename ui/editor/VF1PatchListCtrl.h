#pragma once
// The main window's list of open patches: a report list with the columns "Algorithm", "Name" and
// "From", one row per patch, in the unit's colours. Every row is drawn here. A row can be
// selected without the focus state (as the window selects rows it inserts); such a row, like the
// selected row once the list has lost the focus, shows its texts in silver instead of white.

#include <QColor>
#include <QTreeWidget>

#include <array>

class VF1PatchListCtrl : public QTreeWidget {
    Q_OBJECT
  public:
    enum Column { kAlgorithmColumn = 0, kNameColumn = 1, kFromColumn = 2 };

    explicit VF1PatchListCtrl(QWidget* parent = nullptr);

    int RowCount() const { return topLevelItemCount(); }
    void InsertRow(int row, const QString& algorithm, const QString& name = {}, const QString& from = {});
    // Removes the row and its selection without selecting another.
    void DeleteRow(int row);
    void SetText(int row, int column, const QString& text);
    QString Text(int row, int column) const;

    int SelectedRow() const; // -1 when none
    // Selects the row alone; focus gives it the focus state as a click would.
    void SelectRow(int row, bool focus = false);
    bool HasFocusState(int row) const;

    // How a row is drawn: its fill and the colours of its three texts.
    struct RowLook {
        QColor fill;
        std::array<QColor, 3> text;
    };
    RowLook Look(int row) const;

  signals:
    // The row became selected (it was not selected before).
    void rowSelected(int row);
    void rowDoubleClicked(int row);
    // A click, right-click or double-click on no row.
    void emptyClicked();

  protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};
