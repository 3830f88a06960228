#pragma once
// Where the diagram puts its block buttons for one algorithm: the flow picture behind them, the
// width a button slot takes, and the placement rule that turns a button's place in the diagram
// order into its top-left point in the button window (pixels, after the pictures are enlarged
// three times). No window is needed to ask it.

#include <QPoint>

// The sixteen ways the unit's display arranges blocks along a flow picture.
enum class PlacementRule { R1, R2, R3, R4, R5, R6, R7, R8, R9, R10, R11, R12, R13, R14, R15, R16 };

class VF1LCDLayout {
  public:
    // algorithmNumber is 0..36 (loading refuses any other); others get algorithm 0's layout.
    explicit VF1LCDLayout(int algorithmNumber);

    int GetAlgorithm() const { return algorithm; }
    int GetButtonWidth() const { return buttonWidth; }
    int GetRowStep() const { return rowStep; }
    const char* GetPictureName() const { return pictureName; }
    PlacementRule GetRule() const { return rule; }
    // Top-left point of the k-th button in diagram order (k from 0; the Master never asks).
    QPoint ButtonPoint(int k) const;

    // Where the Master block's button goes in every algorithm.
    static constexpr QPoint kMasterPoint{340, 48};

  private:
    int algorithm;
    int buttonWidth;
    int rowStep;
    const char* pictureName;
    PlacementRule rule;
};

// The point a rule gives for button k with slot width w and row step (integer arithmetic).
QPoint PlacementPoint(PlacementRule rule, int k, int w, int rowStep);
