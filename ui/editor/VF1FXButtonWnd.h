#pragma once
// The window over the main window's LCD picture that holds the diagram's flow picture, the
// algorithm's name and the block buttons. Its top-left corner doubles as the MIDI spot: a click
// there opens the MIDI settings.

#include <QRect>
#include <QWidget>

class QLabel;

class VF1FXButtonWnd : public QWidget {
    Q_OBJECT
  public:
    explicit VF1FXButtonWnd(QWidget* lcdPicture);

    // Puts up the algorithm's flow picture and name picture (hidden until the diagram shows them);
    // displayName is the name the picture shows.
    void SetPictures(const QString& flow, const QString& name, const QString& displayName);
    QLabel* GetFlowPicture() const { return flowPicture; }
    QLabel* GetNamePicture() const { return namePicture; }

    // Inclusive pixel ranges, from the LCD picture's top-left corner.
    static constexpr QRect kMidiHotSpot{QPoint(6, 7), QPoint(44, 19)};
    static constexpr QSize kSize{450, 200};

  signals:
    // The MIDI spot was clicked: the main window opens its MIDI settings.
    void openMidiSettings();

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QLabel* flowPicture;
    QLabel* namePicture;
    bool overHotSpot = false;
};
