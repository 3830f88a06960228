#include "ui/librarian/VF1BankListBox.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <vector>

#include "library/VF1Bank.h"
#include "midi/VF1MIDI.h"
#include "model/Report.h"
#include "model/VF1Algorithm.h"
#include "ui/librarian/VF1BankDropSource.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/FileDrops.h"

namespace {

// A drag starts once the pointer leaves this far from where the button went down.
constexpr int kDragStartDistance = 5;
// While the pointer rests in a scroll zone the list keeps scrolling at this pace.
constexpr int kScrollIntervalMs = 50;

Qt::DropAction ActionOf(DropEffect effect) {
    switch (effect) {
    case DropEffect::Insert:
        return Qt::CopyAction;
    case DropEffect::Replace:
        return Qt::MoveAction;
    case DropEffect::Swap:
        return Qt::LinkAction;
    case DropEffect::None:
        break;
    }
    return Qt::IgnoreAction;
}

// The 585-byte image of a single-patch file, checked as the editor's Load checks it (with its
// messages).
bool ReadPatchFileImage(const QString& path, PatchImage& image) {
    PatchFileBytes file{};
    if (!VF1MIDI::Instance().ReadCheckedPatchFile(path.toStdString(), file)) return false;
    std::copy(file.begin(), file.begin() + kPatchImageSize, image.begin());
    return true;
}

QString TrimmedName(const VF1Patch& patch) {
    std::string name = patch.GetName();
    name.erase(name.find_last_not_of(' ') + 1);
    return QString::fromLatin1(name.c_str());
}

// The colours of one row.
struct RowLook {
    QColor fill, letter, number, name, algorithm;
};

RowLook LookOf(int row, bool valid, bool selected, bool focused) {
    if (selected) {
        const QColor text = focused ? QColor(Qt::white) : Colours::Silver;
        return {Colours::SelectionBlue, text, text, text, text};
    }
    // Rows come in tens: 1-10 light, 11-20 dark, and so on; the 101st row is dark.
    const int tens = (row % kGroupSize) / 10;
    const bool dark = tens % 2 == 1 || tens == 10;
    RowLook look;
    look.fill = dark ? QColor(182, 239, 50) : QColor(194, 255, 53);
    look.name = !valid ? QColor(255, 30, 30) : dark ? QColor(20, 20, 20) : QColor(192, 0, 0);
    look.letter = row >= kGroupSize ? QColor(38, 75, 255) : QColor(75, 100, 255);
    look.number = QColor(75, 100, 255);
    look.algorithm = QColor(50, 74, 255);
    return look;
}

// Draws every row itself, as the bank lists look.
class BankRowDelegate : public QStyledItemDelegate {
  public:
    explicit BankRowDelegate(VF1BankListBox* list) : QStyledItemDelegate(list), list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int row = index.row();
        const bool valid = index.data(Qt::UserRole).toInt() != 0;
        const RowLook look =
            LookOf(row, valid, option.state & QStyle::State_Selected, option.state & QStyle::State_HasFocus);
        const QString text = index.data(Qt::DisplayRole).toString();
        const QRect rect = option.rect;
        painter->save();
        painter->fillRect(rect, look.fill);
        painter->setFont(list->font());
        auto draw = [&](int left, int top, const QColor& colour, const QString& part) {
            painter->setPen(colour);
            painter->drawText(QRect(left, top, rect.right() - left + 1, rect.bottom() - top + 1),
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, part);
        };
        const QString name = text.left(kPatchNameLength);
        const QString algorithm = text.mid(VF1BankListBox::kAlgorithmColumn);
        if (list->IsHolder()) {
            draw(rect.left() + 2, rect.top(), Qt::black, name);
            draw(rect.left() + 2, rect.top() + 10, look.algorithm, algorithm);
        } else {
            const QString label = VF1BankListBox::SlotLabel(row);
            int left = rect.left() + 2;
            draw(left, rect.top(), look.letter, label.left(1));
            left += 8;
            draw(left, rect.top(), look.number, label.mid(1));
            left += 28;
            draw(left, rect.top(), look.name, name);
            left += 90;
            draw(left, rect.top(), look.algorithm, algorithm);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(100, list->IsHolder() ? VF1BankListBox::kHolderRowHeight : VF1BankListBox::kRowHeight);
    }

