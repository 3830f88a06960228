#include "ui/lfo/MIDILFOControlsDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <array>

#include "lfo/LfoFields.h"
#include "midi/VF1MIDI.h"
#include "model/Report.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/MokButton.h"
#include "ui/widgets/Palettes.h"

namespace {

using Id = MIDILFOControlsDlg::ControlId;

// The panel's template is laid out for "Microsoft Sans Serif" 7 pt, whose base units are 5 x 11.
const DialogFace& PanelFace() {
    static const DialogFace face{NamedFont("Microsoft Sans Serif", 7), {5, 11}};
    return face;
}
constexpr int kTemplateWidth = 85;
constexpr int kTemplateHeight = 129;
constexpr int kBorder = 1;

constexpr std::array kControls = {
    ControlSpec{Id::kGroup, DialogItemKind::GroupBox, "LFO", 0, 0, 84, 127},
    ControlSpec{Id::kChannelLabel, DialogItemKind::Label, "Channel", 7, 12, 27, 8},
    ControlSpec{Id::kChannelList, DialogItemKind::DropDownList, nullptr, 7, 21, 32, 67},
    ControlSpec{Id::kControllerLabel, DialogItemKind::Label, "CC#", 45, 12, 16, 8},
    ControlSpec{Id::kControllerList, DialogItemKind::DropDownList, nullptr, 45, 21, 31, 67},
    ControlSpec{Id::kWaveLabel, DialogItemKind::Label, "Wave", 7, 39, 20, 8},
    ControlSpec{Id::kWaveList, DialogItemKind::DropDownList, nullptr, 27, 37, 49, 67},
    ControlSpec{Id::kBpmLabel, DialogItemKind::Label, "BPM", 8, 53, 14, 8},
    ControlSpec{Id::kTempoEdit, DialogItemKind::Edit, nullptr, 7, 63, 31, 13},
    ControlSpec{Id::kTimeSigLabel, DialogItemKind::Label, "Time Sig", 45, 53, 27, 8},
    ControlSpec{Id::kTimeSigList, DialogItemKind::DropDownList, nullptr, 45, 63, 31, 53},
    ControlSpec{Id::kCyclesLabel, DialogItemKind::Label, "Cycles / bar", 7, 78, 37, 8},
    ControlSpec{Id::kCyclesList, DialogItemKind::DropDownList, nullptr, 7, 87, 32, 96},
    ControlSpec{Id::kHzLabel, DialogItemKind::Label, "Hz", 45, 78, 9, 8},
    ControlSpec{Id::kRateEdit, DialogItemKind::Edit, nullptr, 45, 87, 31, 13},
    ControlSpec{Id::kStartStop, DialogItemKind::MokButton, "Start", 23, 107, 36, 14},
};

// Each list and box is named by the label above it.
constexpr std::pair<Id, Id> kCaptions[] = {
    {Id::kChannelList, Id::kChannelLabel}, {Id::kControllerList, Id::kControllerLabel},
    {Id::kWaveList, Id::kWaveLabel},       {Id::kTempoEdit, Id::kBpmLabel},
    {Id::kTimeSigList, Id::kTimeSigLabel}, {Id::kCyclesList, Id::kCyclesLabel},
    {Id::kRateEdit, Id::kHzLabel},
};

constexpr const char* kWaves[kLfoWaveCount] = {"Sine", "Triangle", "Square", "Saw Up", "Saw Down"};
constexpr const char* kTimeSignatures[kLfoTimeSignatures] = {"2/4", "3/4", "4/4", "5/4"};
constexpr int kChannels = 16;
constexpr int kControllers = 95;

void AddNumbers(QComboBox* list, int last) {
    for (int n = 1; n <= last; ++n) list->addItem(QString::number(n));
}

} // namespace

