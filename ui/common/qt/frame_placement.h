#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

#include <functional>

class QWidget;

namespace tamlo {

// Centres a top-level window, frame included, on an area of the screen, and keeps the frame on
// the screen's free area: a window that does not fit there has its frame's top-left corner at the
// free area's, so that its title bar can be reached. The frame a window manager puts around a
// window is known only once it has framed the window, which some do only after the window is
// active; so the window is placed at once with a guessed frame and placed again as soon as the
// window manager reports a frame of another size. Without a window manager no frame is ever
// reported, and the first placement stands.
class FramePlacement final : public QObject {
public:
    // Centres window on area() (global coordinates), guessing that its frame has the margins
    // guess. The placement lives as long as the window.
    static void CentreOn(QWidget& window, std::function<QRect()> area, QMargins guess = {});
    // The margins of the frame around window, none while nothing frames it.
    static QMargins Frame(const QWidget& window);
    // Where window stands on the screen, frame included.
    static QRect Outline(const QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FramePlacement(QWidget& window, std::function<QRect()> area);
    void Place(QMargins frame);

    QWidget& window_;
    std::function<QRect()> area_;
    QMargins placedWith_;
};

} // namespace tamlo
