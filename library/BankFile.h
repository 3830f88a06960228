#pragma once
// Banks on disk and on the wire: the one way a bank becomes a bank file (or a bulk dump to send),
// for the tool's file and device commands and the bank manager.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class VF1Bank;

// A file larger than a bank is read only this far: a bank and room for stray messages.
inline constexpr size_t kBankReadLimit = 121000;

// Reads a bank file as the bank manager's Load does: at most kBankReadLimit bytes ("-" is standard
// input). A file that cannot be opened or read is reported with the system's reason, one shorter
// than a bank with "Selected file is too small to be a bank file."; false once a message has been
// shown.
bool ReadBankFile(const std::string& path, std::vector<uint8_t>& bytes);

// A bank file or dump taken in as a whole: parsed with salvage (damaged patches are reported and
// rebuilt or left empty). Data that cannot be parsed at all shows "Catastrophic failure while
// attempting to load bank. ..." and gives null.
std::unique_ptr<VF1Bank> TakeBank(const uint8_t* data, size_t length);

// What happens to the device ID byte of the bank's images.
enum class ImageDeviceIds {
    AsTheyAre, // as received or loaded
    Rewritten, // set to the device ID the file is written with, like its end message's
};

// The bank's 118183 bytes: each patch's image renumbered to its slot, then the end-of-bulk
// message with deviceId.
std::vector<uint8_t> BankFileBytes(VF1Bank& bank, int deviceId, ImageDeviceIds ids);

// Whether every slot holds a patch; if not, shows "The bank you're trying to save has empty
// (invalid) patches.  Can't save until every patch is valid." and gives false.
bool BankCanBeSaved(const VF1Bank& bank);

// The same for sending: "The bank you're trying to send has empty (invalid) patches.  Can't send
// until every patch is valid."
bool BankCanBeSent(const VF1Bank& bank);

// Writes the bank file through WriteFileReplacing. A bank with empty slots is refused as
// BankCanBeSaved says, one whose image holds a byte the unit can't take as CheckBankImages says;
// false once a message has been shown.
bool SaveBankFile(VF1Bank& bank, const std::string& path, int deviceId, ImageDeviceIds ids);
