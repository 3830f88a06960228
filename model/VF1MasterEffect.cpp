#include "model/VF1MasterEffect.h"

#include "model/PatchLayout.h"
#include "model/RealTime.h"
#include "model/Report.h"
#include "model/VF1Algorithm.h"

namespace {

// The Master's own parameters by variant, and the table entries they add after the two global
// switches: entry index = position in the list, with its target number and text.
struct MasterEntry {
    int target;
    const char* text;
    int param; // index into the variant's own parameters
};

struct MasterVariant {
    uint32_t id;
    std::span<const ParamSpec> params;
    std::span<const MasterEntry> entries;
};

// clang-format off
constexpr ParamSpec k180001[] = {Dummy(), N("Master Lvl", 0, 100, 100), P("Master BPM", 78, 40), N("Foot Level", 0, 100, 100)};
constexpr ParamSpec k180002[] = {Dummy(), N("Master Lvl", 0, 100, 100), Dummy(), N("Foot Level", 0, 100, 100)};
constexpr ParamSpec k180003[] = {Dummy(), P("Link", 87, 0), N("Master Lvl", 0, 100, 100), Dummy(), N("Foot Level", 0, 100, 100), Dummy()};
constexpr ParamSpec k180004[] = {N("Master Lvl", 0, 100, 100), Dummy(), N("Foot Level", 0, 100, 100)};

constexpr MasterEntry kEntries180001[] = {{2, "Master Lvl", 1}, {4, "Master BPM", 2}, {3, "Foot Volume Level", 3}};
constexpr MasterEntry kEntries180002[] = {{2, "Master Lvl", 1}, {3, "Foot Volume Level", 3}};
constexpr MasterEntry kEntries180003[] = {{2, "Link", 1}, {3, "Master Lvl", 2}, {4, "Foot Volume Level", 4}};
constexpr MasterEntry kEntries180004[] = {{2, "Master Lvl", 0}, {3, "Foot Volume Level", 2}};

constexpr MasterVariant kVariants[] = {
    {0x180001, k180001, kEntries180001},
    {0x180002, k180002, kEntries180002},
    {0x180003, k180003, kEntries180003},
    {0x180004, k180004, kEntries180004},
};
// clang-format on

const MasterVariant* FindVariant(uint32_t id) {
    for (const auto& v : kVariants)
        if (v.id == id) return &v;
    return nullptr;
}

} // namespace

VF1TargetParam::VF1TargetParam(ParamPlacer& placer, std::string name_, TargetTable* table_,
                               const int* lastIndex_)
    : VF1Param(placer, std::move(name_), 12, 0, TypeCode::kTarget, kNoTarget), table(table_),
      lastIndex(lastIndex_) {
    targetParam = (*table)[0].param;
}

int VF1TargetParam::FindEntry(int v) const {
    for (int i = firstIndex; i <= *lastIndex && i < kTargetTableSize; ++i)
        if ((*table)[static_cast<size_t>(i)].target == v) return i;
    return -1;
}

void VF1TargetParam::SendPart(int partOffset, int v) const {
    if (!RealTimeEdits()) return;
    if (RealTimeSink* sink = GetRealTimeSink())
        sink->SendParameter(HeaderAddressWord(kControlAssignAreaOffset + offset) + partOffset, v, 4);
}

void VF1TargetParam::SetValueIndex(int index) {
    if (index < firstIndex || index > *lastIndex) return;
    const TargetEntry& entry = (*table)[static_cast<size_t>(index)];
    const int old = value;
    value = entry.target;
    targetParam = entry.param;
    Edited(old, targetMin, targetMax);
    SendPart(8, value);
}

void VF1TargetParam::Edited(int oldValue, int oldMin, int oldMax) {
    if (ParamEditListener* listener = GetParamEditListener())
        if (oldValue != value || oldMin != targetMin || oldMax != targetMax)
            listener->OnTargetEdited(*this, oldValue, oldMin, oldMax);
}

std::string VF1TargetParam::GetEntryText(int index) const {
    if (index < firstIndex || index > *lastIndex) return "";
    return (*table)[static_cast<size_t>(index)].text;
}

std::string VF1TargetParam::GetTextForValue(int v) const {
    const int i = FindEntry(v);
    return i < 0 ? "" : (*table)[static_cast<size_t>(i)].text;
}

int VF1TargetParam::GetValueIndex() const {
    const int i = FindEntry(value);
    if (i >= 0) return i;
    // Not in the table: the entry with the largest target number below the value, negated.
    int best = 0;
    int bestTarget = -1;
    for (int j = firstIndex; j <= *lastIndex && j < kTargetTableSize; ++j) {
        const int t = (*table)[static_cast<size_t>(j)].target;
        if (t < value && t > bestTarget) {
            bestTarget = t;
            best = j;
        }
    }
    return -best;
}

void VF1TargetParam::Write(PatchStream& stream) const {
    stream.Put(NibbleEncode16(targetMin).data(), 4);
    stream.Put(NibbleEncode16(targetMax).data(), 4);
    stream.Put(NibbleEncode16(value).data(), 4);
}

