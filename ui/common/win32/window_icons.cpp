#include "ui/common/win32/window_icons.h"

#include <windowsx.h>

namespace tamlo {
namespace {

HICON Load(HWND window, int resource, int metric, UINT dpi) {
    const int side = GetSystemMetricsForDpi(metric, dpi);
    return static_cast<HICON>(LoadImageW(GetWindowInstance(window), MAKEINTRESOURCEW(resource),
                                         IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
}

} // namespace

WindowIcons::~WindowIcons() {
    DestroyIcon(big_);
    DestroyIcon(small_);
}

void WindowIcons::Set(HWND window, UINT dpi) {
    // The window holds the icons it is given: the old ones go once it has the new.
    const HICON big = big_, small = small_;
    big_ = Load(window, resource_, SM_CXICON, dpi);
    small_ = Load(window, resource_, SM_CXSMICON, dpi);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_));
    DestroyIcon(big);
    DestroyIcon(small);
}

} // namespace tamlo
