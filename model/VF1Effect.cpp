#include "model/VF1Effect.h"

#include "model/Report.h"
#include "model/VF1Algorithm.h"
#include "model/VF1EffectSlot.h"
#include "model/VF1MultiModeEffect.h"

VF1Effect::VF1Effect(uint32_t id_, int address_, int targetBase_)
    : id(id_), address(address_), targetBase(targetBase_) {
    params.reserve(10);
}

VF1Effect::VF1Effect(uint32_t id_, int address_, int targetBase_, const std::string& nameSuffix)
    : VF1Effect(id_, address_, targetBase_) {
    ParamPlacer placer(targetBase);
    BuildFromCatalogue(placer, nameSuffix);
}

VF1Effect::VF1Effect(uint32_t id_, int address_, int targetBase_, ParamPlacer& placer)
    : VF1Effect(id_, address_, targetBase_) {
    placer.Restart(targetBase);
    BuildFromCatalogue(placer, "");
}

void VF1Effect::BuildFromCatalogue(ParamPlacer& placer, const std::string& nameSuffix) {
    if (const BlockSpec* row = FindCatalogueBlock(id)) {
        BuildFromSpec(*row, placer);
    } else {
        ShowMessage(Format("missing support for type %d of %d", static_cast<int>(id), 2949121),
                    MessageStyle::Error);
    }
    AppendNameSuffix(nameSuffix);
    SelectFirstAndAdopt();
}

VF1Effect::~VF1Effect() = default;

void VF1Effect::AddSpecParams(std::span<const ParamSpec> specs, const char* label,
                              std::vector<std::unique_ptr<VF1Param>>& list, ParamPlacer& placer) {
    for (const ParamSpec& s : specs) {
        const char* paramLabel = s.label[0] != '\0' ? s.label : label;
        auto param = std::make_unique<VF1Param>(placer, paramLabel, s.name, s.width, s.init, s.type, s.p1,
                                                s.p2, s.p3, s.target);
        if (s.position) positionParam = param.get();
        list.push_back(std::move(param));
    }
}

void VF1Effect::BuildFromSpec(const BlockSpec& row, ParamPlacer& placer) {
    name = row.name;
    placer.Restart(targetBase, row.startByte);
    AddSpecParams(row.params, row.label, params, placer);
    if (row.id == kMultiTapDelayId) {
        // Taps 1..20, four parameters each, numbered into their names and target indexes.
        for (int n = 1; n <= kMultiTapCount; ++n) {
            int k = 0;
            for (const ParamSpec& s : MultiTapParams()) {
                params.push_back(std::make_unique<VF1Param>(placer, s.label, s.name + Format("%d", n),
                                                            s.width, s.init, s.type, s.p1, s.p2, s.p3,
                                                            4 * n - 2 + k));
                ++k;
            }
        }
    }
}

void VF1Effect::AppendNameSuffix(const std::string& suffix) {
    if (!suffix.empty()) name += " - " + suffix;
}

void VF1Effect::SelectFirstAndAdopt() {
    if (!params.empty()) Select(0);
    for (auto& p : params) p->SetOwner(this);
}

bool VF1Effect::AddParam(std::unique_ptr<VF1Param> param) {
    params.push_back(std::move(param));
    return true;
}

void VF1Effect::First() {
    iterPos = 0;
}

VF1Param* VF1Effect::Next() {
    return iterPos < params.size() ? params[iterPos++].get() : nullptr;
}

bool VF1Effect::AtEnd() const {
    return iterPos >= params.size();
}

VF1Param* VF1Effect::GetParam(int index) {
    return index >= 0 && static_cast<size_t>(index) < params.size() ? params[static_cast<size_t>(index)].get()
                                                                    : nullptr;
}

VF1Param* VF1Effect::GetSelectedParam() {
    return selectedParam;
}

void VF1Effect::Select(int index) {
    selectedIndex = index;
    selectedParam = GetParam(index);
}

void VF1Effect::SetSelectedValueIndex(int index) {
    if (VF1Param* p = GetSelectedParam()) p->SetValueIndex(index);
}

std::vector<VF1Param*> VF1Effect::LiveParams() {
    std::vector<VF1Param*> live;
    for (First(); !AtEnd();)
        if (VF1Param* p = Next()) live.push_back(p);
    return live;
}

int VF1Effect::WriteStream(PatchStream& stream) {
    const size_t start = stream.Offset();
    for (First(); !AtEnd();)
        if (VF1Param* p = Next()) p->Write(stream);
    return static_cast<int>(stream.Offset() - start);
}

void VF1Effect::ReadStream(PatchStream& stream) {
    for (First(); !AtEnd();)
        if (VF1Param* p = Next()) p->Read(stream);
}

void VF1Effect::WriteHeader(uint8_t*) {}
void VF1Effect::ReadHeader(const uint8_t*) {}

void VF1Effect::CollectTargets(TargetTable& table, int& count) {
    for (First(); !AtEnd();) {
        VF1Param* p = Next();
        if (p == nullptr || p->GetTarget() == -1) continue;
        // The table is fixed in size; no algorithm of the unit comes near it.
        if (count >= kTargetTableSize) return;
        table[static_cast<size_t>(count)] = {
            p->GetTarget(), Format("%s %s %s", name.c_str(), p->GetLabel().c_str(), p->GetName().c_str()), p};
        ++count;
    }
}

void VF1Effect::RandomiseAll() {
    for (First(); !AtEnd();)
        if (VF1Param* p = Next()) p->Randomise();
}

void VF1Effect::SwitchOn() {
    if (!IsMaster())
        if (VF1Param* p = GetParam(0)) p->SetValue(1);
}

void VF1Effect::SwitchOff() {
    if (!IsMaster())
        if (VF1Param* p = GetParam(0)) p->SetValue(0);
}

void VF1Effect::NotifyPositionChanged(int oldValue, int newValue) {
    if (owner) owner->OnPositionChanged(this, oldValue, newValue);
}

void VF1Effect::NotifyLayoutChanged() {
    if (owner) owner->OnLayoutChanged();
}

std::unique_ptr<VF1Effect> CreateEffect(uint32_t id, int address, int targetBase,
                                        const std::string& nameSuffix) {
    if (FindMultiModeBlock(id))
        return std::make_unique<VF1MultiModeEffect>(id, address, targetBase, nameSuffix);
    if (FindSlotBlock(id)) return std::make_unique<VF1EffectSlot>(id, address, targetBase, nameSuffix);
    return std::make_unique<VF1Effect>(id, address, targetBase, nameSuffix);
}

std::string BlockIdText(uint32_t id) {
    return Format("%06X", id);
}
