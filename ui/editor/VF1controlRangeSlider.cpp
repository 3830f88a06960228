#include "ui/editor/VF1controlRangeSlider.h"

#include "model/TypeCodes.h"
#include "model/VF1Param.h"
#include "ui/editor/VF1ValueBox.h"
#include "ui/widgets/MokSliderCtrl.h"

void VF1controlRangeSlider::Link(VF1controlRangeSlider& srcMin, VF1controlRangeSlider& srcMax) {
    srcMin.partner = &srcMax;
    srcMax.partner = &srcMin;
    srcMin.limit = srcMax.GetParam()->GetValueIndex();
    srcMax.limit = srcMin.GetParam()->GetValueIndex();
}

bool VF1controlRangeSlider::IsSourceMin() const {
    return param->GetType() == TypeCode::kSourceMin;
}

void VF1controlRangeSlider::OnVerticalSlider(int code, int pos, MokSliderCtrl*) {
    if (code == kThumbTrack) {
        SetBoxText(valueBox, param->GetTextForValue(pos));
        return;
    }
    int index = CtrlHeld() ? param->GetDefaultIndex() : slider->GetPos() - param->GetMin();
    // Src Min (0-126) stops at Src Max's index and Src Max (1-127) at Src Min's, so the minimum
    // stays one below the maximum at the closest.
    if (partner && (IsSourceMin() ? index >= limit : index <= limit)) index = limit;
    param->SetValueIndex(index);
    slider->SetPos(param->GetValue());
    SetBoxText(valueBox, param->GetEntryText(index));
    if (partner) partner->limit = index;
}