  private:
    VF1BankListBox* list;
};

} // namespace

VF1BankListBox::VF1BankListBox(bool holder_, QWidget* parent) : QListWidget(parent), holder(holder_) {
    setItemDelegate(new BankRowDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    // Drags are started and received here, not by the view's own drag and drop.
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    scrollTimer.setInterval(kScrollIntervalMs);
    connect(&scrollTimer, &QTimer::timeout, this, &VF1BankListBox::ScrollStep);
}

VF1BankListBox::~VF1BankListBox() = default;

void VF1BankListBox::SetBank(VF1Bank* bank_) {
    bank = bank_;
}

void VF1BankListBox::Attach() {
    // "Lucida Console" where it is installed; a monospaced face of the same width elsewhere.
    QFont::insertSubstitutions(QStringLiteral("Lucida Console"),
                               {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")});
    QFont rows = NamedFont("Lucida Console", 8);
    rows.setStyleHint(QFont::Monospace);
    setFont(rows);
    setAcceptDrops(!holder);
    viewport()->setAcceptDrops(!holder);
}

void VF1BankListBox::Refill() {
    clear();
    if (bank == nullptr) return;
    for (int row = 0; row < bank->GetCount(); ++row) {
        auto* item = new QListWidgetItem;
        SetRow(item, row);
        addItem(item);
    }
}

void VF1BankListBox::Sync() {
    if (bank == nullptr || count() != bank->GetCount()) {
        Refill();
        return;
    }
    for (int row = 0; row < count(); ++row) SetRow(item(row), row);
}

void VF1BankListBox::SetRow(QListWidgetItem* item, int row) {
    const VF1Patch& patch = *bank->GetAt(row);
    item->setText(MakeLabel(patch));
    item->setData(Qt::UserRole, patch.IsValid() ? 1 : 0);
    item->setData(Qt::AccessibleTextRole, AccessibleText(row));
}

QString VF1BankListBox::MakeLabel(const VF1Patch& patch) {
    return QString::fromLatin1(patch.GetName().c_str())
               .leftJustified(kPatchNameLength, QLatin1Char(' '), true) +
           QStringLiteral("  ") + QString::fromLatin1(patch.GetAlgorithmName());
}

QString VF1BankListBox::SlotLabel(int index) {
    return QString::fromStdString(Format("%s%2d:", index < kGroupSize ? "A" : "B", index % kGroupSize + 1));
}

QString VF1BankListBox::AccessibleText(int row) const {
    const VF1Patch* patch = bank ? bank->GetAt(row) : nullptr;
    if (patch == nullptr) return {};
    QStringList parts;
    if (!holder) parts << SlotLabel(row);
    parts << TrimmedName(*patch);
    const QString algorithm = QString::fromLatin1(patch->GetAlgorithmName());
    if (!algorithm.isEmpty()) parts << algorithm;
    return parts.join(QLatin1Char(' '));
}

int VF1BankListBox::SelectedIndex() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void VF1BankListBox::SelectIndex(int row) {
    if (row < 0 || row >= count()) return;
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(row));
}

bool VF1BankListBox::RowIsValid(int row) const {
    const VF1Patch* patch = bank ? bank->GetAt(row) : nullptr;
    return patch != nullptr && patch->IsValid();
}

// ---- The gestures

bool VF1BankListBox::DropFrom(VF1BankListBox* source, int sourceIndex, int row, DropEffect effect) {
    if (source == nullptr || source->GetBank() == nullptr) return false;
    return ApplyDrop(*source->GetBank(), sourceIndex, source, row, effect);
}

bool VF1BankListBox::ApplyDrop(VF1Bank& sourceBank, int sourceIndex, VF1BankListBox* sourceList, int row,
                               DropEffect effect) {
    if (bank == nullptr) return false;
    const DropResult result = DropPatch(sourceBank, sourceIndex, *bank, row, effect);
    if (!result.changed) return false;
    Sync();
    SelectIndex(result.selectRow);
    emit changed(this);
    if (result.sourceChanged && sourceList != nullptr) {
        sourceList->Sync();
        emit sourceList->changed(sourceList);
    }
    return true;
}

bool VF1BankListBox::DeleteSelected() {
    const int row = SelectedIndex();
    if (bank == nullptr || !DeletePatch(*bank, row)) return false;
    Sync();
    SelectIndex(std::min(row, count() - 1));
    emit changed(this);
    return true;
}

bool VF1BankListBox::CopySelected() {
    const int row = SelectedIndex();
    if (clipboard == nullptr || !RowIsValid(row)) return false;
    clipboard->list = this;
    clipboard->patch = bank->GetAt(row);
    clipboard->image = clipboard->patch->Image();
    return true;
}

bool VF1BankListBox::PasteAtSelection(bool replace) {
    const int row = SelectedIndex();
    if (clipboard == nullptr || clipboard->patch == nullptr || row < 0) return false;
    const DropEffect effect = replace ? DropEffect::Replace : DropEffect::Insert;
    // From where it was copied, as long as that slot still holds what was copied; else the copy
    // comes in as a patch from outside.
    VF1BankListBox* from = clipboard->list;
    VF1Bank* fromBank = from ? from->GetBank() : nullptr;
    const int index = fromBank ? fromBank->Find(clipboard->patch) : -1;
    const VF1Patch* there = index >= 0 ? fromBank->GetAt(index) : nullptr;
    if (there != nullptr && there->IsValid() && there->Image() == clipboard->image)
        return ApplyDrop(*fromBank, index, from, row, effect);
    VF1Bank copy(1);
    copy.GetAt(0)->SetImage(clipboard->image, false);
    return ApplyDrop(copy, 0, nullptr, row, effect);
}

bool VF1BankListBox::SwapWithPartner() {
    if (partner == nullptr) return false;
    return DropFrom(partner, partner->SelectedIndex(), SelectedIndex(), DropEffect::Swap);
}

bool VF1BankListBox::DropFiles(const QStringList& paths, int row, bool replace) {
    if (holder || bank == nullptr || paths.isEmpty()) return false;
    // Every file is checked before the bank changes.
    std::vector<PatchImage> images(static_cast<size_t>(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i)
        if (!ReadPatchFileImage(paths[i], images[static_cast<size_t>(i)])) return false;
    bool any = false;
    for (size_t i = 0; i < images.size(); ++i) {
        VF1Bank file(1);
        file.GetAt(0)->SetImage(images[i], false);
        any |= ApplyDrop(file, 0, nullptr, row + static_cast<int>(i),
                         replace ? DropEffect::Replace : DropEffect::Insert);
    }
    return any;
}

// ---- Mouse and keys

void VF1BankListBox::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    dragStart.reset();
    if (event->button() != Qt::LeftButton) return;
    // Empty slots cannot be dragged.
    const int row = SelectedIndex();
    if (row >= 0 && RowIsValid(row) && itemAt(event->position().toPoint()) == item(row)) {
        dragStart = event->position().toPoint();
        dragRow = row;
    }
}

void VF1BankListBox::mouseMoveEvent(QMouseEvent* event) {
    if (!dragStart || !(event->buttons() & Qt::LeftButton)) {
        dragStart.reset();
        QListWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint moved = event->position().toPoint() - *dragStart;
    if (std::abs(moved.x()) <= kDragStartDistance && std::abs(moved.y()) <= kDragStartDistance) return;
    dragStart.reset();
    const Qt::DropActions allowed =
        holder ? Qt::CopyAction | Qt::MoveAction : Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    VF1BankDropSource::Run(this, bank->GetAt(dragRow), dragRow, allowed);
}

void VF1BankListBox::mouseReleaseEvent(QMouseEvent* event) {
    dragStart.reset();
    QListWidget::mouseReleaseEvent(event);
}

void VF1BankListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) return;
    if (const QListWidgetItem* clicked = itemAt(event->position().toPoint()))
        emit rowDoubleClicked(row(clicked));
}

void VF1BankListBox::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_V && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        PasteAtSelection(true);
    } else if (event->matches(QKeySequence::Copy)) {
        CopySelected();
    } else if (event->matches(QKeySequence::Paste)) {
        PasteAtSelection(false);
    } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
               modifiers == Qt::NoModifier && SelectedIndex() >= 0) {
        emit openRequested(SelectedIndex());
    } else {
        QListWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void VF1BankListBox::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat()) DeleteSelected();
    QListWidget::keyReleaseEvent(event);
}

