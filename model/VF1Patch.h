#pragma once
// One patch image as the librarian keeps it: the three DT1 messages, the decoded name and the
// algorithm's display name.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "model/SysEx.h"

using PatchImage = std::array<uint8_t, kPatchImageSize>;

// Checks the frame of a 585-byte image (start, manufacturer, model and end bytes of its three
// messages; device ID, command, address and checksums are not examined) and copies its patch
// data out. With fixChecksum, message 1's checksum is recomputed in the image itself.
bool ParseImageInto(uint8_t* image, bool fixChecksum, std::array<uint8_t, kPatchDataSize>& patchData);

class VF1Patch {
  public:
    VF1Patch();

    bool SetImage(std::span<const uint8_t, kPatchImageSize> bytes, bool fixChecksum);
    void Revalidate();
    uint8_t* GetImage() { return image.data(); }
    const PatchImage& Image() const { return image; }
    void SetPatchNumber(int patchNumber);
    bool IsValid() const { return valid; }
    std::string GetName() const { return name; }
    const char* GetAlgorithmName() const { return algorithmName; }
    void CopyFrom(const VF1Patch& other);
    void Clear();

  private:
    // Validates the image (repairing message 1's checksum when asked), then decodes or clears.
    void Check(bool fixChecksum);
    void DecodeName();
    void DecodeAlgorithm();

    bool valid = false;
    PatchImage image{};
    std::string name;
    const char* algorithmName;
};

inline constexpr const char* kEmptyPatchName = "empty        ";
