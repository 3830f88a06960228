#pragma once
// A parameter control's value box: the value's text, centred, lime on dark green, read only. It
// draws the text itself rather than hosting an edit box, which a panel of ninety controls would
// pay for on every patch change; to assistive technology it is read-only text like an edit box's.

#include <QString>
#include <QWidget>

class VF1ValueBox : public QWidget {
    Q_OBJECT
  public:
    explicit VF1ValueBox(QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return value; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString value;
};