void VF1BankListBox::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse)
        if (QListWidgetItem* under = itemAt(event->pos()))
            setCurrentItem(under, QItemSelectionModel::ClearAndSelect);
    const int row = SelectedIndex();
    const bool valid = RowIsValid(row);
    const bool copied = clipboard != nullptr && clipboard->patch != nullptr;
    QMenu menu(this);
    auto add = [&](const QString& text, const QKeySequence& keys, bool enabled, auto action) {
        QAction* entry = menu.addAction(text, this, action);
        entry->setShortcut(keys);
        entry->setShortcutContext(Qt::WidgetShortcut);
        entry->setEnabled(enabled);
    };
    add(QStringLiteral("Copy"), QKeySequence::Copy, valid, [this] { CopySelected(); });
    add(QStringLiteral("Paste (insert)"), QKeySequence::Paste, copied && !holder && row >= 0,
        [this] { PasteAtSelection(false); });
    add(QStringLiteral("Paste (replace)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
        copied && !holder && row >= 0, [this] { PasteAtSelection(true); });
    const bool swappable = partner != nullptr && valid && partner->RowIsValid(partner->SelectedIndex());
    add(QStringLiteral("Swap with the other bank's selection"), QKeySequence(), swappable && !holder,
        [this] { SwapWithPartner(); });
    menu.addSeparator();
    add(QStringLiteral("Delete"), QKeySequence(Qt::Key_Delete), valid, [this] { DeleteSelected(); });
    menu.exec(event->globalPos());
}

