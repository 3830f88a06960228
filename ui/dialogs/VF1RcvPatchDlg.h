#pragma once
// Shown while a patch is requested and received: sends the request when it opens and shows the
// growing byte count until enough has come for Load. Load accepts, Cancel rejects; the transfer
// checks the count itself.

#include <QDialog>
#include <QTimer>

#include "ui/widgets/DialogTemplate.h"

class VF1MIDI;

class VF1RcvPatchDlg : public QDialog {
    Q_OBJECT
  public:
    VF1RcvPatchDlg(VF1MIDI& midi, bool toMemory, bool bankB, int index, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void SendRequest();
    void Tick();

    VF1MIDI& midi;
    const bool toMemory;
    const bool bankB;
    const int index;
    bool opened = false;
    QTimer timer;
    ControlMap controls;
};
