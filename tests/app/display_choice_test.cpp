// Which platforms start-up asks the toolkit for, and the one line a player reads when none opens.
#include "app/core/display_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace tamlo {
namespace {

const std::string kChoose = "; unset QT_QPA_PLATFORM to let the game choose";
const std::string kNoPlugin = "the toolkit's Wayland plugin is missing (install qt6-wayland)";

// A Wayland session goes through XWayland first unless the player chose; an X11 session, or the
// player's choice, is left to the toolkit. The message blames what is missing, not DISPLAY.
TEST(DisplayChoiceTest, WaylandSessionsGoThroughXWaylandAndTheMessageNamesWhatIsMissing) {
    // The session, the platforms asked for, the message after "tamlo-qt350: cannot open ".
    const std::tuple<SessionFacts, std::string, std::string> cases[] = {
        {{"", "", "", "", true, true},
         "",
         "an X11 or Wayland display (DISPLAY is not set); run it from a desktop session or set "
         "DISPLAY"},
        {{"", "", "wayland-1", "", true, false},
         "xcb;wayland",
         "a display in this Wayland session: XWayland is not running (DISPLAY is not set), and " +
             kNoPlugin},
        {{"", ":0", "", "wayland", true, true},
         "xcb;wayland",
         "a display in this Wayland session: XWayland cannot be reached (DISPLAY=:0), and the "
         "Wayland display cannot be reached (WAYLAND_DISPLAY is not set)"},
        {{"", ":0", "w", "", false, true},
         "xcb;wayland",
         "a display in this Wayland session: the toolkit's X11 plugin is missing (install "
         "libqt6gui6), and the Wayland display cannot be reached (WAYLAND_DISPLAY=w)"},
        {{"wayland", ":0", "wayland-1", "", true, false},
         "",
         "a display on the platform QT_QPA_PLATFORM=wayland: " + kNoPlugin + kChoose},
        {{"wayland-egl:opt;xcb", "", "w", "", true, true},
         "",
         "a display on the platform QT_QPA_PLATFORM=wayland-egl:opt;xcb: the Wayland display "
         "cannot be reached (WAYLAND_DISPLAY=w); no X11 display is named (DISPLAY is not set)" +
             kChoose},
        {{"xcb:nograb", ":9", "", "", true, true},
         "",
         "a display on the platform QT_QPA_PLATFORM=xcb:nograb: the X11 display cannot be "
         "reached (DISPLAY=:9)" +
             kChoose},
        {{"minimal", ":0", "", "", true, true},
         "",
         "a display on the platform QT_QPA_PLATFORM=minimal: it opens no desktop window" + kChoose},
    };
    for (const auto& [facts, platforms, message] : cases) {
        const DisplayChoice choice(facts);
        EXPECT_EQ(choice.Platforms(), platforms) << message;
        EXPECT_EQ(choice.FailureMessage(), "tamlo-qt350: cannot open " + message);
    }
}

} // namespace
} // namespace tamlo
