#pragma once
// The bank send's progress: patches sent of 202 and a Cancel that the send sees between chunks.
// Modeless and on top; the send creates, refreshes and destroys it.

#include <QDialog>

#include "ui/widgets/DialogTemplate.h"

class VF1SendBankDlg : public QDialog {
    Q_OBJECT
  public:
    VF1SendBankDlg(const int& counter, bool& cancelFlag, QWidget* parent = nullptr);

    // Shows the counter as it is now.
    void Refresh();
    // Cancel, Escape: the send stops after the chunk in progress.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    // A window without a caption, lime on the lime display behind it: a dark green frame shows
    // where it is.
    void paintEvent(QPaintEvent* event) override;

  private:
    void ShowCounter();

    const int& counter;
    bool& cancelFlag;
    ControlMap controls;
};
