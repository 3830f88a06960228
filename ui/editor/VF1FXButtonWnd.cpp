#include "ui/editor/VF1FXButtonWnd.h"

#include <QLabel>
#include <QMouseEvent>

#include "ui/editor/LcdPictures.h"
#include "ui/widgets/PixelArt.h"

namespace {
constexpr QPoint kFlowAt(81, 75);
constexpr QPoint kNameAt(84, 51);
} // namespace

VF1FXButtonWnd::VF1FXButtonWnd(QWidget* lcdPicture)
    : QWidget(lcdPicture), flowPicture(new QLabel(this)), namePicture(new QLabel(this)) {
    setWindowTitle(QStringLiteral("FXButtonWnd"));
    setGeometry(QRect(QPoint(0, 0), kSize));
    setMouseTracking(true);
    flowPicture->setWindowTitle(QStringLiteral("LCDAlg"));
    namePicture->setWindowTitle(QStringLiteral("FX name"));
    flowPicture->hide();
    namePicture->hide();
    hide();
}

void VF1FXButtonWnd::SetPictures(const QString& flow, const QString& name, const QString& displayName) {
    RegisterLcdPictures();
    flowPicture->setPixmap(Picture(flow, kLcdEnlargement));
    flowPicture->setGeometry(QRect(kFlowAt, flowPicture->pixmap().size()));
    flowPicture->setAccessibleName(QStringLiteral("Signal flow"));
    flowPicture->setAccessibleDescription(displayName);
    namePicture->setPixmap(Picture(name, kLcdEnlargement));
    namePicture->setGeometry(QRect(kNameAt, namePicture->pixmap().size()));
    namePicture->setAccessibleName(displayName);
    // Behind the buttons that lie on them.
    flowPicture->lower();
    namePicture->lower();
}

void VF1FXButtonWnd::mouseMoveEvent(QMouseEvent* event) {
    const bool over = kMidiHotSpot.contains(event->position().toPoint());
    if (over != overHotSpot) {
        overHotSpot = over;
        if (over) setCursor(MidiSpotCursor());
        else unsetCursor();
    }
    QWidget::mouseMoveEvent(event);
}

void VF1FXButtonWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && kMidiHotSpot.contains(event->position().toPoint())) {
        emit openMidiSettings();
        return;
    }
    QWidget::mousePressEvent(event);
}
