#pragma once
// The parameters of one effect block as a grid of parameter controls. The diagram makes one
// panel per block and shows only the selected block's. Panels with many parameters scroll by
// whole rows; a selector change rebuilds every control but the selector's own.

#include <QWidget>

#include <memory>
#include <vector>

#include "ui/editor/VF1control.h"

class QScrollBar;
class VF1Effect;

class VF1ParamControlWnd : public QWidget {
    Q_OBJECT
  public:
    VF1ParamControlWnd(VF1Effect* block, QWidget* frame);
    ~VF1ParamControlWnd() override;

    // Builds the controls of the block's present parameter set (hidden until shown).
    void Create();
    // Rebuilds every control after the first for the block's present parameter set; with show,
    // the panel is hidden meanwhile and shown again, which refreshes every control.
    void Rebuild(bool show);
    void ShowScrollBar();

    VF1Effect* GetBlock() const { return block; }
    int GetRows() const { return rows; }
    const std::vector<std::unique_ptr<VF1control>>& GetControls() const { return controls; }
    QScrollBar* GetScrollBar() const { return scrollBar; }
    // The first row shown at the top, 0 to rows - 1.
    int GetTopRow() const { return topRow; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls(const std::vector<VF1Param*>& params, QPoint start);
    void OnScrollAction(int action);
    void OnThumbReleased();
    void ScrollToRow(int row);
    void SetThumb();

    VF1Effect* block;
    std::vector<std::unique_ptr<VF1control>> controls;
    int rows;
    int topRow = 0;
    QScrollBar* scrollBar = nullptr;
};
