#include "model/VF1EffectSlot.h"

#include "model/tables/CatalogueTable.h"

VF1EffectSlot::VF1EffectSlot(uint32_t id_, int address_, int targetBase_, const std::string&)
    : VF1Effect(id_, address_, targetBase_) {
    const SlotSpec* row = FindSlotBlock(id_);
    if (row == nullptr) return;
    name = row->name;
    sharedCount = row->sharedCount;
    ParamPlacer placer(targetBase);
    AddSpecParams(row->shared, "", params, placer);
    // Every sub-effect lies at the slot's own address, behind the shared bytes, and numbers its
    // targets from its own base.
    for (const SubEffectSpec& sub : row->subEffects)
        subEffects.push_back(std::make_unique<VF1Effect>(sub.id, address, sub.targetBase, placer));
    // Trailing parameters continue where the last sub-effect's bytes and target numbers ended.
    AddSpecParams(row->trailing, "", params, placer);
    Refresh();
    if (!params.empty()) Select(0);
    for (auto& p : params) p->SetOwner(this);
}

VF1EffectSlot::~VF1EffectSlot() = default;

void VF1EffectSlot::Refresh() {
    VF1Param* selector =
        static_cast<size_t>(selectorIndex) < params.size() ? params[selectorIndex].get() : nullptr;
    currentSelector = selector ? selector->GetValue() : 0;
    if (currentSelector < 0 || currentSelector >= static_cast<int>(subEffects.size())) currentSelector = 0;
    current = subEffects.empty() ? nullptr : subEffects[static_cast<size_t>(currentSelector)].get();
    // The live sub-effect's parameters report to the slot: it is the block the panel shows.
    if (current)
        for (VF1Param* p : current->LiveParams()) p->SetOwner(this);
}

void VF1EffectSlot::BuildWalk() {
    walk.clear();
    const auto shared = std::min(params.size(), static_cast<size_t>(sharedCount));
    for (size_t i = 0; i < shared; ++i) walk.push_back(params[i].get());
    if (current)
        for (VF1Param* p : current->LiveParams()) walk.push_back(p);
    for (size_t i = shared; i < params.size(); ++i) walk.push_back(params[i].get());
}

void VF1EffectSlot::First() {
    Refresh();
    BuildWalk();
    iterPos = 0;
}

VF1Param* VF1EffectSlot::Next() {
    return iterPos < walk.size() ? walk[iterPos++] : nullptr;
}

bool VF1EffectSlot::AtEnd() const {
    return iterPos >= walk.size();
}

VF1Param* VF1EffectSlot::GetParam(int index) {
    if (index < 0) return nullptr;
    if (index < sharedCount) return VF1Effect::GetParam(index);
    Refresh();
    return current ? current->GetParam(index - sharedCount) : nullptr;
}

// Follows a change of sub-effect: the selected index names whatever is live now.
VF1Param* VF1EffectSlot::GetSelectedParam() {
    return GetParam(selectedIndex);
}

void VF1EffectSlot::Select(int index) {
    selectedIndex = index;
    selectedParam = GetParam(index);
}

void VF1EffectSlot::SetSelectedValueIndex(int index) {
    if (VF1Param* p = GetSelectedParam()) p->SetValueIndex(index);
}

int VF1EffectSlot::WriteStream(PatchStream& stream) {
    return VF1Effect::WriteStream(stream);
}

void VF1EffectSlot::ReadStream(PatchStream& stream) {
    // The selector decides which sub-effect the following bytes belong to.
    const auto shared = std::min(params.size(), static_cast<size_t>(sharedCount));
    for (size_t i = 0; i < shared; ++i) {
        params[i]->Read(stream);
        if (static_cast<int>(i) == selectorIndex) Refresh();
    }
    if (current)
        for (VF1Param* p : current->LiveParams()) p->Read(stream);
    for (size_t i = shared; i < params.size(); ++i) params[i]->Read(stream);
}

void VF1EffectSlot::RandomiseAll() {
    if (static_cast<size_t>(selectorIndex) >= params.size()) return;
    params[selectorIndex]->Randomise();
    First();
    for (size_t i = static_cast<size_t>(selectorIndex) + 1; i < walk.size(); ++i) walk[i]->Randomise();
}
