#pragma once

#include <string>

namespace tamlo {

// What start-up knows of the desktop session the game is started in.
struct SessionFacts {
    std::string chosenPlatform; // QT_QPA_PLATFORM: the player's own choice, empty for none
    std::string display;        // DISPLAY
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string sessionType;    // XDG_SESSION_TYPE
    bool x11Plugin = true;      // the toolkit's X11 platform plugin is installed
    bool waylandPlugin = false; // the toolkit's Wayland platform plugin is installed
};

// How the game opens its windows. In a Wayland session it goes through XWayland unless the
// player chose a platform: there the compositor's X11 window manager keeps the About window
// above the game and draws the title bar of a fixed-size window with the buttons that work, as
// on an X11 desktop. Natively the toolkit draws that bar itself (a maximize button that does
// nothing, a shortened title) and tells the compositor nothing of the modality. Without XWayland
// the game still starts natively. When no display opens, the message names what is missing.
class DisplayChoice {
public:
    explicit DisplayChoice(SessionFacts facts);

    // The platforms to ask the toolkit for, in order ("xcb;wayland"); empty leaves the choice to
    // the toolkit (an X11 session, or the player's own choice).
    std::string Platforms() const;
    // The one line that says why no display could be opened and what would help.
    std::string FailureMessage() const;

private:
    bool WaylandSession() const;
    std::string ChosenReasons() const;
    std::string X11Reason() const;
    std::string WaylandReason() const;

    SessionFacts facts_;
};

} // namespace tamlo
