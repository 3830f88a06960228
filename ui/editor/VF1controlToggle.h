#pragma once
// A short named list: one option button per entry, one below the other.

#include <vector>

#include "ui/editor/VF1control.h"

class VF1controlToggle : public VF1control {
    Q_OBJECT
  public:
    using VF1control::VF1control;

    void CreateChildren() override;
    void Refresh() override;
    const std::vector<MokCheckBox*>& GetButtons() const { return buttons; }

  protected:
    int DefaultWidth() const override { return 65; }
    void OnButton(int id) override;

  private:
    void CheckOnly(int index);

    std::vector<MokCheckBox*> buttons;
};
