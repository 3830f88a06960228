#pragma once
// The program's own message box: every message of the program is shown in it. The right button
// (OK or "Yes") returns 1; the left button (Cancel or "No"), Escape and the close box return 2.

#include <QDialog>

#include <string>

#include "model/Report.h"
#include "ui/widgets/DialogTemplate.h"

// The message-box type flags a message carries. Buttons and icon are chosen bit by bit.
enum MessageBoxType : unsigned {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbYesNo = 0x4,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconWarning = 0x30,
    kMbIconInformation = 0x40,
};

class VF1MessageBox : public QDialog {
    Q_OBJECT
  public:
    enum Result { kResultOk = 1, kResultCancel = 2 };

    VF1MessageBox(const QString& text, unsigned type, QWidget* parent = nullptr);

    // Shows the message modally and returns 1 or 2.
    static int Run(QWidget* parent, const QString& text, unsigned type);

    void reject() override;

  private:
    ControlMap controls;
};

// The type flags the program's message styles are shown with.
unsigned MessageBoxTypeFor(MessageStyle style);

// The program's message function: the message box centred over the window that asked (see
// AskingWindow). The application installs it with SetMessageHandler.
int ShowProgramMessage(const std::string& text, MessageStyle style);

// The window a message belongs to: the active window; when none is active, as for a moment after
// a file dialog has closed, the window that was active last and is still shown (a file dialog
// excepted). Windows are remembered from the first call of TrackActiveWindows on.
QWidget* AskingWindow();
void TrackActiveWindows();
