#include "app/core/display_choice.h"

#include <algorithm>
#include <utility>

namespace tamlo {
namespace {

const std::string kPrefix = "tamlo-qt350: ";

std::string Named(const char* variable, const std::string& value) {
    return value.empty() ? std::string(variable) + " is not set"
                         : std::string(variable) + "=" + value;
}

} // namespace

DisplayChoice::DisplayChoice(SessionFacts facts) : facts_(std::move(facts)) {}

bool DisplayChoice::WaylandSession() const {
    return !facts_.waylandDisplay.empty() || facts_.sessionType == "wayland";
}

std::string DisplayChoice::Platforms() const {
    if (!facts_.chosenPlatform.empty() || !WaylandSession()) {
        return {};
    }
    return "xcb;wayland";
}

std::string DisplayChoice::X11Reason() const {
    if (!facts_.x11Plugin) {
        return "the toolkit's X11 plugin is missing (install libqt6gui6)";
    }
    if (facts_.display.empty()) {
        return "no X11 display is named (DISPLAY is not set)";
    }
    return "the X11 display cannot be reached (" + Named("DISPLAY", facts_.display) + ")";
}

std::string DisplayChoice::WaylandReason() const {
    if (!facts_.waylandPlugin) {
        return "the toolkit's Wayland plugin is missing (install qt6-wayland)";
    }
    return "the Wayland display cannot be reached (" +
           Named("WAYLAND_DISPLAY", facts_.waylandDisplay) + ")";
}

std::string DisplayChoice::FailureMessage() const {
    if (!facts_.chosenPlatform.empty()) {
        return kPrefix +
               "cannot open a display on the platform QT_QPA_PLATFORM=" + facts_.chosenPlatform +
               ": " + ChosenReasons() + "; unset QT_QPA_PLATFORM to let the game choose";
    }
    if (!WaylandSession()) {
        return kPrefix + "cannot open an X11 or Wayland display (" +
               Named("DISPLAY", facts_.display) + "); run it from a desktop session or set DISPLAY";
    }
    const std::string xwayland =
        !facts_.x11Plugin        ? X11Reason()
        : facts_.display.empty() ? "XWayland is not running (DISPLAY is not set)"
                                 : "XWayland cannot be reached (DISPLAY=" + facts_.display + ")";
    return kPrefix + "cannot open a display in this Wayland session: " + xwayland + ", and " +
           WaylandReason();
}

std::string DisplayChoice::ChosenReasons() const {
    // A list of platforms, each perhaps with options: "wayland;xcb", "xcb:nograb".
    const std::string& chosen = facts_.chosenPlatform;
    std::string reasons;
    for (std::size_t start = 0; start <= chosen.size();) {
        const std::size_t end = std::min(chosen.find(';', start), chosen.size());
        const std::string entry = chosen.substr(start, end - start);
        const std::string name = entry.substr(0, entry.find(':'));
        const std::string reason = name == "xcb"                 ? X11Reason()
                                   : name.starts_with("wayland") ? WaylandReason()
                                                                 : std::string();
        if (!reason.empty()) {
            reasons += (reasons.empty() ? "" : "; ") + reason;
        }
        start = end + 1;
    }
    return reasons.empty() ? "it opens no desktop window" : reasons;
}

} // namespace tamlo
