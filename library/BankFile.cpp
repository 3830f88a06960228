#include "library/BankFile.h"

#include <algorithm>

#include "library/VF1Bank.h"
#include "midi/SysExMessages.h"
#include "model/FileIO.h"
#include "model/PatchImage.h"
#include "model/Report.h"

std::vector<uint8_t> BankFileBytes(VF1Bank& bank, int deviceId, ImageDeviceIds ids) {
    std::vector<uint8_t> bytes(kBankFileSize);
    bank.WriteImages(bytes.data());
    if (ids == ImageDeviceIds::Rewritten)
        for (int i = 0; i < kPatchCount; ++i)
            SetImageDeviceId(
                std::span<uint8_t, kPatchImageSize>(bytes.data() + kPatchImageSize * i, kPatchImageSize),
                deviceId);
    const ClosingMessageBytes end = EndOfBulkMessage(deviceId);
    std::copy(end.begin(), end.end(), bytes.begin() + kBankImagesSize);
    return bytes;
}

bool SaveBankFile(VF1Bank& bank, const std::string& path, int deviceId, ImageDeviceIds ids) {
    if (!bank.AllValid()) {
        ShowMessage(
            "The bank you're trying to save has empty (invalid) patches.  Can't save until every patch "
            "is valid.",
            MessageStyle::Error);
        return false;
    }
    return WriteFileReplacing(path, BankFileBytes(bank, deviceId, ids));
}
