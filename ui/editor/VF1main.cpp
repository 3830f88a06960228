#include "ui/editor/VF1main.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <array>
#include <ctime>
#include <functional>

#include "midi/DeviceChoice.h"
#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "model/FileIO.h"
#include "model/PatchName.h"
#include "model/Random.h"
#include "model/RealTime.h"
#include "model/Report.h"
#include "model/tables/AlgorithmInfo.h"
#include "ui/dialogs/SysExFileDialog.h"
#include "ui/dialogs/VF1AboutDlg.h"
#include "ui/dialogs/VF1MIDIDlg.h"
#include "ui/editor/BankManagerLink.h"
#include "ui/editor/PatchSession.h"
#include "ui/editor/VF1FXButton.h"
#include "ui/editor/VF1FXButtonWnd.h"
#include "ui/editor/VF1FXControlWnd.h"
#include "ui/editor/VF1ParamControlWnd.h"
#include "ui/editor/VF1PatchListCtrl.h"
#include "ui/lfo/MIDILFOControlsDlg.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/MokButton.h"
#include "ui/widgets/MokCheckBox.h"
#include "ui/widgets/Palettes.h"
#include "ui/widgets/PixelArt.h"

namespace {

using Id = VF1main::ControlId;

constexpr int kTemplateWidth = 577;
constexpr int kTemplateHeight = 302;

// The main part of the window; the Global section has a table of its own.
constexpr std::array kControls = {
    ControlSpec{Id::kPatchesLabel, DialogItemKind::Label, "Patches", 323, 7, 26, 8},
    ControlSpec{Id::kAddPatch, DialogItemKind::MokButton, "+", 355, 7, 13, 11},
    ControlSpec{Id::kRemovePatch, DialogItemKind::MokButton, "-", 372, 7, 13, 11},
    ControlSpec{Id::kLoad, DialogItemKind::MokButton, "Load", 401, 7, 23, 11},
    ControlSpec{Id::kSave, DialogItemKind::MokButton, "Save", 428, 7, 23, 11},
    ControlSpec{Id::kExpand, DialogItemKind::MokButton, ">", 468, 7, 11, 11},
    ControlSpec{Id::kPatchList, DialogItemKind::Custom, nullptr, 322, 22, 157, 93},
    ControlSpec{Id::kBanks, DialogItemKind::MokButton, "Banks", 322, 119, 36, 13},
    ControlSpec{Id::kPatchToBank, DialogItemKind::MokButton, "Patch -> Bank", 362, 119, 50, 13},
    ControlSpec{Id::kBankPatchLabel, DialogItemKind::Label, "Bank Patch:", 423, 117, 24, 15},
    ControlSpec{Id::kPreviousBankPatch, DialogItemKind::MokButton, "-", 449, 119, 13, 13},
    ControlSpec{Id::kNextBankPatch, DialogItemKind::MokButton, "+", 466, 119, 13, 13},
    ControlSpec{Id::kAlgorithmLabel, DialogItemKind::Label, "Algorithm", 384, 137, 32, 10},
    ControlSpec{Id::kAlgorithmList, DialogItemKind::DropDownList, nullptr, 384, 146, 95, 83},
    ControlSpec{Id::kNameLabel, DialogItemKind::Label, "Name", 384, 164, 19, 8},
    ControlSpec{Id::kNameBox, DialogItemKind::Edit, nullptr, 408, 162, 71, 12},
    ControlSpec{Id::kCategoryLabel, DialogItemKind::Label, "Ctgry", 384, 180, 19, 11},
    ControlSpec{Id::kCategoryList, DialogItemKind::DropDownList, nullptr, 408, 178, 46, 82},
    ControlSpec{Id::kRandomizeLabel, DialogItemKind::Label, "Randomize", 384, 202, 36, 8},
    ControlSpec{Id::kRandomizeEffect, DialogItemKind::MokButton, "Effect", 421, 201, 27, 11},
    ControlSpec{Id::kRandomizePatch, DialogItemKind::MokButton, "Patch", 452, 201, 27, 11},
    ControlSpec{Id::kTransferGroup, DialogItemKind::GroupBox, nullptr, 382, 219, 98, 78, kHidden},
    ControlSpec{Id::kSend, DialogItemKind::MokButton, "Send", 390, 224, 37, 14},
    ControlSpec{Id::kRequest, DialogItemKind::MokButton, "Request", 434, 224, 37, 14},
    ControlSpec{Id::kTargetEdit, DialogItemKind::MokRadio, "Edit", 390, 242, 27, 10},
    ControlSpec{Id::kTargetA, DialogItemKind::MokRadio, "A:", 419, 242, 20, 10},
    ControlSpec{Id::kTargetB, DialogItemKind::MokRadio, "B:", 419, 253, 19, 10},
    ControlSpec{Id::kPatchNumberList, DialogItemKind::DropDownList, nullptr, 441, 242, 29, 86},
    ControlSpec{Id::kAutoSend, DialogItemKind::MokCheckBox, "Auto-send Patch on change / selection", 391, 266,
                81, 16, kMultiLine},
    ControlSpec{Id::kRealTimeEdits, DialogItemKind::MokCheckBox, "Real-time Edits", 391, 284, 75, 11,
                kHidden},
    ControlSpec{Id::kAboutLabel, DialogItemKind::ClickLabel, "About", 521, 289, 20, 8},
};

constexpr Id kLabelFontControls[] = {
    Id::kNameLabel,      Id::kCategoryLabel, Id::kAlgorithmLabel,  Id::kBankPatchLabel, Id::kAboutLabel,
    Id::kRandomizeLabel, Id::kPatchToBank,   Id::kRandomizeEffect, Id::kRandomizePatch, Id::kPatchNumberList};
constexpr Id kSmallFontControls[] = {Id::kNameBox, Id::kAlgorithmList, Id::kCategoryList, Id::kPatchList};
constexpr Id kCheckBoxes[] = {Id::kRealTimeEdits, Id::kAutoSend, Id::kTargetEdit, Id::kTargetA, Id::kTargetB};
constexpr Id kTargets[] = {Id::kTargetEdit, Id::kTargetA, Id::kTargetB};

constexpr int kPatchNumbers = kGroupSize;

// Pictures and frames placed in client pixels.
constexpr QPoint kBannerAt(6, 5);
constexpr QPoint kLcdAt(10, 50);
// The parameter panel frame runs from x 10 to 561. Its top lies 300 px above the bottom of the
// whole window, caption and borders included, which the platform's window measured as 29 px more
// than the client area; it is 261 px high.
constexpr int kPanelFrameLeft = 10;
constexpr int kPanelFrameRight = 561;
constexpr int kNonClientHeight = 29;
constexpr int kPanelFrameTopFromBottom = 300;
constexpr int kPanelFrameHeight = 261;

constexpr const char* kUnsavedBanksQuestion =
    "You have unsaved changes in your banks.  Are you sure you want to quit without saving them?";

QFrame* BorderedFrame(QWidget* parent, const QRect& geometry) {
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    QPalette colours = frame->palette();
    colours.setColor(QPalette::WindowText, Colours::DarkGreen);
    frame->setPalette(colours);
    frame->setGeometry(geometry);
    return frame;
}

} // namespace

