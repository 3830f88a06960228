#pragma once
// The Global section at the right of the main window: the unit's global settings (output level,
// noise-suppressor threshold, reverb level, direct mix, tempo and where it comes from, output
// type), "Get" and "Set" to read them from and write them to the unit, and tap tempo. The window
// shows the section with ">" and hides it with "<"; the MIDI LFO panel sits below its group box.

#include <QObject>
#include <QRect>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "midi/SysExMessages.h"
#include "ui/widgets/DialogTemplate.h"

class QComboBox;
class MokCheckBox;

class VF1GlobalSection : public QObject {
    Q_OBJECT
  public:
    // Control ids of the section, in the main window's numbering.
    enum ControlId {
        kOutLevelLabel = 1053,
        kNsThreshLabel = 1056,
        kRevLevelLabel = 1057,
        kOutputList = 1058,
        kOutputLabel = 1059,
        kBpmLabel = 1061,
        kInternalTempo = 1062,
        kMidiTempo = 1063,
        kTempoGroup = 1064,
        kDirectMixList = 1066,
        kDirectMixLabel = 1067,
        kSet = 1068,
        kGroup = 1069,
        kGet = 1070,
        kBpmList = 1074,
        kTap = 1075,
        kOutLevelList = 1114,
        kNsThreshList = 1115,
        kRevLevelList = 1116,
    };

    // The tempo value of the global record when the unit follows MIDI clock.
    static constexpr int kMidiTempoValue = 251;
    static constexpr int kMinTempo = 40;
    static constexpr int kMaxTempo = 250;

    // Milliseconds since some start, wrapping at 2^32, as the system's tick count.
    using TickClock = std::function<uint32_t()>;

    // Creates the section's controls in window (client pixels from the window's dialog units),
    // filled and preset, hidden until Show.
    explicit VF1GlobalSection(QWidget* window);

    // The group box's rectangle in the window: the section's extent.
    static QRect GroupRect();
    const ControlMap& Controls() const { return controls; }

    // Shows or hides everything of the section, the LFO panel included.
    void Show(bool shown);
    // Puts the LFO panel below the group box (4 px further left, 10 px below it, size unchanged);
    // from then on it is shown and hidden with the section.
    void PlaceLfoPanel(QWidget* panel);

    // "Get": reads the unit's globals into the controls; on failure nothing changes.
    void GetFromUnit();
    // "Set": sends what the controls show to the unit.
    void SetToUnit();
    // "Tap": one tap of the tap-tempo button.
    void Tap();
    void SetTapClock(TickClock clock);

    // The record "Set" sends for what the controls show now.
    std::array<uint8_t, kGlobalSize> BuildRecord();

  private:
    void Connect();
    void OnTempoSourceClicked(int id);
    // The framework's data exchange: the four lists to the fields and back.
    void TransferToFields();
    void TransferToControls();

    QWidget* window;
    ControlMap controls;
    std::vector<QWidget*> shownWithSection;
    QComboBox* outLevelList = nullptr;
    QComboBox* nsThreshList = nullptr;
    QComboBox* revLevelList = nullptr;
    QComboBox* directMixList = nullptr;
    QComboBox* bpmList = nullptr;
    QComboBox* outputList = nullptr;
    MokCheckBox* internalTempo = nullptr;
    MokCheckBox* midiTempo = nullptr;

    int outLevel = 100;
    int nsThreshold = 0;
    int reverbLevel = 100;
    int tempo = 120;
    // The unit's Output and Direct Mix values as last read, sent back while their list shows no
    // entry for them.
    int output = 0;
    int directMix = 0;

    float tapTempo = 120.0f;
    std::array<int, 8> tapIntervals{};
    int tapCount = 0;
    int tapIndex = 0;
    uint32_t lastTapTime = 0;
    TickClock tapClock;
};
