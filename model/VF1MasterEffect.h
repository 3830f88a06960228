#pragma once
// The Master block every algorithm ends with: levels, tempo or link, the four control assigns,
// and the table of every parameter a control assign can reach.

#include "model/VF1Effect.h"

class VF1MasterEffect;

// The Target of a control assign: its value is a target number from the Master's table; it also
// holds the range over which the control moves the target parameter.
class VF1TargetParam : public VF1Param {
  public:
    VF1TargetParam(ParamPlacer& placer, std::string name, TargetTable* table, const int* lastIndex);

    void SetValueIndex(int index) override;
    std::string GetEntryText(int index) const override;
    std::string GetTextForValue(int value) const override;
    int GetValueIndex() const override;
    int GetMin() const override { return firstIndex; }
    int GetMax() const override { return *lastIndex; }
    void Write(PatchStream& stream) const override;
    void Read(PatchStream& stream) override;
    ParamControlKind GetControlKind() const override { return ParamControlKind::Target; }
    int GetControlWidth() const override { return -1; }

    void SetTargetMin(int v);
    void SetTargetMax(int v);
    int GetTargetMin() const { return targetMin; }
    int GetTargetMax() const { return targetMax; }
    VF1Param* GetTargetParam() const { return targetParam; }
    // The entry index whose target number is value, or -1.
    int FindEntry(int value) const;

  private:
    void SendPart(int partOffset, int v) const;
    // Tells the edit listener of a change of the target or its range.
    void Edited(int oldValue, int oldMin, int oldMax);

    TargetTable* table;
    int firstIndex = 0;
    const int* lastIndex;
    int targetMin = 0;
    int targetMax = 0;
    VF1Param* targetParam = nullptr;
};

class VF1MasterEffect : public VF1Effect {
  public:
    VF1MasterEffect(uint32_t id, int address, int targetBase, VF1Algorithm* ownerAlgorithm,
                    const std::string& nameSuffix);
    ~VF1MasterEffect() override;

    int WriteStream(PatchStream& stream) override;
    void ReadStream(PatchStream& stream) override;
    void WriteHeader(uint8_t* area) override;
    void ReadHeader(const uint8_t* area) override;
    void CollectTargets(TargetTable&, int&) override {}
    void RebuildTargets() override;

    const TargetTable& GetTargetTable() const { return table; }
    int GetLastIndex() const { return lastIndex; }
    int GetOwnParamCount() const { return ownCount; }
    int GetFirstBlockEntry() const { return firstBlockEntry; }
    VF1Param* GetTunerSwitch() const { return tunerSwitch.get(); }
    VF1Param* GetEffectsSwitch() const { return effectsSwitch.get(); }

  private:
    void CollectFromBlocks();

    TargetTable table;
    int lastIndex = -1;
    VF1Algorithm* ownerAlgorithm;
    int ownCount = 0;
    int firstBlockEntry = 0;
    std::unique_ptr<VF1Param> tunerSwitch;
    std::unique_ptr<VF1Param> effectsSwitch;
};
