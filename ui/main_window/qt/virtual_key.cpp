#include "ui/main_window/qt/virtual_key.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace tamlo {
namespace {

// The R key of a PC keyboard as X11 and Wayland number it (evdev code 19 plus 8).
constexpr quint32 kXkbKeycodeR = 27;

bool IsPhysicalR(const QKeyEvent& event) {
    const QString platform = QGuiApplication::platformName();
    return (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"))) &&
           event.nativeScanCode() == kXkbKeycodeR;
}

} // namespace

int VirtualKeyCode(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Left:
        return VK_Left;
    case Qt::Key_Down:
        return VK_Down;
    case Qt::Key_Escape:
        return VK_Escape;
    case Qt::Key_R:
        return VK_R;
    default:
        return IsPhysicalR(event) ? VK_R : VK_None;
    }
}

} // namespace tamlo
