#pragma once
// A flat push button: dark green face, lime frame, white centred text that moves down 2 px while
// pressed. A double-click reports a click and a double-click, as the window's buttons expect.

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
