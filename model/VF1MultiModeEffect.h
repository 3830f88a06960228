#pragma once
// A block that switches between two or three parameter sets of one effect with its selector.

#include "model/VF1Effect.h"

class VF1MultiModeEffect : public VF1Effect {
  public:
    VF1MultiModeEffect(uint32_t id, int address, int targetBase, const std::string& nameSuffix);
    ~VF1MultiModeEffect() override;

    bool HasModules() const override { return true; }
    void First() override;
    VF1Param* Next() override;
    bool AtEnd() const override;
    VF1Param* GetParam(int index) override;
    void Select(int index) override;
    void SetSelectedValueIndex(int index) override;
    int GetHeaderCount() const override { return sharedCount; }
    void ReadStream(PatchStream& stream) override;
    void WriteHeader(uint8_t*) override {}
    void RebuildTargets() override {}
    void RandomiseAll() override;

    int GetMode() const { return currentMode; }

  private:
    void Refresh();
    // The live module's parameters: the block's own after the shared ones in mode 0.
    VF1Param* ModuleParam(size_t index) const;
    size_t ModuleSize() const;

    std::vector<std::unique_ptr<VF1Param>> module1;
    std::vector<std::unique_ptr<VF1Param>> module2;
    int currentMode = 0;
    int sharedCount = 0;
    int selectorIndex = 1;
};