// ---- Drops

int VF1BankListBox::NearestRow(const QPoint& point) const {
    if (count() == 0) return -1;
    const QModelIndex under = indexAt(point);
    if (under.isValid()) return under.row();
    const int rowHeight = std::max(sizeHintForRow(0), 1);
    const int row = verticalScrollBar()->value() + (point.y() < 0 ? -1 : point.y() / rowHeight);
    return std::clamp(row, 0, count() - 1);
}

std::optional<int> VF1BankListBox::AutoScrollTop(int y, int height, int top, int nearest, int count) {
    if (count <= 1) return std::nullopt;
    if (y < 25 && top > 0) return std::max(top - (y > 9 ? 2 : 10), 0);
    if (y > height - 30 && nearest < count - 2) return std::min(top + (y > height - 10 ? 10 : 2), count);
    return std::nullopt;
}

DropEffect VF1BankListBox::EffectAt(const QDropEvent* event, bool fromFiles) {
    const QPoint at = event->position().toPoint();
    if (AutoScrollTop(at.y(), viewport()->height(), verticalScrollBar()->value(), NearestRow(at), count()))
        return DropEffect::None;
    const Qt::KeyboardModifiers keys = event->modifiers();
    const bool ctrl = keys & Qt::ControlModifier;
    const bool alt = keys & Qt::AltModifier;
    const bool shift = keys & Qt::ShiftModifier;
    // A file comes in like a patch from another bank: inserted, or copied over the row with Ctrl.
    if (fromFiles) return ctrl && !alt && !shift ? DropEffect::Replace : DropEffect::Insert;
    const DropEffect effect = ChooseDropEffect(ctrl, alt, shift, RowIsValid(NearestRow(at)));
    return event->possibleActions() & ActionOf(effect) ? effect : DropEffect::None;
}

