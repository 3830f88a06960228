#pragma once
// A slot block that holds one of several complete effects, chosen by its "FX Sel" parameter.

#include "model/VF1Effect.h"

struct SlotSpec;

class VF1EffectSlot : public VF1Effect {
  public:
    VF1EffectSlot(uint32_t id, int address, int targetBase, const std::string& nameSuffix);
    ~VF1EffectSlot() override;

    bool HasModules() const override { return true; }
    void First() override;
    VF1Param* Next() override;
    bool AtEnd() const override;
    VF1Param* GetParam(int index) override;
    VF1Param* GetSelectedParam() override;
    void Select(int index) override;
    void SetSelectedValueIndex(int index) override;
    int GetHeaderCount() const override { return sharedCount; }
    int WriteStream(PatchStream& stream) override;
    void ReadStream(PatchStream& stream) override;
    void WriteHeader(uint8_t*) override {}
    void RebuildTargets() override {}
    void RandomiseAll() override;

    VF1Effect* GetCurrentSubEffect() const { return current; }
    int GetSubEffectCount() const { return static_cast<int>(subEffects.size()); }

  private:
    void Refresh();
    void BuildWalk();

    std::vector<std::unique_ptr<VF1Effect>> subEffects;
    int sharedCount = 0;
    int selectorIndex = 1;
    int currentSelector = 0;
    VF1Effect* current = nullptr;
    std::vector<VF1Param*> walk;
};
