// Looks at the running game from outside for the test script, and stands in for the tool that
// System Info starts (no arguments: leaves "<its own path>.ran" holding its command line).
//   probe layout game|about    checks a window against its design table; prints name=text
//   probe click <control>      prints the screen position of a game window control's centre
//   probe box                  prints the message box's controls, "icon" after an icon
#include "ui/about/core/app_info.h"
#include "ui/about/core/frm_about_design.h"
#include "ui/common/win32/win_form.h"
#include "ui/main_window/core/frm_tamlo_design.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

using namespace tamlo;

namespace {

int failures = 0;

void Expect(bool ok, const char* control, const char* what, int got, int want) {
    if (!ok) {
        std::printf("FAIL %s %s: %d, want %d\n", control, what, got, want);
        ++failures;
    }
}

HWND Window(const WindowDesign& form) {
    HWND window = FindWindowW(nullptr, WinForm::Wide(form.caption).c_str());
    if (window == nullptr) {
        std::printf("FAIL no window titled %s\n", form.caption);
        std::exit(1);
    }
    return window;
}

std::wstring Text(HWND window) {
    std::wstring text(512, L'\0');
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &length);
    return text.substr(0, length);
}

// A window's rectangle in its parent's client area (on the screen for a top-level window).
RECT Place(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    MapWindowPoints(HWND_DESKTOP, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&place),
                    2);
    return place;
}

// The first and last columns of a window's client area that show a pixel of exactly this colour
// (none: last is -1), and the area's width.
std::array<int, 3> Shown(HWND window, COLORREF colour) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{};
    ClientToScreen(window, &origin);
    const int width = client.right, height = client.bottom;
    HDC screen = GetDC(nullptr), copy = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(copy, CreateCompatibleBitmap(screen, width, height));
    BitBlt(copy, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    std::array<int, 3> shown{width, -1, width};
    for (int i = 0; i < width * height; ++i) {
        if (GetPixel(copy, i % width, i / width) == colour) {
            shown[0] = std::min(shown[0], i % width);
            shown[1] = std::max(shown[1], i % width);
        }
    }
    DeleteObject(SelectObject(copy, previous));
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return shown;
}

