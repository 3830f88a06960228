#pragma once
// The open and save dialogs for .syx files: the filter "Sysex Files (*.syx)", a file to open must
// exist, a file saved gets the extension "syx" and overwriting asks first.

#include <QString>

class QWidget;

// The chosen path, or an empty string when the user cancelled. When they return the dialog is gone
// and parent is the active window again, so that a message about the file stands over parent.
QString AskSysExFileToOpen(QWidget* parent);
QString AskSysExFileToSave(QWidget* parent);
