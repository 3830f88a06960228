#pragma once
// One of a control assign's source range pair ("Src Min" and "Src Max"): a slider like the
// default one that cannot pass its partner, so the minimum always stays below the maximum.

#include "ui/editor/VF1controlSlider.h"

class VF1controlRangeSlider : public VF1controlSlider {
    Q_OBJECT
  public:
    using VF1controlSlider::VF1controlSlider;

    // Links the Src Min control and the Src Max control of one assign: each one's limit is the
    // other's present index.
    static void Link(VF1controlRangeSlider& srcMin, VF1controlRangeSlider& srcMax);
    VF1controlRangeSlider* GetPartner() const { return partner; }
    int GetLimit() const { return limit; }

  protected:
    void OnVerticalSlider(int code, int pos, MokSliderCtrl* sender) override;

  private:
    bool IsSourceMin() const;

    VF1controlRangeSlider* partner = nullptr;
    int limit = 0;
};
