#include "ui/dialogs/SysExFileDialog.h"

#include <QFileDialog>

namespace {

constexpr const char* kSysExFilter = "Sysex Files (*.syx)";

QString Run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

} // namespace

QString AskSysExFileToOpen(QWidget* parent) {
    QFileDialog dialog(parent, QString(), QString(), QString::fromLatin1(kSysExFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Run(dialog);
}

QString AskSysExFileToSave(QWidget* parent) {
    QFileDialog dialog(parent, QString(), QString(), QString::fromLatin1(kSysExFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("syx"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    return Run(dialog);
}
