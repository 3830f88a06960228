#include "ui/editor/PanelLayout.h"

#include "model/TypeCodes.h"
#include "model/VF1Effect.h"
#include "model/tables/CatalogueTable.h"

namespace PanelLayout {

namespace {
// Wider than this, the rest of a row of the twenty-tap delay holds no whole tap.
constexpr int kTapRowLimit = 275;
} // namespace

int Rows(const VF1Effect& block) {
    if (block.GetId() == kMultiTapDelayId) return 9;
    if (block.IsMaster()) return 3;
    return 1;
}

std::vector<VF1Param*> ShownParams(VF1Effect& block) {
    std::vector<VF1Param*> shown;
    const std::vector<VF1Param*> live = block.LiveParams();
    for (size_t i = block.IsMaster() ? 0 : 1; i < live.size(); ++i)
        if (!live[i]->IsDummy()) shown.push_back(live[i]);
    return shown;
}

Cursor::Cursor(const VF1Effect& block, QPoint start)
    // A panel that scrolls keeps room for its scroll bar.
    : availableWidth(Rows(block) == 1 ? 551 : 540), multiTapDelay(block.GetId() == kMultiTapDelayId),
      x(start.x()), y(start.y()) {}

QPoint Cursor::Place(int width, int type) {
    // A new row when the control would not fit, for each control assign's Target, and in the
    // twenty-tap delay so that a row holds two taps. A row never starts empty.
    const bool rowStarted = x > -1;
    if (rowStarted && (x >= availableWidth - width || type == TypeCode::kTarget ||
                       (multiTapDelay && type == TypeCode::kTapDelayTime && x > kTapRowLimit))) {
        x = -1;
        y += kRowPitch;
    }
    const QPoint at(x, y);
    x += width - 1;
    return at;
}

} // namespace PanelLayout
