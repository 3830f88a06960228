#pragma once
// A flat push button: dark green face, lime frame, white centred text whose box loses its top 2 px
// while pressed, so the text sinks. A double-click reports one click and one double-click, as the
// window's buttons expect: owners that count both see two clicks, never three.

#include <QPushButton>

class MokButton : public QPushButton {
    Q_OBJECT
  public:
    explicit MokButton(const QString& text = {}, QWidget* parent = nullptr);

  signals:
    void doubleClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
