#pragma once
// Taking patch images and single-patch files apart, and readdressing an image: what the MIDI
// object, the librarian and the tool do with the unit's byte forms of one patch.

#include <span>
#include <string>
#include <vector>

#include "model/PatchLayout.h"

using PatchFileBytes = std::array<uint8_t, kPatchFileSize>;

// Checks the frame of the image's three messages (start, manufacturer, model and end bytes; the
// device ID, command, address and checksums are not examined) and that every byte between a
// message's F0 and F7 is a data byte, then copies their data into data, message 2's header half
// over message 1's. With fixChecksum, message 1's checksum is recomputed in the image (and is not
// examined before). False, with image and data untouched, when a check fails.
bool ParseImageData(std::span<uint8_t, kPatchImageSize> image, bool fixChecksum, PatchData& data);

// Whether the frame bytes of the image's three messages are right (what ParseImageData checks
// first).
bool ImageFramesOk(std::span<const uint8_t, kPatchImageSize> image);

// The offsets in the image of the bytes of 80H or more between a message's F0 and its F7. The unit
// takes such a byte as the end of the message, so an image holding one can't be stored or sent.
std::vector<int> StrayStatusBytes(std::span<const uint8_t, kPatchImageSize> image);

// Names those bytes for a message: "offsets 200 (85H), 312 (F0H)", the first few of them.
std::string StrayBytesText(std::span<const uint8_t, kPatchImageSize> image, const std::vector<int>& offsets);

// The first of a bank's images (back to back, as a bank file holds them) that holds a stray status
// byte: its slot, or -1.
int SlotWithStrayBytes(std::span<const uint8_t> images);

// Whether every image of a bank can go to the unit as it is. If not, shows "The patch in slot %s
// holds bytes of 80H or more inside its messages (offsets ...)." followed by consequence, and
// gives false: the bank is then neither written nor sent.
bool CheckBankImages(std::span<const uint8_t> images, const char* consequence);

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
