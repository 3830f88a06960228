#include "model/VF1ValueType.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "model/Report.h"
#include "model/TypeCodes.h"

VF1ValueType::VF1ValueType(int code) : typeCode(code) {}

int VF1ValueType::ValueAt(int index) const {
    if (index < 0 || index >= Count()) return 0;
    return entries[static_cast<size_t>(index)].value;
}

std::string VF1ValueType::TextAt(int index) const {
    if (index < 0 || index >= Count()) return {};
    return entries[static_cast<size_t>(index)].text;
}

int VF1ValueType::IndexOf(int value) const {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [value](const VF1ValueEntry& e) { return e.value == value; });
    return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

void VF1ValueType::Add(std::string text, int value) {
    entries.push_back({std::move(text), value});
}

void VF1ValueType::AddRange(int from, int to, int firstValue, const char* format) {
    const int step = to > from ? 1 : -1;
    const int count = to > from ? to - from + 1 : from - to + 1;
    for (int k = 0; k < count; ++k) Add(Format(format, from + step * k), firstValue + k);
}

void VF1ValueType::SetSplit(int split, std::string first, std::string second) {
    splitValue = split;
    firstModeLabel = std::move(first);
    secondModeLabel = std::move(second);
}

void VF1ValueType::Finish() {
    minValue = entries.empty() ? 0 : entries.front().value;
    maxValue = entries.empty() ? 0 : entries.back().value;
}

namespace {

struct GenericRecord {
    int p1, p2, p3;
    std::unique_ptr<VF1ValueType> type;
};

// Built on first request and kept until released, so every parameter of a code (of a triple,
// for code 85) holds the same object.
struct ValueTypeCache {
    std::array<std::unique_ptr<VF1ValueType>, kTypeCodeCount> slots;
    std::vector<GenericRecord> generic;
    // Codes outside 0..152 reach here only through a faulty caller; they still get an empty type
    // that stays valid like any other.
    std::vector<std::unique_ptr<VF1ValueType>> strays;
};

ValueTypeCache& Cache() {
    static ValueTypeCache cache;
    return cache;
}

std::unique_ptr<VF1ValueType> Build(int code, int p1, int p2, int p3) {
    auto type = std::make_unique<VF1ValueType>(code);
    if (code == TypeCode::kGeneric) type->AddRange(p1, p2, p3, "%d");
    else if (!FillFromTypeTable(*type)) ShowMessage(Format("not handling paramtype %d", code));
    type->Finish();
    return type;
}

bool HasSlot(int code) {
    return code >= 0 && code < kTypeCodeCount;
}

} // namespace

const VF1ValueType* ValueTypeFor(int typeCode, int p1, int p2, int p3) {
    ValueTypeCache& cache = Cache();
    if (typeCode == TypeCode::kGeneric) {
        for (const GenericRecord& r : cache.generic)
            if (r.p1 == p1 && r.p2 == p2 && r.p3 == p3) return r.type.get();
        cache.generic.push_back({p1, p2, p3, Build(typeCode, p1, p2, p3)});
        return cache.generic.back().type.get();
    }
    if (HasSlot(typeCode)) {
        auto& slot = cache.slots[static_cast<size_t>(typeCode)];
        if (!slot) slot = Build(typeCode, 0, 0, 0);
        return slot.get();
    }
    for (const auto& stray : cache.strays)
        if (stray->TypeCode() == typeCode) return stray.get();
    cache.strays.push_back(Build(typeCode, 0, 0, 0));
    return cache.strays.back().get();
}

void ReleaseValueType(int typeCode) {
    ValueTypeCache& cache = Cache();
    if (typeCode == TypeCode::kGeneric) cache.generic.clear();
    else if (HasSlot(typeCode)) cache.slots[static_cast<size_t>(typeCode)].reset();
    else std::erase_if(cache.strays, [typeCode](const auto& t) { return t->TypeCode() == typeCode; });
}

void ReleaseAllValueTypes() {
    ValueTypeCache& cache = Cache();
    for (auto& slot : cache.slots) slot.reset();
    cache.generic.clear();
    cache.strays.clear();
}

int CachedGenericTypeCount() {
    return static_cast<int>(Cache().generic.size());
}