// The design at the window's DPI (at 96 dpi, 15 twips to the pixel). The texts the windows write at
// run time are printed for the script to check.
void Layout(const WindowDesign& form) {
    HWND window = Window(form);
    const UINT dpi = GetDpiForSystem(); // Wine gives every window the DPI of its one screen
    const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
    RECT client{};
    GetClientRect(window, &client);
    Expect(client.right == px(form.clientWidth), form.name, "width", client.right,
           px(form.clientWidth));
    Expect(client.bottom == px(form.clientHeight), form.name, "height", client.bottom,
           px(form.clientHeight));
    if (&form == &kFrmAboutDesign) { // centred over the game
        const RECT game = Place(Window(kFrmTamloDesign)), about = Place(window);
        Expect(std::abs(about.left - game.left - (game.right - about.right)) <= 1, "frmAbout",
               "left margin", about.left - game.left, game.right - about.right);
        Expect(std::abs(about.top - game.top - (game.bottom - about.bottom)) <= 1, "frmAbout",
               "top margin", about.top - game.top, game.bottom - about.bottom);
    }
    for (const ControlDesign& row : form.controls) {
        HWND control = GetDlgItem(window, WinForm::Id(form, row));
        if (row.kind == ControlKind::Timer || row.kind == ControlKind::Line ||
            row.kind >= ControlKind::Menu) {
            continue;
        }
        if (control == nullptr || !IsWindowVisible(control)) {
            Expect(false, row.name, "visible", 0, 1);
            continue;
        }
        const RECT place = Place(control);
        const std::wstring text = Text(control);
        std::printf("%s=%ls\n", row.name, text.c_str());
        Expect(place.left == px(row.left), row.name, "left", place.left, px(row.left));
        Expect(place.top == px(row.top), row.name, "top", place.top, px(row.top));
        const int width = place.right - place.left, height = place.bottom - place.top;
        // A label that fits its text has exactly the size of its text in its font.
        RECT fit{0, 0, px(row.width), px(row.height)};
        if (row.sizing != Sizing::Fixed) {
            HDC dc = GetDC(nullptr);
            const HFONT font =
                WinForm::MakeFont(row.font.family != nullptr ? row.font : form.font, dpi);
            const HGDIOBJ previous = SelectObject(dc, font);
            const UINT wrap = row.sizing == Sizing::AutoSize ? DT_SINGLELINE : DT_WORDBREAK;
            DrawTextW(dc, text.c_str(), -1, &fit, DT_CALCRECT | DT_NOPREFIX | wrap);
            DeleteObject(SelectObject(dc, previous));
            ReleaseDC(nullptr, dc);
        }
        // Coloured texts in their colour and font (the ink as wide as the text), centred where so
        // designed; the display's text in the window text colour although disabled; the icon.
        const auto [first, last, across] = Shown(control, row.colour);
        Expect(row.colour == kDefaultColour || text.empty() ||
                   (last >= 0 &&
                    (row.sizing == Sizing::Fixed || std::abs(last - first - fit.right) < 6)),
               row.name, "colour", last - first + 1, fit.right);
        Expect(!row.centred || std::abs(first - (across - 1 - last)) <= 2, row.name, "centring",
               first, across - 1 - last);
        Expect(row.kind != ControlKind::TextBox ||
                   Shown(control, GetSysColor(COLOR_WINDOWTEXT))[1] >= 0,
               row.name, "dark text", 0, 1);
        Expect(row.kind != ControlKind::PictureBox || SendMessageW(control, STM_GETICON, 0, 0) != 0,
               row.name, "icon", 0, 1);
        Expect(width == fit.right, row.name, "width", width, fit.right);
        Expect(height == fit.bottom, row.name, "height", height, fit.bottom);
        const std::string_view written[] = {"txtDisplay", "txtMessage",  "txtLevel", "txtScore",
                                            "txtNoLand",  "txtMissFire", "lblTitle", "lblVersion"};
        Expect(std::ranges::count(written, std::string_view(row.name)) == 1 ||
                   text == WinForm::Wide(row.text),
               row.name, "has its design text", 0, 1);
    }
}

BOOL CALLBACK PrintControl(HWND control, LPARAM /*unused*/) {
    wchar_t windowClass[64] = {};
    GetClassNameW(control, windowClass, 64);
    const bool icon = std::wstring_view(windowClass) == L"Static" &&
                      SendMessageW(control, STM_GETICON, 0, 0) != 0;
    const std::wstring text = Text(control);
    if (IsWindowVisible(control) && (icon || !text.empty())) {
        std::printf("%ls %ls%s\n", windowClass, text.c_str(), icon ? "icon" : "");
    }
    return TRUE;
}

// Stands in for the tool the About window starts: shows the test which file ran, and how.
int Marker() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::FILE* out = std::fopen((std::string(self) + ".ran").c_str(), "wb");
    std::fputs(GetCommandLineA(), out);
    return std::fclose(out);
}

} // namespace

int main(int argc, char** argv) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2); // real pixels
    const std::string command = argc > 1 ? argv[1] : "";
    if (command.empty()) {
        return Marker();
    }
    if (command == "layout") {
        Layout(std::string_view(argv[2]) == "about" ? kFrmAboutDesign : kFrmTamloDesign);
    } else if (command == "click") {
        HWND control = GetDlgItem(Window(kFrmTamloDesign),
                                  WinForm::Id(kFrmTamloDesign, kFrmTamloDesign.Control(argv[2])));
        RECT place{};
        GetWindowRect(control, &place);
        std::printf("%ld %ld\n", (place.left + place.right) / 2, (place.top + place.bottom) / 2);
    } else if (command == "box") {
        HWND box = FindWindowW(nullptr, WinForm::Wide(AppInfo::Title).c_str());
        EnumChildWindows(box, PrintControl, 0);
    }
    return failures == 0 ? 0 : 1;
}
