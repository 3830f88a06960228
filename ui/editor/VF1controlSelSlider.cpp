#include "ui/editor/VF1controlSelSlider.h"

#include "model/VF1Param.h"
#include "ui/editor/VF1ValueBox.h"
#include "ui/widgets/MokCheckBox.h"
#include "ui/widgets/MokSliderCtrl.h"

void VF1controlSelSlider::CreateChildren() {
    VF1control::CreateChildren();
    minValue = param->GetMin();
    maxValue = param->GetMax();
    splitValue = param->GetSplitValue();
    mode1 = MakeButton(QString::fromLatin1(param->GetFirstModeLabel().c_str()), Span(5, 30, 65, 45),
                       kFirstButtonId);
    mode2 = MakeButton(QString::fromLatin1(param->GetSecondModeLabel().c_str()), Span(5, 48, 65, 65),
                       kFirstButtonId + 1);
    // The two modes are one choice.
    mode1->SetRadio(true);
    mode2->SetRadio(true);
    slider = MakeSlider(false, Span(4, 75, GetWidth() - 8, 93));
    valueBox = MakeValueBox(Span(1, 102, GetWidth() - 3, 121));
    Refresh();
}

void VF1controlSelSlider::ShowMode(int mode) {
    mode1->SetCheck(mode == 1 ? 1 : 0);
    mode2->SetCheck(mode == 2 ? 1 : 0);
}

void VF1controlSelSlider::Refresh() {
    const int v = param->GetValue();
    if (v < splitValue) slider->SetRange(minValue, splitValue - 1);
    else slider->SetRange(splitValue, maxValue);
    ShowMode(v < splitValue ? 1 : 2);
    slider->SetPos(v);
    SetBoxText(valueBox, param->GetTextForValue(v));
}

void VF1controlSelSlider::OnButton(int id) {
    // Each mode starts at its part's first value.
    if (id == kFirstButtonId) {
        slider->SetRange(minValue, splitValue - 1);
        slider->SetPos(minValue);
        SetBoxText(valueBox, param->GetTextForValue(minValue));
    } else {
        slider->SetPos(minValue);
        slider->SetRange(splitValue, maxValue);
        SetBoxText(valueBox, param->GetTextForValue(splitValue));
    }
    param->SetValue(slider->GetPos());
    ShowMode(id == kFirstButtonId ? 1 : 2);
}

void VF1controlSelSlider::OnHorizontalSlider(int code, int pos) {
    FollowSlider(code, pos, slider, valueBox, false);
}
