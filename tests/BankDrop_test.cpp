// Rearranging banks without a mouse: every drop rule and the Delete key, on two banks of named
// patches and the one-slot holder.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "library/BankDrop.h"
#include "library/BankFile.h"
#include "library/VF1Bank.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr int kLast = kPatchCount - 1;

// A bank whose slot i holds "Patch i".
std::unique_ptr<VF1Bank> NamedBank() {
    const std::vector<uint8_t>& file = MakeBankFile();
    return std::make_unique<VF1Bank>(file.data(), file.size());
}

std::string Name(const VF1Bank& bank, int slot) {
    std::string name = bank.GetAt(slot)->GetName();
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

// A patch image of its own name, to be told apart from the banks' patches.
PatchImage NamedImage(const std::string& name) {
    return FreshPatchImage(AlgorithmAtRow(0), name, 0);
}

std::string Original(int slot) {
    return "Patch " + std::to_string(slot);
}

// Every bank keeps its own patch objects: as many as it has slots, none twice, none shared.
void ExpectOwnPatches(const std::vector<const VF1Bank*>& banks) {
    std::set<const VF1Patch*> seen;
    size_t total = 0;
    for (const VF1Bank* bank : banks) {
        for (int i = 0; i < bank->GetCount(); ++i) seen.insert(bank->GetAt(i));
        total += static_cast<size_t>(bank->GetCount());
    }
    EXPECT_EQ(seen.size(), total);
}

} // namespace

TEST(BankDrop, ModifierKeysChooseTheEffect) {
    struct Case {
        bool ctrl, alt, shift, targetValid;
        DropEffect effect;
    };
    const Case cases[] = {
        {false, false, false, true, DropEffect::Insert}, {false, false, false, false, DropEffect::Insert},
        {true, false, false, true, DropEffect::Replace}, {true, false, false, false, DropEffect::Replace},
        {false, true, false, true, DropEffect::Swap},    {false, true, false, false, DropEffect::None},
        {false, false, true, true, DropEffect::Swap},    {false, false, true, false, DropEffect::None},
        {false, true, true, true, DropEffect::Swap},     {true, true, false, true, DropEffect::Insert},
        {true, false, true, true, DropEffect::Insert},   {true, true, true, false, DropEffect::Insert},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseDropEffect(c.ctrl, c.alt, c.shift, c.targetValid), c.effect)
            << "ctrl " << c.ctrl << " alt " << c.alt << " shift " << c.shift << " valid " << c.targetValid;
}

