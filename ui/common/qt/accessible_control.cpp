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

void AccessibleControl::Announce(QWidget& source, const QString& text) {
    // A notification that shows itself is what screen readers speak without a focus change; in
    // a status bar it is spoken without its role. The reader asks for the text after the event,
    // so each source keeps a notification of its own: a miss followed at once by a march step
    // is still heard as the miss and then the row.
    QWidget& window = *source.window();
    const auto direct = Qt::FindDirectChildrenOnly;
    auto* status = window.findChild<QWidget*>(QStringLiteral("announcements"), direct);
    if (status == nullptr) {
        status = new QWidget(&window);
        status->setObjectName(QStringLiteral("announcements"));
        status->hide();
        Attach(*status, QAccessible::StatusBar);
    }
    const QString name = source.objectName() + QStringLiteral("Announcement");
    auto* announcement = status->findChild<QWidget*>(name, direct);
    if (announcement == nullptr) {
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
