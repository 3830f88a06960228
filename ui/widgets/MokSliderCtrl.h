#pragma once
// A bar-graph slider, horizontal or vertical, with a zero point in the middle when its range runs
// from a negative to a positive value. It reports every change to its owner as a scroll
// notification, posted (queued) as the platform posts it. A focused slider takes the keys of a
// platform slider: Up/Right and Down/Left one step, Page Up/Page Down ten, Home/End the ends.

#include <QColor>
#include <QWidget>

// Scroll codes of the notifications.
enum ScrollCode : int {
    kThumbPosition = 4, // value set by a click, the wheel or a reset
    kThumbTrack = 5,    // value tracking while dragging
    kEndScroll = 8,     // button released
};

class MokSliderCtrl : public QWidget {
    Q_OBJECT
  public:
    MokSliderCtrl(bool vertical, QWidget* parent = nullptr);

    virtual void SetPos(int value);
    virtual int GetPos() const { return pos; }
    virtual void SetRange(int a, int b, bool redraw = true);
    // Sets the value as one notch of the wheel does: clamped to the range, redrawn and posted as
    // thumb-position whether or not it changed. The keys and assistive technology move it so.
    void MoveTo(int value);
    // Colours that are invalid keep their value; an invalid focus colour is the back colour
    // lightened by 15 per channel (240 or more becoming 255).
    void SetColours(const QColor& minColour, const QColor& maxColour, const QColor& backColour,
                    const QColor& frameColour, const QColor& focusBackColour = QColor());

    int Min() const { return min; }
    int Max() const { return max; }
    bool IsBipolar() const { return bipolar; }
    bool IsVertical() const { return vertical; }
    // The bar as a paint draws it for the present value (client coordinates), and its colour.
    QRect BarRect() const;
    QColor BarColour() const;
    QColor FocusBackColour() const { return focusBackColour; }

  signals:
    // Delivered queued: the slider itself is the sender.
    void scrolled(int code, int pos);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    bool SetFromPoint(const QPoint& point, int code);
    void Notify(int code);
    // Stores a value already within the range; tells assistive technology when it changed.
    void StorePos(int value);
    QRect ComputeBar(float& f) const;

    bool vertical;
    int min = 0;
    int max = 1;
    int pos = 0;
    QColor minColour{80, 80, 80};
    QColor maxColour{80, 80, 80};
    QColor backColour{192, 192, 192};
    QColor frameColour{32, 32, 32};
    QColor focusBackColour{207, 207, 207}; // the back colour lightened, as SetColours derives it
    bool bipolar = false;
    bool focused = false;
    bool dragging = false;
};
