#pragma once
// The MIDI LFO's panel below the Global section: channel, controller, wave, the rate in Hz or
// from a tempo, a time signature and cycles per bar, and Start/Stop. It owns the LFO's engine and
// answers the SysEx output's questions about it (running, stop, busy).

#include <QFrame>

#include <string>

#include "lfo/MIDILFOStream.h"
#include "midi/TransferDialogs.h"
#include "ui/widgets/DialogTemplate.h"

class MokButton;
class QComboBox;
class QLineEdit;
class VF1MIDI;

class MIDILFOControlsDlg : public QFrame, public LfoControl {
    Q_OBJECT
  public:
    enum ControlId {
        kStartStop = 1000,
        kRateEdit = 1004,
        kChannelLabel = 1007,
        kHzLabel = 1009,
        kChannelList = 1011,
        kControllerLabel = 1013,
        kControllerList = 1015,
        kWaveList = 1016,
        kWaveLabel = 1017,
        kTimeSigList = 1020,
        kTimeSigLabel = 1022,
        kCyclesList = 1023,
        kCyclesLabel = 1025,
        kBpmLabel = 1061,
        kTempoEdit = 1065,
        kGroup = 1070,
    };

    explicit MIDILFOControlsDlg(VF1MIDI& midi, QWidget* parent = nullptr);
    ~MIDILFOControlsDlg() override;

    // What the SysEx output asks before it takes the device back.
    bool IsRunning() override { return running; }
    void Stop() override;
    bool StreamBusy() override { return engine.IsBusy(); }

    // The Start/Stop button.
    void StartStop();
    // Reads the rate and tempo boxes with their checks; false after the message of the first that
    // fails, which then has the focus.
    bool ReadFields();

    float RateField() const { return rate; }
    float TempoField() const { return tempo; }
    MIDILFOStream& Engine() { return engine; }
    QWidget* ControlById(int id) const;

    // The panel's size, its border included.
    static QSize PanelSize();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetUpControls();
    void SetColours();
    void Connect();
    void OnRateFocusLost();
    void OnTempoFocusLost();
    // Puts the rate the tempo fields give into the rate box and takes it when the fields read.
    void RateFromTempo();
    // Shows a field's message, at once or, while a mouse button is down, once it is released; the
    // box then gets the focus with its text selected.
    void Report(const std::string& message, QLineEdit* box);
    void ShowPendingMessage();
    void OnEngineFailed();

    VF1MIDI& midi;
    float rate = 0.1f;
    float tempo = 120.0f;
    bool running = false;
    MIDILFOStream engine;

    ControlMap controls;
    QComboBox* channelList = nullptr;
    QComboBox* controllerList = nullptr;
    QComboBox* waveList = nullptr;
    QComboBox* timeSigList = nullptr;
    QComboBox* cyclesList = nullptr;
    QLineEdit* rateEdit = nullptr;
    QLineEdit* tempoEdit = nullptr;
    MokButton* startStop = nullptr;

    // A field's message waiting for the mouse button to come up; while it waits or shows, focus
    // changes check nothing and the Start button does nothing.
    std::string pendingMessage;
    QLineEdit* pendingBox = nullptr;
    bool reporting = false;
};
