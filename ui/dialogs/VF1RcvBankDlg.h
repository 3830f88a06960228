#pragma once
// Shown while the unit dumps a bank: the growing byte count, and Load once the expected count
// has come. Load accepts, Cancel rejects.

#include <QDialog>
#include <QTimer>

#include "ui/widgets/DialogTemplate.h"

class VF1MIDI;

class VF1RcvBankDlg : public QDialog {
    Q_OBJECT
  public:
    VF1RcvBankDlg(VF1MIDI& midi, int expected, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Tick();

    VF1MIDI& midi;
    const int expected;
    QTimer timer;
    ControlMap controls;
};
