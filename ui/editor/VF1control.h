#pragma once
// One parameter's control in the parameter panel: a bordered panel 125 px high with the
// parameter's name at the top and, below it, the widgets that suit its value type. A control
// writes each change straight into its parameter, which stores it and, while real-time editing
// is on, sends it to the unit; the control itself never sends anything. The parameter is the
// only store: the widgets show what Refresh last read from it.

#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class MokCheckBox;
class MokSliderCtrl;
class VF1Param;
class VF1ValueBox;

class VF1control : public QWidget {
    Q_OBJECT
  public:
    VF1control(VF1Param* param, int widthHint, QWidget* parent = nullptr);
    ~VF1control() override;

    // Puts up the parameter's name; every kind calls this first, then creates its widgets.
    virtual void CreateChildren();
    // Shows the parameter's current value.
    virtual void Refresh() {}
    // widthHint when the value type gives one, else the kind's own width.
    int GetWidth() const;

    VF1Param* GetParam() const { return param; }
    // Where the parameter's name is drawn.
    QRect NameRect() const;
    // The slider that hovering the control gives the keyboard (and so the wheel) to; null for
    // the kinds without one.
    virtual MokSliderCtrl* FocusSlider() const { return nullptr; }
    // The name as the control's group reports it: line breaks shown as blanks.
    static QString AccessibleName(const VF1Param& param);

    static constexpr int kHeight = 125;
    // The value boxes' control id.
    static constexpr int kValueBoxId = 234;
    // Child button ids start here.
    static constexpr int kFirstButtonId = 123;

  protected:
    virtual int DefaultWidth() const { return 52; }
    // A click on child button id (a check box or option button).
    virtual void OnButton(int id) { Q_UNUSED(id); }
    // A slider's notification: code is the scroll code, pos the slider's position.
    virtual void OnHorizontalSlider(int code, int pos) {
        Q_UNUSED(code);
        Q_UNUSED(pos);
    }
    virtual void OnVerticalSlider(int code, int pos, MokSliderCtrl* sender) {
        Q_UNUSED(code);
        Q_UNUSED(pos);
        Q_UNUSED(sender);
    }

    // Child widgets in the panel's look; rect runs from (left, top) to (right, bottom), right and
    // bottom excluded.
    static QRect Span(int left, int top, int right, int bottom);
    MokSliderCtrl* MakeSlider(bool vertical, const QRect& rect);
    VF1ValueBox* MakeValueBox(const QRect& rect);
    MokCheckBox* MakeButton(const QString& text, const QRect& rect, int id);
    // A caption drawn centred at the top of rect, on as many lines as it needs, in the names' font.
    void AddCaption(const QString& text, const QRect& rect);
    static void SetBoxText(VF1ValueBox* box, const std::string& text);
    // Ctrl was held during the gesture the slider is reporting (press, drag, wheel or key).
    bool CtrlHeld() const { return ctrlHeld; }
    // A slider that stands for the parameter's stored value: while it is dragged only the value
    // box follows (unless the value takes effect at every step); Ctrl restores the default;
    // otherwise the slider's position is stored and shown.
    void FollowSlider(int code, int pos, MokSliderCtrl* slider, VF1ValueBox* box, bool everyStep);

    void FocusSliderOnHover();
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    VF1Param* param;
    int widthHint;

  private:
    struct Caption {
        QString text;
        QRect rect;
    };
    std::vector<Caption> captions;
    bool ctrlHeld = false;
};

// The control of the parameter's control kind, a child of parent. Throws for a Dummy parameter,
// which has none.
std::unique_ptr<VF1control> CreateParamControl(VF1Param* param, QWidget* parent = nullptr);
