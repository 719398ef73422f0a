#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs act on the next modal window of class className as soon as it is open, however deep in
// nested modal loops; modal windows return only when closed, so tests answer them this way.
inline void OnModal(const char* className, std::function<void(QWidget&)> act) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, className, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->inherits(className)) {
            poll->stop();
            poll->deleteLater();
            act(*modal);
        }
    });
    poll->start(1);
}
