#include "library/VF1Bank.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "model/Report.h"

namespace {

// Searches stay inside the data: a position whose message would run past the end is not found.
std::optional<size_t> FindByte(const uint8_t* data, size_t length, size_t from, uint8_t value) {
    for (size_t i = from; i < length; ++i)
        if (data[i] == value) return i;
    return std::nullopt;
}

std::optional<size_t> FindEither(const uint8_t* data, size_t length, size_t from, uint8_t a, uint8_t b) {
    for (size_t i = from; i < length; ++i)
        if (data[i] == a || data[i] == b) return i;
    return std::nullopt;
}

} // namespace

VF1Bank::VF1Bank(int count)
    : patches(std::make_unique<VF1Patch[]>(static_cast<size_t>(count))), slotCount(count) {
    list.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) list.push_back(&patches[static_cast<size_t>(i)]);
}

VF1Bank::VF1Bank(const uint8_t* data, size_t length) : patches(std::make_unique<VF1Patch[]>(kPatchCount)) {
    list.reserve(kPatchCount);
    if (length == 0 || data[0] != kSysExStart) {
        ShowMessage("This doesn't appear to be a valid VF-1 patch bank file.  The first byte isn't 0xF0.",
                    MessageStyle::Error);
        throw BankParseError("first byte is not F0");
    }
    bool anyBad = false;
    bool salvaged = false;
    size_t p = 0;
    slotCount = 0;
    while (p < length && slotCount < kPatchCount) ParseSlot(data, length, p, anyBad, salvaged);
    // Slots the data didn't reach stay empty, so every patch keeps its place.
    while (slotCount < kPatchCount) {
        anyBad = true;
        list.push_back(&patches[static_cast<size_t>(slotCount++)]);
    }
    if (anyBad) {
        ShowMessage(
            "Encountered patches with invalid SysEx formatting/corruption, and they had to be skipped.  "
            "I've tried to preserve the proper patch locations, but there's no guarantee of that.\nYou "
            "should fill the empty patches with valid ones and then save this bank and use it going "
            "forward.",
            MessageStyle::Warning);
    } else if (salvaged) {
        ShowMessage(
            "Encountered patches with invalid SysEx formatting, but I think I was able to salvage them.  "
            "If anything seems amiss, that's why.",
            MessageStyle::Warning);
    }
    slotCount = kPatchCount;
}

void VF1Bank::ParseSlot(const uint8_t* data, size_t length, size_t& p, bool& anyBad, bool& salvaged) {
    VF1Patch& patch = patches[static_cast<size_t>(slotCount)];
    const PatchAddressBytes a = PatchAddress(slotCount);
    auto at = [&](size_t i) -> int { return i < length ? data[i] : -1; };
    auto addressed = [&](size_t i) {
        return i + 8 < length && at(i + 6) == a[0] && at(i + 7) == a[1] && at(i + 8) == a[2];
    };

    // Find the slot's first message by its address.
    while (!(data[p] == kSysExStart && addressed(p)) && p < length - 1) ++p;

    const bool clean = p + kPatchImageSize <= length && at(p + 174) == kSysExEnd &&
                       at(p + 175) == kSysExStart && at(p + 429) == kSysExEnd && at(p + 430) == kSysExStart &&
                       at(p + 584) == kSysExEnd;
    if (clean) {
        if (!patch.SetImage(std::span<const uint8_t, kPatchImageSize>(data + p, kPatchImageSize), false))
            anyBad = true;
        list.push_back(&patch);
        ++slotCount;
        p += kPatchImageSize;
        return;
    }

    // Salvage: look for the 255-byte and the 155-byte message of this slot behind p.
    salvaged = true;
    std::optional<size_t> m2, m3;
    bool bad = false;
    auto fits = [&](size_t start, size_t n) { return start + n <= length; };
    std::optional<size_t> e = FindByte(data, length, p + 1, kSysExEnd);
    bool firstOk = false;
    if (!e) {
        bad = true;
    } else {
        const size_t len = *e - p + 1;
        firstOk = len == 175 || len == 255;
        if (len == 255) m2 = p;
    }
    std::optional<size_t> s;
    if (!bad) {
        s = FindByte(data, length, *e + 1, kSysExStart);
        if (!s || *s + 8 >= length || at(*s + 6) != a[0] || at(*s + 7) > a[1] + 1) bad = true;
    }
    if (!bad) {
        e = FindByte(data, length, *e + 2, kSysExEnd);
        if (!e) {
            bad = true;
        } else {
            const long long len = static_cast<long long>(*e) - static_cast<long long>(*s) + 1;
            if (!firstOk && len != 175 && len != 255) bad = true;
            else if (len == 255) m2 = s;
            else if (len == 155) m3 = s;
        }
    }
    if (!bad && !m3) {
        s = FindByte(data, length, *e + 1, kSysExStart);
        if (!s || *s + 8 >= length || at(*s + 6) != a[0] || at(*s + 7) > a[1] + 1) {
            bad = true;
        } else {
            e = FindEither(data, length, *e + 2, kSysExEnd, kSysExStart);
            if (!e || data[*e] == kSysExStart) bad = true;
            else if (static_cast<long long>(*e) - static_cast<long long>(*s) + 1 == 155) m3 = s;
        }
    }
    if (!bad && m2 && m3 && fits(*m2, 255) && fits(*m3, 155)) {
        PatchImage image{};
        std::memcpy(image.data(), data + *m2, 175);
        image[174] = kSysExEnd;
        std::memcpy(image.data() + 175, data + *m2, 255);
        std::memcpy(image.data() + 430, data + *m3, 155);
        if (!patch.SetImage(image, true)) anyBad = true;
    } else {
        anyBad = true;
    }
    list.push_back(&patch);
    ++slotCount;
}

bool VF1Bank::AllValid() const {
    for (const VF1Patch* patch : list)
        if (!patch->IsValid()) return false;
    return true;
}

int VF1Bank::WriteImages(uint8_t* destination) {
    for (size_t i = 0; i < list.size(); ++i) {
        list[i]->SetPatchNumber(static_cast<int>(i));
        std::memcpy(destination + kPatchImageSize * i, list[i]->GetImage(), kPatchImageSize);
    }
    return static_cast<int>(kPatchImageSize * list.size());
}

VF1Patch* VF1Bank::GetAt(int position) const {
    return position >= 0 && position < GetCount() ? list[static_cast<size_t>(position)] : nullptr;
}

void VF1Bank::InsertBefore(int position, VF1Patch* patch) {
    const auto at = std::clamp(position, 0, GetCount());
    list.insert(list.begin() + at, patch);
}

VF1Patch* VF1Bank::RemoveAt(int position) {
    VF1Patch* patch = GetAt(position);
    if (patch) list.erase(list.begin() + position);
    return patch;
}

void VF1Bank::AddTail(VF1Patch* patch) {
    list.push_back(patch);
}

int VF1Bank::Find(const VF1Patch* patch) const {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == patch) return static_cast<int>(i);
    return -1;
}
