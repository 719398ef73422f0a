// Looks at the running game from outside for the test script, one command a run (main lists them:
// "probe layout game", "probe click txtAbout"...), and stands in for the tool that System Info
// starts (no arguments: leaves "<its own path>.ran" holding its command line). A check that fails
// prints "FAIL ..." and the exit status is 1.
#include "tests/win32/picture.h"
#include "ui/about/core/app_info.h"
#include "ui/about/core/frm_about_design.h"
#include "ui/common/win32/message_loop.h"
#include "ui/common/win32/win_form.h"
#include "ui/main_window/core/frm_tamlo_design.h"
#include "ui/main_window/win32/frm_tamlo.h"

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <ranges>
#include <set>
#include <string>
#include <string_view>
#include <vector>

using namespace tamlo;

namespace {

int failures = 0;

// A failed check is printed for the test script, which shows it, and counted for the exit status.
void Expect(bool ok, const char* control, const char* what, long got, long want) {
    if (!ok) {
        std::printf("FAIL %s %s: %ld, want %ld\n", control, what, got, want);
        ++failures;
    }
}

// Two numbers at once (a width and a height, say), each within slack of the one wanted.
void Expect(const char* control, const char* what, SIZE got, SIZE want, LONG slack = 0) {
    if (std::abs(got.cx - want.cx) > slack || std::abs(got.cy - want.cy) > slack) {
        std::printf("FAIL %s %s: %ld %ld, want %ld %ld\n", control, what, got.cx, got.cy, want.cx,
                    want.cy);
        ++failures;
    }
}

HWND Window(const char* caption) {
    HWND window = FindWindowW(nullptr, WinForm::Wide(caption).c_str());
    if (window == nullptr) {
        std::printf("FAIL no window titled %s\n", caption);
        std::exit(1);
    }
    return window;
}

HWND GameControl(std::string_view name) {
    const ControlDesign& row = kFrmTamloDesign.Control(name);
    return GetDlgItem(Window(kFrmTamloDesign.caption), WinForm::Id(kFrmTamloDesign, row));
}

// The rows that make a control of their own on the screen: the kinds from TextBox to PictureBox.
bool OnScreen(const ControlDesign& row) {
    return row.kind > ControlKind::Timer && row.kind < ControlKind::Line;
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

HFONT Font(const ControlDesign& row, const WindowDesign& form, UINT dpi) {
    return WinForm::MakeFont(row.font.family != nullptr ? row.font : form.font, dpi);
}

// What measure(dc) finds with the screen's DC in the font the row's control shows its text in.
template <class Measure>
auto InFont(const ControlDesign& row, const WindowDesign& form, UINT dpi, Measure measure) {
    HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, Font(row, form, dpi));
    const auto found = measure(dc);
    DeleteObject(SelectObject(dc, previous));
    ReleaseDC(nullptr, dc);
    return found;
}

// A label's (or the display's) text on the screen beside it drawn here with room to spare: a cut
// text shows less ink. Returns how far right of its place here the text stands on the screen.
int ExpectWhole(HWND control, const Picture& shown, const ControlDesign& row,
                const WindowDesign& form, UINT dpi, const std::wstring& text) {
    if ((row.kind != ControlKind::Label && row.kind != ControlKind::TextBox) || text.empty()) {
        return 0;
    }
    const HFONT font = Font(row, form, dpi);
    const bool oneLine = row.sizing == Sizing::AutoSize || row.kind == ControlKind::TextBox;
    const UINT format = DT_NOPREFIX | (oneLine ? DT_SINGLELINE : DT_WORDBREAK) |
                        (row.centred ? DT_CENTER : DT_LEFT);
    const COLORREF ink = row.colour != kDefaultColour ? row.colour : GetSysColor(COLOR_WINDOWTEXT);
    RECT box{}; // the screen may show less of it
    GetClientRect(control, &box);
    const SIZE room{box.right * (oneLine ? 2 : 1), box.bottom * 4};
    const Picture whole = Picture::Drawn(text, font, ink, shown.Ground(), room, format);
    DeleteObject(font);
    Expect(shown.SameInk(whole), row.name, "text shown whole, ink wide",
           shown.Ink().right - shown.Ink().left, whole.Ink().right - whole.Ink().left);
    return shown.Ink().left - whole.Ink().left;
}

// A control as screen readers see it.
IAccessible* Accessible(HWND control) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                               reinterpret_cast<void**>(&object));
    if (object == nullptr) {
        std::printf("FAIL control %d has no accessible object\n", GetDlgCtrlID(control));
        std::exit(1);
    }
    return object;
}
constexpr VARIANT kSelf{{{VT_I4, 0, 0, 0, {.lVal = CHILDID_SELF}}}};

