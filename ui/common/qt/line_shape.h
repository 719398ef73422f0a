#pragma once

#include <QColor>
#include <QWidget>

namespace tamlo {

// A straight horizontal line of a given colour and width, drawn from its left edge to its right.
class LineShape final : public QWidget {
public:
    LineShape(QColor colour, int width, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

} // namespace tamlo
