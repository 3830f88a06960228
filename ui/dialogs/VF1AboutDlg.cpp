#include "ui/dialogs/VF1AboutDlg.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include <array>

#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/Palettes.h"
#include "ui/widgets/PixelArt.h"

namespace {

enum ControlId {
    kOk = 1,
    kVersion = 1072,
    kMakers = 1073,
    kUpdateLink = 1074,
    kTrademarks = 1075,
    kUpdateHint = 1076,
    kPicture = 1093,
};

constexpr int kWidth = 235;
constexpr int kHeight = 102;
constexpr const char* kUpdatePage = "https://quellin.example.org/updates";
const QColor kLinkBlue(0, 0, 255);

// The update link and its hint are in the layout but stay hidden.
constexpr std::array kControls = {
    ControlSpec{kPicture, DialogItemKind::Picture, nullptr, 11, 17, 23, 21, kBordered},
    ControlSpec{kVersion, DialogItemKind::Label, "Quellin v.0.11.0", 46, 10, 133, 8},
    ControlSpec{kMakers, DialogItemKind::Label, "\u00a9 2010 The Quellin developers\nquellin.example.org", 46,
                25, 119, 18},
    ControlSpec{kOk, DialogItemKind::DefaultButton, "OK", 193, 7, 35, 16},
    ControlSpec{kTrademarks, DialogItemKind::Label,
                "\"BOSS\" and the BOSS logo are trademarks of BOSS Corporation.\n\n"
                "BOSS Corporation is NOT affiliated with this program in any way.",
                13, 72, 213, 26},
    ControlSpec{kUpdateLink, DialogItemKind::ClickLabel, kUpdatePage, 46, 47, 111, 8, kHidden},
    ControlSpec{kUpdateHint, DialogItemKind::Label, "<-- Click to go and check for updates", 165, 47, 62, 17,
                kHidden},
};

} // namespace

VF1AboutDlg::VF1AboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral(" About Quellin"));
    setFixedSize(DialogSizeToPixels(kWidth, kHeight));
    controls = BuildControls(this, kControls);
    for (auto* label : findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);

    // The picture sizes its control, inside a one-pixel border.
    auto* picture = Control<QLabel>(controls, kPicture);
    picture->setPixmap(Picture(QString::fromLatin1(Pictures::About)));
    picture->resize(picture->pixmap().size() + QSize(2, 2));
    FitLabels(this);

    ApplyDialogColours(this, Colours::Lime, Colours::Lime);
    auto* link = Control<QLabel>(controls, kUpdateLink);
    QPalette blue = link->palette();
    blue.setColor(QPalette::WindowText, kLinkBlue);
    link->setPalette(blue);
    link->installEventFilter(this);

    connect(Control<QPushButton>(controls, kOk), &QPushButton::clicked, this, &QDialog::accept);
}

bool VF1AboutDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls.at(kUpdateLink) && event->type() == QEvent::MouseButtonRelease) {
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kUpdatePage)));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
