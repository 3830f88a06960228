#include "ui/editor/VF1FXButton.h"

#include <QAccessible>
#include <QPainter>

#include "model/VF1Effect.h"
#include "ui/editor/BlockPictureTable.h"
#include "ui/editor/EditorAccessible.h"
#include "ui/editor/LcdPictures.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/PixelArt.h"

VF1FXButton::VF1FXButton(VF1Effect* block_, int id_, QWidget* parent)
    : QAbstractButton(parent), id(id_), baseName(BlockBaseName(block_->GetId())), block(block_) {
    InstallEditorAccessibility();
    RegisterLcdPictures();
    setObjectName(QString::number(id));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(BlockButtonCursor());
    for (int s = 0; s < 4; ++s)
        pictures[static_cast<size_t>(s)] = Picture(BlockButtonPicture(baseName, s), kLcdEnlargement);
    if (!IsMaster()) {
        VF1Param* onOff = block->GetParam(0);
        state = onOff && onOff->GetValue() != 0 ? 0 : 1;
    }
    resize(sizeHint());
    connect(this, &QAbstractButton::clicked, this, &VF1FXButton::OnClicked);
}

bool VF1FXButton::IsMaster() const {
    return block->IsMaster();
}

QSize VF1FXButton::sizeHint() const {
    return pictures[0].size();
}

void VF1FXButton::SetState(int newState) {
    if (newState == state) return;
    QAccessible::State changed;
    changed.checked = (newState % 2) != (state % 2);
    changed.selected = (newState >= 2) != (state >= 2);
    state = newState;
    update();
    if (QAccessible::isActive()) {
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void VF1FXButton::Select() {
    if (!IsSelected()) SetState(state + 2);
}

void VF1FXButton::Deselect() {
    if (IsSelected()) SetState(state - 2);
}

void VF1FXButton::OnClicked() {
    if (!IsSelected()) {
        Select();
        emit picked(id);
        return;
    }
    if (IsMaster()) return;
    // The block's switch sets its "FX On/Off", which reaches the unit while real-time editing is on.
    if (state == 2) {
        SetState(3);
        block->SwitchOff();
    } else {
        SetState(2);
        block->SwitchOn();
    }
}

void VF1FXButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, pictures[static_cast<size_t>(state)]);
    if (hasFocus()) {
        // The keyboard's place: a dotted line just inside the picture's frame.
        QPen pen(IsSelected() ? Colours::Lime : Colours::DarkGreen, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(4, 4, -5, -5));
    }
}
