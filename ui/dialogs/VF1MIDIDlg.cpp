#include "ui/dialogs/VF1MIDIDlg.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include <array>

#include "midi/VF1MIDI.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"

namespace {

enum ControlId {
    kOk = 1,
    kOutList = 1010,
    kOutLabel = 1018,
    kDeviceIdCombo = 1019,
    kDeviceIdLabel = 1021,
    kInList = 1030,
    kInLabel = 1031,
};

constexpr int kWidth = 238;
constexpr int kHeight = 163;
constexpr int kDeviceIds = 32;

constexpr std::array kControls = {
    ControlSpec{kOk, DialogItemKind::DefaultButton, "OK", 181, 7, 50, 14},
    ControlSpec{kDeviceIdLabel, DialogItemKind::Label, "VF-1 Device ID", 42, 10, 48, 12},
    ControlSpec{kDeviceIdCombo, DialogItemKind::DropDownList, nullptr, 92, 9, 25, 57},
    ControlSpec{kInLabel, DialogItemKind::Label, "MIDI In Device", 37, 27, 48, 8},
    ControlSpec{kInList, DialogItemKind::ListBox, nullptr, 7, 39, 108, 114},
    ControlSpec{kOutLabel, DialogItemKind::Label, "MIDI Out Device", 137, 27, 80, 9, kCentred},
    ControlSpec{kOutList, DialogItemKind::ListBox, nullptr, 123, 39, 108, 114},
};

void Fill(QListWidget* list, const std::vector<std::string>& names, int selected) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (const std::string& name : names) list->addItem(QString::fromStdString(name));
    // A kept index past the end of the list selects nothing, and stays as it is.
    if (selected >= 0 && selected < list->count()) list->setCurrentRow(selected);
    else list->setCurrentRow(-1);
}

// The selected row, or -1 when the change left nothing selected.
int SelectedRow(const QListWidget* list) {
    const auto items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.front());
}

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

VF1MIDIDlg::VF1MIDIDlg(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("MIDI Settings"));
    setFixedSize(DialogSizeToPixels(kWidth, kHeight));
    controls = BuildControls(this, kControls);
    outList = Control<QListWidget>(controls, kOutList);
    inList = Control<QListWidget>(controls, kInList);
    deviceIdCombo = Control<QComboBox>(controls, kDeviceIdCombo);

    for (int id = 1; id <= kDeviceIds; ++id) deviceIdCombo->addItem(QString::number(id));
    FitLabels(this);

    // Lime dialog and labels; the lists, the drop-down list and the button on red.
    SetBackground(this, Colours::Lime);
    setAutoFillBackground(true);
    for (QWidget* control : {static_cast<QWidget*>(outList), static_cast<QWidget*>(inList),
                             static_cast<QWidget*>(deviceIdCombo), controls.at(kOk)})
        SetBackground(control, Colours::Red);

    connect(Control<QPushButton>(controls, kOk), &QPushButton::clicked, this, &QDialog::accept);
    connect(outList, &QListWidget::itemSelectionChanged, this, [this] {
        if (const int row = SelectedRow(outList); row >= 0) outIndex = row;
    });
    connect(inList, &QListWidget::itemSelectionChanged, this, [this] {
        if (const int row = SelectedRow(inList); row >= 0) inIndex = row;
    });
    connect(deviceIdCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) deviceIdIndex = index;
    });
}

int VF1MIDIDlg::Run(const std::vector<std::string>& outNames, const std::vector<std::string>& inNames) {
    Fill(outList, outNames, outIndex);
    Fill(inList, inNames, inIndex);
    {
        const QSignalBlocker blocker(deviceIdCombo);
        deviceIdCombo->setCurrentIndex(deviceIdIndex >= 0 && deviceIdIndex < kDeviceIds ? deviceIdIndex : -1);
    }
    return exec();
}

int VF1MIDIDlg::Run(VF1MIDI& midi) {
    return Run(midi.GetOutDevNames(), midi.GetInDevNames());
}
