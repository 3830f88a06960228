#include "ui/librarian/VF1BankDlg.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "library/BankFile.h"
#include "midi/VF1MIDI.h"
#include "model/Report.h"
#include "ui/dialogs/SysExFileDialog.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/MokButton.h"
#include "ui/widgets/Palettes.h"

namespace {

using Id = VF1BankDlg::ControlId;

constexpr int kWidth = 390;
constexpr int kHeight = 334;

constexpr std::array kControls = {
    ControlSpec{Id::kBank1List, DialogItemKind::Custom, nullptr, 5, 19, 151, 309},
    ControlSpec{Id::kBank2List, DialogItemKind::Custom, nullptr, 165, 19, 151, 309},
    ControlSpec{Id::kBank1Radio, DialogItemKind::Custom, "Bank 1", 124, 3, 37, 10, kGroupStart},
    ControlSpec{Id::kBank2Radio, DialogItemKind::Custom, "Bank 2", 163, 3, 37, 10, kTextOnLeft},
    ControlSpec{Id::kBank1Name, DialogItemKind::ReadOnlyEdit, "", 30, 3, 81, 12},
    ControlSpec{Id::kBank2Name, DialogItemKind::ReadOnlyEdit, "", 212, 3, 81, 12},
    ControlSpec{Id::kLoad, DialogItemKind::MokButton, "Load", 323, 19, 33, 14},
    ControlSpec{Id::kSave, DialogItemKind::MokButton, "Save", 323, 37, 33, 14},
    ControlSpec{Id::kEdit, DialogItemKind::MokButton, "Edit->", 323, 72, 33, 14},
    ControlSpec{Id::kDoubleClickHint, DialogItemKind::Label, "(or double-click patch)", 324, 88, 66, 11},
    ControlSpec{Id::kEditedPatchLabel, DialogItemKind::Label, "Edited Patch:", 324, 107, 44, 8},
    ControlSpec{Id::kHolderList, DialogItemKind::Custom, nullptr, 323, 118, 62, 16},
    ControlSpec{Id::kSend, DialogItemKind::MokButton, "Send", 323, 166, 33, 14},
    ControlSpec{Id::kReceive, DialogItemKind::MokButton, "Receive", 323, 184, 33, 14},
    ControlSpec{Id::kHelp, DialogItemKind::ClickLabel, "Help", 323, 243, 15, 8},
};

constexpr const char* kDiscardQuestion =
    "Selected bank has unsaved changes.  Are you sure you want to discard them?";
// Alt+drag is often the window manager's, so Shift+drag swaps as well.
constexpr const char* kHelpText =
    "Instructions:\n\nSend Patch to main window for editing: Double-Click\n\nBank Management:\n\nMove w/ "
    "insertion (same bank): Drag\n\nCopy w/ insertion (other bank): Drag\n\nCopy w/ replacement: "
    "Ctrl+Drag\n\nSwap: Alt+Drag\n\nSwap: Shift+Drag\n\nDelete: Del";
constexpr const char* kFromUnit = "from VF-1";

} // namespace

