#pragma once
// The parameter panel's rules as plain functions: which of a block's parameters get a control,
// how many rows the panel scrolls through, and where each control goes. The panel window calls
// them; tests call them without one.

#include <QPoint>

#include <vector>

class VF1Effect;
class VF1Param;

namespace PanelLayout {

inline constexpr int kPanelWidth = 550;
inline constexpr int kPanelHeight = 260;
// Controls are 125 px high and share their border lines with their neighbours.
inline constexpr int kRowPitch = 124;

// 9 for the twenty-tap delay, 3 for the Master block, 1 for every other block.
int Rows(const VF1Effect& block);
// The parameters that get a control, in order: the live ones except Dummies and, but in the
// Master block, the first ("FX On/Off", which the block button switches).
std::vector<VF1Param*> ShownParams(VF1Effect& block);

// Places controls one after the other from a starting point, as the panel builds its rows.
class Cursor {
  public:
    Cursor(const VF1Effect& block, QPoint start = {-1, -1});
    // The top-left point of the next control, of the given width and parameter type code.
    QPoint Place(int width, int type);

  private:
    int availableWidth;
    bool multiTapDelay;
    int x;
    int y;
};

} // namespace PanelLayout
