#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/VF1Bank.h"
#include "model/SysEx.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr const char* kSkipped = "Encountered patches with invalid SysEx formatting/corruption, and they had "
                                 "to be skipped.  I've tried to "
                                 "preserve the proper patch locations, but there's no guarantee of "
                                 "that.\nYou should fill the empty patches "
                                 "with valid ones and then save this bank and use it going forward.";
constexpr const char* kSalvaged =
    "Encountered patches with invalid SysEx formatting, but I think I was able to "
    "salvage them.  If anything seems amiss, that's why.";
constexpr const char* kNotABank =
    "This doesn't appear to be a valid VF-1 patch bank file.  The first byte isn't 0xF0.";

size_t At(int slot, int offset) {
    return static_cast<size_t>(kPatchImageSize * slot + offset);
}

std::vector<uint8_t> ImageBytes(const VF1Patch& patch) {
    return {patch.Image().begin(), patch.Image().end()};
}

std::vector<uint8_t> FileImage(const std::vector<uint8_t>& file, int slot) {
    return {file.begin() + static_cast<long>(At(slot, 0)), file.begin() + static_cast<long>(At(slot + 1, 0))};
}

} // namespace

// A bank the program wrote loads without a word, every slot valid and in place, and writes
// back the same images; the end message may be missing.
TEST(Bank, CleanBankLoadsAndWritesBack) {
    const std::vector<uint8_t>& file = MakeBankFile();
    ASSERT_EQ(file.size(), static_cast<size_t>(kBankFileSize));
    for (const size_t length : {static_cast<size_t>(kBankFileSize), static_cast<size_t>(kBankImagesSize)}) {
        SCOPED_TRACE(length);
        MessageRecorder messages;
        VF1Bank bank(file.data(), length);
        EXPECT_TRUE(messages.Messages().empty());
        ASSERT_EQ(bank.GetCount(), kPatchCount);
        EXPECT_TRUE(bank.AllValid());
        EXPECT_FALSE(bank.IsModified());
        EXPECT_EQ(bank.GetAt(0)->GetName(), "Patch 0      ");
        EXPECT_STREQ(bank.GetAt(0)->GetAlgorithmName(), "10-Band GEQ");
        EXPECT_EQ(bank.GetAt(201)->GetName(), "Patch 201    ");

        std::vector<uint8_t> written(kBankFileSize);
        EXPECT_EQ(bank.WriteImages(written.data()), kBankImagesSize);
        EXPECT_TRUE(std::equal(written.begin(), written.begin() + kBankImagesSize, file.begin()));
    }
}

TEST(Bank, DataThatIsNoBankIsRefused) {
    const std::vector<uint8_t>& file = MakeBankFile();
    std::vector<uint8_t> shifted(file.begin() + 1, file.end());
    const std::vector<uint8_t> empty;
    for (const std::vector<uint8_t>* data :
         std::initializer_list<const std::vector<uint8_t>*>{&shifted, &empty}) {
        MessageRecorder messages;
        EXPECT_THROW(VF1Bank(data->data(), data->size()), BankParseError);
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{kNotABank});
    }
}