std::wstring Read(IAccessible* object,
                  HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR text = nullptr;
    (object->*get)(kSelf, &text);
    std::wstring read = text != nullptr ? text : L"";
    SysFreeString(text);
    return read;
}

// A control's name, role, value, states and default action, in the system's words.
void PrintAccessible(const char* name, IAccessible* object) {
    VARIANT role{}, state{};
    object->get_accRole(kSelf, &role);
    object->get_accState(kSelf, &state);
    wchar_t roleText[64] = {}, stateText[64] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), roleText, 64);
    std::wstring states;
    for (DWORD bit = 1; bit != 0; bit <<= 1) {
        if ((static_cast<DWORD>(state.lVal) & bit) != 0 && GetStateTextW(bit, stateText, 64)) {
            states += (states.empty() ? L"" : L",") + std::wstring(stateText);
        }
    }
    std::printf("acc %s name=%ls role=%ls value=%ls state=%ls action=%ls\n", name,
                Read(object, &IAccessible::get_accName).c_str(), roleText,
                Read(object, &IAccessible::get_accValue).c_str(), states.c_str(),
                Read(object, &IAccessible::get_accDefaultAction).c_str());
    object->Release();
}

// The design at the window's DPI (15 twips a pixel at 96 dpi); the run-time texts are printed.
void Layout(const WindowDesign& form) {
    HWND window = Window(form.caption);
    const UINT dpi = GetDpiForSystem(); // Wine gives every window the DPI of its one screen
    const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
    RECT client{};
    GetClientRect(window, &client);
    Expect(form.name, "width, height", {client.right, client.bottom},
           {px(form.clientWidth), px(form.clientHeight)});
    if (&form == &kFrmAboutDesign) { // centred over the game: left and top margins as the others
        const RECT game = Place(Window(kFrmTamloDesign.caption)), about = Place(window);
        Expect("frmAbout", "margins", {about.left - game.left, about.top - game.top},
               {game.right - about.right, game.bottom - about.bottom}, 1);
    }
    for (const ControlDesign& row : form.controls | std::views::filter(OnScreen)) {
        HWND control = GetDlgItem(window, WinForm::Id(form, row));
        Expect(IsWindowVisible(control), row.name, "visible", 0, 1);
        const RECT place = Place(control);
        const std::wstring text = Text(control);
        std::printf("%s=%ls\n", row.name, text.c_str());
        PrintAccessible(row.name, Accessible(control));
        const Picture shown = Picture::Grab(control);
        ExpectWhole(control, shown, row, form, dpi, text);
        Expect(row.name, "left, top", {place.left, place.top}, {px(row.left), px(row.top)});
        // A label that fits its text has exactly the size of its text in its font.
        const SIZE fit = row.sizing == Sizing::Fixed
                             ? SIZE{px(row.width), px(row.height)}
                             : InFont(row, form, dpi, [&](HDC dc) {
                                   return WinForm::TextSize(dc, text, row, dpi);
                               });
        // Texts centred where so designed (their colour and font are those ExpectWhole draws
        // them in, the display's the window text colour although it is disabled); the icon.
        const RECT ink = shown.Ink();
        Expect(!row.centred || text.empty() ||
                   std::abs(ink.left - (shown.Width() - ink.right)) <= 2,
               row.name, "centring", ink.left, shown.Width() - ink.right);
        Expect(row.kind != ControlKind::PictureBox || SendMessageW(control, STM_GETICON, 0, 0) != 0,
               row.name, "icon", 0, 1);
        Expect(row.name, "size", {place.right - place.left, place.bottom - place.top}, fit);
        const std::string_view written[] = {"txtDisplay", "txtMessage",  "txtLevel", "txtScore",
                                            "txtNoLand",  "txtMissFire", "lblTitle", "lblVersion"};
        Expect(std::ranges::count(written, std::string_view(row.name)) == 1 ||
                   text == WinForm::Wide(row.text),
               row.name, "has its design text", 0, 1);
    }
}

