#include "ui/editor/VF1GlobalSection.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <chrono>

#include "midi/VF1MIDI.h"
#include "model/Report.h"
#include "model/SysEx.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/MokCheckBox.h"
#include "ui/widgets/Palettes.h"

namespace {

using Id = VF1GlobalSection::ControlId;

// The section's controls; all lists are drop-down lists.
constexpr std::array kControls = {
    ControlSpec{Id::kGroup, DialogItemKind::GroupBox, "Global", 489, 4, 83, 154},
    ControlSpec{Id::kOutLevelLabel, DialogItemKind::Label, "Out Level", 496, 17, 42, 8},
    ControlSpec{Id::kOutLevelList, DialogItemKind::DropDownList, nullptr, 530, 14, 37, 92},
    ControlSpec{Id::kNsThreshLabel, DialogItemKind::Label, "NS Thresh", 496, 31, 34, 8},
    ControlSpec{Id::kNsThreshList, DialogItemKind::DropDownList, nullptr, 530, 29, 37, 79},
    ControlSpec{Id::kRevLevelLabel, DialogItemKind::Label, "Rev Lvl", 496, 46, 24, 8},
    ControlSpec{Id::kRevLevelList, DialogItemKind::DropDownList, nullptr, 530, 44, 37, 79},
    ControlSpec{Id::kDirectMixLabel, DialogItemKind::Label, "Direct Mix", 496, 61, 32, 8},
    ControlSpec{Id::kDirectMixList, DialogItemKind::DropDownList, nullptr, 530, 60, 37, 40},
    ControlSpec{Id::kBpmLabel, DialogItemKind::Label, "BPM", 496, 78, 19, 11},
    ControlSpec{Id::kTempoGroup, DialogItemKind::GroupBox, nullptr, 513, 70, 55, 44, kHidden},
    ControlSpec{Id::kInternalTempo, DialogItemKind::MokRadio, nullptr, 518, 76, 9, 11},
    ControlSpec{Id::kBpmList, DialogItemKind::DropDownList, nullptr, 530, 76, 37, 67},
    ControlSpec{Id::kTap, DialogItemKind::MokButton, "Tap", 530, 92, 36, 11},
    ControlSpec{Id::kMidiTempo, DialogItemKind::MokRadio, " MIDI", 518, 104, 32, 10},
    ControlSpec{Id::kOutputLabel, DialogItemKind::Label, "Output", 496, 116, 30, 9},
    ControlSpec{Id::kOutputList, DialogItemKind::DropDownList, nullptr, 495, 125, 71, 60},
    ControlSpec{Id::kGet, DialogItemKind::MokButton, "Get", 505, 143, 22, 11},
    ControlSpec{Id::kSet, DialogItemKind::MokButton, "Set", 534, 143, 22, 11},
};

constexpr Id kLabelFontControls[] = {
    Id::kGroup,        Id::kOutLevelLabel, Id::kNsThreshLabel, Id::kRevLevelLabel, Id::kDirectMixLabel,
    Id::kBpmLabel,     Id::kOutputLabel,   Id::kMidiTempo,     Id::kOutLevelList,  Id::kNsThreshList,
    Id::kRevLevelList, Id::kDirectMixList, Id::kBpmList,       Id::kOutputList};
// Each label names the list beside it for assistive technology.
constexpr std::pair<Id, Id> kLabelledLists[] = {
    {Id::kOutLevelLabel, Id::kOutLevelList}, {Id::kNsThreshLabel, Id::kNsThreshList},
    {Id::kRevLevelLabel, Id::kRevLevelList}, {Id::kDirectMixLabel, Id::kDirectMixList},
    {Id::kBpmLabel, Id::kBpmList},           {Id::kOutputLabel, Id::kOutputList},
};
constexpr const char* kOutputTypes[] = {"Gtr Amp (Combo)", "Gtr Amp (Stack)", "Pwr Amp (Combo)",
                                        "Pwr Amp (Stack)", "Line"};
constexpr const char* kDirectMixModes[] = {"Off", "Patch"};

constexpr int kMaxLevel = 100;    // Out Level and Rev Lvl: 0..100, shown as twice that in percent
constexpr int kMaxThreshold = 40; // NS Thresh: 0..40, shown as value - 20 dB
constexpr int kTapRunGapMs = 3000;

uint32_t SystemTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// A list index for a value; a value the list has no entry for selects none.
void SelectIndex(QComboBox* list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

} // namespace

VF1GlobalSection::VF1GlobalSection(QWidget* window_)
    : QObject(window_), window(window_), tapClock(SystemTicks) {
    controls = BuildControls(window, kControls);
    for (const ControlSpec& row : kControls)
        if (!(row.flags & kHidden)) shownWithSection.push_back(controls.at(row.id));
    outLevelList = Control<QComboBox>(controls, kOutLevelList);
    nsThreshList = Control<QComboBox>(controls, kNsThreshList);
    revLevelList = Control<QComboBox>(controls, kRevLevelList);
    directMixList = Control<QComboBox>(controls, kDirectMixList);
    bpmList = Control<QComboBox>(controls, kBpmList);
    outputList = Control<QComboBox>(controls, kOutputList);
    internalTempo = Control<MokCheckBox>(controls, kInternalTempo);
    midiTempo = Control<MokCheckBox>(controls, kMidiTempo);

    for (int v = kMaxLevel; v >= 0; --v) {
        outLevelList->addItem(QString::fromStdString(Format("%d%%", 2 * v)));
        revLevelList->addItem(QString::fromStdString(Format("%d%%", 2 * v)));
    }
    for (int v = kMaxThreshold; v >= 0; --v)
        nsThreshList->addItem(QString::fromStdString(Format("%d dB", v - 20)));
    for (const char* mode : kDirectMixModes) directMixList->addItem(QString::fromLatin1(mode));
    for (int bpm = kMaxTempo; bpm >= kMinTempo; --bpm) bpmList->addItem(QString::number(bpm));
    for (const char* type : kOutputTypes) outputList->addItem(QString::fromLatin1(type));
    // 100%, 0 dB, 100%, Off, 120 BPM from the unit's own clock, the first output type.
    outLevelList->setCurrentIndex(50);
    nsThreshList->setCurrentIndex(20);
    revLevelList->setCurrentIndex(50);
    directMixList->setCurrentIndex(0);
    bpmList->setCurrentIndex(130);
    outputList->setCurrentIndex(0);
    internalTempo->SetCheck(1);

    const QFont labelFont = NamedFont("Arial", 7.5);
    for (const Id id : kLabelFontControls) controls.at(id)->setFont(labelFont);
    for (const auto& [label, list] : kLabelledLists)
        Control<QLabel>(controls, label)->setBuddy(controls.at(list));
    for (QComboBox* list : {outLevelList, nsThreshList, revLevelList, directMixList, bpmList, outputList})
        ApplyLcdColours(list);
    for (MokCheckBox* radio : {internalTempo, midiTempo})
        radio->SetColours(Colours::Red, Colours::Red, Colours::DarkGreen, Qt::black);

    Connect();
    Show(false);
}

QRect VF1GlobalSection::GroupRect() {
    const ControlSpec& group = kControls.front();
    return DialogUnitsToPixels(group.x, group.y, group.w, group.h);
}

void VF1GlobalSection::Connect() {
    connect(Control<QPushButton>(controls, kGet), &QPushButton::clicked, this,
            &VF1GlobalSection::GetFromUnit);
    connect(Control<QPushButton>(controls, kSet), &QPushButton::clicked, this, &VF1GlobalSection::SetToUnit);
    connect(Control<QPushButton>(controls, kTap), &QPushButton::clicked, this, &VF1GlobalSection::Tap);
    for (const Id id : {kInternalTempo, kMidiTempo})
        connect(Control<MokCheckBox>(controls, id), &QAbstractButton::clicked, this,
                [this, id] { OnTempoSourceClicked(id); });
}

void VF1GlobalSection::Show(bool shown) {
    for (QWidget* widget : shownWithSection) widget->setVisible(shown);
}

void VF1GlobalSection::PlaceLfoPanel(QWidget* panel) {
    const QRect group = controls.at(kGroup)->geometry();
    panel->move(group.left() - 4, group.top() + group.height() + 10);
    panel->setVisible(controls.at(kGroup)->isVisibleTo(window));
    shownWithSection.push_back(panel);
}

void VF1GlobalSection::OnTempoSourceClicked(int id) {
    internalTempo->SetCheck(id == kInternalTempo ? 1 : 0);
    midiTempo->SetCheck(id == kMidiTempo ? 1 : 0);
}

void VF1GlobalSection::TransferToFields() {
    // A list that shows no entry keeps the value it was given: the unit gets back its own value,
    // not one made from "no entry".
    if (outLevelList->currentIndex() >= 0) outLevel = kMaxLevel - outLevelList->currentIndex();
    if (nsThreshList->currentIndex() >= 0) nsThreshold = kMaxThreshold - nsThreshList->currentIndex();
    if (revLevelList->currentIndex() >= 0) reverbLevel = kMaxLevel - revLevelList->currentIndex();
    if (bpmList->currentIndex() >= 0) tempo = kMaxTempo - bpmList->currentIndex();
}

void VF1GlobalSection::TransferToControls() {
    SelectIndex(outLevelList, kMaxLevel - outLevel);
    SelectIndex(revLevelList, kMaxLevel - reverbLevel);
    SelectIndex(nsThreshList, kMaxThreshold - nsThreshold);
    SelectIndex(bpmList, kMaxTempo - tempo);
}

std::array<uint8_t, kGlobalSize> VF1GlobalSection::BuildRecord() {
    TransferToFields();
    if (outputList->currentIndex() >= 0) output = outputList->currentIndex();
    if (directMixList->currentIndex() >= 0) directMix = directMixList->currentIndex();
    const int values[kGlobalValueCount] = {
        outLevel, nsThreshold, reverbLevel, output, internalTempo->GetCheck() ? tempo : kMidiTempoValue,
        directMix};
    std::array<uint8_t, kGlobalSize> record{};
    for (size_t i = 0; i < kGlobalValueCount; ++i)
        std::ranges::copy(NibbleEncode16(values[i]), record.begin() + 4 * i);
    return record;
}

void VF1GlobalSection::SetToUnit() {
    const std::array<uint8_t, kGlobalSize> record = BuildRecord();
    VF1MIDI::Instance().SetGlobal(record.data());
}

void VF1GlobalSection::GetFromUnit() {
    std::array<uint8_t, kGlobalSize> record{};
    if (!VF1MIDI::Instance().GetGlobal(record.data())) return;
    int values[kGlobalValueCount];
    for (size_t i = 0; i < kGlobalValueCount; ++i) values[i] = NibbleDecode16(record.data() + 4 * i);
    outLevel = values[0];
    nsThreshold = values[1];
    reverbLevel = values[2];
    output = values[3];
    SelectIndex(outputList, output);
    if (values[4] == kMidiTempoValue) {
        midiTempo->SetCheck(1);
        internalTempo->SetCheck(0);
        // The tempo is not the unit's to give now: the BPM list keeps what it shows.
        if (bpmList->currentIndex() >= 0) tempo = kMaxTempo - bpmList->currentIndex();
    } else {
        internalTempo->SetCheck(1);
        midiTempo->SetCheck(0);
        tempo = values[4];
    }
    directMix = values[5];
    SelectIndex(directMixList, directMix);
    TransferToControls();
}

void VF1GlobalSection::SetTapClock(TickClock clock) {
    tapClock = clock ? std::move(clock) : TickClock(SystemTicks);
}

void VF1GlobalSection::Tap() {
    const uint32_t now = tapClock();
    if (tapCount == 0 || now - lastTapTime > kTapRunGapMs) {
        lastTapTime = now;
        tapIndex = 0;
        tapCount = 1;
    } else {
        const auto interval = static_cast<int>(now - lastTapTime);
        lastTapTime = now;
        if (tapIndex == static_cast<int>(tapIntervals.size())) tapIndex = 0;
        tapIntervals[static_cast<size_t>(tapIndex++)] = interval;
        ++tapCount;
    }
    if (tapCount >= 2) {
        const int n = std::min(tapCount - 1, static_cast<int>(tapIntervals.size()));
        int sum = 0;
        for (int i = 0; i < n; ++i) sum += tapIntervals[static_cast<size_t>(i)];
        const int average = sum / n;
        tapTempo =
            std::clamp(60.0f / (static_cast<float>(average) / 1000.0f), float(kMinTempo), float(kMaxTempo));
    }
    // The first tap of a run shows the tempo of the last run.
    bpmList->setCurrentIndex(kMaxTempo - static_cast<int>(tapTempo));
}
