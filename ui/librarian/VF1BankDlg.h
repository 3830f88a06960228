#pragma once
// The librarian window: two banks side by side, each with its name box, loaded from and saved to
// bank files and sent to and received from the unit; the "Edited Patch" holder that the editor's
// "Patch -> Bank" fills; "Edit->" and a double-click open a bank patch in the editor. A bank's name
// box turns red when the bank has changes that no file holds, lime when it is saved or fresh.
//
// Created once, hidden, beside the main window; it lives until the program ends.

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>

#include "library/VF1Bank.h"
#include "ui/librarian/BankHistory.h"
#include "ui/librarian/VF1BankListBox.h"
#include "ui/widgets/DialogTemplate.h"

class QLineEdit;
class QRadioButton;

class VF1BankDlg : public QDialog, public BankHistoryHost {
    Q_OBJECT
  public:
    enum ControlId {
        kBank1List = 1079,
        kLoad = 1080,
        kBank2List = 1081,
        kBank1Radio = 1082,
        kBank2Radio = 1083,
        kSave = 1084,
        kSend = 1085,
        kReceive = 1086,
        kEdit = 1087,
        kBank1Name = 1088,
        kBank2Name = 1089,
        kDoubleClickHint = 1090,
        kHolderList = 1091,
        kEditedPatchLabel = 1092,
        kHelp = 1107,
    };

    // Opens a bank patch in the editor: its 585-byte image, bank 1 or 2, slot 0..201.
    using PatchOpener = std::function<bool(const uint8_t* image, int bankNumber, int index)>;

    explicit VF1BankDlg(QWidget* parent = nullptr);
    ~VF1BankDlg() override;

    void SetPatchOpener(PatchOpener opener) { openPatch = std::move(opener); }

    // What the main window asks (the application connects the two).
    bool HasUnsavedChanges() const;
    void ShowManager();
    void HideManager();
    // Brings the window to the top without activating it.
    void RaiseManager();
    // The 585 bytes of the holder's patch, which "Patch -> Bank" fills before it reports the
    // change.
    uint8_t* EditedPatchImage();
    void EditedPatchChanged();
    // The active bank's next (next = 1) or previous (0) slot, wrapping, opened like "Edit->".
    void StepPatch(int next);

    // The name box of the list's bank turns red or lime; the holder has none.
    void MarkModified(VF1BankListBox* list);
    void MarkSaved(VF1BankListBox* list);

    // The buttons. Load and Save ask for a file first; the File variants take the path.
    void LoadBank();
    bool LoadBankFile(int bankNumber, const QString& path);
    void SaveBank();
    bool SaveBankFile(const QString& path);
    // The bank files among files named on the command line: the first goes into Bank 1, the
    // second into Bank 2. Returns the other files, for the editor.
    QStringList TakeBankFiles(const QStringList& paths);
    void SendBank();
    void ReceiveBank();
    void EditPatch();
    void ShowHelp();
    // The Bank 1 / Bank 2 radio buttons.
    void SelectBank(int bankNumber);

    int ActiveBankNumber() const { return activeBankNumber; }
    VF1Bank* Bank(int bankNumber) const override;
    // The banks' histories (undo and redo with Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y in a bank's list).
    BankHistory& History() { return *history; }

    // BankHistoryHost.
    QString BankName(int bankNumber) const override;
    void SetBankName(int bankNumber, const QString& name) override;
    void ShowBank(int bankNumber) override;
    VF1Bank& Holder() { return holder; }
    VF1BankListBox* List(int bankNumber) const;
    VF1BankListBox* HolderList() const { return holderList; }
    QLineEdit* NameBox(int bankNumber) const;
    QWidget* ControlById(int id) const;

  signals:
    // The user closed the window (it is only hidden).
    void closed();

  public slots:
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetUpControls();
    void SetColours();
    void Connect();
    int BankNumberOf(const VF1BankListBox* list) const;
    // Puts a freshly loaded or received bank in place of the old one, as a step named label.
    void PutBank(int bankNumber, std::unique_ptr<VF1Bank> fresh, const QString& name, const QString& label);
    void SetUpHistoryKeys();
    void SetNameBoxColour(int bankNumber, const QColor& colour);
    bool ConfirmDiscard(int bankNumber) const;
    void OpenRow(VF1BankListBox* list, int row);

    PatchOpener openPatch;
    std::unique_ptr<VF1Bank> bank1;
    std::unique_ptr<VF1Bank> bank2;
    VF1Bank holder{1};
    int activeBankNumber = 1;
    VF1BankListBox::CopiedPatch copied;

    ControlMap controls;
    VF1BankListBox* list1 = nullptr;
    VF1BankListBox* list2 = nullptr;
    VF1BankListBox* holderList = nullptr;
    QLineEdit* nameBox1 = nullptr;
    QLineEdit* nameBox2 = nullptr;
    std::unique_ptr<BankHistory> history;
};
