#include "ui/dialogs/SysExFileDialog.h"

#include <QFileDialog>

namespace {

constexpr const char* kSysExFilter = "Sysex Files (*.syx)";

// Runs the dialog that setUp prepares. By the time this returns the dialog is gone, with its
// completion list, and parent is the active window again: the window manager gives the focus back
// in its own time, and a message about the file must not wait for it.
QString Ask(QWidget* parent, void (*setUp)(QFileDialog&)) {
    QString path;
    {
        QFileDialog dialog(parent, QString(), QString(), QString::fromLatin1(kSysExFilter));
        setUp(dialog);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    if (parent) parent->window()->activateWindow();
    return path;
}

} // namespace

QString AskSysExFileToOpen(QWidget* parent) {
    return Ask(parent, [](QFileDialog& dialog) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    });
}

QString AskSysExFileToSave(QWidget* parent) {
    return Ask(parent, [](QFileDialog& dialog) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("syx"));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    });
}
