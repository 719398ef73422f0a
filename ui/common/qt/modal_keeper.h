#pragma once

#include <QAbstractNativeEventFilter>

namespace tamlo {

// Keeps an open modal window where an X11 window manager keeps it: above the windows it blocks,
// with the keyboard. A Wayland compositor that runs the game through XWayland may hand the focus
// to a blocked window when it is clicked (sway raises it over the modal window too; weston keeps
// the modal window above but gives the keys to the other). Then every key would go to a window
// that ignores it: keys meant for any of the program's windows go to the modal window instead,
// and a modal window found below a window it blocks is mapped anew, which brings it to the top.
class ModalKeeper final : public QAbstractNativeEventFilter {
public:
    // Watches the program's X11 events from now on; does nothing on other platforms.
    static void Install();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
};

} // namespace tamlo
