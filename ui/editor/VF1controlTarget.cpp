#include "ui/editor/VF1controlTarget.h"

#include "model/VF1MasterEffect.h"
#include "ui/editor/VF1ValueBox.h"
#include "ui/widgets/MokSliderCtrl.h"

VF1controlTarget::VF1controlTarget(VF1Param* param, int widthHint, QWidget* parent)
    : VF1control(param, widthHint, parent), target(static_cast<VF1TargetParam*>(param)) {}

MokSliderCtrl* VF1controlTarget::GetSlider(int which) const {
    return which == 0 ? targetSlider : which == 1 ? minSlider : maxSlider;
}

VF1ValueBox* VF1controlTarget::GetValueBox(int which) const {
    return which == 0 ? targetBox : which == 1 ? minBox : maxBox;
}

void VF1controlTarget::CreateChildren() {
    VF1control::CreateChildren();
    AddCaption(QStringLiteral("Target"), Span(1, 13, 50, 26));
    AddCaption(QStringLiteral("Min"), Span(55, 13, 100, 26));
    AddCaption(QStringLiteral("Max"), Span(100, 13, 145, 26));
    targetSlider = MakeSlider(true, Span(17, 28, 35, 100));
    minSlider = MakeSlider(true, Span(68, 28, 85, 80));
    maxSlider = MakeSlider(true, Span(114, 28, 131, 80));
    targetSlider->setAccessibleName(QStringLiteral("Target"));
    minSlider->setAccessibleName(QStringLiteral("Min"));
    maxSlider->setAccessibleName(QStringLiteral("Max"));
    targetBox = MakeValueBox(Span(1, 102, GetWidth() - 3, 121));
    minBox = MakeValueBox(Span(55, 82, 100, 100));
    maxBox = MakeValueBox(Span(102, 82, 147, 100));
    Refresh();
}

std::string VF1controlTarget::TargetText(int index) const {
    return chosen ? chosen->GetEntryText(index) : std::string();
}

void VF1controlTarget::ChooseTarget(int index) {
    target->SetValueIndex(index);
    chosen = target->GetTargetParam();
    tMin = chosen ? chosen->GetMin() : 0;
    tMax = chosen ? chosen->GetMax() : 0;
}

void VF1controlTarget::ShowRange() {
    minSlider->SetRange(tMin, tMax);
    minSlider->SetPos(target->GetTargetMin());
    SetBoxText(minBox, chosen ? chosen->GetTextForValue(target->GetTargetMin()) : std::string());
    maxSlider->SetRange(tMin, tMax);
    maxSlider->SetPos(target->GetTargetMax());
    SetBoxText(maxBox, chosen ? chosen->GetTextForValue(target->GetTargetMax()) : std::string());
}

void VF1controlTarget::Refresh() {
    int index = target->GetValueIndex();
    // A target number the table does not hold stands for the entry below it.
    if (index < 0) {
        index = -index;
        target->SetValueIndex(index);
    }
    chosen = target->GetTargetParam();
    tMin = chosen ? chosen->GetMin() : 0;
    tMax = chosen ? chosen->GetMax() : 0;
    targetSlider->SetRange(target->GetMin(), target->GetMax());
    // The slider runs over the table's entries: it stands at the entry's index, which differs from
    // the target number wherever the table skips numbers.
    targetSlider->SetPos(index);
    SetBoxText(targetBox, target->GetTextForValue(target->GetValue()));
    ShowRange();
}

void VF1controlTarget::OnVerticalSlider(int code, int pos, MokSliderCtrl* sender) {
    if (sender == targetSlider) {
        const int index = pos - target->GetMin();
        if (code == kThumbTrack) {
            SetBoxText(targetBox, target->GetEntryText(index));
            return;
        }
        const bool changed = index != target->GetValueIndex();
        ChooseTarget(index);
        SetBoxText(targetBox, target->GetEntryText(index));
        // A new target takes its whole range; the range set for the present one stays when the
        // gesture ends where it began.
        if (changed) {
            target->SetTargetMin(tMin);
            target->SetTargetMax(tMax);
        }
        ShowRange();
        return;
    }
    const bool isMin = sender == minSlider;
    VF1ValueBox* box = isMin ? minBox : maxBox;
    const int index = pos - tMin;
    if (code == kThumbTrack) {
        SetBoxText(box, TargetText(index));
        return;
    }
    if (chosen == nullptr) return;
    if (isMin) target->SetTargetMin(chosen->ValueAt(index));
    else target->SetTargetMax(chosen->ValueAt(index));
    SetBoxText(box, TargetText(index));
}
