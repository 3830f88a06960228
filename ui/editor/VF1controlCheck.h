#pragma once
// An Off/On parameter: one check box "On".

#include "ui/editor/VF1control.h"

class VF1controlCheck : public VF1control {
    Q_OBJECT
  public:
    using VF1control::VF1control;

    void CreateChildren() override;
    void Refresh() override;
    MokCheckBox* GetCheckBox() const { return checkBox; }

  protected:
    int DefaultWidth() const override { return 55; }
    void OnButton(int id) override;

  private:
    MokCheckBox* checkBox = nullptr;
};