// Damaged patches never fail the load: the parser finds each slot by its address, rebuilds a
// patch from its second and third messages where it can, and leaves it empty where it can't.
// The patches that survive stay in their slots.
TEST(Bank, DamagedPatchesAreSalvagedOrSkipped) {
    const std::vector<uint8_t>& clean = MakeBankFile();
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        std::vector<int> salvaged; // slots rebuilt to their original images
        int firstEmpty;            // slots from here on are empty; 202: none
        std::vector<int> alsoEmpty;
        const char* message;
    };
    const Case cases[] = {
        {"message 1 of slot 7 lost a data byte",
         [](auto& d) { d.erase(d.begin() + static_cast<long>(At(7, 50))); },
         {7},
         202,
         {},
         kSalvaged},
        {"message 1 of slot 7 lost its checksum",
         [](auto& d) { d.erase(d.begin() + static_cast<long>(At(7, 173))); },
         {7},
         202,
         {},
         kSalvaged},
        {"message 1 of slot 150 lost a byte",
         [](auto& d) { d.erase(d.begin() + static_cast<long>(At(150, 20))); },
         {150},
         202,
         {},
         kSalvaged},
        // Message 2 carries the same base address, so the slot is found there and rebuilt.
        {"message 1 of slot 7 has a wrong address",
         [](auto& d) { d[At(7, 7)] = 0x7F; },
         {7},
         202,
         {},
         kSalvaged},
        {"every address of slot 7 is wrong",
         [](auto& d) {
             for (const int at : {7, 182, 437}) d[At(7, at)] = 0x7F;
         },
         {},
         7,
         {},
         kSkipped},
        {"message 2 of slot 3 has a wrong manufacturer",
         [](auto& d) { d[At(3, 176)] = 0x42; },
         {},
         202,
         {3},
         kSkipped},
        {"message 3 of slot 9 is missing",
         [](auto& d) {
             d.erase(d.begin() + static_cast<long>(At(9, 430)), d.begin() + static_cast<long>(At(10, 0)));
         },
         {},
         202,
         {9},
         kSkipped},
        {"the data ends inside slot 50", [](auto& d) { d.resize(At(50, 300)); }, {}, 50, {}, kSkipped},
        {"the data ends after slot 100", [](auto& d) { d.resize(At(101, 0)); }, {}, 101, {}, kSkipped},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> data = clean;
        c.damage(data);
        MessageRecorder messages;
        VF1Bank bank(data.data(), data.size());
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{c.message});
        ASSERT_EQ(bank.GetCount(), kPatchCount);
        for (int slot = 0; slot < kPatchCount; ++slot) {
            const VF1Patch& patch = *bank.GetAt(slot);
            const bool empty = slot >= c.firstEmpty ||
                               std::find(c.alsoEmpty.begin(), c.alsoEmpty.end(), slot) != c.alsoEmpty.end();
            if (empty) {
                EXPECT_FALSE(patch.IsValid()) << "slot " << slot;
                EXPECT_EQ(patch.GetName(), "empty        ") << "slot " << slot;
            } else {
                ASSERT_TRUE(patch.IsValid()) << "slot " << slot;
                EXPECT_EQ(ImageBytes(patch), FileImage(clean, slot)) << "slot " << slot;
            }
        }
        EXPECT_EQ(bank.AllValid(), c.firstEmpty == kPatchCount && c.alsoEmpty.empty());
    }
}

