#include "ui/editor/VF1controlCheck.h"

#include "model/VF1Param.h"
#include "ui/widgets/MokCheckBox.h"

void VF1controlCheck::CreateChildren() {
    VF1control::CreateChildren();
    checkBox = MakeButton(QStringLiteral("On"), Span(6, 32, GetWidth() - 6, 50), kFirstButtonId);
}

void VF1controlCheck::Refresh() {
    checkBox->SetCheck(param->GetValue() != 0 ? 1 : 0);
}

void VF1controlCheck::OnButton(int) {
    param->SetValue(checkBox->GetCheck() ? 1 : 0);
}
