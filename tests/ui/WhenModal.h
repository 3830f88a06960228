#pragma once
// Driving modal dialogs from a test: exec() runs its own loop, so the test acts from a timer.

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Runs action on the first modal dialog of class T once it is up (polling, as modal loops run).
template <class T> void WhenModal(std::function<void(T*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            action(dialog);
        }
    });
    poll->start(20);
}
