// The bank file and the bank dump: any bytes taken in as the bank manager's Load takes them, with
// salvage. Every slot the parse keeps is a clean image, and a bank that is whole writes a file that
// loads back the same.

#include <vector>

#include "library/BankFile.h"
#include "library/VF1Bank.h"
#include "model/PatchImage.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceMessages();
    // As much as a bank file is read.
    if (size > kBankReadLimit) size = kBankReadLimit;
    std::unique_ptr<VF1Bank> bank;
    try {
        bank = std::make_unique<VF1Bank>(data, size);
    } catch (const BankParseError&) {
        return 0;
    }
    FUZZ_CHECK(bank->GetCount() == kPatchCount);
    for (int i = 0; i < bank->GetCount(); ++i) {
        const VF1Patch& patch = *bank->GetAt(i);
        if (!patch.IsValid()) continue;
        FUZZ_CHECK(ImageFramesOk(patch.Image()));
        FUZZ_CHECK(StrayStatusBytes(patch.Image()).empty());
    }
    if (!bank->AllValid()) return 0;
    const std::vector<uint8_t> file = BankFileBytes(*bank, 0, ImageDeviceIds::AsTheyAre);
    FUZZ_CHECK(CheckBankImages(std::span<const uint8_t>(file.data(), kBankImagesSize), ""));
    VF1Bank again(file.data(), file.size());
    for (int i = 0; i < kPatchCount; ++i) FUZZ_CHECK(again.GetAt(i)->Image() == bank->GetAt(i)->Image());
    return 0;
}
