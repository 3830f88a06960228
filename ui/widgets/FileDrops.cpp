#include "ui/widgets/FileDrops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

class FileDropFilter : public QObject {
  public:
    FileDropFilter(QWidget* widget, std::function<void(const QStringList&)> open_)
        : QObject(widget), open(std::move(open_)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DroppedFiles(drag->mimeData()).isEmpty()) return false;
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList paths = DroppedFiles(drop->mimeData());
            if (paths.isEmpty()) return false;
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            QTimer::singleShot(0, this, [this, paths] { open(paths); });
            return true;
        }
        default:
            return false;
        }
    }

  private:
    std::function<void(const QStringList&)> open;
};

} // namespace

QStringList DroppedFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile());
    return paths;
}

void AcceptFileDrops(QWidget* widget, std::function<void(const QStringList& paths)> open) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(new FileDropFilter(widget, std::move(open)));
}
