#include "ui/editor/VF1PatchListCtrl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

#include "ui/widgets/Colours.h"

namespace {

struct ColumnSpec {
    const char* title;
    int width;
};
constexpr ColumnSpec kColumns[] = {
    {"Algorithm", 70},
    {"Name", 100},
    {"From", 40},
};

// Texts of a row that is not selected, by column.
const std::array<QColor, 3> kColumnColours = {QColor(50, 74, 255), QColor(Qt::black), QColor(192, 0, 0)};

} // namespace

VF1PatchListCtrl::VF1PatchListCtrl(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(3);
    QStringList titles;
    for (const ColumnSpec& column : kColumns) titles << QString::fromLatin1(column.title);
    setHeaderLabels(titles);
    for (int c = 0; c < 3; ++c) setColumnWidth(c, kColumns[c].width);
    headerItem()->setTextAlignment(kAlgorithmColumn, Qt::AlignLeft | Qt::AlignVCenter);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    // The header keeps the desktop's own colours, also beside its last column.
    QPalette desktop = QApplication::palette(header());
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::WindowText, QPalette::ButtonText})
        desktop.setColor(role, desktop.color(role)); // set, so the list's lime is not inherited
    header()->setPalette(desktop);
    setSortingEnabled(false);

    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, Colours::Lime);
    colours.setColor(QPalette::Text, Colours::DarkGreen);
    setPalette(colours);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection&) {
                for (const QModelIndex& index : selected.indexes())
                    if (index.column() == 0) emit rowSelected(index.row());
            });
}

void VF1PatchListCtrl::InsertRow(int row, const QString& algorithm, const QString& name,
                                 const QString& from) {
    auto* item = new QTreeWidgetItem({algorithm, name, from});
    insertTopLevelItem(row, item);
}

void VF1PatchListCtrl::DeleteRow(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr) return;
    // Without a current row on it, the view selects no other row for the one it loses.
    if (currentIndex().row() == row)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    if (SelectedRow() == row) selectionModel()->clearSelection();
    delete takeTopLevelItem(row);
}

void VF1PatchListCtrl::SetText(int row, int column, const QString& text) {
    if (QTreeWidgetItem* item = topLevelItem(row)) item->setText(column, text);
}

QString VF1PatchListCtrl::Text(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

int VF1PatchListCtrl::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void VF1PatchListCtrl::SelectRow(int row, bool focus) {
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid()) return;
    const auto command = QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    if (focus) selectionModel()->setCurrentIndex(index, command);
    else selectionModel()->select(index, command);
}

bool VF1PatchListCtrl::HasFocusState(int row) const {
    return currentIndex().isValid() && currentIndex().row() == row;
}

VF1PatchListCtrl::RowLook VF1PatchListCtrl::Look(int row) const {
    if (row == SelectedRow()) {
        const QColor text = HasFocusState(row) ? QColor(Qt::white) : Colours::Silver;
        return {Colours::SelectionBlue, {text, text, text}};
    }
    return {Colours::Lime, kColumnColours};
}

void VF1PatchListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const int row = index.row();
    const RowLook look = Look(row);
    // The row spans its columns, as wide as they are together.
    const int left = header()->sectionViewportPosition(kAlgorithmColumn);
    const int right = header()->sectionViewportPosition(kFromColumn) + columnWidth(kFromColumn);
    const QRect rowRect(left, option.rect.top(), right - left, option.rect.height());
    painter->save();
    painter->fillRect(rowRect, look.fill);
    if (topLevelItem(row) != nullptr) {
        painter->setFont(font());
        int x = left + 2;
        for (int column = 0; column < 3; ++column) {
            // Each text stays inside its own column.
            const QRect cell(x, rowRect.top(), columnWidth(column) - 2, rowRect.height());
            painter->setPen(look.text[static_cast<size_t>(column)]);
            painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Text(row, column));
            x += columnWidth(column);
        }
    }
    painter->restore();
}

void VF1PatchListCtrl::mousePressEvent(QMouseEvent* event) {
    if (!indexAt(event->position().toPoint()).isValid()) {
        emit emptyClicked();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void VF1PatchListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) {
        emit emptyClicked();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit rowDoubleClicked(index.row());
}

void VF1PatchListCtrl::focusOutEvent(QFocusEvent* event) {
    // A menu opening over the list leaves its rows as they are.
    if (event->reason() != Qt::PopupFocusReason) {
        const int selected = SelectedRow();
        if (selected >= 0 && HasFocusState(selected))
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    QTreeWidget::focusOutEvent(event);
}

void VF1PatchListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    // A right-click in the list only selects; the window's menu belongs to its background.
    event->accept();
}
