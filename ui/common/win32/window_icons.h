#pragma once

#include <windows.h>

namespace tamlo {

// A window's big and small icons (Alt+Tab and the task bar, the title bar), each loaded from one
// of the program's icon resources at the size the window's DPI asks for, so that the system shows
// the image drawn for that size rather than a resample of another.
class WindowIcons {
public:
    explicit WindowIcons(int resource) : resource_(resource) {}
    ~WindowIcons();
    WindowIcons(const WindowIcons&) = delete;
    WindowIcons& operator=(const WindowIcons&) = delete;

    // Gives window its icons for dpi; again after each change of DPI.
    void Set(HWND window, UINT dpi);

private:
    int resource_;
    HICON big_ = nullptr;
    HICON small_ = nullptr;
};

} // namespace tamlo
