#pragma once

#include <QAccessibleWidget>

class QLineEdit;

namespace tamlo {

// What assistive technology gets of a text box that shows a line nobody can type into or take the
// focus to: its text, read only, and not editable.
class AccessibleTextBox final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    // Takes the place of the toolkit's interface, which calls every text box editable.
    static void Attach(QLineEdit& box);

    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    using QAccessibleWidget::text;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    explicit AccessibleTextBox(QLineEdit& box);
    QString Line() const;
};

} // namespace tamlo
