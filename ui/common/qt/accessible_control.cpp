#include "ui/common/qt/accessible_control.h"

#include <QLabel>

namespace tamlo {

AccessibleControl::AccessibleControl(QWidget& control, QAccessible::Role role,
                                     std::function<void()> press)
    : QAccessibleWidget(&control, role), press_(std::move(press)) {}

void AccessibleControl::Attach(QWidget& control, QAccessible::Role role,
                               std::function<void()> press) {
    // The toolkit makes a control's default interface as soon as anything about it changes (a
    // label announces every new text); this one takes its place before the window is shown.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&control)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
    QAccessible::registerAccessibleInterface(
        new AccessibleControl(control, role, std::move(press)));
}

void AccessibleControl::Announce(QWidget& window, const QString& text) {
    // A notification that shows itself is what screen readers speak without a focus change; in
    // a status bar it is spoken without its role.
    const QString name = QStringLiteral("announcement");
    auto* announcement = window.findChild<QWidget*>(name);
    if (announcement == nullptr) {
        auto* status = new QWidget(&window);
        status->hide();
        Attach(*status, QAccessible::StatusBar);
        announcement = new QWidget(status);
        announcement->setObjectName(name);
        Attach(*announcement, QAccessible::Notification);
    }
    announcement->setAccessibleName(text);
    QAccessibleEvent event(announcement, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
}

void AccessibleControl::ReportFocus(QWidget& control) {
    QMetaObject::invokeMethod(
        &control,
        [&control] {
            QAccessibleEvent event(&control, QAccessible::Focus);
            QAccessible::updateAccessibility(&event);
        },
        Qt::QueuedConnection);
}

QString AccessibleControl::text(QAccessible::Text type) const {
    const auto* label = qobject_cast<const QLabel*>(widget());
    if (type == QAccessible::Name && label != nullptr && widget()->accessibleName().isEmpty()) {
        return label->text();
    }
    return QAccessibleWidget::text(type);
}

QStringList AccessibleControl::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (press_) {
        names.prepend(pressAction());
    }
    return names;
}

void AccessibleControl::doAction(const QString& actionName) {
    if (press_ && actionName == pressAction()) {
        QMetaObject::invokeMethod(widget(), press_, Qt::QueuedConnection);
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

} // namespace tamlo
