#pragma once
// A patch open in the editor: its algorithm's effect blocks in the unit's order, Master last,
// and the list of patches the main window holds.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/PatchLayout.h"
#include "model/PatchStream.h"
#include "model/VF1Effect.h"

class VF1MasterEffect;

// What an algorithm tells the window that shows it.
class AlgorithmObserver {
  public:
    virtual ~AlgorithmObserver() = default;
    virtual void OnBlockLayoutChanged() = 0;
    virtual void OnEffectPositionsChanged(bool moved) = 0;
};

class VF1Algorithm {
  public:
    explicit VF1Algorithm(int number);
    ~VF1Algorithm();
    VF1Algorithm(const VF1Algorithm&) = delete;
    VF1Algorithm& operator=(const VF1Algorithm&) = delete;

    const char* GetDisplayName() const;
    int GetNumber() const { return number; }
    int GetCategory() const { return category; }
    void SetCategory(int c) { category = c; }
    const std::string& GetName() const { return name; }
    void SetName(const std::string& n) { name = n; }
    void SetOwnerWindow(AlgorithmObserver* window) { ownerWindow = window; }

    void First() { iterPos = 0; }
    VF1Effect* Next() { return iterPos < blocks.size() ? blocks[iterPos++].get() : nullptr; }
    bool AtEnd() const { return iterPos >= blocks.size(); }
    int GetBlockCount() const { return static_cast<int>(blocks.size()); }
    VF1Effect* GetBlock(int index) const;
    void SelectBlock(int index);
    VF1Effect* GetSelectedBlock() const { return selectedBlock; }
    int GetSelectedIndex() const { return selectedIndex; }
    VF1Effect* const* GetPositionBlocks() const { return positionBlocks; }
    VF1MasterEffect* GetMaster() const { return master; }

    void WriteHeader(uint8_t* headerHalf);
    void WriteStream(PatchStream& stream);
    void ReadHeader(const uint8_t* headerHalf);
    void ReadStream(PatchStream& stream);
    void RebuildTargets();
    // Header half, stream half and the zeros behind the last block: the 388 bytes of patch data.
    void WritePatchData(uint8_t* patchData);

    void OnPositionChanged(VF1Effect* block, int oldValue, int newValue);
    // Damaged patch data can give both variable-position blocks the same position, which no edit
    // can: the second moves to the nearest free place (one later, or one earlier from the last),
    // silently, and the user is told once. True when it moved.
    bool RepairPositions();
    void OnLayoutChanged();

  private:
    std::vector<std::unique_ptr<VF1Effect>> blocks;
    size_t iterPos = 0;
    VF1Effect* positionBlocks[2] = {nullptr, nullptr};
    int number;
    int category;
    std::string name;
    VF1Effect* selectedBlock = nullptr;
    VF1MasterEffect* master = nullptr;
    int selectedIndex = 0;
    AlgorithmObserver* ownerWindow = nullptr;
};

class VF1AlgorithmList {
  public:
    VF1AlgorithmList();
    ~VF1AlgorithmList();

    int GetCount() const { return static_cast<int>(algorithms.size()); }
    VF1Algorithm* GetAt(int index) const;
    VF1Algorithm* GetCurrent() const { return current; }
    int GetCurrentIndex() const { return currentIndex; }
    void Select(int index);
    void AddDefault();
    void ReplaceCurrent(int number);
    void RemoveAt(int index);
    // Builds an algorithm from patch data and appends it as the current one.
    bool LoadFromPatchData(const uint8_t* headerHalf, const uint8_t* streamHalf);
    // Builds an algorithm from patch data in place of the current one (an undo of a whole patch).
    bool ReplaceCurrentFromPatchData(const uint8_t* headerHalf, const uint8_t* streamHalf);

    // The algorithm patch data describes, read as Load reads it; null (with Load's message) when
    // the data names no algorithm or cannot be built.
    static std::unique_ptr<VF1Algorithm> BuildFromPatchData(const uint8_t* headerHalf,
                                                            const uint8_t* streamHalf);

  private:
    std::vector<std::unique_ptr<VF1Algorithm>> algorithms;
    VF1Algorithm* current = nullptr;
    int currentIndex = 0;
};

inline constexpr int kDefaultAlgorithm = 29; // "10-Band GEQ"
// The Master's own parameters are numbered from 2, behind the two global switches.
inline constexpr int kMasterTargetBase = 2;