void VF1BankListBox::dragEnterEvent(QDragEnterEvent* event) {
    // The holder accepts nothing; the banks take patches of this program and files.
    const bool known = BankDragRecord::From(event->mimeData()) || !DroppedFiles(event->mimeData()).isEmpty();
    if (holder || bank == nullptr || !known) {
        event->ignore();
        return;
    }
    if (const BankDragRecord* record = BankDragRecord::From(event->mimeData())) overDrag = record->drag;
    // A move follows at once and decides what a drop would do.
    event->acceptProposedAction();
}

void VF1BankListBox::dragMoveEvent(QDragMoveEvent* event) {
    const QMimeData* data = event->mimeData();
    const bool fromFiles = BankDragRecord::From(data) == nullptr;
    if (holder || bank == nullptr) {
        event->ignore();
        return;
    }
    const QPoint at = event->position().toPoint();
    const auto top =
        AutoScrollTop(at.y(), viewport()->height(), verticalScrollBar()->value(), NearestRow(at), count());
    if (top) {
        verticalScrollBar()->setValue(*top);
        StartScrolling(at.y());
        VF1BankDropSource::ShowScrolling(overDrag, true);
        event->ignore();
        return;
    }
    StopScrolling();
    const DropEffect effect = EffectAt(event, fromFiles);
    if (effect == DropEffect::None) {
        event->ignore();
        return;
    }
    // A file manager must never take a drop as a move: it would delete the file.
    event->setDropAction(fromFiles ? Qt::CopyAction : ActionOf(effect));
    event->accept();
}

void VF1BankListBox::dragLeaveEvent(QDragLeaveEvent* event) {
    StopScrolling();
    overDrag = nullptr;
    QListWidget::dragLeaveEvent(event);
}

void VF1BankListBox::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    StopScrolling();
    overDrag = nullptr;
    const BankDragRecord* record = BankDragRecord::From(data);
    const QStringList files = record ? QStringList() : DroppedFiles(data);
    const DropEffect effect =
        holder || bank == nullptr ? DropEffect::None : EffectAt(event, record == nullptr);
    if (effect == DropEffect::None || (record == nullptr && files.isEmpty())) {
        event->ignore();
        return;
    }
    const int row = NearestRow(event->position().toPoint());
    if (record) {
        // The record names the patch, its list and its row; they must still agree.
        VF1BankListBox* source = record->source;
        if (source == nullptr || source->GetBank() == nullptr ||
            source->GetBank()->GetAt(record->index) != record->patch) {
            event->ignore();
            return;
        }
        event->setDropAction(ActionOf(effect));
        event->accept();
        DropFrom(source, record->index, row, effect);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Read after the file manager has its answer: a message box must not hold its drag.
    QTimer::singleShot(0, this,
                       [this, files, row, effect] { DropFiles(files, row, effect == DropEffect::Replace); });
}

void VF1BankListBox::StartScrolling(int y) {
    scrollY = y;
    if (!scrollTimer.isActive()) scrollTimer.start();
}

void VF1BankListBox::StopScrolling() {
    scrollTimer.stop();
    VF1BankDropSource::ShowScrolling(overDrag, false);
}

void VF1BankListBox::ScrollStep() {
    const auto top = AutoScrollTop(scrollY, viewport()->height(), verticalScrollBar()->value(),
                                   NearestRow(QPoint(0, scrollY)), count());
    if (top) verticalScrollBar()->setValue(*top);
    else scrollTimer.stop();
}
