#include "ui/common/qt/frame_placement.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace tamlo {

FramePlacement::FramePlacement(QWidget& window, std::function<QRect()> area)
    : QObject(&window), window_(window), area_(std::move(area)) {}

void FramePlacement::CentreOn(QWidget& window, std::function<QRect()> area, QMargins guess) {
    auto* placement = new FramePlacement(window, std::move(area));
    placement->Place(guess);
    window.installEventFilter(placement);
}

QMargins FramePlacement::Frame(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

QRect FramePlacement::Outline(const QWidget& window) {
    return window.geometry().marginsAdded(Frame(window));
}

void FramePlacement::Place(QMargins frame) {
    placedWith_ = frame;
    QRect outline(QPoint(), window_.size().grownBy(frame));
    outline.moveCenter(area_().center());
    window_.setGeometry(
        QRect(outline.topLeft() + QPoint(frame.left(), frame.top()), window_.size()));
}

bool FramePlacement::eventFilter(QObject* /*watched*/, QEvent* event) {
    // Whatever comes first after the window manager has framed the window finds the frame known;
    // by the time the window is activated, it has framed it or there is no window manager.
    const QMargins frame = Frame(window_);
    if (frame != placedWith_) {
        Place(frame);
    }
    if (event->type() == QEvent::WindowActivate) {
        window_.removeEventFilter(this);
    }
    return false;
}

} // namespace tamlo
