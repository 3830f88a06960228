#pragma once
// A check box (also used as a radio button) with a 12 x 12 square mark 1 px below its top edge
// and the text 4 px beside it. It toggles when pressed (mouse or space key); the owner reads
// GetCheck on the click that follows the release. A press that ends without a click (released
// outside, focus lost) puts the state back, so the mark never shows what the owner was not told.
// A radio group is kept by its owner; a box that acts as a radio button says so, so that assistive
// technology reports it as one.

#include <QAbstractButton>
#include <QColor>
#include <QFont>

class MokCheckBox : public QAbstractButton {
    Q_OBJECT
  public:
    MokCheckBox(const QString& text, bool textOnLeft, bool multiLine, QWidget* parent = nullptr);

    void SetCheck(int state);
    int GetCheck() const { return checkedState; }
    void SetRadio(bool radio_) { radio = radio_; }
    bool IsRadio() const { return radio; }
    // What a click does: toggles, then reports the click. Assistive technology presses so.
    void Press();
    // Each colour that is valid replaces its own; the last is kept and never used.
    void SetColours(const QColor& textBack, const QColor& unchecked, const QColor& checked,
                    const QColor& text, const QColor& spare = QColor());

    QRect BoxRect() const;
    QRect TextRect() const;
    bool TextOnLeft() const { return textOnLeft; }
    Qt::Alignment TextAlignment() const;
    QColor UncheckedColour() const { return uncheckedColour; }
    QColor CheckedColour() const { return checkedColour; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    void Layout() const;
    void Toggle();
    void CancelPress();

    int checkedState = 0;
    bool multiLine = false;
    QColor textBackColour{160, 160, 160};
    QColor uncheckedColour{220, 220, 220};
    QColor checkedColour{64, 64, 220};
    QColor frameColour{32, 32, 32};
    QFont font;
    QColor textColour{0, 0, 0};
    QColor spareColour;
    // Worked out again whenever the size differs from the one they were made for: a hidden
    // widget is resized without a resize event.
    mutable QRect clientRect, boxRect, textRect;
    bool focused = false;
    bool textOnLeft = false;
    int stateBeforePress = -1; // the state a press toggled from, until its click or cancellation
    bool radio = false;
};
