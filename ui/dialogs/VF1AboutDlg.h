#pragma once
// The About box: the program's picture, version, makers and the trademark notice.

#include <QDialog>

#include "ui/widgets/DialogTemplate.h"

class VF1AboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit VF1AboutDlg(QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ControlMap controls;
};
