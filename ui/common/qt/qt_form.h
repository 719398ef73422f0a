#pragma once

#include "ui/common/core/window_design.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QWidget>

#include <stdexcept>
#include <string>

class QLabel;

namespace tamlo {

// Builds Qt windows from their design tables: every row becomes the object of its kind, named
// after its row, and a window then fetches by name the few it drives. Twips become
// device-independent pixels and point sizes pixel sizes at 96 dpi, so that text and layout scale
// together on dense screens.
class QtForm {
public:
    // Gives the window its object name, title, fixed client size and font, then creates every row
    // in table order: timers (precise, started when enabled), edit boxes, labels, push buttons,
    // sunken picture boxes, lines, and menus with their items; the focus moves by tab index.
    static void Build(QWidget& window, const WindowDesign& design);

    // The object made from the row of that name (of an array: that index). A name that is not
    // in the table, or an object of another class, is a mistake in the program: it throws.
    template <class T>
    static T& Get(const QWidget& window, const WindowDesign& design, std::string_view name,
                  int arrayIndex = -1) {
        const ControlDesign& row = design.Control(name, arrayIndex);
        T* made = window.findChild<T*>(ObjectName(row), Qt::FindDirectChildrenOnly);
        if (made == nullptr) {
            throw std::logic_error(std::string(design.name) + " made no such " + row.name);
        }
        return *made;
    }

    static QRect Geometry(const ControlDesign& control);
    // The table's font; a row without a family of its own takes the window's.
    static QFont Font(const FontDesign& font, const QFont& windowFont);
    static QColor Colour(std::uint32_t bgr);
    // The row's name; a member of a control array adds its index ("Line1_0").
    static QString ObjectName(const ControlDesign& control);

    // An auto-size label takes exactly the size of its current text, keeping its top-left corner.
    static void FitToText(QLabel& label);

private:
    static QObject* Make(QWidget& window, const ControlDesign& control, QObject* menu);
    static void MakeTabOrder(const QWidget& window, const WindowDesign& design);
};

} // namespace tamlo