void VF1TargetParam::Read(PatchStream& stream) {
    const uint8_t* bytes = stream.Take(12);
    if (bytes == nullptr) return;
    value = NibbleDecode16(bytes + 8);
    int index = FindEntry(value);
    if (index < 0) {
        ShowMessage("Invalid value for Control Assign target.  Defaulting.", MessageStyle::Warning);
        index = -GetValueIndex();
        value = (*table)[static_cast<size_t>(index)].target;
    }
    targetParam = (*table)[static_cast<size_t>(index)].param;
    const auto lo = static_cast<unsigned>(targetParam ? targetParam->GetMin() : 0);
    const auto hi = static_cast<unsigned>(targetParam ? targetParam->GetMax() : 0);
    auto inRange = [&](int v) {
        const auto u = static_cast<unsigned>(v);
        return u >= lo && u <= hi ? v : static_cast<int>(lo);
    };
    targetMin = inRange(NibbleDecode16(bytes));
    targetMax = inRange(NibbleDecode16(bytes + 4));
}

void VF1TargetParam::SetTargetMin(int v) {
    const int old = targetMin;
    targetMin = v;
    Edited(value, old, targetMax);
    SendPart(0, v);
}

void VF1TargetParam::SetTargetMax(int v) {
    const int old = targetMax;
    targetMax = v;
    Edited(value, targetMin, old);
    SendPart(4, v);
}

VF1MasterEffect::VF1MasterEffect(uint32_t id_, int address_, int targetBase_, VF1Algorithm* ownerAlgorithm_,
                                 const std::string&)
    : VF1Effect(id_, address_, targetBase_), ownerAlgorithm(ownerAlgorithm_) {
    name = "Master";
    // The two global switches exist only as control-assign targets.
    ParamPlacer placer(targetBase);
    tunerSwitch = std::make_unique<VF1Param>(placer, "Tuner On/Off", 2, 0, TypeCode::kTunerOnOff, 0);
    effectsSwitch = std::make_unique<VF1Param>(placer, "Effects On/Off", 2, 0, TypeCode::kEffectsOnOff, 1);
    tunerSwitch->SetOwner(this);
    effectsSwitch->SetOwner(this);
    table[0] = {0, "Global Tuner On/Off", tunerSwitch.get()};
    table[1] = {1, "Global Effects On/Off", effectsSwitch.get()};

    // The Master's own parameters start its stream; their target numbers follow the switches'.
    placer.MoveTo(0);
    firstBlockEntry = 2;
    if (const MasterVariant* variant = FindVariant(id_)) {
        AddSpecParams(variant->params, "", params, placer);
        for (const MasterEntry& e : variant->entries)
            table[static_cast<size_t>(firstBlockEntry++)] = {e.target, e.text,
                                                             params[static_cast<size_t>(e.param)].get()};
    }
    ownCount = static_cast<int>(params.size());
    for (auto& p : params) p->SetOwner(this);

    CollectFromBlocks();

    // The four control assigns lie in the header half's control-assign area, from its start.
    placer.MoveTo(0);
    for (int n = 1; n <= 4; ++n) {
        const std::string prefix = Format("Ctl %d", n);
        params.push_back(std::make_unique<VF1TargetParam>(placer, prefix + " Target", &table, &lastIndex));
        params.push_back(std::make_unique<VF1Param>(placer, prefix + " Src Type", 4, 0, TypeCode::kSourceType,
                                                    kNextTarget));
        params.push_back(std::make_unique<VF1Param>(placer, prefix + " Src Mode", 4, 0, TypeCode::kSourceMode,
                                                    kNextTarget));
        params.push_back(
            std::make_unique<VF1Param>(placer, prefix + " Src Min", 4, 0, TypeCode::kSourceMin, kNextTarget));
        params.push_back(std::make_unique<VF1Param>(placer, prefix + " Src Max", 4, 127, TypeCode::kSourceMax,
                                                    kNextTarget));
        params.push_back(std::make_unique<VF1Param>(placer, prefix + " On/Off", 4, 0, TypeCode::kAssignOnOff,
                                                    kNextTarget));
    }
    for (auto& p : params) p->SetOwner(this);
    Select(0);
}

VF1MasterEffect::~VF1MasterEffect() = default;

void VF1MasterEffect::CollectFromBlocks() {
    int count = firstBlockEntry;
    if (ownerAlgorithm)
        for (int i = 0; i < ownerAlgorithm->GetBlockCount(); ++i)
            ownerAlgorithm->GetBlock(i)->CollectTargets(table, count);
    lastIndex = count - 1;
}

void VF1MasterEffect::RebuildTargets() {
    for (size_t i = static_cast<size_t>(firstBlockEntry); i < table.size(); ++i) table[i] = TargetEntry{};
    CollectFromBlocks();
}

int VF1MasterEffect::WriteStream(PatchStream& stream) {
    const size_t start = stream.Offset();
    for (int i = 0; i < ownCount; ++i) params[static_cast<size_t>(i)]->Write(stream);
    return static_cast<int>(stream.Offset() - start);
}

void VF1MasterEffect::ReadStream(PatchStream& stream) {
    for (int i = 0; i < ownCount; ++i) params[static_cast<size_t>(i)]->Read(stream);
}

void VF1MasterEffect::WriteHeader(uint8_t* area) {
    PatchStream stream(area, kControlAssignAreaSize);
    for (size_t i = static_cast<size_t>(ownCount); i < params.size(); ++i) params[i]->Write(stream);
}

void VF1MasterEffect::ReadHeader(const uint8_t* area) {
    // Reading never writes through the stream.
    PatchStream stream(const_cast<uint8_t*>(area), kControlAssignAreaSize);
    for (size_t i = static_cast<size_t>(ownCount); i < params.size(); ++i)
        if (!params[i]->IsDummy()) params[i]->Read(stream);
}
