#pragma once
// The default control: a vertical slider over the parameter's whole range and a value box.
// Dragging shows the value to come and stores it on release; selectors and positions take effect
// at every step, as the unit switches modules and re-orders blocks at once.

#include "ui/editor/VF1control.h"

class VF1controlSlider : public VF1control {
    Q_OBJECT
  public:
    using VF1control::VF1control;

    void CreateChildren() override;
    void Refresh() override;
    MokSliderCtrl* FocusSlider() const override { return slider; }
    MokSliderCtrl* GetSlider() const { return slider; }
    VF1ValueBox* GetValueBox() const { return valueBox; }

  protected:
    void OnVerticalSlider(int code, int pos, MokSliderCtrl* sender) override;

    MokSliderCtrl* slider = nullptr;
    VF1ValueBox* valueBox = nullptr;
};
