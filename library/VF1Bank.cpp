#include "library/VF1Bank.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "model/PatchLayout.h"
#include "model/Report.h"

namespace {

// The lengths of the image's three messages (175, 255 and 155 bytes).
constexpr long long kFirstLength = kImageMessage1.Size();
constexpr long long kSecondLength = kImageMessage2.Size();
constexpr long long kThirdLength = kImageMessage3.Size();

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

VF1Bank::VF1Bank(int count) : slotCount(count) {
    list.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) list.push_back(std::make_unique<VF1Patch>());
}

VF1Bank::VF1Bank(const uint8_t* data, size_t length) {
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
        list.push_back(std::make_unique<VF1Patch>());
        ++slotCount;
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
    auto owned = std::make_unique<VF1Patch>();
    VF1Patch& patch = *owned;
    const PatchAddressBytes a = PatchAddress(slotCount);
    auto at = [&](size_t i) -> int { return i < length ? data[i] : -1; };
    auto addressed = [&](size_t i) {
        return i + kAddressByte + 2 < length && at(i + kAddressByte) == a[0] &&
               at(i + kAddressByte + 1) == a[1] && at(i + kAddressByte + 2) == a[2];
    };

    // Find the slot's first message by its address.
    while (!(data[p] == kSysExStart && addressed(p)) && p < length - 1) ++p;

    const bool clean =
        p + kPatchImageSize <= length && at(p + kImageMessage1.End()) == kSysExEnd &&
        at(p + kImageMessage2.start) == kSysExStart && at(p + kImageMessage2.End()) == kSysExEnd &&
        at(p + kImageMessage3.start) == kSysExStart && at(p + kImageMessage3.End()) == kSysExEnd;
    if (clean) {
        if (!patch.SetImage(std::span<const uint8_t, kPatchImageSize>(data + p, kPatchImageSize), false))
            anyBad = true;
        list.push_back(std::move(owned));
        ++slotCount;
        p += kPatchImageSize;
        return;
    }

    // Salvage: look for the 255-byte and the 155-byte message of this slot behind p.
    salvaged = true;
    std::optional<size_t> m2, m3;
    bool bad = false;
    auto fits = [&](size_t start, long long n) { return start + static_cast<size_t>(n) <= length; };
    std::optional<size_t> e = FindByte(data, length, p + 1, kSysExEnd);
    bool firstOk = false;
    if (!e) {
        bad = true;
    } else {
        const auto len = static_cast<long long>(*e - p + 1);
        firstOk = len == kFirstLength || len == kSecondLength;
        if (len == kSecondLength) m2 = p;
    }
    std::optional<size_t> s;
    if (!bad) {
        s = FindByte(data, length, *e + 1, kSysExStart);
        if (!s || *s + kAddressByte + 2 >= length || at(*s + kAddressByte) != a[0] ||
            at(*s + kAddressByte + 1) > a[1] + 1)
            bad = true;
    }
    if (!bad) {
        e = FindByte(data, length, *e + 2, kSysExEnd);
        if (!e) {
            bad = true;
        } else {
            const long long len = static_cast<long long>(*e) - static_cast<long long>(*s) + 1;
            if (!firstOk && len != kFirstLength && len != kSecondLength) bad = true;
            else if (len == kSecondLength) m2 = s;
            else if (len == kThirdLength) m3 = s;
        }
    }
    if (!bad && !m3) {
        s = FindByte(data, length, *e + 1, kSysExStart);
        if (!s || *s + kAddressByte + 2 >= length || at(*s + kAddressByte) != a[0] ||
            at(*s + kAddressByte + 1) > a[1] + 1) {
            bad = true;
        } else {
            e = FindEither(data, length, *e + 2, kSysExEnd, kSysExStart);
            if (!e || data[*e] == kSysExStart) bad = true;
            else if (static_cast<long long>(*e) - static_cast<long long>(*s) + 1 == kThirdLength) m3 = s;
        }
    }
    if (!bad && m2 && m3 && fits(*m2, kSecondLength) && fits(*m3, kThirdLength)) {
        // Message 1 is rebuilt from message 2, whose first 164 data bytes it repeats; its checksum
        // is recomputed as the image is set.
        PatchImage image{};
        std::memcpy(image.data() + kImageMessage1.start, data + *m2, static_cast<size_t>(kFirstLength));
        image[kImageMessage1.End()] = kSysExEnd;
        std::memcpy(image.data() + kImageMessage2.start, data + *m2, static_cast<size_t>(kSecondLength));
        std::memcpy(image.data() + kImageMessage3.start, data + *m3, static_cast<size_t>(kThirdLength));
        if (!patch.SetImage(image, true)) anyBad = true;
    } else {
        anyBad = true;
    }
    list.push_back(std::move(owned));
    ++slotCount;
}

bool VF1Bank::AllValid() const {
    for (const auto& patch : list)
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
    return position >= 0 && position < GetCount() ? list[static_cast<size_t>(position)].get() : nullptr;
}

void VF1Bank::InsertBefore(int position, std::unique_ptr<VF1Patch> patch) {
    if (!patch) return;
    const auto at = std::clamp(position, 0, GetCount());
    list.insert(list.begin() + at, std::move(patch));
}

std::unique_ptr<VF1Patch> VF1Bank::RemoveAt(int position) {
    if (GetAt(position) == nullptr) return nullptr;
    std::unique_ptr<VF1Patch> patch = std::move(list[static_cast<size_t>(position)]);
    list.erase(list.begin() + position);
    return patch;
}

void VF1Bank::AddTail(std::unique_ptr<VF1Patch> patch) {
    if (patch) list.push_back(std::move(patch));
}

int VF1Bank::Find(const VF1Patch* patch) const {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == patch) return static_cast<int>(i);
    return -1;
}
