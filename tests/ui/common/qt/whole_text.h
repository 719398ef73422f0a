#pragma once

#include <QImage>
#include <QLabel>
#include <QPainter>

#include <map>

namespace tamlo::testing {

// The smallest rectangle holding every pixel of picture that is not of the ground's colour.
inline QRect Ink(const QImage& picture, QRgb ground) {
    QRect ink;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != ground) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

// Whether a label shows all of its text: the window's picture of it beside the same text drawn in
// its font, colour and alignment with room to spare. A label that cuts its text, at its right
// edge or below its last line, shows less ink; a label in another font shows other ink.
inline bool ShowsWholeText(const QLabel& label) {
    QWidget& window = *label.window();
    const QImage shown =
        window.grab(QRect(label.mapTo(&window, QPoint(0, 0)), label.size())).toImage();
    std::map<QRgb, int> counts;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            ++counts[shown.pixel(x, y)];
        }
    }
    const QRgb ground =
        std::ranges::max_element(counts, {}, [](const auto& count) { return count.second; })->first;
    QImage whole(label.width() * 2, label.height() * 4, shown.format());
    whole.fill(ground);
    {
        QPainter painter(&whole);
        painter.setFont(label.font());
        painter.setPen(label.palette().color(QPalette::WindowText));
        const int wrap = label.wordWrap() ? Qt::TextWordWrap : 0;
        const QRect room(0, 0, label.wordWrap() ? label.width() : whole.width(), whole.height());
        painter.drawText(room, int(label.alignment() & Qt::AlignHorizontal_Mask) | wrap,
                         label.text());
    }
    const QRect a = Ink(shown, ground);
    const QRect b = Ink(whole, ground);
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (shown.pixel(a.topLeft() + QPoint(x, y)) !=
                whole.pixel(b.topLeft() + QPoint(x, y))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace tamlo::testing
