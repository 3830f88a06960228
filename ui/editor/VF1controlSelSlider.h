#pragma once
// A value with a numeric part and a named part (delay times in milliseconds or as tempo notes):
// two mode buttons choose the part, a horizontal slider runs over the chosen part only.

#include "ui/editor/VF1control.h"

class VF1controlSelSlider : public VF1control {
    Q_OBJECT
  public:
    using VF1control::VF1control;

    void CreateChildren() override;
    void Refresh() override;
    MokSliderCtrl* FocusSlider() const override { return slider; }
    MokSliderCtrl* GetSlider() const { return slider; }
    VF1ValueBox* GetValueBox() const { return valueBox; }
    MokCheckBox* GetModeButton(int mode) const { return mode == 1 ? mode1 : mode2; }

  protected:
    int DefaultWidth() const override { return 70; }
    void OnButton(int id) override;
    void OnHorizontalSlider(int code, int pos) override;

  private:
    void ShowMode(int mode);

    MokCheckBox* mode1 = nullptr;
    MokCheckBox* mode2 = nullptr;
    MokSliderCtrl* slider = nullptr;
    VF1ValueBox* valueBox = nullptr;
    int minValue = 0;
    int maxValue = 0;
    int splitValue = 0;
};
