// A move to a screen of another scale, which Wine never makes: both windows are sent what Windows
// sends then. Each must ask for the design's size at the new DPI and take the icons drawn for the
// new sizes; the display keeps its margin in whole pixels.
#include "tests/win32/expect.h"
#include "ui/about/core/frm_about_design.h"
#include "ui/common/win32/message_loop.h"
#include "ui/common/win32/win_form.h"
#include "ui/main_window/core/frm_tamlo_design.h"
#include "ui/main_window/win32/frm_tamlo.h"

#include <windows.h>

#include <cstdio>

using namespace tamlo;

namespace {

int IconSide(HWND window, WPARAM which) {
    const auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
    ICONINFO info{};
    BITMAP bitmap{};
    if (icon != nullptr && GetIconInfo(icon, &info)) {
        GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    return bitmap.bmWidth;
}

// What Windows does on the move: asks the window the size it wants at dpi, then gives it the DPI
// and a rectangle of that size.
void MoveToDpi(HWND window, const WindowDesign& design, UINT dpi) {
    SIZE size{};
    SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size));
    RECT frame{0, 0, WinForm::Pixels(design.clientWidth, dpi),
               WinForm::Pixels(design.clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, GetWindowLongW(window, GWL_STYLE), FALSE,
                             GetWindowLongW(window, GWL_EXSTYLE), dpi);
    Expect(size.cx == frame.right - frame.left, design.name, "width asked", size.cx,
           frame.right - frame.left);
    Expect(size.cy == frame.bottom - frame.top, design.name, "height asked", size.cy,
           frame.bottom - frame.top);
    RECT suggested{0, 0, size.cx, size.cy};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    const int big = GetSystemMetricsForDpi(SM_CXICON, dpi);
    const int small = GetSystemMetricsForDpi(SM_CXSMICON, dpi);
    Expect(IconSide(window, ICON_BIG) == big, design.name, "big icon", IconSide(window, ICON_BIG),
           big);
    Expect(IconSide(window, ICON_SMALL) == small, design.name, "small icon",
           IconSide(window, ICON_SMALL), small);
}

// Runs in the About window's loop: moves it, then closes it.
void CALLBACK MoveAbout(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    HWND about = FindWindowW(nullptr, WinForm::Wide(kFrmAboutDesign.caption).c_str());
    if (about == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    MoveToDpi(about, kFrmAboutDesign, 144);
    PostMessageW(about, WM_CLOSE, 0, 0);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    MessageLoop loop;
    FrmTamlo game(instance, loop);
    HWND window = FindWindowW(nullptr, WinForm::Wide(kFrmTamloDesign.caption).c_str());
    MoveToDpi(window, kFrmTamloDesign, 192);
    HWND display =
        GetDlgItem(window, WinForm::Id(kFrmTamloDesign, kFrmTamloDesign.Control("txtDisplay")));
    const LRESULT margins = SendMessageW(display, EM_GETMARGINS, 0, 0);
    Expect(LOWORD(margins) == 2 && HIWORD(margins) == 2, "txtDisplay", "margins at 192 dpi",
           LOWORD(margins), 2);
    // The About command opens the window and returns once MoveAbout has closed it.
    SetTimer(nullptr, 0, 10, MoveAbout);
    SendMessageW(window, WM_COMMAND,
                 WinForm::Id(kFrmTamloDesign, kFrmTamloDesign.Control("mnuAbout")), 0);
    DestroyWindow(window);
    std::printf("%s\n", Failures() == 0 ? "PASS: a change of DPI" : "FAIL: a change of DPI");
    return Failures() == 0 ? 0 : 1;
}
