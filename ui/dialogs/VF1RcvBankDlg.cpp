#include "ui/dialogs/VF1RcvBankDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

#include "midi/VF1MIDI.h"
#include "model/Report.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/Palettes.h"

namespace {

enum ControlId {
    kLoad = 1,
    kCancel = 2,
    kBytesLabel = 1032,
    kCountBox = 1033,
    kInstructions = 1094,
    kExpecting = 1108,
    kExpectedCount = 1109,
};

constexpr int kWidth = 116;
constexpr int kHeight = 102;
constexpr int kRefreshMs = 1000;

constexpr std::array kControls = {
    ControlSpec{kLoad, DialogItemKind::DefaultButton, "Load", 66, 82, 40, 14, kDisabled},
    ControlSpec{kCancel, DialogItemKind::PushButton, "Cancel", 10, 82, 40, 14},
    ControlSpec{kBytesLabel, DialogItemKind::Label, "Bytes Received:", 8, 48, 53, 8},
    ControlSpec{kCountBox, DialogItemKind::ReadOnlyEdit, "", 66, 46, 40, 14},
    ControlSpec{kInstructions, DialogItemKind::Label,
                "On your VF-1, go to the MIDI BULK DUMP page,  select PATCH for the type, and hit ENTER.", 13,
                6, 93, 33, kCentred},
    ControlSpec{kExpecting, DialogItemKind::Label, "(Expecting: ", 25, 63, 40, 8},
    ControlSpec{kExpectedCount, DialogItemKind::Label, "", 67, 63, 34, 8},
};

} // namespace

VF1RcvBankDlg::VF1RcvBankDlg(VF1MIDI& midi_, int expected_, QWidget* parent)
    : QDialog(parent), midi(midi_), expected(expected_) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral(" Receiving Patch Bank"));
    setFixedSize(DialogSizeToPixels(kWidth, kHeight));
    controls = BuildControls(this, kControls);
    // Lime behind the dialog, its statics and the read-only count box; red behind the buttons.
    ApplyDialogColours(this, Colours::Lime, Colours::Red);
    Control<QLabel>(controls, kExpectedCount)->setText(QString::fromStdString(Format("> %d)", expected)));
    FitLabels(this);

    connect(Control<QPushButton>(controls, kLoad), &QPushButton::clicked, this, &QDialog::accept);
    connect(Control<QPushButton>(controls, kCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(&timer, &QTimer::timeout, this, &VF1RcvBankDlg::Tick);
}

void VF1RcvBankDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!timer.isActive()) timer.start(kRefreshMs);
}

void VF1RcvBankDlg::Tick() {
    const int count = midi.ReceivedCount();
    // Bytes past the expected count keep coming in (the end message, a patch sent by hand); the
    // box follows them and Load stays offered.
    if (count >= expected) OfferDefaultButton(Control<QPushButton>(controls, kLoad));
    Control<QLineEdit>(controls, kCountBox)->setText(QString::fromStdString(Format("%d", count)));
}
