#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

#include <functional>

class QWidget;

namespace tamlo {

// Centres a top-level window, frame included, on an area of the screen. The frame a window
// manager puts around a window is known only once the window is on the screen, so the window is
// placed at once with a guessed frame and, if the real one differs, placed again as soon as the
// window manager has framed it. Without a window manager there is no frame and nothing to redo.
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
