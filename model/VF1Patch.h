#pragma once
// One patch image as the librarian keeps it: the three DT1 messages, the decoded name and the
// algorithm's display name.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "model/PatchLayout.h"

class VF1Patch {
  public:
    VF1Patch();

    bool SetImage(std::span<const uint8_t, kPatchImageSize> bytes, bool fixChecksum);
    void Revalidate();
    uint8_t* GetImage() { return image.data(); }
    const PatchImage& Image() const { return image; }
    // Readdresses the image to memory slot patchNumber (0..201), checksums included.
    void SetPatchNumber(int patchNumber);
    // The same for any base address (the edit buffer's, say).
    void SetBaseAddress(const PatchAddressBytes& base);
    void SetDeviceId(int deviceId);
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
