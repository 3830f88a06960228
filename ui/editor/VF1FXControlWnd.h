#pragma once
// The current patch as the unit's display shows it: over the main window's LCD picture its
// algorithm's flow picture and name with one button per effect block on the flow, and in the
// parameter panel frame one parameter panel per block, of which only the selected block's shows.
// The main window builds one for the current patch and replaces it whenever the patch, its
// algorithm or the selection of the patch list changes.

#include <QWidget>

#include <memory>
#include <vector>

#include "ui/editor/VF1LCDLayout.h"

class VF1Algorithm;
class VF1Effect;
class VF1FXButton;
class VF1FXButtonWnd;
class VF1ParamControlWnd;

class VF1FXControlWnd : public QWidget {
    Q_OBJECT
  public:
    // One block's button and panel.
    struct Pair {
        std::unique_ptr<VF1FXButton> button;
        std::unique_ptr<VF1ParamControlWnd> panel;
    };

    VF1FXControlWnd(VF1Algorithm* patch, QWidget* frame, QWidget* lcdPicture);
    ~VF1FXControlWnd() override;

    // Builds the pictures, the buttons and the panels, and selects the first block.
    void Create();

    VF1Effect* GetSelectedEffect() const;
    VF1ParamControlWnd* GetSelectedPanel() const;
    // Hides and shows the selected panel, so that its controls read their values again.
    void RefreshSelectedPanel();
    // Rebuilds the panel of every block whose parameter set can change, shown only for the
    // selected block.
    void RebuildChangeablePanels();
    // Re-orders and re-places the buttons after a variable-position block moved.
    void RepositionVariableBlocks();
    // What a click on the button with that id does once the button has selected itself.
    void SelectButton(int id);

    VF1Algorithm* GetPatch() const { return patch; }
    const VF1LCDLayout& GetLayout() const { return layout; }
    VF1FXButtonWnd* GetButtonWindow() const { return buttonWindow.get(); }
    // The pairs in diagram order (the order the placement rule counts).
    const std::vector<std::unique_ptr<Pair>>& GetPairs() const { return pairs; }
    const Pair* GetSelectedPair() const { return selected; }

    static constexpr int kId = 40;

  private:
    // Takes the variable-position pairs out of the list and puts them back at their positions.
    void InsertVariablePairs();
    void PlaceButtons();
    void OrderTabs();

    QWidget* lcdPicture;
    VF1Algorithm* patch;
    Pair* selected = nullptr;
    VF1LCDLayout layout;
    std::unique_ptr<VF1FXButtonWnd> buttonWindow;
    std::vector<std::unique_ptr<Pair>> pairs;
    // The pairs of the patch's two variable-position blocks, when it has them (owned by pairs).
    Pair* varPair1 = nullptr;
    Pair* varPair2 = nullptr;
};
