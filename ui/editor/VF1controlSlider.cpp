#include "ui/editor/VF1controlSlider.h"

#include "model/VF1Param.h"
#include "ui/editor/VF1ValueBox.h"
#include "ui/widgets/MokSliderCtrl.h"

void VF1controlSlider::CreateChildren() {
    VF1control::CreateChildren();
    const int c = GetWidth() / 2 - 1;
    slider = MakeSlider(true, Span(c - 9, 28, c + 9, 100));
    slider->SetRange(param->GetMin(), param->GetMax());
    slider->SetPos(param->GetValue());
    valueBox = MakeValueBox(Span(1, 102, GetWidth() - 3, 121));
}

void VF1controlSlider::Refresh() {
    slider->SetPos(param->GetValue());
    SetBoxText(valueBox, param->GetTextForValue(param->GetValue()));
}

void VF1controlSlider::OnVerticalSlider(int code, int pos, MokSliderCtrl*) {
    // Selectors switch modules and positions re-order blocks at once, as the unit does.
    FollowSlider(code, pos, slider, valueBox, param->IsSetSelector() || param->IsPositionParam());
}
