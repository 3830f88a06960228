#pragma once
// One bank shown as a list of owner-drawn rows, one per slot, where the user rearranges banks: a
// patch dragged onto a row is inserted there, copied over it (Ctrl) or swapped with it (Alt or
// Shift); Delete empties a slot. The same operations have keys and a context menu: Ctrl+C copies
// the selected patch, Ctrl+V drops it before the selected row as a plain drag would,
// Ctrl+Shift+V copies it over the selected row. A single-patch file dropped from a file manager
// goes in like a patch from another bank.
//
// The bank manager has three of them: one per bank and a one-row list for the patch that comes
// from the editor (the holder), which accepts nothing.

#include <QListWidget>
#include <QPointer>
#include <QTimer>

#include <optional>

#include "library/BankDrop.h"
#include "model/VF1Patch.h"

class QDrag;
class VF1Bank;

class VF1BankListBox : public QListWidget {
    Q_OBJECT
  public:
    // A patch put aside with Ctrl+C: where it was and what it held then.
    struct CopiedPatch;

    static constexpr int kRowHeight = 11;
    static constexpr int kHolderRowHeight = 22;
    // The name's 13 characters, two blanks, the algorithm name.
    static constexpr int kAlgorithmColumn = 15;

    explicit VF1BankListBox(bool holder, QWidget* parent = nullptr);
    ~VF1BankListBox() override;

    void SetBank(VF1Bank* bank);
    VF1Bank* GetBank() const { return bank; }
    bool IsHolder() const { return holder; }
    // The row font, and drops from now on.
    void Attach();
    // One row per patch of the bank, in slot order.
    void Refill();

    // The row's text: the name, two blanks, the algorithm name.
    static QString MakeLabel(const VF1Patch& patch);
    // "A 1:" .. "A101:", "B 1:" .. "B101:".
    static QString SlotLabel(int index);
    // What assistive technology reads for a row.
    QString AccessibleText(int row) const;

    int SelectedIndex() const; // -1 when no row is selected
    void SelectIndex(int row);
    bool RowIsValid(int row) const;

    // The other bank's list, for swapping with its selection; the record Ctrl+C fills, shared by
    // the lists of one bank manager.
    void SetPartner(VF1BankListBox* other) { partner = other; }
    void SetClipboard(CopiedPatch* shared) { clipboard = shared; }

    // The gestures, as the mouse, the keys and the menu run them. Each reports whether the
    // banks changed.
    bool DropFrom(VF1BankListBox* source, int sourceIndex, int row, DropEffect effect);
    bool DeleteSelected();
    bool CopySelected();
    bool PasteAtSelection(bool replace);
    bool SwapWithPartner();
    // Single-patch files onto a row, in order from there; a file that is not a valid patch gets
    // the editor's Load message and nothing changes.
    bool DropFiles(const QStringList& paths, int row, bool replace);

    // The scroll a drag over client position y would make: the new top row, or none.
    static std::optional<int> AutoScrollTop(int y, int height, int top, int nearest, int count);
    // The row nearest to a point of the list's client area.
    int NearestRow(const QPoint& point) const;

  signals:
    // The bank changed: the bank manager marks its name box.
    void changed(VF1BankListBox* list);
    void rowDoubleClicked(int row);
    // Enter on a row: open it as a double-click does.
    void openRequested(int row);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  public:
    // Rewrites every row from the bank, keeping the scroll position.
    void Sync();

  private:
    void SetRow(QListWidgetItem* item, int row);
    bool ApplyDrop(VF1Bank& sourceBank, int sourceIndex, VF1BankListBox* sourceList, int row,
                   DropEffect effect);
    // What a drop at point would do now, or None while the list scrolls.
    DropEffect EffectAt(const QDropEvent* event, bool fromFiles);
    void StartScrolling(int y);
    void StopScrolling();
    void ScrollStep();

    const bool holder;
    VF1Bank* bank = nullptr;
    QPointer<VF1BankListBox> partner;
    CopiedPatch* clipboard = nullptr;

    // A press on a valid row that may become a drag once the pointer leaves the start rectangle.
    std::optional<QPoint> dragStart;
    int dragRow = -1;

    QTimer scrollTimer;
    int scrollY = 0;
    // Our own drag while it is over this list (null for a drag from elsewhere).
    QPointer<QDrag> overDrag;
};

struct VF1BankListBox::CopiedPatch {
    QPointer<VF1BankListBox> list;
    VF1Patch* patch = nullptr;
    PatchImage image{};
};