VF1BankDlg::VF1BankDlg(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      bank1(std::make_unique<VF1Bank>(kPatchCount)), bank2(std::make_unique<VF1Bank>(kPatchCount)) {
    setWindowTitle(QStringLiteral("  Patch Banks"));
    setFixedSize(DialogSizeToPixels(kWidth, kHeight));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    SetUpControls();
    SetColours();
    history = std::make_unique<BankHistory>(*this);
    Connect();
    SetUpHistoryKeys();
    FitLabels(this);
}

VF1BankDlg::~VF1BankDlg() = default;

void VF1BankDlg::SetUpControls() {
    controls = BuildControls(this, kControls, [](const ControlSpec& row, QWidget* parent) -> QWidget* {
        if (row.id == kBank1Radio || row.id == kBank2Radio) {
            auto* radio = new QRadioButton(QString::fromLatin1(row.text), parent);
            if (row.flags & kTextOnLeft) radio->setLayoutDirection(Qt::RightToLeft);
            return radio;
        }
        auto* list = new VF1BankListBox(row.id == kHolderList, parent);
        list->setAccessibleName(row.id == kBank1List   ? QStringLiteral("Bank 1")
                                : row.id == kBank2List ? QStringLiteral("Bank 2")
                                                       : QStringLiteral("Edited Patch"));
        return list;
    });
    list1 = Control<VF1BankListBox>(controls, kBank1List);
    list2 = Control<VF1BankListBox>(controls, kBank2List);
    holderList = Control<VF1BankListBox>(controls, kHolderList);
    nameBox1 = Control<QLineEdit>(controls, kBank1Name);
    nameBox2 = Control<QLineEdit>(controls, kBank2Name);

    // The window has no default button: Enter in a list opens its patch.
    for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    list1->SetBank(bank1.get());
    list2->SetBank(bank2.get());
    holderList->SetBank(&holder);
    for (VF1BankListBox* list : {list1, list2, holderList}) {
        list->Attach();
        list->Refill();
        list->SetClipboard(&copied);
    }
    list1->SetPartner(list2);
    list2->SetPartner(list1);

    Control<QRadioButton>(controls, kBank1Radio)->setChecked(true);
    controls.at(kDoubleClickHint)->setFont(NamedFont("Arial", 7));
    SetBankName(1, QString());
    SetBankName(2, QString());
}

void VF1BankDlg::SetColours() {
    ApplyDialogColours(this, Colours::Red, Colours::Red);
    for (VF1BankListBox* list : {list1, list2, holderList}) {
        QPalette lime = list->palette();
        lime.setColor(QPalette::Base, Colours::Lime);
        lime.setColor(QPalette::Text, Colours::DarkGreen);
        list->setPalette(lime);
    }
    QLabel* help = Control<QLabel>(controls, kHelp);
    QPalette helpColours = help->palette();
    helpColours.setColor(QPalette::WindowText, Colours::Lime);
    help->setPalette(helpColours);
    SetNameBoxColour(1, Colours::Lime);
    SetNameBoxColour(2, Colours::Lime);
}

void VF1BankDlg::Connect() {
    auto onClick = [this](int id, auto action) {
        connect(Control<QPushButton>(controls, id), &QPushButton::clicked, this, action);
    };
    onClick(kLoad, &VF1BankDlg::LoadBank);
    onClick(kSave, &VF1BankDlg::SaveBank);
    onClick(kSend, &VF1BankDlg::SendBank);
    onClick(kReceive, &VF1BankDlg::ReceiveBank);
    onClick(kEdit, &VF1BankDlg::EditPatch);
    connect(Control<QRadioButton>(controls, kBank1Radio), &QRadioButton::clicked, this,
            [this] { SelectBank(1); });
    connect(Control<QRadioButton>(controls, kBank2Radio), &QRadioButton::clicked, this,
            [this] { SelectBank(2); });
    controls.at(kHelp)->installEventFilter(this);

    for (VF1BankListBox* list : {list1, list2, holderList}) {
        connect(list, &VF1BankListBox::changed, this, &VF1BankDlg::MarkModified);
        // Whatever the gesture changed (one bank, or both for a swap across them) is one step.
        connect(list, &VF1BankListBox::changed, this, [this] { history->Record(QStringLiteral("Change")); });
    }
    // A double-click or Enter opens the patch with its own list's bank number; the radio buttons
    // stay as they are.
    for (VF1BankListBox* list : {list1, list2}) {
        connect(list, &VF1BankListBox::rowDoubleClicked, this, [this, list](int row) { OpenRow(list, row); });
        connect(list, &VF1BankListBox::openRequested, this, [this, list](int row) { OpenRow(list, row); });
    }
}

QWidget* VF1BankDlg::ControlById(int id) const {
    const auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second;
}

VF1Bank* VF1BankDlg::Bank(int bankNumber) const {
    return bankNumber == 1 ? bank1.get() : bankNumber == 2 ? bank2.get() : nullptr;
}

VF1BankListBox* VF1BankDlg::List(int bankNumber) const {
    return bankNumber == 1 ? list1 : bankNumber == 2 ? list2 : nullptr;
}

QLineEdit* VF1BankDlg::NameBox(int bankNumber) const {
    return bankNumber == 1 ? nameBox1 : bankNumber == 2 ? nameBox2 : nullptr;
}

int VF1BankDlg::BankNumberOf(const VF1BankListBox* list) const {
    return list == list1 ? 1 : list == list2 ? 2 : 0;
}

// ---- What the main window asks

bool VF1BankDlg::HasUnsavedChanges() const {
    return bank1->IsModified() || bank2->IsModified();
}

void VF1BankDlg::ShowManager() {
    show();
    raise();
    activateWindow();
}

void VF1BankDlg::HideManager() {
    hide();
}

void VF1BankDlg::RaiseManager() {
    if (isVisible()) raise();
}

uint8_t* VF1BankDlg::EditedPatchImage() {
    return holder.GetAt(0)->GetImage();
}

void VF1BankDlg::EditedPatchChanged() {
    holder.GetAt(0)->Revalidate();
    holderList->Refill();
}

void VF1BankDlg::StepPatch(int next) {
    VF1BankListBox* list = List(activeBankNumber);
    const int last = list->count() - 1;
    const int selected = list->SelectedIndex();
    int row = 0;
    if (next) row = selected < 0 || selected >= last ? 0 : selected + 1;
    else row = selected <= 0 ? last : selected - 1;
    list->SelectIndex(row);
    OpenRow(list, row);
}

// ---- Name boxes and history

QString VF1BankDlg::BankName(int bankNumber) const {
    return NameBox(bankNumber)->text();
}

void VF1BankDlg::ShowBank(int bankNumber) {
    VF1BankListBox* list = List(bankNumber);
    list->Sync();
    if (Bank(bankNumber)->IsModified()) MarkModified(list);
    else MarkSaved(list);
}

void VF1BankDlg::SetUpHistoryKeys() {
    for (const int number : {1, 2}) {
        VF1BankListBox* list = List(number);
        auto add = [this, list](const QKeySequence& keys, void (BankHistory::*step)(int), int bankNumber) {
            auto* shortcut = new QShortcut(keys, list, nullptr, nullptr, Qt::WidgetShortcut);
            connect(shortcut, &QShortcut::activated, this,
                    [this, step, bankNumber] { (history.get()->*step)(bankNumber); });
        };
        add(QKeySequence(Qt::CTRL | Qt::Key_Z), &BankHistory::Undo, number);
        add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &BankHistory::Redo, number);
        add(QKeySequence(Qt::CTRL | Qt::Key_Y), &BankHistory::Redo, number);
    }
}