// Moving patches in the list and writing the bank renumbers each patch to its new slot.
TEST(Bank, ListOperationsAndRenumbering) {
    VF1Bank empty(kPatchCount);
    EXPECT_EQ(empty.GetCount(), kPatchCount);
    EXPECT_FALSE(empty.AllValid());
    EXPECT_EQ(empty.GetAt(5)->GetName(), "empty        ");
    EXPECT_EQ(empty.GetAt(-1), nullptr);
    EXPECT_EQ(empty.GetAt(kPatchCount), nullptr);
    VF1Bank holder(1);
    EXPECT_EQ(holder.GetCount(), 1);

    const std::vector<uint8_t>& file = MakeBankFile();
    VF1Bank bank(file.data(), file.size());
    bank.SetModified();
    EXPECT_TRUE(bank.IsModified());
    bank.ClearModified();
    EXPECT_FALSE(bank.IsModified());

    VF1Patch* first = bank.GetAt(0);
    VF1Patch* tenth = bank.GetAt(9);
    std::unique_ptr<VF1Patch> removed = bank.RemoveAt(0);
    EXPECT_EQ(removed.get(), first);
    EXPECT_EQ(bank.GetCount(), kPatchCount - 1);
    bank.AddTail(std::move(removed));
    EXPECT_EQ(bank.GetTail(), first);
    EXPECT_EQ(bank.Find(first), kPatchCount - 1);
    std::unique_ptr<VF1Patch> moved = bank.RemoveAt(bank.Find(tenth));
    bank.InsertBefore(0, std::move(moved));
    EXPECT_EQ(bank.GetAt(0), tenth);
    EXPECT_EQ(bank.GetCount(), kPatchCount);
    EXPECT_EQ(bank.RemoveAt(kPatchCount), nullptr);

    std::vector<uint8_t> written(kBankFileSize);
    ASSERT_EQ(bank.WriteImages(written.data()), kBankImagesSize);
    std::copy(file.begin() + kBankImagesSize, file.end(), written.begin() + kBankImagesSize);
    for (int slot = 0; slot < kPatchCount; ++slot) {
        const PatchAddressBytes a = PatchAddress(slot);
        EXPECT_EQ((PatchAddressBytes{written[At(slot, 6)], written[At(slot, 7)], written[At(slot, 8)]}), a)
            << slot;
        EXPECT_EQ(written[At(slot, 182)], a[1]) << slot;
        EXPECT_EQ(written[At(slot, 437)], a[1] + 1) << slot;
    }

    MessageRecorder messages;
    VF1Bank reread(written.data(), written.size());
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(reread.AllValid());
    EXPECT_EQ(reread.GetAt(0)->GetName(), "Patch 9      ");
    EXPECT_EQ(reread.GetAt(1)->GetName(), "Patch 1      ");
    EXPECT_EQ(reread.GetAt(9)->GetName(), "Patch 10     ");
    EXPECT_EQ(reread.GetAt(201)->GetName(), "Patch 0      ");
    // Renumbering rewrote the checksums too: the patch written to slot 201 is the first one's
    // image readdressed, byte for byte.
    VF1Patch expected;
    expected.CopyFrom(*first);
    expected.SetPatchNumber(201);
    EXPECT_EQ(ImageBytes(*reread.GetAt(201)), ImageBytes(expected));
}

// A patch dragged from one bank to the other belongs to the bank it went to: it outlives the bank
// it came from (this runs under AddressSanitizer in quellin_sanitized_tests), and both banks keep
// 202 slots that they write addressed slot by slot.
TEST(Bank, PatchesMoveBetweenBanks) {
    const std::vector<uint8_t>& file = MakeBankFile();
    auto source = std::make_unique<VF1Bank>(file.data(), file.size());
    VF1Bank target(kPatchCount);

    VF1Patch* fifth = source->GetAt(5);
    VF1Patch* last = source->GetAt(kPatchCount - 1);
    target.InsertBefore(0, source->RemoveAt(5));
    target.AddTail(source->RemoveAt(source->Find(last)));
    // Each bank gives an empty slot back in return.
    source->InsertBefore(5, target.RemoveAt(1));
    source->AddTail(target.RemoveAt(1));
    EXPECT_EQ(source->GetCount(), kPatchCount);
    EXPECT_EQ(target.GetCount(), kPatchCount);
    EXPECT_FALSE(source->GetAt(5)->IsValid());
    EXPECT_EQ(source->Find(fifth), -1);

    source.reset();
    ASSERT_EQ(target.GetAt(0), fifth);
    ASSERT_EQ(target.GetTail(), last);
    EXPECT_EQ(fifth->GetName(), "Patch 5      ");
    EXPECT_EQ(last->GetName(), "Patch 201    ");

    std::vector<uint8_t> written(kBankFileSize);
    ASSERT_EQ(target.WriteImages(written.data()), kBankImagesSize);
    VF1Patch expected;
    expected.SetImage(std::span<const uint8_t, kPatchImageSize>(file.data() + At(5, 0), kPatchImageSize),
                      false);
    expected.SetPatchNumber(0);
    EXPECT_EQ(FileImage(written, 0), ImageBytes(expected));
    EXPECT_EQ(FileImage(written, kPatchCount - 1), FileImage(file, kPatchCount - 1));
}
