#pragma once

#include <QAccessibleWidget>

#include <functional>

namespace tamlo {

// What assistive technology gets of a control whose toolkit default does not say what it is: the
// game window as a window, the message line as a notification, the "About" label as something to
// press, a line as a separator, the About window's texts as a heading and paragraphs. A label
// keeps its visible text as its name.
class AccessibleControl final : public QAccessibleWidget {
public:
    // Gives control this role, and a press action that runs press when one is given. The press
    // runs from the event loop, so that assistive technology gets its answer at once even when
    // the press opens a modal window.
    static void Attach(QWidget& control, QAccessible::Role role, std::function<void()> press = {});
    // Has a screen reader speak text, the new state of source, now, wherever the keyboard focus
    // is: through a status line of source's window that is never shown, so that the reader
    // speaks the text alone.
    static void Announce(QWidget& source, const QString& text);
    // Tells a screen reader that its attention belongs on control, which cannot take the keyboard
    // focus itself: it then reads control and what control says of itself as it changes. Told
    // from the event loop, after the toolkit has reported the keyboard focus.
    static void ReportFocus(QWidget& control);

    QString text(QAccessible::Text type) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    AccessibleControl(QWidget& control, QAccessible::Role role, std::function<void()> press);

    std::function<void()> press_;
};

} // namespace tamlo
