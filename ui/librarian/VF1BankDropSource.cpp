#include "ui/librarian/VF1BankDropSource.h"

#include <QDrag>
#include <QPixmap>

#include "ui/librarian/DragCursors.h"
#include "ui/librarian/VF1BankListBox.h"
#include "ui/widgets/PixelArt.h"

BankDragRecord::BankDragRecord(VF1Patch* patch_, VF1BankListBox* source_, int index_)
    : patch(patch_), source(source_), index(index_) {
    setData(QString::fromLatin1(kMimeType), QByteArray());
}

const BankDragRecord* BankDragRecord::From(const QMimeData* data) {
    return qobject_cast<const BankDragRecord*>(data);
}

Qt::DropAction VF1BankDropSource::Run(VF1BankListBox* list, VF1Patch* patch, int index,
                                      Qt::DropActions allowed) {
    RegisterDragCursors();
    auto* drag = new QDrag(list);
    auto* record = new BankDragRecord(patch, list, index);
    record->drag = drag;
    drag->setMimeData(record);
    drag->setDragCursor(Picture(Pictures::InsertCursor), Qt::CopyAction);
    drag->setDragCursor(Picture(Pictures::ReplaceCursor), Qt::MoveAction);
    drag->setDragCursor(Picture(Pictures::SwapCursor), Qt::LinkAction);
    const Qt::DropAction result = drag->exec(allowed, Qt::CopyAction);
    drag->deleteLater();
    return result;
}

void VF1BankDropSource::ShowScrolling(QDrag* drag, bool scrolling) {
    if (drag == nullptr) return;
    drag->setDragCursor(scrolling ? Picture(Pictures::ScrollCursor) : QPixmap(), Qt::IgnoreAction);
}
