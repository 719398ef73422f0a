#pragma once

#include "ui/common/core/form_spec.h"

#include <QColor>
#include <QFont>
#include <QRect>

class QLabel;
class QWidget;

namespace tamlo {

// Builds Qt windows from their design tables. Twips become device-independent pixels and point
// sizes pixel sizes at 96 dpi, so that text and layout scale together on dense screens.
class QtForm {
public:
    static QRect Geometry(const ControlSpec& control);
    // The table's font; a row without a family of its own takes the window's.
    static QFont Font(const FontSpec& spec, const QFont& windowFont);
    static QColor Colour(std::uint32_t bgr);

    // Object name, title, fixed client size and font of the window itself.
    static void SetUpWindow(QWidget& window, const FormSpec& form);
    // A label as its row gives it: name, text, font, colour, alignment, wrapping and size. Like
    // every plain label of the toolkit, it never takes the focus and offers no context menu.
    static QLabel* MakeLabel(QWidget& window, const ControlSpec& control);
    // An auto-size label takes exactly the size of its current text, keeping its top-left corner.
    static void FitToText(QLabel& label);
};

} // namespace tamlo