VF1main::VF1main(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      midiSettingsDialog(std::make_unique<VF1MIDIDlg>(this)), history(std::make_unique<PatchHistory>(*this)) {
    setWindowTitle(QStringLiteral("Quellin"));
    QIcon icon;
    icon.addPixmap(Picture(Pictures::IconLarge));
    icon.addPixmap(Picture(Pictures::IconSmall));
    setWindowIcon(icon);
    setFixedSize(DialogSizeToPixels(kTemplateWidth, kTemplateHeight));
    // Not centred: the window opens at the top-left corner of the screen.
    move(0, 0);

    QPalette colours = palette();
    colours.setColor(QPalette::Window, Colours::Red);
    setPalette(colours);
    setAutoFillBackground(true);

    CreatePictures();
    SetUpControls();
    CreateGlobalSection();
    SetColoursAndFonts();
    CreateTransferFrame();
    CreateLfoPanel();
    CollapseGlobalSection();
    ApplyStoredMidiSettings();

    // The first patch is current; its row is selected before anything can be sent.
    patchList.Select(0);
    algorithmList->setCurrentIndex(0);
    SetUpPatchList();
    Connect();
    ChangeAlgorithm(algorithmList->currentIndex());
    history->PatchAdded(*patchList.GetCurrent());
    history->SetCurrent(patchList.GetCurrentIndex());
    SetUpHistoryKeys();

    initialised = true;
    listNotify = true;
    SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
}

VF1main::~VF1main() {
    // What is open and edited now is what the next start offers.
    WriteSessionNow();
    // No step is recorded while the window goes.
    history.reset();
    // The MIDI settings of this run are what the next run starts with.
    VF1Settings& settings = VF1Settings::Instance();
    settings.SetDevID(midiSettingsDialog->DeviceIdIndex());
    settings.SetInIdx(midiSettingsDialog->InIndex());
    settings.SetOutIdx(midiSettingsDialog->OutIndex());
    settings.Save();
    VF1Settings::Release();
    DestroyDiagram();
}

void VF1main::CreatePictures() {
    bannerPicture = new QLabel(this);
    bannerPicture->setPixmap(Picture(Pictures::Banner));
    bannerPicture->setGeometry(QRect(kBannerAt, bannerPicture->pixmap().size()));

    lcdPicture = new QLabel(this);
    lcdPicture->setPixmap(Picture(Pictures::Lcd));
    lcdPicture->setGeometry(QRect(kLcdAt, lcdPicture->pixmap().size()));

    const int top = height() + kNonClientHeight - kPanelFrameTopFromBottom;
    paramPanelFrame = BorderedFrame(
        this, QRect(QPoint(kPanelFrameLeft, top), QPoint(kPanelFrameRight - 1, top + kPanelFrameHeight - 1)));
    paramPanelFrame->setObjectName(QString::number(kParamPanelFrame));
    QPalette lime = paramPanelFrame->palette();
    lime.setColor(QPalette::Window, Colours::Lime);
    paramPanelFrame->setPalette(lime);
    paramPanelFrame->setAutoFillBackground(true);
}

void VF1main::SetUpControls() {
    controls = BuildControls(this, kControls, [](const ControlSpec&, QWidget* parent) -> QWidget* {
        return new VF1PatchListCtrl(parent);
    });
    patchListView = Control<VF1PatchListCtrl>(controls, kPatchList);
    algorithmList = Control<QComboBox>(controls, kAlgorithmList);
    categoryList = Control<QComboBox>(controls, kCategoryList);
    patchNumberList = Control<QComboBox>(controls, kPatchNumberList);
    nameBox = Control<QLineEdit>(controls, kNameBox);
    autoSend = Control<MokCheckBox>(controls, kAutoSend);
    realTimeEdits = Control<MokCheckBox>(controls, kRealTimeEdits);

    // The window has no default button: Enter presses nothing.
    for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    nameBox->setMaxLength(kPatchNameLength);
    nameBox->installEventFilter(this);
    Control<MokCheckBox>(controls, kTargetEdit)->SetCheck(1);
    autoSend->SetCheck(1);

    for (int n = 1; n <= kPatchNumbers; ++n) patchNumberList->addItem(QString::number(n));
    patchNumberList->setCurrentIndex(0);
    patchNumberList->setEnabled(false);
    for (const AlgorithmInfo& row : AlgorithmTable())
        algorithmList->addItem(QString::fromLatin1(row.longName));
    for (int c = 0; c < kCategoryCount; ++c) categoryList->addItem(QString::fromLatin1(CategoryName(c)));

    controls.at(kAboutLabel)->installEventFilter(this);
}

void VF1main::SetColoursAndFonts() {
    const QFont labelFont = NamedFont("Arial", 7.5);
    const QFont smallFont = NamedFont("Arial", 7);
    for (const Id id : kLabelFontControls) controls.at(id)->setFont(labelFont);
    for (const Id id : kSmallFontControls) controls.at(id)->setFont(smallFont);

    for (QWidget* box : {static_cast<QWidget*>(nameBox), static_cast<QWidget*>(algorithmList),
                         static_cast<QWidget*>(categoryList), static_cast<QWidget*>(patchNumberList)})
        ApplyLcdColours(box);

    QLabel* about = Control<QLabel>(controls, kAboutLabel);
    QPalette lime = about->palette();
    lime.setColor(QPalette::WindowText, Colours::Lime);
    about->setPalette(lime);

    // A checked box shows a dark green square, an unchecked one an empty frame; black text on red.
    for (const Id id : kCheckBoxes)
        Control<MokCheckBox>(controls, id)
            ->SetColours(Colours::Red, Colours::Red, Colours::DarkGreen, Qt::black);
}

void VF1main::CreateTransferFrame() {
    transferFrame = BorderedFrame(this, controls.at(kTransferGroup)->geometry());
    transferFrame->setAccessibleName(QStringLiteral("Transfer Controls"));
    // Behind the transfer controls, so that it never takes their clicks.
    transferFrame->lower();
}

void VF1main::CreateGlobalSection() {
    globalSection = new VF1GlobalSection(this);
    controls.insert(globalSection->Controls().begin(), globalSection->Controls().end());
}

// The LFO panel answers the MIDI object's questions before a SysEx send; the Global section
// places it below its group box and shows and hides it with itself.
void VF1main::CreateLfoPanel() {
    lfoPanel = new MIDILFOControlsDlg(VF1MIDI::Instance(), this);
    lfoPanel->show();
    VF1MIDI::Instance().SetLFODialog(lfoPanel);
    globalSection->PlaceLfoPanel(lfoPanel);
}

void VF1main::CollapseGlobalSection() {
    // The window ends where the section begins; the section's controls are hidden as well, so
    // that neither the keyboard nor assistive technology reaches what cannot be seen.
    expanded = false;
    globalSection->Show(false);
    setFixedWidth(CollapsedWidth());
}

int VF1main::CollapsedWidth() {
    return VF1GlobalSection::GroupRect().left();
}

int VF1main::ExpandedWidth() {
    return CollapsedWidth() + VF1GlobalSection::GroupRect().width() + 10;
}

QRect VF1main::MidiSettingsHotSpot() {
    return VF1FXButtonWnd::kMidiHotSpot;
}

void VF1main::ApplyStoredMidiSettings() {
    const VF1Settings& settings = VF1Settings::Instance();
    // A hand-edited file can hold "-1": a device ID byte must stay a data byte, so such values
    // count as 0 like the values of a file of the wrong size.
    const int deviceId = std::max(settings.GetDevID(), 0);
    const int in = std::max(settings.GetInIdx(), 0);
    const int out = std::max(settings.GetOutIdx(), 0);
    VF1MIDI& midi = VF1MIDI::Instance();
    midiSettingsDialog->SetDeviceIdIndex(deviceId);
    midiSettingsDialog->SetInIndex(in);
    midiSettingsDialog->SetOutIndex(out);
    // When a remembered device is gone and another stands at its index, the user chooses, once
    // the window shows, rather than the program sending to a stranger.
    if (FollowChosenDevices(midi.GetOutDevNames(), midi.GetInDevNames()))
        connect(this, &VF1main::firstPainted, this, &VF1main::OpenMidiSettings, Qt::SingleShotConnection);
    midi.SetDeviceID(deviceId);
    midi.SetInDevice(static_cast<unsigned>(midiSettingsDialog->InIndex()));
    midi.SetOutDevice(static_cast<unsigned>(midiSettingsDialog->OutIndex()));
}

bool VF1main::FollowChosenDevices(const std::vector<std::string>& outNames,
                                  const std::vector<std::string>& inNames) {
    VF1Settings& settings = VF1Settings::Instance();
    const DeviceChoice out = ResolveDevice(outNames, midiSettingsDialog->OutIndex(), settings.GetOutName());
    const DeviceChoice in = ResolveDevice(inNames, midiSettingsDialog->InIndex(), settings.GetInName());
    midiSettingsDialog->SetOutIndex(out.index);
    midiSettingsDialog->SetInIndex(in.index);
    settings.SetOutName(NameToRemember(out, outNames, settings.GetOutName()));
    settings.SetInName(NameToRemember(in, inNames, settings.GetInName()));
    return out.outcome == DeviceChoice::Outcome::Replaced || in.outcome == DeviceChoice::Outcome::Replaced;
}

void VF1main::RememberChosenDevices(const std::vector<std::string>& outNames,
                                    const std::vector<std::string>& inNames) {
    VF1Settings& settings = VF1Settings::Instance();
    const DeviceChoice out{midiSettingsDialog->OutIndex(), DeviceChoice::Outcome::Kept};
    const DeviceChoice in{midiSettingsDialog->InIndex(), DeviceChoice::Outcome::Kept};
    settings.SetOutName(NameToRemember(out, outNames, settings.GetOutName()));
    settings.SetInName(NameToRemember(in, inNames, settings.GetInName()));
}

void VF1main::SetUpPatchList() {
    VF1Algorithm* patch = patchList.GetCurrent();
    patchListView->InsertRow(0, QString::fromLatin1(patch->GetDisplayName()));
    // Selecting the row loads patch 0 into the editor; listNotify is still false, so nothing is
    // sent.
    connect(patchListView, &VF1PatchListCtrl::rowSelected, this, &VF1main::OnRowSelected);
    patchListView->SelectRow(0);
    lastSelected = 0;
}

void VF1main::Connect() {
    auto onClick = [this](int id, void (VF1main::*action)()) {
        connect(Control<QPushButton>(controls, id), &QPushButton::clicked, this, action);
    };
    onClick(kAddPatch, &VF1main::AddPatch);
    onClick(kRemovePatch, &VF1main::RemovePatch);
    // On "+" and "-" a double-click counts as two clicks: its click and the double-click itself.
    connect(Control<MokButton>(controls, kAddPatch), &MokButton::doubleClicked, this, &VF1main::AddPatch);
    connect(Control<MokButton>(controls, kRemovePatch), &MokButton::doubleClicked, this,
            &VF1main::RemovePatch);
    onClick(kLoad, &VF1main::LoadPatch);
    onClick(kSave, &VF1main::SavePatch);
    onClick(kExpand, &VF1main::ToggleGlobalSection);
    onClick(kSend, &VF1main::SendCurrentPatch);
    onClick(kRequest, &VF1main::RequestPatch);
    onClick(kBanks, &VF1main::ShowBankManager);
    onClick(kPatchToBank, &VF1main::PatchToBank);
    onClick(kRandomizeEffect, &VF1main::RandomizeEffect);
    onClick(kRandomizePatch, &VF1main::RandomizePatch);
    connect(Control<QPushButton>(controls, kPreviousBankPatch), &QPushButton::clicked, this,
            [this] { StepBankPatch(0); });
    connect(Control<QPushButton>(controls, kNextBankPatch), &QPushButton::clicked, this,
            [this] { StepBankPatch(1); });

    for (const Id id : kTargets)
        connect(Control<MokCheckBox>(controls, id), &QAbstractButton::clicked, this,
                [this, id] { OnTargetClicked(id); });
    connect(realTimeEdits, &QAbstractButton::clicked, this,
            [this] { SetRealTimeEdits(realTimeEdits->GetCheck() != 0); });
    // "Auto-send" takes effect at the next change of the patch; its click changes only its state.

    connect(patchListView, &VF1PatchListCtrl::emptyClicked, this, &VF1main::OnEmptyListClick);
    connect(patchListView, &VF1PatchListCtrl::rowDoubleClicked, this, [this] { PatchToBank(); });

    connect(algorithmList, &QComboBox::activated, this, &VF1main::OnAlgorithmChosen);
    connect(categoryList, &QComboBox::activated, this, &VF1main::OnCategoryChosen);
    connect(nameBox, &QLineEdit::textChanged, this, &VF1main::OnNameChanged);
}

QWidget* VF1main::ControlById(int id) const {
    if (id == kParamPanelFrame) return paramPanelFrame;
    const auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second;
}

// ---- The patch list and the editor's boxes

void VF1main::InsertPatchRow(const QString& from) {
    const int row = patchList.GetCurrentIndex();
    VF1Algorithm* patch = patchList.GetCurrent();
    history->PatchAdded(*patch);
    patchListView->InsertRow(row, QString::fromLatin1(patch->GetDisplayName()),
                             QString::fromLatin1(patch->GetName().c_str()), from);
    patchListView->SelectRow(row);
    patchListView->scrollToItem(patchListView->topLevelItem(row));
}

void VF1main::OnRowSelected(int row) {
    history->Leave();
    lastSelected = row;
    patchList.Select(row);
    history->SetCurrent(row);
    VF1Algorithm* patch = patchList.GetCurrent();
    if (patch == nullptr) return;
    patch->SetOwnerWindow(this);
    categoryList->setCurrentIndex(patch->GetCategory());
    algorithmList->setCurrentIndex(AlgorithmRow(patch->GetNumber()));
    nameBox->setText(QString::fromLatin1(patch->GetName().c_str()));
    nameText = nameBox->text().toStdString();
    DestroyDiagram();
    // At start-up the first patch is replaced by a fresh one at once, which builds its diagram.
    if (initialised) BuildDiagram();
    if (listNotify) ApplyAutoSend();
}

void VF1main::OnEmptyListClick() {
    // The list always keeps one selected row, and such a click sends nothing.
    listNotify = false;
    patchListView->SelectRow(lastSelected);
    listNotify = true;
}

void VF1main::OnAlgorithmChosen(int listIndex) {
    // Choosing the algorithm the patch already has would only throw its values away.
    if (AlgorithmAtRow(listIndex) == patchList.GetCurrent()->GetNumber()) return;
    // The new algorithm's defaults replace every value: the step keeps the whole patch, and its
    // undo sends the patch as the change did.
    history->RecordPatchAction(QStringLiteral("Algorithm"), true,
                               [this, listIndex] { ChangeAlgorithm(listIndex); });
}

void VF1main::ChangeAlgorithm(int listIndex) {
    DestroyDiagram();
    patchList.ReplaceCurrent(AlgorithmAtRow(listIndex));
    VF1Algorithm* patch = patchList.GetCurrent();
    patch->SetOwnerWindow(this);
    categoryList->setCurrentIndex(patch->GetCategory());
    patchListView->SetText(patchList.GetCurrentIndex(), VF1PatchListCtrl::kAlgorithmColumn,
                           QString::fromLatin1(patch->GetDisplayName()));
    patch->SetName(nameText);
    BuildDiagram();
    if (initialised) ApplyAutoSend();
}

void VF1main::OnCategoryChosen(int index) {
    if (index == patchList.GetCurrent()->GetCategory()) return;
    patchList.GetCurrent()->SetCategory(index);
    history->RecordHeaderChange(QStringLiteral("Category"));
    ApplyAutoSend();
}

void VF1main::OnNameChanged(const QString& text) {
    // The name ends before the first character the unit does not show.
    const auto bad =
        std::find_if(text.begin(), text.end(), [](QChar c) { return !IsNameCharacter(c.unicode()); });
    QString name = text;
    if (bad != text.end()) {
        name.truncate(static_cast<int>(bad - text.begin()));
        // The cut name is still the user's change, and goes to the unit when the box is left.
        const bool modified = nameBox->isModified();
        const QSignalBlocker blocker(nameBox);
        nameBox->setText(name);
        nameBox->setModified(modified);
    }
    nameText = name.toStdString();
    patchListView->SetText(patchList.GetCurrentIndex(), VF1PatchListCtrl::kNameColumn, name);
    patchList.GetCurrent()->SetName(nameText);
    if (sessionTimer) sessionTimer->start();
}

void VF1main::OnNameFocusLost() {
    if (!nameBox->isModified()) return;
    nameText = nameBox->text().toStdString();
    nameBox->setModified(false);
    history->RecordHeaderChange(QStringLiteral("Name"));
    ApplyAutoSend();
}

void VF1main::OnTargetClicked(int id) {
    for (const Id target : kTargets) Control<MokCheckBox>(controls, target)->SetCheck(target == id ? 1 : 0);
    patchNumberList->setEnabled(id != kTargetEdit);
}

bool VF1main::TargetIsEdit() const {
    return Control<MokCheckBox>(controls, kTargetEdit)->GetCheck() != 0;
}
bool VF1main::TargetIsBankB() const {
    return Control<MokCheckBox>(controls, kTargetA)->GetCheck() == 0;
}
int VF1main::TargetNumber() const {
    return patchNumberList->currentIndex();
}

void VF1main::ShowRealTimeEdits() {
    realTimeEdits->show();
    realTimeEdits->SetCheck(1);
    SetRealTimeEdits(true);
}

void VF1main::ApplyAutoSend() {
    if (autoSend->GetCheck()) {
        VF1MIDI& midi = VF1MIDI::Instance();
        midi.SetPatchData(*patchList.GetCurrent());
        if (midi.SendPatch(false, false, 0)) ShowRealTimeEdits();
        return;
    }
    realTimeEdits->hide();
    realTimeEdits->SetCheck(0);
    SetRealTimeEdits(false);
}

// ---- Buttons

void VF1main::AddPatch() {
    patchList.AddDefault();
    const int row = patchList.GetCount() - 1;
    history->PatchAdded(*patchList.GetAt(row));
    patchListView->InsertRow(row, QString::fromLatin1(patchList.GetAt(row)->GetDisplayName()));
}

void VF1main::RemovePatch() {
    if (patchList.GetCount() < 2) return;
    history->Leave();
    const int row = patchList.GetCurrentIndex();
    // The diagram shows the patch that goes; it goes first.
    DestroyDiagram();
    patchList.RemoveAt(row);
    // Its history goes with it.
    history->PatchRemoved(row);
    history->SetCurrent(patchList.GetCurrentIndex());
    patchListView->DeleteRow(row);
    patchListView->SelectRow(patchList.GetCurrentIndex());
}

void VF1main::LoadPatch() {
    const QString path = AskSysExFileToOpen(this);
    if (!path.isEmpty()) LoadPatchFromFile(path);
}

bool VF1main::LoadPatchFromFile(const QString& path) {
    history->Leave();
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    if (!VF1MIDI::Instance().LoadPatchFile(path.toStdString(), &first, &second)) return false;
    if (!patchList.LoadFromPatchData(first, second)) return false;
    InsertPatchRow(QStringLiteral("file"));
    return true;
}

void VF1main::OpenFiles(const QStringList& paths) {
    for (const QString& path : paths) LoadPatchFromFile(path);
}

void VF1main::SavePatch() {
    const QString path = AskSysExFileToSave(this);
    if (!path.isEmpty()) SavePatchToFile(path);
}

bool VF1main::SavePatchToFile(const QString& path) {
    history->Flush();
    if (!VF1MIDI::Instance().SavePatchFile(*patchList.GetCurrent(), path.toStdString())) return false;
    history->MarkStored();
    return true;
}

void VF1main::SendCurrentPatch() {
    history->Flush();
    VF1MIDI& midi = VF1MIDI::Instance();
    midi.SetPatchData(*patchList.GetCurrent());
    const bool toMemory = !TargetIsEdit();
    if (!midi.SendPatch(toMemory, TargetIsBankB(), TargetNumber())) return;
    history->MarkStored();
    if (!toMemory) ShowRealTimeEdits();
}

void VF1main::RequestPatch() {
    history->Leave();
    const bool toMemory = !TargetIsEdit();
    const bool bankB = TargetIsBankB();
    const int number = TargetNumber();
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    const int count = VF1MIDI::Instance().ReceivePatch(&first, &second, toMemory, bankB, number);
    if (!PatchReceived(count)) return;
    if (!patchList.LoadFromPatchData(first, second)) return;
    InsertPatchRow(toMemory ? QString::fromLatin1(SlotName(number + (bankB ? kGroupSize : 0)))
                            : QStringLiteral("edit"));
    if (!toMemory) ShowRealTimeEdits();
}

bool VF1main::OpenBankPatch(const uint8_t* image, int bankNumber, int index) {
    history->Leave();
    // Parsing works in a copy: the bank keeps its image as it is.
    std::array<uint8_t, kPatchImageSize> copy{};
    std::copy(image, image + kPatchImageSize, copy.begin());
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    if (!VF1MIDI::Instance().ParsePatchImage(&first, &second, copy.data())) return false;
    if (!patchList.LoadFromPatchData(first, second)) return false;
    InsertPatchRow(QString::fromStdString(Format("%d:%s", bankNumber, SlotName(index))));
    return true;
}

void VF1main::ToggleGlobalSection() {
    const int delta = controls.at(kGlobalGroup)->width() + 10;
    expanded = !expanded;
    setFixedWidth(width() + (expanded ? delta : -delta));
    globalSection->Show(expanded);
    Control<QPushButton>(controls, kExpand)->setText(expanded ? QStringLiteral("<") : QStringLiteral(">"));
}

void VF1main::OpenMidiSettings() {
    VF1MIDI& midi = VF1MIDI::Instance();
    // The devices as they are now: one plugged in since shows, and the chosen ones stay chosen
    // where the lists have moved.
    const std::vector<std::string> outNames = midi.GetOutDevNames();
    const std::vector<std::string> inNames = midi.GetInDevNames();
    FollowChosenDevices(outNames, inNames);
    midiSettingsDialog->Run(outNames, inNames);
    // Whichever way the dialog closed, its selections apply.
    midi.SetOutDevice(static_cast<unsigned>(midiSettingsDialog->OutIndex()));
    midi.SetInDevice(static_cast<unsigned>(midiSettingsDialog->InIndex()));
    midi.SetDeviceID(midiSettingsDialog->DeviceIdIndex());
    RememberChosenDevices(outNames, inNames);
}

void VF1main::ShowAbout() {
    VF1AboutDlg about(this);
    about.exec();
}

// ---- The bank manager

void VF1main::ShowBankManager() {
    if (bankManager == nullptr) return;
    bankManager->ShowManager();
    bankWindowShown = true;
}

void VF1main::PatchToBank() {
    if (bankManager == nullptr) return;
    VF1MIDI::Instance().BuildPatchImage(*patchList.GetCurrent(), bankManager->EditedPatchImage());
    bankManager->EditedPatchChanged();
}

void VF1main::StepBankPatch(int next) {
    if (bankManager) bankManager->StepPatch(next);
}

void VF1main::OnEffectPositionsChanged(bool moved) {
    RepositionDiagramBlocks();
    // While randomising, the unit hears of the moved effect once the randomiser has finished.
    if (randomising) {
        movedWhileRandomising = movedWhileRandomising || moved;
        return;
    }
    if (moved) {
        ApplyAutoSend();
        ApplyAutoSend();
    }
}

void VF1main::OnBlockLayoutChanged() {
    RebuildSelectedPanel();
}

// ---- Randomize

bool VF1main::RandomiseQuietly(const std::function<void()>& randomise) {
    // Every value changes: the unit gets the block or the patch once, not one message per value.
    const bool wasRealTime = RealTimeEdits();
    SetRealTimeEdits(false);
    randomising = true;
    movedWhileRandomising = false;
    randomise();
    randomising = false;
    SetRealTimeEdits(wasRealTime);
    return movedWhileRandomising;
}

void VF1main::RandomizeEffect() {
    VF1Effect* block = SelectedEffect();
    if (block == nullptr || block->IsMaster()) return;
    history->RecordBlockAction(QStringLiteral("Randomize Effect"), patchList.GetCurrent()->GetSelectedIndex(),
                               [this, block] {
                                   const bool moved = RandomiseQuietly([block] { block->RandomiseAll(); });
                                   if (RealTimeEdits()) VF1MIDI::Instance().SendBlock(*block);
                                   // A variable-position effect that moved the other one changed
                                   // more than its block: that change reaches the unit as the edit
                                   // path sends it, with the whole patch.
                                   if (moved) ApplyAutoSend();
                               });
    RefreshSelectedPanel();
}

void VF1main::RandomizePatch() {
    VF1Algorithm* patch = patchList.GetCurrent();
    history->RecordPatchAction(QStringLiteral("Randomize Patch"), false, [this, patch] {
        const bool moved = RandomiseQuietly([patch] {
            for (int i = 0; i < patch->GetBlockCount(); ++i)
                if (VF1Effect* block = patch->GetBlock(i); block && !block->IsMaster()) block->RandomiseAll();
        });
        if (RealTimeEdits() || moved) ApplyAutoSend();
    });
    RefreshSelectedPanel();
    RebuildChangeablePanels();
}

// ---- Undo, redo and Compare

void VF1main::SetUpHistoryKeys() {
    // Window-wide, except where a text box keeps these keys for its own typing.
    for (const QKeySequence& keys : {QKeySequence(QKeySequence::Undo)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &VF1main::Undo);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &VF1main::Redo);
    // C compares while the diagram (its buttons or its panels) has the focus.
    for (QWidget* diagramPart : {static_cast<QWidget*>(lcdPicture), static_cast<QWidget*>(paramPanelFrame)})
        connect(new QShortcut(QKeySequence(Qt::Key_C), diagramPart, nullptr, nullptr,
                              Qt::WidgetWithChildrenShortcut),
                &QShortcut::activated, this, &VF1main::Compare);
}

bool VF1main::PutPatchData(const PatchData& data) {
    const int selected = patchList.GetCurrent()->GetSelectedIndex();
    // The diagram shows the patch that is replaced; it goes first.
    DestroyDiagram();
    const bool put = patchList.ReplaceCurrentFromPatchData(data.data(), data.data() + kHeaderHalfSize);
    ShowRestoredPatch(selected);
    return put;
}

void VF1main::ShowRestoredPatch(int block) {
    VF1Algorithm* patch = patchList.GetCurrent();
    patch->SetOwnerWindow(this);
    if (block < 0) block = patch->GetSelectedIndex();
    QWidget* focus = focusWidget();
    const bool diagramFocused =
        focus && (lcdPicture->isAncestorOf(focus) || paramPanelFrame->isAncestorOf(focus));

    const int row = patchList.GetCurrentIndex();
    categoryList->setCurrentIndex(patch->GetCategory());
    algorithmList->setCurrentIndex(AlgorithmRow(patch->GetNumber()));
    const QString name = QString::fromLatin1(patch->GetName().c_str());
    {
        const QSignalBlocker blocker(nameBox);
        nameBox->setText(name);
    }
    nameText = patch->GetName();
    patchListView->SetText(row, VF1PatchListCtrl::kAlgorithmColumn,
                           QString::fromLatin1(patch->GetDisplayName()));
    patchListView->SetText(row, VF1PatchListCtrl::kNameColumn, name);

    // The diagram is built anew: a step can move blocks, switch them, change their parameter sets
    // or the whole algorithm. It shows the block the step changed.
    DestroyDiagram();
    BuildDiagram();
    if (block >= 0 && block < patch->GetBlockCount()) diagram->SelectButton(VF1FXButton::kFirstId + block);
    if (diagramFocused && diagram->GetSelectedPair()) diagram->GetSelectedPair()->button->setFocus();
}

// ---- The open patches kept between runs

namespace {

constexpr int kSessionDelayMs = 500;

constexpr const char* kSessionQuestion =
    "Patches you edited in the last session were neither saved nor sent.  Do you want to open them again?";
constexpr const char* kDamagedSession =
    "The patches kept from the last session could not be read.  The damaged copy was set aside as \"%s\".";

// The file's bytes, or false when it is larger than any session this program writes.
bool ReadSessionFile(const std::string& path, std::vector<uint8_t>& bytes) {
    return ReadFileQuietly(path, kMaxSessionBytes + 1, bytes) == 0 && bytes.size() <= kMaxSessionBytes;
}

} // namespace

void VF1main::ResumeSession(const std::string& path) {
    if (path.empty() || !QFileInfo::exists(QString::fromStdString(path))) return;
    std::vector<uint8_t> bytes;
    Session session;
    if (!ReadSessionFile(path, bytes) || !ParseSession(bytes, session)) {
        const std::string aside = path + ".damaged";
        QFile::remove(QString::fromStdString(aside));
        QFile::rename(QString::fromStdString(path), QString::fromStdString(aside));
        ShowMessage(Format(kDamagedSession, aside.c_str()), MessageStyle::Warning);
        return;
    }
    const bool anyEdited = std::any_of(session.patches.begin(), session.patches.end(),
                                       [](const SessionPatch& p) { return p.edited; });
    if (!anyEdited) return;
    if (ShowMessage(kSessionQuestion, MessageStyle::Question) != 1) {
        QFile::remove(QString::fromStdString(path));
        return;
    }
    for (const SessionPatch& kept : session.patches) {
        if (!kept.edited) continue;
        history->Leave();
        if (!patchList.LoadFromPatchData(kept.data.data(), kept.data.data() + kHeaderHalfSize)) continue;
        InsertPatchRow(QString::fromStdString(kept.from));
        // Still edited: what it was opened, saved or sent as is what Compare shows.
        history->SetReference(patchList.GetCurrentIndex(), kept.stored);
    }
}

void VF1main::KeepSession(const std::string& path) {
    sessionPath = path;
    if (sessionTimer == nullptr) {
        sessionTimer = new QTimer(this);
        sessionTimer->setSingleShot(true);
        sessionTimer->setInterval(kSessionDelayMs);
        connect(sessionTimer, &QTimer::timeout, this, &VF1main::WriteSessionNow);
        connect(history.get(), &PatchHistory::changed, sessionTimer, qOverload<>(&QTimer::start));
    }
    sessionTimer->start();
}

void VF1main::WriteSessionNow() {
    if (sessionPath.empty() || history == nullptr) return;
    if (sessionTimer) sessionTimer->stop();
    history->Flush();
    Session session;
    session.current = std::max(patchList.GetCurrentIndex(), 0);
    for (int i = 0; i < patchList.GetCount() && i < history->PatchCount(); ++i) {
        SessionPatch kept;
        kept.data = history->EditedState(i);
        kept.stored = history->Reference(i);
        kept.edited = history->IsEdited(i);
        kept.from = patchListView->Text(i, VF1PatchListCtrl::kFromColumn).toStdString();
        session.patches.push_back(std::move(kept));
    }
    const QFileInfo file(QString::fromStdString(sessionPath));
    // The state folder is the user's alone.
    QDir().mkpath(file.absolutePath());
    QFile::setPermissions(file.absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // A session that cannot be written says so once, then is no longer kept.
    if (!WriteFileReplacing(sessionPath, SessionBytes(session))) sessionPath.clear();
}

// ---- The diagram's place

void VF1main::BuildDiagram() {
    diagram = std::make_unique<VF1FXControlWnd>(patchList.GetCurrent(), paramPanelFrame, lcdPicture);
    diagram->Create();
    connect(diagram->GetButtonWindow(), &VF1FXButtonWnd::openMidiSettings, this, &VF1main::OpenMidiSettings);
}

void VF1main::DestroyDiagram() {
    diagram.reset();
}

void VF1main::RepositionDiagramBlocks() {
    if (diagram) diagram->RepositionVariableBlocks();
}

void VF1main::RebuildSelectedPanel() {
    if (diagram) diagram->GetSelectedPanel()->Rebuild(true);
}

VF1Effect* VF1main::SelectedEffect() const {
    // The diagram keeps the patch's selected block in step with its own selection.
    return patchList.GetCurrent()->GetSelectedBlock();
}

void VF1main::RefreshSelectedPanel() {
    if (diagram) diagram->RefreshSelectedPanel();
}

void VF1main::RebuildChangeablePanels() {
    if (diagram) diagram->RebuildChangeablePanels();
}

// ---- Window events

void VF1main::reject() {
    if (bankManager && bankManager->HasUnsavedChanges() &&
        ShowMessage(kUnsavedBanksQuestion, MessageStyle::Question) != 1)
        return;
    QDialog::reject();
}

bool VF1main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls.at(kAboutLabel)) {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            ShowAbout();
            return true;
        }
    } else if (watched == nameBox && event->type() == QEvent::FocusOut) {
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) OnNameFocusLost();
    }
    return QDialog::eventFilter(watched, event);
}