// The display, an invader in its last place, whole on the screen in a face whose every character
// is as wide as the next, so the invaders move one place per tick.
void Display() {
    const ControlDesign& row = kFrmTamloDesign.Control("txtDisplay");
    HWND display = GameControl(row.name);
    std::wstring text;
    Picture shown;
    const auto full = [&text] { return text.size() == 8 && text[7] != L' '; };
    // A new game's row is full after six ticks; a picture counts if the text outlasted it.
    for (int wait = 0; wait < 200 && !(full() && Text(display) == text); ++wait) {
        text = Text(display);
        Sleep(100); // painted
        shown = Picture::Grab(display);
    }
    Expect(full(), "txtDisplay", "an invader in the last place", 0, 1);
    const UINT dpi = GetDpiForSystem();
    const int left = ExpectWhole(display, shown, row, kFrmTamloDesign, dpi, text);
    const auto [pitch, advance] = InFont(row, kFrmTamloDesign, dpi, [&](HDC dc) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return std::pair(metrics.tmPitchAndFamily, extent.cx);
    });
    const int right = shown.Width() - left - advance;
    // TMPF_FIXED_PITCH set means a face of varying widths.
    Expect((pitch & TMPF_FIXED_PITCH) == 0, "txtDisplay", "fixed pitch", 0, 1);
    Expect(left >= 0 && right >= 0, "txtDisplay", "text inside the box, right margin", right, 0);
}

// An icon group of a program file, as Explorer reads it: the 14-byte entries after 6 of header.
BOOL CALLBACK PrintIcons(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR /*unused*/) {
    const auto* group = static_cast<const BYTE*>(
        LockResource(LoadResource(module, FindResourceW(module, name, type))));
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    std::printf("icon %d:", static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = group + 6 + i * 14; // width and height first, 0 for 256
        std::printf(" %dx%d", entry[0] == 0 ? 256 : entry[0], entry[1] == 0 ? 256 : entry[1]);
    }
    std::printf("\n");
    return TRUE;
}

void File(const char* path) {
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EnumResourceNamesW(module, RT_GROUP_ICON, PrintIcons, 0);
    FreeLibrary(module);
    std::vector<char> version(GetFileVersionInfoSizeA(path, nullptr));
    GetFileVersionInfoA(path, 0, static_cast<DWORD>(version.size()), version.data());
    void* value = nullptr;
    UINT length = 0;
    VerQueryValueA(version.data(), "\\StringFileInfo\\040904B0\\LegalCopyright", &value, &length);
    std::printf("LegalCopyright=%.*s\n", static_cast<int>(length), static_cast<const char*>(value));
}

BOOL CALLBACK PrintControl(HWND control, LPARAM /*unused*/) {
    wchar_t windowClass[64] = {};
    GetClassNameW(control, windowClass, 64);
    const bool icon = SendMessageW(control, STM_GETICON, 0, 0) != 0; // no other class answers it
    const std::wstring text = Text(control);
    if (IsWindowVisible(control) && (icon || !text.empty())) {
        std::printf("%ls %ls%s\n", windowClass, text.c_str(), icon ? "icon" : "");
    }
    return TRUE;
}

std::set<std::wstring> awaited;

// "alert|live|value <control> <its name, or value>", read at once, as a screen reader does.
void CALLBACK Heard(HWINEVENTHOOK /*hook*/, DWORD event, HWND control, LONG id, LONG child,
                    DWORD /*thread*/, DWORD /*time*/) {
    const wchar_t* kind = event == EVENT_SYSTEM_ALERT               ? L"alert"
                          : event == EVENT_OBJECT_LIVEREGIONCHANGED ? L"live"
                          : event == EVENT_OBJECT_VALUECHANGE       ? L"value"
                                                                    : nullptr;
    IAccessible* object = nullptr;
    VARIANT self{};
    if (kind == nullptr || id != OBJID_CLIENT ||
        FAILED(AccessibleObjectFromEvent(control, id, child, &object, &self))) {
        return;
    }
    const auto index = static_cast<std::size_t>(GetDlgCtrlID(control) - WinForm::kFirstControlId);
    const auto& rows = kFrmTamloDesign.controls;
    const std::wstring line =
        std::wstring(kind) + L" " + WinForm::Wide(index < rows.size() ? rows[index].name : "?") +
        L" " +
        Read(object, event == EVENT_OBJECT_VALUECHANGE ? &IAccessible::get_accValue
                                                       : &IAccessible::get_accName);
    object->Release();
    std::printf("heard %ls\n", line.c_str());
    std::fflush(stdout);
    if (awaited.erase(line) == 1 && awaited.empty()) {
        PostQuitMessage(0);
    }
}

