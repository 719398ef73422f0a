#include "ui/common/qt/line_shape.h"

#include "ui/common/qt/accessible_control.h"

#include <QPainter>

namespace tamlo {

LineShape::LineShape(QColor colour, int width, QWidget* parent) : QWidget(parent), colour_(colour) {
    setFixedHeight(width);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Part of the separator between the texts and the buttons: nothing to read.
    AccessibleControl::Attach(*this, QAccessible::Separator);
}

void LineShape::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
}

} // namespace tamlo
