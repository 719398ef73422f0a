#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace tamlo::testing {

// Runs act on the next modal window of that class once it is open and active: modal windows
// return only when closed, so the test acts on them from the event loop they run; and keys reach
// the window that has the focus, which a window just opened gets in its own time, later under
// load.
inline void OnModal(const char* className, std::function<void(QDialog&)> act) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, className, act = std::move(act)] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (modal != nullptr && modal->inherits(className) && !modal->isActiveWindow()) {
            modal->activateWindow();
        } else if (modal != nullptr && modal->inherits(className)) {
            poll->stop();
            poll->deleteLater();
            act(*modal);
        }
    });
    poll->start(1);
}

} // namespace tamlo::testing
