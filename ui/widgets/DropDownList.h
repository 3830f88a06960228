#pragma once
// A drop-down list as the templates describe one: the template's height is the closed box and its
// open list together, so the open list is no taller than what the height leaves below the box,
// and it opens in the program's list colours (lime, dark green text, the selection in blue) in
// whatever window it stands.

#include "ui/widgets/CaptionedComboBox.h"

class DropDownList : public CaptionedComboBox {
  public:
    explicit DropDownList(QWidget* parent = nullptr);

    // The height in pixels the open list may take.
    void SetListHeight(int pixels) { listHeight = pixels; }
    int ListHeight() const { return listHeight; }

    void showPopup() override;

  private:
    int listHeight = 0;
};
