#pragma once
// Banks on disk and on the wire: the one way a bank becomes a bank file (or a bulk dump to send),
// for the tool's file and device commands and the bank manager.

#include <cstdint>
#include <string>
#include <vector>

class VF1Bank;

// What happens to the device ID byte of the bank's images.
enum class ImageDeviceIds {
    AsTheyAre, // as received or loaded
    Rewritten, // set to the device ID the file is written with, like its end message's
};

// The bank's 118183 bytes: each patch's image renumbered to its slot, then the end-of-bulk
// message with deviceId.
std::vector<uint8_t> BankFileBytes(VF1Bank& bank, int deviceId, ImageDeviceIds ids);

// Writes the bank file. A bank with empty slots is refused with "The bank you're trying to save
// has empty (invalid) patches.  Can't save until every patch is valid."; false once a message has
// been shown.
bool SaveBankFile(VF1Bank& bank, const std::string& path, int deviceId, ImageDeviceIds ids);
