#pragma once
// Files dragged in from a file manager.

#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

// The local files a drag carries; empty for anything else.
QStringList DroppedFiles(const QMimeData* data);

// Makes widget take drops of files and hand them to open once the drop has been answered (so a
// message box that open shows does not hold the file manager's drag). Files are always taken as
// a copy: a file manager must never delete a file it thinks was moved.
void AcceptFileDrops(QWidget* widget, std::function<void(const QStringList& paths)> open);
