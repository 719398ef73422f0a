#include "ui/common/qt/frame_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace tamlo {
namespace {

// Where a span of length size starts when centred on [centreStart, centreStart + centreLength)
// and kept within [start, start + length); one that is longer than that starts at start.
int Fit(int size, int centreStart, int centreLength, int start, int length) {
    const int centred = centreStart + (centreLength - size) / 2;
    return std::max(start, std::min(centred, start + length - size));
}

// Before a window manager has framed a window, the toolkit may read its frame as none, or from
// the window manager's half-built frame as negative margins: neither is a frame to place by.
bool Reported(QMargins frame) {
    return !frame.isNull() && frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 &&
           frame.bottom() >= 0;
}

// Where an outline of that size stands, centred on area and kept on the free area.
QRect Centred(QSize outline, const QRect& area, const QRect& free) {
    return {Fit(outline.width(), area.left(), area.width(), free.left(), free.width()),
            Fit(outline.height(), area.top(), area.height(), free.top(), free.height()),
            outline.width(), outline.height()};
}

} // namespace

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
    const QRect area = area_();
    const QScreen* screen = QGuiApplication::screenAt(area.center());
    const QRect free = (screen != nullptr ? screen : window_.screen())->availableGeometry();
    const QRect outline = Centred(window_.size().grownBy(frame), area, free);
    window_.setGeometry(
        QRect(outline.topLeft() + QPoint(frame.left(), frame.top()), window_.size()));
}

bool FramePlacement::eventFilter(QObject* /*watched*/, QEvent* /*event*/) {
    // Whatever comes first after the window manager has framed the window finds the frame known.
    const QMargins frame = Frame(window_);
    if (Reported(frame) && frame != placedWith_) {
        Place(frame);
    }
    if (Reported(frame)) {
        window_.removeEventFilter(this);
    }
    return false;
}

} // namespace tamlo
