#include "ui/editor/VF1controlToggle.h"

#include "model/VF1Param.h"
#include "ui/widgets/MokCheckBox.h"

namespace {
constexpr int kTop = 32;
constexpr int kPitch = 15;
} // namespace

void VF1controlToggle::CreateChildren() {
    VF1control::CreateChildren();
    const int n = param->GetMax() - param->GetMin() + 1;
    for (int i = 0; i < n; ++i) {
        buttons.push_back(MakeButton(QString::fromLatin1(param->GetEntryText(i).c_str()),
                                     Span(4, kTop + kPitch * i, GetWidth() - 8, kTop + kPitch + kPitch * i),
                                     kFirstButtonId + i));
        // One of a set: assistive technology reports option buttons.
        buttons.back()->SetRadio(true);
    }
}

void VF1controlToggle::Refresh() {
    CheckOnly(param->GetValue() - param->GetMin());
}

void VF1controlToggle::OnButton(int id) {
    // The lists shown this way store 0 to n - 1.
    const int index = id - kFirstButtonId;
    param->SetValue(index);
    CheckOnly(index);
}

void VF1controlToggle::CheckOnly(int index) {
    for (int i = 0; i < int(buttons.size()); ++i) buttons[size_t(i)]->SetCheck(i == index ? 1 : 0);
}
