#include "ui/dialogs/DialogTransfers.h"

#include <QApplication>

#include "ui/dialogs/VF1RcvBankDlg.h"
#include "ui/dialogs/VF1RcvPatchDlg.h"
#include "ui/dialogs/VF1SendBankDlg.h"

DialogTransfers::DialogTransfers(QWidget* mainWindow_) : mainWindow(mainWindow_) {}

DialogTransfers::~DialogTransfers() = default;

bool DialogTransfers::RunReceivePatch(VF1MIDI& midi, bool toMemory, bool bankB, int index) {
    VF1RcvPatchDlg dialog(midi, toMemory, bankB, index, mainWindow);
    return dialog.exec() == QDialog::Accepted;
}

bool DialogTransfers::RunReceiveBank(VF1MIDI& midi, int expectedBytes) {
    VF1RcvBankDlg dialog(midi, expectedBytes, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

void DialogTransfers::BeginSendBank(const int& patchesSent, bool& cancel) {
    startedFrom = QApplication::activeWindow();
    sendDialog = std::make_unique<VF1SendBankDlg>(patchesSent, cancel, startedFrom);
    sendDialog->show();
    EnableWindows(false);
    // The progress dialog is a window of its own: it stays usable while its parent is disabled,
    // so its Cancel is the one thing that takes input during the send.
    sendDialog->setEnabled(true);
}

void DialogTransfers::UpdateSendBank() {
    if (!sendDialog) return;
    sendDialog->Refresh();
    // Repaints the count and lets a click on Cancel through between chunks.
    QCoreApplication::processEvents();
}

void DialogTransfers::EndSendBank() {
    EnableWindows(true);
    if (sendDialog) sendDialog->hide();
    sendDialog.reset();
    startedFrom = nullptr;
}

void DialogTransfers::EnableWindows(bool enable) {
    if (startedFrom) startedFrom->setEnabled(enable);
    if (mainWindow) mainWindow->setEnabled(enable);
}