// Prints what a screen reader hears of the game, until every line is heard or a minute passes.
void Hear(int count, char** lines) {
    for (int i = 0; i < count; ++i) {
        awaited.insert(WinForm::Wide(lines[i]));
    }
    DWORD process = 0;
    GetWindowThreadProcessId(Window(kFrmTamloDesign.caption), &process);
    SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, Heard, process, 0,
                    WINEVENT_OUTOFCONTEXT); // Heard keeps the three kinds it knows
    std::printf("hooked\n");
    std::fflush(stdout);
    SetTimer(nullptr, 0, 60000, nullptr);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) && msg.message != WM_TIMER) {
        DispatchMessageW(&msg);
    }
    for (const std::wstring& line : awaited) {
        std::printf("FAIL not heard: %ls\n", line.c_str());
        ++failures;
    }
}

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

// A move to a screen of another scale as Windows makes it (Wine never does): the window must ask
// for the design's size at dpi, and take the icons drawn for the new sizes once it has the DPI.
void MoveToDpi(HWND window, const WindowDesign& design, UINT dpi) {
    SIZE size{};
    SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size));
    RECT frame{0, 0, WinForm::Pixels(design.clientWidth, dpi),
               WinForm::Pixels(design.clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, GetWindowLongW(window, GWL_STYLE), FALSE,
                             GetWindowLongW(window, GWL_EXSTYLE), dpi);
    Expect(design.name, "size asked", size, {frame.right - frame.left, frame.bottom - frame.top});
    RECT suggested{0, 0, size.cx, size.cy};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Expect(design.name, "big, small icon",
           {IconSide(window, ICON_BIG), IconSide(window, ICON_SMALL)},
           {GetSystemMetricsForDpi(SM_CXICON, dpi), GetSystemMetricsForDpi(SM_CXSMICON, dpi)});
}

// Runs in the About window's loop: moves it, then closes it.
void CALLBACK MoveAbout(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    HWND about = FindWindowW(nullptr, WinForm::Wide(kFrmAboutDesign.caption).c_str());
    if (about != nullptr) {
        KillTimer(nullptr, timer);
        MoveToDpi(about, kFrmAboutDesign, 144);
        PostMessageW(about, WM_CLOSE, 0, 0);
    }
}

// Both windows of a game of its own moved to another DPI; the display keeps its margin in whole
// pixels. The About command opens its window and returns once MoveAbout has closed it.
void DpiChange() {
    MessageLoop loop;
    FrmTamlo game(GetModuleHandleW(nullptr), loop);
    HWND window = Window(kFrmTamloDesign.caption);
    MoveToDpi(window, kFrmTamloDesign, 192);
    const LRESULT margins = SendMessageW(GameControl("txtDisplay"), EM_GETMARGINS, 0, 0);
    Expect("txtDisplay", "margins at 192 dpi", {LOWORD(margins), HIWORD(margins)}, {2, 2});
    SetTimer(nullptr, 0, 10, MoveAbout);
    SendMessageW(window, WM_COMMAND,
                 WinForm::Id(kFrmTamloDesign, kFrmTamloDesign.Control("mnuAbout")), 0);
    DestroyWindow(window);
}

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
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // for screen readers' objects
    if (command.empty()) {
        return Marker();
    }
    if (command == "layout") {
        Layout(std::string_view(argv[2]) == "about" ? kFrmAboutDesign : kFrmTamloDesign);
    } else if (command == "click") {
        RECT place{};
        GetWindowRect(GameControl(argv[2]), &place);
        std::printf("%ld %ld\n", (place.left + place.right) / 2, (place.top + place.bottom) / 2);
    } else if (command == "text") {
        std::printf("%ls\n", Text(GameControl(argv[2])).c_str());
    } else if (command == "display") {
        Display();
    } else if (command == "sysmenu") { // as Alt+Space opens it
        PostMessageW(Window(kFrmAboutDesign.caption), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    } else if (command == "file") {
        File(argv[2]);
    } else if (command == "press") {
        IAccessible* object = Accessible(GameControl(argv[2]));
        const HRESULT done = object->accDoDefaultAction(kSelf);
        Expect(SUCCEEDED(done), argv[2], "default action done", done, S_OK);
        object->Release();
    } else if (command == "hear") {
        Hear(argc - 2, argv + 2);
    } else if (command == "dpi") {
        DpiChange();
    } else if (command == "box") {
        EnumChildWindows(Window(AppInfo::Title), PrintControl, 0);
    }
    return failures == 0 ? 0 : 1;
}