void VF1BankDlg::MarkModified(VF1BankListBox* list) {
    if (const int number = BankNumberOf(list)) SetNameBoxColour(number, Colours::Red);
}

void VF1BankDlg::MarkSaved(VF1BankListBox* list) {
    if (const int number = BankNumberOf(list)) SetNameBoxColour(number, Colours::Lime);
}

void VF1BankDlg::SetNameBoxColour(int bankNumber, const QColor& colour) {
    QLineEdit* box = NameBox(bankNumber);
    QPalette colours = box->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, colour);
        colours.setColor(group, QPalette::Text, Colours::DarkGreen);
    }
    box->setPalette(colours);
}

void VF1BankDlg::SetBankName(int bankNumber, const QString& name) {
    QLineEdit* box = NameBox(bankNumber);
    box->setText(name);
    box->setCursorPosition(0);
    // Read as the box's name too, so that a screen reader says which bank this is.
    box->setAccessibleName(name);
}

// ---- Buttons

void VF1BankDlg::SelectBank(int bankNumber) {
    activeBankNumber = bankNumber == 2 ? 2 : 1;
    Control<QRadioButton>(controls, activeBankNumber == 1 ? kBank1Radio : kBank2Radio)->setChecked(true);
}

bool VF1BankDlg::ConfirmDiscard(int bankNumber) const {
    return !Bank(bankNumber)->IsModified() || ShowMessage(kDiscardQuestion, MessageStyle::Question) == 1;
}

void VF1BankDlg::LoadBank() {
    const int number = activeBankNumber;
    if (!ConfirmDiscard(number)) return;
    const QString path = AskSysExFileToOpen(this);
    if (!path.isEmpty()) LoadBankFile(number, path);
}

