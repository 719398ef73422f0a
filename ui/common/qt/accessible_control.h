#pragma once

#include <QAccessibleWidget>

#include <functional>

namespace tamlo {

// What assistive technology gets of a control whose toolkit default does not say what it is: the
// game window as a window, the message line as a notification a screen reader speaks when a new
// message appears, the "About" label as something to press, a line as a separator. A label keeps
// its visible text as its name.
class AccessibleControl final : public QAccessibleWidget {
public:
    // Gives control this role, and a press action that runs press when one is given. The press
    // runs from the event loop, so that assistive technology gets its answer at once even when
    // the press opens a modal window.
    static void Attach(QWidget& control, QAccessible::Role role, std::function<void()> press = {});
    // Tells a screen reader to speak the control now, wherever the keyboard focus is.
    static void Announce(QWidget& control);

    QString text(QAccessible::Text type) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    AccessibleControl(QWidget& control, QAccessible::Role role, std::function<void()> press);

    std::function<void()> press_;
};

} // namespace tamlo
