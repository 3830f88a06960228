#pragma once
// One effect block's button on the diagram: the block's picture in one of four states (on, off,
// selected and on, selected and off). The first click selects the block; a click on the selected
// button switches the block on or off. The Master block has no switch.

#include <QAbstractButton>
#include <QPixmap>

#include <array>

class VF1Effect;

class VF1FXButton : public QAbstractButton {
    Q_OBJECT
  public:
    // id: 100 + the block's index in the patch's block order.
    VF1FXButton(VF1Effect* block, int id, QWidget* parent = nullptr);

    int GetId() const { return id; }
    const char* GetBaseName() const { return baseName; }
    VF1Effect* GetBlock() const { return block; }
    int GetState() const { return state; }
    bool IsSelected() const { return state >= 2; }
    bool IsMaster() const;
    // Selecting keeps the on/off half of the state: 0 becomes 2, 1 becomes 3, and back.
    void Select();
    void Deselect();

    QSize sizeHint() const override;

    static constexpr int kFirstId = 100;

  signals:
    // An unselected button was clicked and is now selected.
    void picked(int id);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void OnClicked();
    void SetState(int newState);

    int id;
    const char* baseName;
    VF1Effect* block;
    int state = 0;
    std::array<QPixmap, 4> pictures;
};