MIDILFOControlsDlg::MIDILFOControlsDlg(VF1MIDI& midi_, QWidget* parent)
    : QFrame(parent), midi(midi_), engine(midi_) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(kBorder);
    setFixedSize(PanelSize());
    SetUpControls();
    SetColours();

    channelList->setCurrentIndex(0);
    engine.SetChannel(1);
    controllerList->setCurrentIndex(0);
    engine.SetController(1);
    waveList->setCurrentIndex(kLfoSine);
    engine.SetWave(kLfoSine);
    rateEdit->setText(QStringLiteral("0.1"));
    tempoEdit->setText(QStringLiteral("120"));
    timeSigList->setCurrentIndex(2);
    cyclesList->setCurrentIndex(0);
    if (ReadFields()) engine.SetRate(rate);

    // The engine's worker reports a failed device from its own thread.
    engine.SetFailureHandler([this] {
        QMetaObject::invokeMethod(
            this, [this] { OnEngineFailed(); }, Qt::QueuedConnection);
    });
    Connect();
}

MIDILFOControlsDlg::~MIDILFOControlsDlg() {
    if (midi.GetLFODialog() == this) midi.SetLFODialog(nullptr);
    // A failure the worker reports meanwhile is posted to this object, and dropped with it.
    engine.Stop();
}

QSize MIDILFOControlsDlg::PanelSize() {
    return PanelFace().units.SizeToPixels(kTemplateWidth, kTemplateHeight) + QSize(2 * kBorder, 2 * kBorder);
}

QWidget* MIDILFOControlsDlg::ControlById(int id) const {
    const auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second;
}

void MIDILFOControlsDlg::SetUpControls() {
    // The template's client area lies inside the border.
    auto* client = new QWidget(this);
    client->setGeometry(
        QRect(QPoint(kBorder, kBorder), PanelFace().units.SizeToPixels(kTemplateWidth, kTemplateHeight)));
    controls = BuildControls(client, kControls, {}, &PanelFace());
    FitLabels(client);
    // "Cycles / bar" runs a little wider in the stand-in face than its template allows; grown to
    // fit, it keeps clear of "Hz" beside it by moving left.
    QWidget* cycles = controls.at(kCyclesLabel);
    const int room = controls.at(kHzLabel)->x() - 2 - (cycles->x() + cycles->width());
    if (room < 0) cycles->move(cycles->x() + room, cycles->y());
    channelList = Control<QComboBox>(controls, kChannelList);
    controllerList = Control<QComboBox>(controls, kControllerList);
    waveList = Control<QComboBox>(controls, kWaveList);
    timeSigList = Control<QComboBox>(controls, kTimeSigList);
    cyclesList = Control<QComboBox>(controls, kCyclesList);
    rateEdit = Control<QLineEdit>(controls, kRateEdit);
    tempoEdit = Control<QLineEdit>(controls, kTempoEdit);
    startStop = Control<MokButton>(controls, kStartStop);

    AddNumbers(channelList, kChannels);
    AddNumbers(controllerList, kControllers);
    for (const char* wave : kWaves) waveList->addItem(QString::fromLatin1(wave));
    for (const char* signature : kTimeSignatures) timeSigList->addItem(QString::fromLatin1(signature));
    AddNumbers(cyclesList, kLfoCyclesPerBar);
    for (const auto& [box, label] : kCaptions)
        controls.at(box)->setAccessibleName(Control<QLabel>(controls, label)->text());
    rateEdit->installEventFilter(this);
    tempoEdit->installEventFilter(this);
}

void MIDILFOControlsDlg::SetColours() {
    // Red behind everything; black text on it and a black border.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Colours::Red);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);
    for (QWidget* box : {static_cast<QWidget*>(channelList), static_cast<QWidget*>(controllerList),
                         static_cast<QWidget*>(waveList), static_cast<QWidget*>(timeSigList),
                         static_cast<QWidget*>(cyclesList), static_cast<QWidget*>(rateEdit),
                         static_cast<QWidget*>(tempoEdit)})
        ApplyLcdColours(box);
}

