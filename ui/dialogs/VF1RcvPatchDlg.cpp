#include "ui/dialogs/VF1RcvPatchDlg.h"

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

enum ControlId { kLoad = 1, kCancel = 2, kBytesLabel = 1032, kCountBox = 1033, kExpecting = 1108 };

constexpr int kWidth = 147;
constexpr int kHeight = 106;
constexpr int kRefreshMs = 500;

constexpr std::array kControls = {
    ControlSpec{kLoad, DialogItemKind::DefaultButton, "Load", 81, 86, 40, 14, kDisabled},
    ControlSpec{kCancel, DialogItemKind::PushButton, "Cancel", 25, 86, 40, 14},
    ControlSpec{kBytesLabel, DialogItemKind::Label, "Bytes Received:", 23, 54, 53, 8},
    ControlSpec{kCountBox, DialogItemKind::ReadOnlyEdit, "", 82, 52, 35, 14},
    ControlSpec{-1, DialogItemKind::Label,
                "Your VF-1 MUST be on the MIDI BULK LOAD page for patch requesting to work!\n\n"
                "You can also manually send a patch from your VF-1 if you prefer.",
                7, 6, 133, 43, kCentred},
    ControlSpec{kExpecting, DialogItemKind::Label, "(Expecting: 410 or 598)", 35, 69, 78, 8},
};

} // namespace

VF1RcvPatchDlg::VF1RcvPatchDlg(VF1MIDI& midi_, bool toMemory_, bool bankB_, int index_, QWidget* parent)
    : QDialog(parent), midi(midi_), toMemory(toMemory_), bankB(bankB_), index(index_) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral(" Requesting Patch"));
    setFixedSize(DialogSizeToPixels(kWidth, kHeight));
    controls = BuildControls(this, kControls);
    // Lime behind the dialog, its statics and the read-only count box; red behind the buttons.
    ApplyDialogColours(this, Colours::Lime, Colours::Red);
    FitLabels(this);

    connect(Control<QPushButton>(controls, kLoad), &QPushButton::clicked, this, &QDialog::accept);
    connect(Control<QPushButton>(controls, kCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(&timer, &QTimer::timeout, this, &VF1RcvPatchDlg::Tick);
}

void VF1RcvPatchDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (opened) return;
    opened = true;
    timer.start(kRefreshMs);
    // Sent once the dialog is up, so that an error message about the request appears over it.
    QMetaObject::invokeMethod(this, &VF1RcvPatchDlg::SendRequest, Qt::QueuedConnection);
}

void VF1RcvPatchDlg::SendRequest() {
    // The count starts before the request goes out: a quick unit's first bytes would otherwise
    // be counted away. If the request fails, its message has been shown and the dialog still
    // waits for a patch sent by hand from the unit.
    midi.ResetReceivedCount();
    midi.RequestPatch(toMemory, bankB, index);
}

void VF1RcvPatchDlg::Tick() {
    const int count = midi.ReceivedCount();
    // The box keeps the last count shown once Load is offered.
    // A patch reply is 410 or 598 bytes; Load is offered from 410 on.
    if (count >= kPatchReplySize) {
        OfferDefaultButton(Control<QPushButton>(controls, kLoad));
        timer.stop();
    }
    Control<QLineEdit>(controls, kCountBox)->setText(QString::fromStdString(Format("%d", count)));
}
