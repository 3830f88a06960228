#pragma once
// A bank: the unit's 202 patch slots (A1..A101, B1..B101) in list order, as read from a bank
// file or a bulk dump, and written back as one.

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <vector>

#include "model/VF1Patch.h"

// Thrown when data cannot be read as a bank at all.
class BankParseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class VF1Bank {
  public:
    explicit VF1Bank(int count = kPatchCount);
    // Parses a bank file or dump; damaged patches are salvaged or left empty, with a message.
    VF1Bank(const uint8_t* data, size_t length);
    VF1Bank(const VF1Bank&) = delete;
    VF1Bank& operator=(const VF1Bank&) = delete;

    bool AllValid() const;
    bool IsModified() const { return modified; }
    void SetModified() { modified = true; }
    void ClearModified() { modified = false; }
    // Renumbers each patch to its list position and copies the images out; returns the byte count.
    int WriteImages(uint8_t* destination);

    // List operations: list position i is slot i. The bank owns its patches: RemoveAt hands one
    // over, InsertBefore and AddTail take one in, so that a patch can move to another bank.
    int GetCount() const { return static_cast<int>(list.size()); }
    VF1Patch* GetAt(int position) const;
    void InsertBefore(int position, std::unique_ptr<VF1Patch> patch);
    std::unique_ptr<VF1Patch> RemoveAt(int position); // null for a position outside the list
    void AddTail(std::unique_ptr<VF1Patch> patch);
    VF1Patch* GetTail() const { return list.empty() ? nullptr : list.back().get(); }
    int Find(const VF1Patch* patch) const;
    int GetSlotCount() const { return slotCount; }

  private:
    void ParseSlot(const uint8_t* data, size_t length, size_t& p, bool& anyBad, bool& salvaged);

    std::vector<std::unique_ptr<VF1Patch>> list;
    int slotCount = 0;
    bool modified = false;
};
