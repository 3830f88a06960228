#pragma once
// The transfers' waits on the user, with the window's dialogs: the receive dialogs run modally,
// the bank send shows its progress dialog while the windows that could start another transfer
// are disabled.

#include <QPointer>
#include <QWidget>

#include <memory>

#include "midi/TransferDialogs.h"

class VF1SendBankDlg;

class DialogTransfers : public TransferDialogs {
  public:
    // mainWindow (may be null) is disabled during a bank send and owns the receive-patch dialog.
    explicit DialogTransfers(QWidget* mainWindow = nullptr);
    ~DialogTransfers() override;

    bool RunReceivePatch(VF1MIDI& midi, bool toMemory, bool bankB, int index) override;
    bool RunReceiveBank(VF1MIDI& midi, int expectedBytes) override;
    void BeginSendBank(const int& patchesSent, bool& cancel) override;
    void UpdateSendBank() override;
    void EndSendBank() override;

    // The bank send's progress dialog while a send runs, else null.
    VF1SendBankDlg* SendBankDialog() const { return sendDialog.get(); }

  private:
    void EnableWindows(bool enable);

    QPointer<QWidget> mainWindow;
    QPointer<QWidget> startedFrom; // the window that was active when the send began
    std::unique_ptr<VF1SendBankDlg> sendDialog;
};
