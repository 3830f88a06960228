#include "ui/dialogs/VF1SendBankDlg.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <array>

#include "model/Report.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/Palettes.h"

namespace {

enum ControlId { kSentLabel = 1110, kCounterText = 1111, kCancel = 1113 };

constexpr int kWidth = 79;
constexpr int kHeight = 52;
constexpr int kFrameWidth = 1;

constexpr std::array kControls = {
    ControlSpec{kSentLabel, DialogItemKind::Label, "Sent:", 11, 10, 18, 8},
    ControlSpec{kCounterText, DialogItemKind::Label, "0/202", 35, 10, 32, 8},
    ControlSpec{kCancel, DialogItemKind::PushButton, "Cancel", 18, 26, 43, 14},
};

} // namespace

VF1SendBankDlg::VF1SendBankDlg(const int& counter_, bool& cancelFlag_, QWidget* parent)
    : QDialog(parent), counter(counter_), cancelFlag(cancelFlag_) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(DialogSizeToPixels(kWidth, kHeight));
    controls = BuildControls(this, kControls);
    FitLabels(this);

    ApplyDialogColours(this, Colours::Lime, Colours::Lime, Colours::DarkGreen);

    connect(Control<QPushButton>(controls, kCancel), &QPushButton::clicked, this, &QDialog::reject);
}

void VF1SendBankDlg::Refresh() {
    ShowCounter();
    update();
}

void VF1SendBankDlg::reject() {
    cancelFlag = true;
    QDialog::reject();
}

void VF1SendBankDlg::showEvent(QShowEvent* event) {
    ShowCounter();
    QDialog::showEvent(event);
}

void VF1SendBankDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(Colours::DarkGreen, kFrameWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -kFrameWidth, -kFrameWidth));
}

void VF1SendBankDlg::ShowCounter() {
    Control<QLabel>(controls, kCounterText)->setText(QString::fromStdString(Format("%d / 202", counter)));
}
