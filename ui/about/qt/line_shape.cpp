#include "ui/about/qt/line_shape.h"

#include <QPainter>

namespace tamlo {

LineShape::LineShape(QColor colour, int width, QWidget* parent) : QWidget(parent), colour_(colour) {
    setFixedHeight(width);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void LineShape::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
}

} // namespace tamlo
