#include "ui/common/qt/accessible_text_box.h"

#include <QLineEdit>

namespace tamlo {

AccessibleTextBox::AccessibleTextBox(QLineEdit& box)
    : QAccessibleWidget(&box, QAccessible::EditableText) {}

void AccessibleTextBox::Attach(QLineEdit& box) {
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&box)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
    QAccessible::registerAccessibleInterface(new AccessibleTextBox(box));
}

QString AccessibleTextBox::Line() const {
    return static_cast<const QLineEdit*>(widget())->text();
}

QAccessible::State AccessibleTextBox::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.selectableText = false;
    return state;
}

void* AccessibleTextBox::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

// Nothing of the line can be selected, and it has no caret: it shows the whole line from its
// start.
void AccessibleTextBox::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}
int AccessibleTextBox::selectionCount() const {
    return 0;
}
void AccessibleTextBox::addSelection(int, int) {}
void AccessibleTextBox::removeSelection(int) {}
void AccessibleTextBox::setSelection(int, int, int) {}
int AccessibleTextBox::cursorPosition() const {
    return 0;
}
void AccessibleTextBox::setCursorPosition(int) {}
void AccessibleTextBox::scrollToSubstring(int, int) {}

QString AccessibleTextBox::text(int startOffset, int endOffset) const {
    return Line().mid(startOffset, endOffset - startOffset);
}

int AccessibleTextBox::characterCount() const {
    return static_cast<int>(Line().size());
}

QRect AccessibleTextBox::characterRect(int) const {
    return rect();
}

int AccessibleTextBox::offsetAtPoint(const QPoint&) const {
    return -1;
}

QString AccessibleTextBox::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

} // namespace tamlo
