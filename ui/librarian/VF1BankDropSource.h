#pragma once
// Dragging a patch out of a bank list. The drag record (the patch, the list it comes from and its
// row) travels inside the process only: a list accepts a drop only when the data is this very
// object, so a drag that comes from another program, even one that names the same data type,
// never reaches the bank model.

#include <QMimeData>
#include <QPointer>

class QDrag;
class VF1BankListBox;
class VF1Patch;

class BankDragRecord : public QMimeData {
    Q_OBJECT
  public:
    static constexpr const char* kMimeType = "application/x-quellin-bank-patch";

    BankDragRecord(VF1Patch* patch, VF1BankListBox* source, int index);

    // The record of a drag that started in this process, or null.
    static const BankDragRecord* From(const QMimeData* data);

    VF1Patch* patch;
    QPointer<VF1BankListBox> source;
    int index;
    QPointer<QDrag> drag;
};

class VF1BankDropSource {
  public:
    // Runs the drag of the patch at index of list until it is dropped or cancelled; allowed says
    // which effects the list offers (a holder offers no swap). The cursor says what a drop
    // would do where the pointer is.
    static Qt::DropAction Run(VF1BankListBox* list, VF1Patch* patch, int index, Qt::DropActions allowed);

    // While the list under the pointer scrolls, no drop is offered and the drag shows the scroll
    // cursor. A null drag (one from elsewhere) is left alone.
    static void ShowScrolling(QDrag* drag, bool scrolling);
};
