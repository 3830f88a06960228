#pragma once
// Taking patch images and single-patch files apart, and readdressing an image: what the MIDI
// object, the librarian and the tool do with the unit's byte forms of one patch.

#include <span>
#include <string>

#include "model/PatchLayout.h"

using PatchFileBytes = std::array<uint8_t, kPatchFileSize>;

// Checks the frame of the image's three messages (start, manufacturer, model and end bytes; the
// device ID, command, address and checksums are not examined) and copies their data into data,
// message 2's header half over message 1's. With fixChecksum, message 1's checksum is recomputed
// in the image once its frame has passed. False at the first bad frame, with data partly written.
bool ParseImageData(std::span<uint8_t, kPatchImageSize> image, bool fixChecksum, PatchData& data);

// The patch data of the unit's 410-byte answer (messages 2 and 3 of an image), unchecked.
void ReplyToPatchData(std::span<const uint8_t, kPatchReplySize> reply, PatchData& data);

// A single-patch file's closing message: its frame and the two zero data bytes; the address,
// command, device ID and checksum may be anything.
bool IsClosingMessage(std::span<const uint8_t, kTerminatorSize> message);

// Gives the image's three messages the addresses of a patch at base, and the checksums that go
// with them; data bytes and device IDs stay.
void AddressPatchImage(std::span<uint8_t, kPatchImageSize> image, const PatchAddressBytes& base);
// Writes the device ID byte of the image's three messages.
void SetImageDeviceId(std::span<uint8_t, kPatchImageSize> image, int deviceId);

// The name and the algorithm number as message 1 carries them: all 13 characters, blanks kept.
std::string ImageName(std::span<const uint8_t, kPatchImageSize> image);
int ImageAlgorithm(std::span<const uint8_t, kPatchImageSize> image);

// Reads a single-patch file: it must be exactly 598 bytes long ("Incorrect SysEx file size.  A
// single patch file will be 598 bytes."); a file that cannot be opened is reported with the
// system's reason. False once the message has been shown.
bool ReadPatchFile(const std::string& path, PatchFileBytes& bytes);