void MIDILFOControlsDlg::Connect() {
    connect(channelList, &QComboBox::currentIndexChanged, this, [this](int i) { engine.SetChannel(i + 1); });
    connect(controllerList, &QComboBox::currentIndexChanged, this,
            [this](int i) { engine.SetController(i + 1); });
    connect(waveList, &QComboBox::currentIndexChanged, this, [this](int i) { engine.SetWave(i); });
    connect(timeSigList, &QComboBox::currentIndexChanged, this, [this] { RateFromTempo(); });
    connect(cyclesList, &QComboBox::currentIndexChanged, this, [this] { RateFromTempo(); });
    connect(startStop, &QPushButton::clicked, this, [this] { StartStop(); });
}

bool MIDILFOControlsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && (watched == rateEdit || watched == tempoEdit)) {
        // The focus going to a menu, a list's popup or another window is no move away from the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !reporting) {
            if (watched == rateEdit) OnRateFocusLost();
            else OnTempoFocusLost();
        }
    }
    return QFrame::eventFilter(watched, event);
}

bool MIDILFOControlsDlg::ReadFields() {
    // As the framework reads a dialog's fields: in order, a number that is out of range is kept,
    // and the first failure ends the reading.
    const struct {
        QLineEdit* box;
        float& value;
        float min, max;
    } fields[] = {{rateEdit, rate, kLfoRateMin, kLfoRateMax}, {tempoEdit, tempo, kLfoTempoMin, kLfoTempoMax}};
    for (const auto& field : fields) {
        const std::string message =
            CheckLfoField(field.box->text().toStdString(), field.min, field.max, field.value);
        if (!message.empty()) {
            Report(message, field.box);
            return false;
        }
    }
    return true;
}

void MIDILFOControlsDlg::OnRateFocusLost() {
    if (ReadFields()) engine.SetRate(rate);
}

void MIDILFOControlsDlg::OnTempoFocusLost() {
    if (ReadFields()) RateFromTempo();
}

void MIDILFOControlsDlg::RateFromTempo() {
    rateEdit->setText(QString::fromStdString(
        LfoRateTextFromTempo(tempo, timeSigList->currentIndex(), cyclesList->currentIndex())));
    // A rate above 10 Hz fails here, and the engine keeps the rate it has.
    if (ReadFields()) engine.SetRate(rate);
}

void MIDILFOControlsDlg::StartStop() {
    if (reporting) return;
    if (running) {
        Stop();
        return;
    }
    if (!ReadFields()) return;
    if (engine.Start()) {
        running = true;
        startStop->setText(QStringLiteral("Stop"));
    }
}

void MIDILFOControlsDlg::Stop() {
    engine.Stop();
    running = false;
    startStop->setText(QStringLiteral("Start"));
}

void MIDILFOControlsDlg::Report(const std::string& message, QLineEdit* box) {
    if (reporting) return;
    reporting = true;
    pendingMessage = message;
    pendingBox = box;
    ShowPendingMessage();
}

void MIDILFOControlsDlg::ShowPendingMessage() {
    // A box that loses the focus to a click shows its message once the button is up: the click
    // then ends where it began instead of inside the message.
    if (QApplication::mouseButtons() != Qt::NoButton) {
        QTimer::singleShot(10, this, [this] { ShowPendingMessage(); });
        return;
    }
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    ShowMessage(pendingMessage, MessageStyle::Warning);
    pendingBox->setFocus(Qt::OtherFocusReason);
    pendingBox->selectAll();
    pendingMessage.clear();
    pendingBox = nullptr;
    reporting = false;
}

void MIDILFOControlsDlg::OnEngineFailed() {
    // The worker stopped because the device refused a buffer; a new run may have begun since.
    if (!running || engine.IsRunning()) return;
    running = false;
    startStop->setText(QStringLiteral("Start"));
    ShowMessage(kLfoDeviceError, MessageStyle::Error);
}
