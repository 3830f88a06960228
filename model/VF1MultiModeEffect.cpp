#include "model/VF1MultiModeEffect.h"

#include "model/tables/CatalogueTable.h"

VF1MultiModeEffect::VF1MultiModeEffect(uint32_t id_, int address_, int targetBase_,
                                       const std::string& nameSuffix)
    : VF1Effect(id_, address_, targetBase_) {
    const MultiModeSpec* row = FindMultiModeBlock(id_);
    if (row == nullptr) return;
    name = row->name;
    sharedCount = static_cast<int>(row->shared.size());
    ParamPlacer placer(targetBase);
    AddSpecParams(row->shared, "", params, placer);
    // Every mode overlays the same bytes behind the shared ones; target numbers run on.
    const int modeStart = placer.StreamOffset();
    std::vector<std::unique_ptr<VF1Param>>* lists[3] = {&params, &module1, &module2};
    for (size_t m = 0; m < row->modes.size() && m < 3; ++m) {
        placer.MoveTo(modeStart);
        AddSpecParams(row->modes[m].params, row->modes[m].label, *lists[m], placer);
    }
    AppendNameSuffix(nameSuffix);
    Refresh();
    if (!params.empty()) Select(0);
    for (auto* list : lists)
        for (auto& p : *list) p->SetOwner(this);
}

VF1MultiModeEffect::~VF1MultiModeEffect() = default;

void VF1MultiModeEffect::Refresh() {
    currentMode = static_cast<size_t>(selectorIndex) < params.size() ? params[selectorIndex]->GetValue() : 0;
}

size_t VF1MultiModeEffect::ModuleSize() const {
    if (currentMode == 0) return params.size() - std::min(params.size(), static_cast<size_t>(sharedCount));
    return currentMode == 1 ? module1.size() : module2.size();
}

VF1Param* VF1MultiModeEffect::ModuleParam(size_t index) const {
    if (index >= ModuleSize()) return nullptr;
    if (currentMode == 0) return params[static_cast<size_t>(sharedCount) + index].get();
    return currentMode == 1 ? module1[index].get() : module2[index].get();
}

void VF1MultiModeEffect::First() {
    Refresh();
    iterPos = 0;
}

VF1Param* VF1MultiModeEffect::Next() {
    VF1Param* p = GetParam(static_cast<int>(iterPos));
    if (p) ++iterPos;
    return p;
}

bool VF1MultiModeEffect::AtEnd() const {
    return iterPos >= static_cast<size_t>(sharedCount) + ModuleSize();
}

VF1Param* VF1MultiModeEffect::GetParam(int index) {
    if (index < 0) return nullptr;
    if (index < sharedCount) return VF1Effect::GetParam(index);
    return ModuleParam(static_cast<size_t>(index - sharedCount));
}

void VF1MultiModeEffect::Select(int index) {
    selectedIndex = index;
    selectedParam = GetParam(index);
}

void VF1MultiModeEffect::SetSelectedValueIndex(int index) {
    if (VF1Param* p = GetSelectedParam()) p->SetValueIndex(index);
}

void VF1MultiModeEffect::ReadStream(PatchStream& stream) {
    for (int i = 0; i < sharedCount; ++i) {
        params[static_cast<size_t>(i)]->Read(stream);
        if (i == selectorIndex) Refresh();
    }
    for (size_t i = 0; i < ModuleSize(); ++i) ModuleParam(i)->Read(stream);
}

void VF1MultiModeEffect::RandomiseAll() {
    if (static_cast<size_t>(selectorIndex) >= params.size()) return;
    params[selectorIndex]->Randomise();
    Refresh();
    for (int i = selectorIndex + 1; i < sharedCount + static_cast<int>(ModuleSize()); ++i)
        if (VF1Param* p = GetParam(i)) p->Randomise();
}
