#pragma once
// One effect block of an open patch: an ordered list of parameters whose bytes follow one another
// in the block's part of the patch data.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/PatchStream.h"
#include "model/VF1Param.h"
#include "model/tables/CatalogueTable.h"

class VF1Algorithm;

// The effect type (the upper 16 bits of a block id) of the Master block.
inline constexpr uint32_t kMasterEffectType = 0x18;

// One entry of the Master block's target table.
struct TargetEntry {
    int target = 0;
    std::string text;
    VF1Param* param = nullptr;
};

inline constexpr int kTargetTableSize = 150;
using TargetTable = std::array<TargetEntry, kTargetTableSize>;

class VF1Effect {
  public:
    // Builds the plain block of the catalogue for id. An id the catalogue doesn't hold shows
    // "missing support for type %d of %d" and gives a block without parameters.
    VF1Effect(uint32_t id, int address, int targetBase, const std::string& nameSuffix);
    // The same as a sub-effect of a slot: it places its parameters with the slot's placer, which
    // then goes on behind them.
    VF1Effect(uint32_t id, int address, int targetBase, ParamPlacer& placer);
    virtual ~VF1Effect();
    VF1Effect(const VF1Effect&) = delete;
    VF1Effect& operator=(const VF1Effect&) = delete;

    virtual bool AddParam(std::unique_ptr<VF1Param> param);
    virtual bool HasModules() const { return false; }
    virtual void First();
    virtual VF1Param* Next();
    virtual bool AtEnd() const;
    virtual VF1Param* GetParam(int index);
    virtual VF1Param* GetSelectedParam();
    virtual void Select(int index);
    virtual void SetSelectedValueIndex(int index);
    virtual int GetHeaderCount() const { return 0; }
    // Writes the block's live parameters at the stream; returns the number of bytes written.
    virtual int WriteStream(PatchStream& stream);
    virtual void ReadStream(PatchStream& stream);
    virtual void WriteHeader(uint8_t* area);
    virtual void ReadHeader(const uint8_t* area);
    virtual void CollectTargets(TargetTable& table, int& count);
    virtual void RebuildTargets() {}
    virtual void RandomiseAll();

    // The live parameters in walk order (First / Next / AtEnd).
    std::vector<VF1Param*> LiveParams();

    uint32_t GetId() const { return id; }
    const std::string& GetName() const { return name; }
    int GetAddress() const { return address; }
    int GetTargetBase() const { return targetBase; }
    VF1Param* GetPositionParam() const { return positionParam; }
    bool IsMaster() const { return (id >> 16) == kMasterEffectType; }
    int GetSelectedIndex() const { return selectedIndex; }
    void SwitchOn();
    void SwitchOff();
    void NotifyPositionChanged(int oldValue, int newValue);
    void NotifyLayoutChanged();
    void SetOwner(VF1Algorithm* algorithm) { owner = algorithm; }
    VF1Algorithm* GetOwner() const { return owner; }
    // Number of parameters the block owns directly (not those of modules or sub-effects).
    int OwnParamCount() const { return static_cast<int>(params.size()); }

  protected:
    // For subclasses: stores id, address and target base; the subclass builds its parameters.
    VF1Effect(uint32_t id, int address, int targetBase);
    // Adds the parameters of a table row to list, applying the row's label where a parameter has none.
    void AddSpecParams(std::span<const ParamSpec> specs, const char* label,
                       std::vector<std::unique_ptr<VF1Param>>& list, ParamPlacer& placer);
    void BuildFromCatalogue(ParamPlacer& placer, const std::string& nameSuffix);
    void BuildFromSpec(const BlockSpec& row, ParamPlacer& placer);
    void AppendNameSuffix(const std::string& suffix);
    void SelectFirstAndAdopt();

    uint32_t id = 0;
    std::vector<std::unique_ptr<VF1Param>> params;
    size_t iterPos = 0;
    VF1Param* positionParam = nullptr;
    VF1Param* selectedParam = nullptr;
    int address = 0;
    int targetBase = 0;
    std::string name;
    int selectedIndex = 0;
    VF1Algorithm* owner = nullptr;
};

// The block of the right class for id: effect slot, multi-mode block or plain catalogue block.
std::unique_ptr<VF1Effect> CreateEffect(uint32_t id, int address, int targetBase,
                                        const std::string& nameSuffix);

// Writes a block id as six upper-case hexadecimal digits (050001).
std::string BlockIdText(uint32_t id);
