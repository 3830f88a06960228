#pragma once
// MIDI Settings: the MIDI Out and In devices and the unit's device ID. The main window keeps one
// object for the whole run, so the three selections last between runs; it applies them to the
// MIDI object after every run, however the dialog was closed.

#include <QDialog>

#include <string>
#include <vector>

#include "ui/widgets/DialogTemplate.h"

class QComboBox;
class QListWidget;
class VF1MIDI;

class VF1MIDIDlg : public QDialog {
    Q_OBJECT
  public:
    explicit VF1MIDIDlg(QWidget* parent = nullptr);

    // Shows the device names with the kept selections; returns the dialog's result.
    int Run(const std::vector<std::string>& outNames, const std::vector<std::string>& inNames);
    // The same with the devices the MIDI object lists.
    int Run(VF1MIDI& midi);

    int OutIndex() const { return outIndex; }
    int InIndex() const { return inIndex; }
    int DeviceIdIndex() const { return deviceIdIndex; } // 0 for device ID 1
    void SetOutIndex(int index) { outIndex = index; }
    void SetInIndex(int index) { inIndex = index; }
    void SetDeviceIdIndex(int index) { deviceIdIndex = index; }

  private:
    int outIndex = 0;
    int inIndex = 0;
    int deviceIdIndex = 0;
    ControlMap controls;
    QListWidget* outList = nullptr;
    QListWidget* inList = nullptr;
    QComboBox* deviceIdCombo = nullptr;
};
