#include "ui/editor/VF1ParamControlWnd.h"

#include <QScrollBar>

#include <algorithm>

#include "model/TypeCodes.h"
#include "model/VF1Effect.h"
#include "ui/editor/PanelLayout.h"
#include "ui/editor/VF1controlRangeSlider.h"
#include "ui/widgets/Colours.h"

namespace {
constexpr int kScrollRange = 100;
} // namespace

VF1ParamControlWnd::VF1ParamControlWnd(VF1Effect* block_, QWidget* frame)
    : QWidget(frame), block(block_), rows(PanelLayout::Rows(*block_)) {
    setWindowTitle(QStringLiteral("ParamControlWnd"));
    setAccessibleName(QString::fromStdString(block->GetName()));
    QPalette lime = palette();
    lime.setColor(QPalette::Window, Colours::Lime);
    setPalette(lime);
    setAutoFillBackground(true);
    hide();
}

VF1ParamControlWnd::~VF1ParamControlWnd() = default;

void VF1ParamControlWnd::Create() {
    setGeometry(0, 0, PanelLayout::kPanelWidth, PanelLayout::kPanelHeight);
    scrollBar = new QScrollBar(Qt::Vertical, this);
    scrollBar->setRange(0, kScrollRange);
    const int barWidth = scrollBar->sizeHint().width();
    scrollBar->setGeometry(PanelLayout::kPanelWidth - barWidth, 0, barWidth, PanelLayout::kPanelHeight);
    scrollBar->hide();
    connect(scrollBar, &QScrollBar::actionTriggered, this, &VF1ParamControlWnd::OnScrollAction);
    connect(scrollBar, &QScrollBar::sliderReleased, this, &VF1ParamControlWnd::OnThumbReleased);
    BuildControls(PanelLayout::ShownParams(*block), QPoint(-1, -1));
}

void VF1ParamControlWnd::BuildControls(const std::vector<VF1Param*>& params, QPoint start) {
    PanelLayout::Cursor cursor(*block, start);
    VF1controlRangeSlider* sourceMin = nullptr;
    for (VF1Param* param : params) {
        std::unique_ptr<VF1control> control = CreateParamControl(param, this);
        VF1control* c = control.get();
        c->setGeometry(
            QRect(cursor.Place(c->GetWidth(), param->GetType()) + QPoint(0, -topRow * PanelLayout::kRowPitch),
                  QSize(c->GetWidth(), VF1control::kHeight)));
        controls.push_back(std::move(control));
        if (param->GetType() == TypeCode::kSourceMin) {
            sourceMin = qobject_cast<VF1controlRangeSlider*>(c);
        } else if (param->GetType() == TypeCode::kSourceMax && sourceMin) {
            if (auto* sourceMax = qobject_cast<VF1controlRangeSlider*>(c))
                VF1controlRangeSlider::Link(*sourceMin, *sourceMax);
        }
        c->CreateChildren();
        c->show();
    }
    // The scroll bar stays above the controls it scrolls past.
    if (scrollBar) scrollBar->raise();
}

void VF1ParamControlWnd::Rebuild(bool show) {
    if (show) hide();
    if (controls.empty()) {
        BuildControls(PanelLayout::ShownParams(*block), QPoint(-1, -1));
    } else {
        // The first control (the selector's) stays; the parameters after its own are built anew
        // to its right.
        controls.erase(controls.begin() + 1, controls.end());
        const VF1control& kept = *controls.front();
        std::vector<VF1Param*> params = PanelLayout::ShownParams(*block);
        const auto keptAt = std::find(params.begin(), params.end(), kept.GetParam());
        params.erase(params.begin(), keptAt == params.end() ? params.begin() + 1 : keptAt + 1);
        BuildControls(params, QPoint(kept.GetWidth() - 2, -1));
    }
    if (show) this->show();
}

void VF1ParamControlWnd::ShowScrollBar() {
    if (scrollBar) scrollBar->show();
}

void VF1ParamControlWnd::showEvent(QShowEvent* event) {
    // Every showing reads the values again: randomising and real-time changes rely on it.
    for (const auto& control : controls) control->Refresh();
    QWidget::showEvent(event);
}

// Scrolling moves whole rows. The thumb's range is 0 to 100, a row 100 / rows of it; the content
// and the thumb always agree on the row shown at the top, and the content never scrolls past its
// first or last row.

void VF1ParamControlWnd::ScrollToRow(int row) {
    row = std::clamp(row, 0, rows - 1);
    const int dy = (topRow - row) * PanelLayout::kRowPitch;
    topRow = row;
    if (dy == 0) return;
    for (const auto& control : controls) control->move(control->pos() + QPoint(0, dy));
}

void VF1ParamControlWnd::SetThumb() {
    scrollBar->setSliderPosition(topRow * (kScrollRange / rows));
}

void VF1ParamControlWnd::OnScrollAction(int action) {
    const int step = kScrollRange / rows;
    const int threshold = kScrollRange / (rows + 1);
    switch (action) {
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderSingleStepAdd:
        ScrollToRow(topRow + 1);
        break;
    case QAbstractSlider::SliderPageStepSub:
    case QAbstractSlider::SliderSingleStepSub:
        ScrollToRow(topRow - 1);
        break;
    case QAbstractSlider::SliderToMinimum:
        ScrollToRow(0);
        break;
    case QAbstractSlider::SliderToMaximum:
        ScrollToRow(rows - 1);
        break;
    case QAbstractSlider::SliderMove: {
        // At most one row per notification while the thumb is dragged.
        const int d = scrollBar->sliderPosition() - topRow * step;
        if (d >= threshold) ScrollToRow(topRow + 1);
        else if (d <= -threshold) ScrollToRow(topRow - 1);
        if (scrollBar->isSliderDown()) return;
        break;
    }
    default:
        return;
    }
    SetThumb();
}

void VF1ParamControlWnd::OnThumbReleased() {
    ScrollToRow(scrollBar->sliderPosition() / (kScrollRange / (rows + 1)));
    SetThumb();
    update();
}