// Each case drops from bank 1 (or the holder) onto bank 1 or bank 2 and names the slots it expects
// afterwards; every other slot of both banks must still hold its original patch.
TEST(BankDrop, DropRules) {
    enum class From { Bank1, Holder };
    enum class Onto { Bank1, Bank2 };
    struct Case {
        const char* what;
        From from;
        int source;
        Onto onto;
        int row;
        DropEffect effect;
        std::vector<std::pair<int, std::string>> targetSlots; // slot, expected name
        std::vector<std::pair<int, std::string>> sourceSlots;
        int selected;
        bool sourceModified;
        int firstEmptyRow = -1; // made empty before the drop
    };
    auto shifted = [](int from, int to, int by) {
        std::vector<std::pair<int, std::string>> slots;
        for (int slot = from; slot <= to; ++slot) slots.emplace_back(slot, Original(slot - by));
        return slots;
    };
    auto with = [](std::vector<std::pair<int, std::string>> slots, int slot, std::string name) {
        slots.emplace_back(slot, std::move(name));
        return slots;
    };
    const Case cases[] = {
        {"A5 moved up onto A2",
         From::Bank1,
         4,
         Onto::Bank1,
         1,
         DropEffect::Insert,
         with(shifted(2, 4, 1), 1, Original(4)),
         {},
         1,
         false},
        {"A2 moved down onto A5",
         From::Bank1,
         1,
         Onto::Bank1,
         4,
         DropEffect::Insert,
         with(shifted(1, 2, -1), 3, Original(1)),
         {},
         3,
         false},
        {"B101 moved up onto A1",
         From::Bank1,
         kLast,
         Onto::Bank1,
         0,
         DropEffect::Insert,
         with(shifted(1, kLast, 1), 0, Original(kLast)),
         {},
         0,
         false},
        {"A5 inserted at A3 of the other bank, losing its B101",
         From::Bank1,
         4,
         Onto::Bank2,
         2,
         DropEffect::Insert,
         with(shifted(3, kLast, 1), 2, Original(4)),
         {},
         2,
         false},
        {"inserting onto B101 of the same bank replaces it",
         From::Bank1,
         5,
         Onto::Bank1,
         kLast,
         DropEffect::Insert,
         {{kLast, Original(5)}, {5, Original(5)}},
         {},
         kLast,
         false},
        {"inserting onto B101 of the other bank replaces it",
         From::Bank1,
         5,
         Onto::Bank2,
         kLast,
         DropEffect::Insert,
         {{kLast, Original(5)}, {kLast - 1, Original(kLast - 1)}},
         {},
         kLast,
         false},
        {"A8 copied over A10 of the other bank",
         From::Bank1,
         7,
         Onto::Bank2,
         9,
         DropEffect::Replace,
         {{9, Original(7)}},
         {},
         9,
         false},
        {"A8 copied over A10 of the same bank",
         From::Bank1,
         7,
         Onto::Bank1,
         9,
         DropEffect::Replace,
         {{9, Original(7)}, {7, Original(7)}},
         {},
         9,
         false},
        {"Ctrl onto an empty slot fills it",
         From::Bank1,
         7,
         Onto::Bank2,
         20,
         DropEffect::Replace,
         {{20, Original(7)}},
         {},
         20,
         false,
         20},
        {"A4 swapped with A9 of the other bank",
         From::Bank1,
         3,
         Onto::Bank2,
         8,
         DropEffect::Swap,
         {{8, Original(3)}},
         {{3, Original(8)}},
         8,
         true},
        {"A4 swapped with A9 of the same bank",
         From::Bank1,
         3,
         Onto::Bank1,
         8,
         DropEffect::Swap,
         {{8, Original(3)}, {3, Original(8)}},
         {},
         8,
         false},
        {"the holder's patch inserted at B1",
         From::Holder,
         0,
         Onto::Bank2,
         101,
         DropEffect::Insert,
         with(shifted(102, kLast, 1), 101, "Held"),
         {},
         101,
         false},
        {"the holder's patch copied over A1",
         From::Holder,
         0,
         Onto::Bank2,
         0,
         DropEffect::Replace,
         {{0, "Held"}},
         {},
         0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageRecorder messages;
        auto bank1 = NamedBank();
        auto bank2 = NamedBank();
        VF1Bank holder(1);
        ASSERT_TRUE(holder.GetAt(0)->SetImage(NamedImage("Held"), false));

        VF1Bank& source = c.from == From::Holder ? holder : *bank1;
        VF1Bank& target = c.onto == Onto::Bank1 ? *bank1 : *bank2;
        VF1Bank& other = c.onto == Onto::Bank1 ? *bank2 : *bank1;
        if (c.firstEmptyRow >= 0) target.GetAt(c.firstEmptyRow)->Clear();

        const DropResult result = DropPatch(source, c.source, target, c.row, c.effect);
        EXPECT_TRUE(result.changed);
        EXPECT_EQ(result.selectRow, c.selected);
        EXPECT_EQ(result.sourceChanged, c.sourceModified);
        EXPECT_TRUE(target.IsModified());
        if (&source != &target) {
            EXPECT_EQ(source.IsModified(), c.sourceModified);
        }
        EXPECT_FALSE(holder.IsModified() && c.from != From::Holder);

        auto expected = [&](const VF1Bank& bank, int slot) -> std::string {
            const auto& slots = &bank == &target ? c.targetSlots : c.sourceSlots;
            for (const auto& [s, name] : slots)
                if (s == slot) return name;
            return Original(slot);
        };
        for (int slot = 0; slot < kPatchCount; ++slot) {
            EXPECT_EQ(Name(target, slot), expected(target, slot)) << "target slot " << slot;
            EXPECT_EQ(Name(other, slot), &other == &source ? expected(other, slot) : Original(slot))
                << "other bank slot " << slot;
        }
        EXPECT_EQ(Name(holder, 0), "Held");
        ExpectOwnPatches({bank1.get(), bank2.get(), &holder});
    }
}

// Drops the rules refuse change nothing and mark nothing.
TEST(BankDrop, RefusedDrops) {
    MessageRecorder messages;
    auto bank1 = NamedBank();
    auto bank2 = NamedBank();
    VF1Bank holder(1);
    holder.GetAt(0)->SetImage(MakePatchImage(9), false);
    bank1->GetAt(50)->Clear();
    bank2->GetAt(60)->Clear();

    struct Case {
        const char* what;
        VF1Bank* source;
        int index;
        VF1Bank* target;
        int row;
        DropEffect effect;
    };
    const Case cases[] = {
        {"the holder accepts nothing", bank1.get(), 3, &holder, 0, DropEffect::Insert},
        {"not even a copy", bank1.get(), 3, &holder, 0, DropEffect::Replace},
        {"the holder offers no swap", &holder, 0, bank2.get(), 5, DropEffect::Swap},
        {"a swap onto an empty slot", bank1.get(), 3, bank2.get(), 60, DropEffect::Swap},
        {"an empty slot is not dragged", bank1.get(), 50, bank2.get(), 5, DropEffect::Insert},
        {"no effect", bank1.get(), 3, bank2.get(), 5, DropEffect::None},
        {"a patch onto its own row", bank1.get(), 3, bank1.get(), 3, DropEffect::Insert},
        {"copied over itself", bank1.get(), 3, bank1.get(), 3, DropEffect::Replace},
        {"swapped with itself", bank1.get(), 3, bank1.get(), 3, DropEffect::Swap},
        {"a row past the end", bank1.get(), 3, bank2.get(), kPatchCount, DropEffect::Replace},
        {"a row before the start", bank1.get(), 3, bank2.get(), -1, DropEffect::Insert},
        {"a source slot past the end", bank1.get(), kPatchCount, bank2.get(), 5, DropEffect::Insert},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DropResult result = DropPatch(*c.source, c.index, *c.target, c.row, c.effect);
        EXPECT_FALSE(result.changed);
        EXPECT_EQ(result.selectRow, -1);
    }
    for (const VF1Bank* bank : {bank1.get(), bank2.get(), &holder}) EXPECT_FALSE(bank->IsModified());
    for (int slot = 0; slot < kPatchCount; ++slot) {
        EXPECT_EQ(Name(*bank1, slot), slot == 50 ? "empty" : Original(slot));
        EXPECT_EQ(Name(*bank2, slot), slot == 60 ? "empty" : Original(slot));
    }
}

TEST(BankDrop, DeleteEmptiesTheSlotAndMovesItToTheEnd) {
    MessageRecorder messages;
    auto bank = NamedBank();
    ASSERT_TRUE(DeletePatch(*bank, 0));
    EXPECT_TRUE(bank->IsModified());
    for (int slot = 0; slot < kLast; ++slot) EXPECT_EQ(Name(*bank, slot), Original(slot + 1));
    EXPECT_EQ(Name(*bank, kLast), "empty");
    EXPECT_FALSE(bank->GetAt(kLast)->IsValid());

    // Once empty, the slot at the end stays where it is.
    bank->ClearModified();
    EXPECT_FALSE(DeletePatch(*bank, kLast));
    EXPECT_FALSE(bank->IsModified());
    EXPECT_FALSE(DeletePatch(*bank, kPatchCount));

    ASSERT_TRUE(DeletePatch(*bank, kLast - 1));
    EXPECT_EQ(Name(*bank, kLast - 1), "empty");
    EXPECT_EQ(Name(*bank, kLast), "empty");
    ExpectOwnPatches({bank.get()});

    VF1Bank holder(1);
    holder.GetAt(0)->SetImage(MakePatchImage(2), false);
    EXPECT_TRUE(DeletePatch(holder, 0));
    EXPECT_FALSE(holder.GetAt(0)->IsValid());
}

// A bank rearranged by drops is written slot by slot: each image carries its new slot's address.
TEST(BankDrop, WrittenBankFollowsTheNewOrder) {
    MessageRecorder messages;
    auto bank1 = NamedBank();
    auto bank2 = NamedBank();
    ASSERT_TRUE(DropPatch(*bank1, 150, *bank1, 3, DropEffect::Insert).changed);
    ASSERT_TRUE(DropPatch(*bank2, 7, *bank1, 120, DropEffect::Insert).changed);
    ASSERT_TRUE(DropPatch(*bank2, 9, *bank1, 0, DropEffect::Swap).changed);

    const std::vector<uint8_t> written = BankFileBytes(*bank1, 0, ImageDeviceIds::AsTheyAre);
    VF1Bank reread(written.data(), written.size());
    EXPECT_TRUE(messages.Messages().empty());
    for (int slot = 0; slot < kPatchCount; ++slot) EXPECT_EQ(Name(reread, slot), Name(*bank1, slot)) << slot;
    EXPECT_EQ(Name(reread, 3), Original(150));
    EXPECT_EQ(Name(reread, 120), Original(7));
    EXPECT_EQ(Name(reread, 0), Original(9));
}
