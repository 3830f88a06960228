#include "library/BankFile.h"

#include <algorithm>
#include <new>

#include "library/VF1Bank.h"
#include "midi/SysExMessages.h"
#include "model/FileIO.h"
#include "model/PatchImage.h"
#include "model/Report.h"

bool ReadBankFile(const std::string& path, std::vector<uint8_t>& bytes) {
    if (!ReadFileUpTo(path, kBankReadLimit, bytes)) return false;
    if (bytes.size() >= static_cast<size_t>(kBankFileSize)) return true;
    ShowMessage("Selected file is too small to be a bank file.", MessageStyle::Info);
    return false;
}

std::unique_ptr<VF1Bank> TakeBank(const uint8_t* data, size_t length) {
    try {
        return std::make_unique<VF1Bank>(data, length);
    } catch (const BankParseError&) {
    } catch (const std::bad_alloc&) {}
    ShowMessage("Catastrophic failure while attempting to load bank.  This bank has serious data/formatting "
                "issues, and I can't parse it properly.  Cancelling the load.",
                MessageStyle::Error);
    return nullptr;
}

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

bool BankCanBeSaved(const VF1Bank& bank) {
    if (bank.AllValid()) return true;
    ShowMessage("The bank you're trying to save has empty (invalid) patches.  Can't save until every patch "
                "is valid.",
                MessageStyle::Error);
    return false;
}

bool BankCanBeSent(const VF1Bank& bank) {
    if (bank.AllValid()) return true;
    ShowMessage("The bank you're trying to send has empty (invalid) patches.  Can't send until every patch "
                "is valid.",
                MessageStyle::Error);
    return false;
}

bool SaveBankFile(VF1Bank& bank, const std::string& path, int deviceId, ImageDeviceIds ids) {
    if (!BankCanBeSaved(bank)) return false;
    const std::vector<uint8_t> bytes = BankFileBytes(bank, deviceId, ids);
    return CheckBankImages(std::span<const uint8_t>(bytes.data(), kBankImagesSize),
                           "The bank was not saved.") &&
           WriteFileReplacing(path, bytes);
}