void VF1main::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if (isMinimized()) {
            if (bankManager) bankManager->HideManager();
        } else if ((change->oldState() & Qt::WindowMinimized) && bankWindowShown && bankManager) {
            bankManager->ShowManager();
        }
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow() && initialised && bankManager) {
        bankManager->RaiseManager();
        raise();
    }
    QDialog::changeEvent(event);
}

void VF1main::keyPressEvent(QKeyEvent* event) {
    // A main window is not a dialog to cancel: Escape would close it, and every open patch with
    // it. The close box, Alt+F4 and the window menu close it, with the bank question.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void VF1main::contextMenuEvent(QContextMenuEvent* event) {
    // The window's own menu: the platform's system menu is not the same on every desktop.
    QMenu menu(this);
    // A parameter's name is shown as it is: an ampersand in it is no mnemonic.
    auto plain = [](QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); };
    menu.addAction(plain(history->UndoText()), this, &VF1main::Undo)->setEnabled(history->CanUndo());
    menu.addAction(plain(history->RedoText()), this, &VF1main::Redo)->setEnabled(history->CanRedo());
    QAction* compare = menu.addAction(QStringLiteral("Compare"), this, &VF1main::Compare);
    compare->setCheckable(true);
    compare->setChecked(history->IsComparing());
    compare->setEnabled(history->IsComparing() || history->IsEdited(patchList.GetCurrentIndex()));
    menu.addSeparator();
    menu.addAction(QStringLiteral("MIDI Settings..."), this, &VF1main::OpenMidiSettings);
    menu.addSeparator();
    menu.addAction(QStringLiteral("&About Quellin..."), this, &VF1main::ShowAbout);
    menu.exec(event->globalPos());
}

void VF1main::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!painted) {
        painted = true;
        // Reported once the whole first frame, children included, has been drawn.
        QTimer::singleShot(0, this, &VF1main::firstPainted);
    }
}
