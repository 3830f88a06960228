#include "ui/editor/VF1FXControlWnd.h"

#include <QFrame>
#include <QLabel>

#include <algorithm>
#include <stdexcept>

#include "model/VF1Algorithm.h"
#include "model/tables/AlgorithmInfo.h"
#include "model/tables/CatalogueTable.h"
#include "ui/editor/LcdPictures.h"
#include "ui/editor/PanelLayout.h"
#include "ui/editor/VF1FXButton.h"
#include "ui/editor/VF1FXButtonWnd.h"
#include "ui/editor/VF1ParamControlWnd.h"

namespace {

// The place a variable-position block takes in the chain: its position parameter's value.
int PositionOf(const VF1FXControlWnd::Pair& pair) {
    const VF1Param* position = pair.button->GetBlock()->GetPositionParam();
    return position ? position->GetValue() : 0;
}

} // namespace

VF1FXControlWnd::VF1FXControlWnd(VF1Algorithm* patch_, QWidget* frame, QWidget* lcdPicture_)
    : QWidget(frame), lcdPicture(lcdPicture_), patch(patch_), layout(patch_->GetNumber()) {
    setWindowTitle(QStringLiteral("FXControlWnd"));
    setObjectName(QString::number(kId));
}

VF1FXControlWnd::~VF1FXControlWnd() {
    // Buttons and panels go before the windows that hold them.
    if (buttonWindow) buttonWindow->hide();
    pairs.clear();
}

void VF1FXControlWnd::Create() {
    selected = nullptr;
    varPair1 = varPair2 = nullptr;
    // Inside the frame's border line.
    auto* frame = qobject_cast<QFrame*>(parentWidget());
    setGeometry(frame ? frame->contentsRect()
                      : QRect(0, 0, PanelLayout::kPanelWidth, PanelLayout::kPanelHeight));

    buttonWindow = std::make_unique<VF1FXButtonWnd>(lcdPicture);
    const char* displayName = AlgorithmDisplayName(patch->GetNumber());
    buttonWindow->SetPictures(QString::fromLatin1(layout.GetPictureName()),
                              AlgorithmNamePicture(patch->GetNumber()),
                              QString::fromLatin1(displayName ? displayName : ""));

    // Buttons first and panels after them, so that the keyboard meets the buttons first.
    const int count = patch->GetBlockCount();
    VF1Effect* const* positionBlocks = patch->GetPositionBlocks();
    std::vector<std::unique_ptr<Pair>> made;
    for (int n = 0; n < count; ++n) {
        auto pair = std::make_unique<Pair>();
        pair->button =
            std::make_unique<VF1FXButton>(patch->GetBlock(n), VF1FXButton::kFirstId + n, buttonWindow.get());
        connect(pair->button.get(), &VF1FXButton::picked, this, &VF1FXControlWnd::SelectButton);
        made.push_back(std::move(pair));
    }
    for (int n = 0; n < count; ++n) {
        Pair& pair = *made[static_cast<size_t>(n)];
        pair.panel = std::make_unique<VF1ParamControlWnd>(patch->GetBlock(n), this);
        pair.panel->Create();
        VF1Effect* block = patch->GetBlock(n);
        if (block == positionBlocks[0]) varPair1 = &pair;
        else if (block == positionBlocks[1]) varPair2 = &pair;
    }
    pairs = std::move(made);
    InsertVariablePairs();
    PlaceButtons();
    OrderTabs();

    selected = pairs.front().get();
    selected->button->Select();
    patch->SelectBlock(selected->button->GetId() - VF1FXButton::kFirstId);
    buttonWindow->GetFlowPicture()->show();
    buttonWindow->GetNamePicture()->show();
    buttonWindow->show();
    selected->panel->show();
    show();
}

void VF1FXControlWnd::InsertVariablePairs() {
    std::vector<std::unique_ptr<Pair>> taken;
    for (Pair* var : {varPair1, varPair2}) {
        if (var == nullptr) continue;
        const auto at =
            std::find_if(pairs.begin(), pairs.end(), [var](const auto& p) { return p.get() == var; });
        taken.push_back(std::move(*at));
        pairs.erase(at);
    }
    // The lower position first, each before the pair at its position's index; the Master stays last.
    std::stable_sort(taken.begin(), taken.end(),
                     [](const auto& a, const auto& b) { return PositionOf(*a) < PositionOf(*b); });
    for (auto& pair : taken) {
        const int last = static_cast<int>(pairs.size()) - 1;
        const int index = std::clamp(PositionOf(*pair), 0, std::max(last, 0));
        pairs.insert(pairs.begin() + index, std::move(pair));
    }
}

void VF1FXControlWnd::PlaceButtons() {
    for (size_t k = 0; k < pairs.size(); ++k) {
        VF1FXButton& button = *pairs[k]->button;
        button.move(button.IsMaster() ? VF1LCDLayout::kMasterPoint : layout.ButtonPoint(static_cast<int>(k)));
        button.show();
    }
}

void VF1FXControlWnd::OrderTabs() {
    // Along the flow, whatever order the blocks were made in.
    for (size_t k = 1; k < pairs.size(); ++k)
        QWidget::setTabOrder(pairs[k - 1]->button.get(), pairs[k]->button.get());
}

VF1Effect* VF1FXControlWnd::GetSelectedEffect() const {
    return selected ? selected->button->GetBlock() : nullptr;
}

VF1ParamControlWnd* VF1FXControlWnd::GetSelectedPanel() const {
    return selected ? selected->panel.get() : nullptr;
}

void VF1FXControlWnd::RefreshSelectedPanel() {
    if (selected == nullptr) return;
    selected->panel->hide();
    selected->panel->show();
}

void VF1FXControlWnd::RebuildChangeablePanels() {
    for (const auto& pair : pairs)
        if (pair->button->GetBlock()->HasModules()) pair->panel->Rebuild(pair.get() == selected);
}

void VF1FXControlWnd::RepositionVariableBlocks() {
    InsertVariablePairs();
    PlaceButtons();
    OrderTabs();
}

void VF1FXControlWnd::SelectButton(int id) {
    if (selected && selected->button->GetId() == id) return;
    const auto found =
        std::find_if(pairs.begin(), pairs.end(), [id](const auto& p) { return p->button->GetId() == id; });
    // Every button belongs to a pair; no click can reach this.
    if (found == pairs.end()) throw std::logic_error("WTF? Can't find ID!");
    if (selected) {
        selected->panel->hide();
        selected->button->Deselect();
    }
    selected = found->get();
    selected->button->Select();
    patch->SelectBlock(id - VF1FXButton::kFirstId);
    const VF1Effect* block = selected->button->GetBlock();
    if (block->GetId() == kMultiTapDelayId || block->IsMaster()) selected->panel->ShowScrollBar();
    selected->panel->show();
}