bool VF1BankDlg::LoadBankFile(int bankNumber, const QString& path) {
    std::vector<uint8_t> bytes;
    if (!ReadBankFile(path.toStdString(), bytes)) return false;
    std::unique_ptr<VF1Bank> fresh = TakeBank(bytes.data(), bytes.size());
    // A bank that cannot be parsed leaves the old one and its name in place.
    if (fresh == nullptr) return false;
    PutBank(bankNumber, std::move(fresh), QFileInfo(path).fileName(), QStringLiteral("Load"));
    return true;
}

QStringList VF1BankDlg::TakeBankFiles(const QStringList& paths) {
    QStringList others;
    int bankNumber = 1;
    for (const QString& path : paths) {
        // A file a bank fits in; smaller ones are the editor's (which names a wrong size).
        if (QFileInfo(path).size() < kBankFileSize) {
            others << path;
        } else if (bankNumber > 2) {
            ShowMessage(Format("Only two banks can be open at once: \"%s\" was not opened.",
                               path.toStdString().c_str()),
                        MessageStyle::Info);
        } else {
            LoadBankFile(bankNumber++, path);
        }
    }
    return others;
}

void VF1BankDlg::PutBank(int bankNumber, std::unique_ptr<VF1Bank> fresh, const QString& name,
                         const QString& label) {
    const QString oldName = BankName(bankNumber);
    VF1BankListBox* list = List(bankNumber);
    list->SetBank(fresh.get());
    (bankNumber == 1 ? bank1 : bank2) = std::move(fresh);
    list->Refill();
    SetBankName(bankNumber, name);
    MarkSaved(list);
    history->RecordReplace(bankNumber, label, oldName);
}

void VF1BankDlg::SaveBank() {
    if (!BankCanBeSaved(*Bank(activeBankNumber))) return;
    const QString path = AskSysExFileToSave(this);
    if (!path.isEmpty()) SaveBankFile(path);
}

bool VF1BankDlg::SaveBankFile(const QString& path) {
    const int number = activeBankNumber;
    VF1Bank& bank = *Bank(number);
    // The images keep the device ID they came with; the end message carries the configured one.
    // A failed write leaves the old file as it was, and the bank unsaved: its name box keeps its
    // colour and the prompts still ask.
    if (!::SaveBankFile(bank, path.toStdString(), VF1MIDI::Instance().GetDeviceID(),
                        ImageDeviceIds::AsTheyAre))
        return false;
    MarkSaved(List(number));
    bank.ClearModified();
    SetBankName(number, QFileInfo(path).fileName());
    history->MarkSaved(number);
    return true;
}

void VF1BankDlg::SendBank() {
    VF1Bank& bank = *Bank(activeBankNumber);
    if (!BankCanBeSent(bank)) return;
    const std::vector<uint8_t> dump =
        BankFileBytes(bank, VF1MIDI::Instance().GetDeviceID(), ImageDeviceIds::AsTheyAre);
    VF1MIDI::Instance().SendBank(dump.data());
}

void VF1BankDlg::ReceiveBank() {
    const int number = activeBankNumber;
    if (!ConfirmDiscard(number)) return;
    std::vector<uint8_t> dump(kBankReceiveCapacity);
    const int received = VF1MIDI::Instance().ReceiveBank(dump.data(), kBankReceiveCapacity);
    if (received < kBankImagesSize) return;
    std::unique_ptr<VF1Bank> fresh =
        TakeBank(dump.data(), std::min(static_cast<size_t>(received), dump.size()));
    if (fresh == nullptr) return;
    PutBank(number, std::move(fresh), QString::fromLatin1(kFromUnit), QStringLiteral("Receive"));
}

void VF1BankDlg::EditPatch() {
    VF1BankListBox* list = List(activeBankNumber);
    OpenRow(list, list->SelectedIndex());
}

void VF1BankDlg::OpenRow(VF1BankListBox* list, int row) {
    // An empty slot or no selection opens nothing.
    if (!list->RowIsValid(row) || !openPatch) return;
    openPatch(list->GetBank()->GetAt(row)->GetImage(), BankNumberOf(list), row);
}

void VF1BankDlg::ShowHelp() {
    ShowMessage(kHelpText, MessageStyle::Info);
}

// ---- Window

void VF1BankDlg::reject() {
    // Closing only hides the window; the banks stay.
    hide();
    emit closed();
}

bool VF1BankDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls.at(kHelp) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        ShowHelp();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
