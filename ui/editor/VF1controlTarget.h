#pragma once
// A control assign's Target: a slider over the Master's target table and, beside it, sliders for
// the minimum and maximum over which the assign moves the chosen parameter, in that parameter's
// own values.

#include "ui/editor/VF1control.h"

class VF1Param;
class VF1TargetParam;

class VF1controlTarget : public VF1control {
    Q_OBJECT
  public:
    VF1controlTarget(VF1Param* param, int widthHint, QWidget* parent = nullptr);

    void CreateChildren() override;
    void Refresh() override;
    MokSliderCtrl* FocusSlider() const override { return targetSlider; }
    MokSliderCtrl* GetSlider(int which) const; // 0 target, 1 min, 2 max
    VF1ValueBox* GetValueBox(int which) const;

  protected:
    int DefaultWidth() const override { return 160; }
    void OnVerticalSlider(int code, int pos, MokSliderCtrl* sender) override;

  private:
    void ChooseTarget(int index);
    void ShowRange();
    std::string TargetText(int index) const;

    VF1TargetParam* target;
    VF1Param* chosen = nullptr;
    int tMin = 0;
    int tMax = 0;
    MokSliderCtrl* targetSlider = nullptr;
    MokSliderCtrl* minSlider = nullptr;
    MokSliderCtrl* maxSlider = nullptr;
    VF1ValueBox* targetBox = nullptr;
    VF1ValueBox* minBox = nullptr;
    VF1ValueBox* maxBox = nullptr;
};
