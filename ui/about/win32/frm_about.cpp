#include "ui/about/win32/frm_about.h"

#include "resources/win32_icons.h"
#include "ui/about/core/app_info.h"
#include "ui/about/core/sys_info_launcher.h"
#include "ui/about/win32/win_launcher_platform.h"
#include "ui/common/win32/accessible_control.h"
#include "ui/common/win32/message_loop.h"

#include <windowsx.h>

namespace tamlo {
namespace {

const WindowDesign& kDesign = kFrmAboutDesign;

} // namespace

void frmAbout::ShowModal(HWND owner, MessageLoop& loop) {
    frmAbout about(owner, loop);
    // A dialog without controls: the window builds its own from the design table.
    struct alignas(DWORD) Blank {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } blank{};
    blank.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    blank.dialog.dwExtendedStyle = WS_EX_DLGMODALFRAME;
    HWND dialog = CreateDialogIndirectParamW(GetWindowInstance(owner), &blank.dialog, owner,
                                             DialogProc, reinterpret_cast<LPARAM>(&about));
    if (dialog == nullptr) {
        return; // no About window: the game goes on as before
    }
    EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    loop.RunModal(dialog);
}

frmAbout::frmAbout(HWND owner, MessageLoop& loop) : owner_(owner), loop_(loop), icons_(IDI_ABOUT) {}

frmAbout::~frmAbout() {
    DestroyIcon(programIcon_);
}

INT_PTR CALLBACK frmAbout::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
    }
    auto* self = reinterpret_cast<frmAbout*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return FALSE;
    }
    switch (message) {
        HANDLE_MSG(hwnd, WM_INITDIALOG, self->OnInitDialog);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, self->OnCtlColorStatic);
        HANDLE_MSG(hwnd, WM_TIMER, self->OnTimer);
    // OK and the close box destroy the window: handled, so the dialog's own handling of the
    // message does not go on with a window that is gone.
    case WM_COMMAND:
        HANDLE_WM_COMMAND(hwnd, wParam, lParam, self->OnCommand);
        return TRUE;
    case WM_CLOSE:
        self->OnClose(hwnd);
        return TRUE;
    case WM_DPICHANGED:
        self->OnDpiChanged(hwnd, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_GETDPISCALEDSIZE:
        *reinterpret_cast<SIZE*>(lParam) = self->OnGetDpiScaledSize(static_cast<UINT>(wParam));
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE); // the dialog's answer: the size is given
        return TRUE;
    case WM_ENTERSIZEMOVE:
    case WM_ENTERMENULOOP:
        // Dragging this window and its system menu run loops of their own: the game goes on.
        MessageLoop::EnterSystemLoop(hwnd);
        return FALSE;
    case WM_EXITSIZEMOVE:
    case WM_EXITMENULOOP:
        MessageLoop::LeaveSystemLoop(hwnd);
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL frmAbout::OnInitDialog(HWND hwnd, HWND /*focus*/, LPARAM /*param*/) {
    hwnd_ = hwnd;
    SetWindowTextW(hwnd, WinForm::Wide(kDesign.caption).c_str());

    // Only the buttons take the focus, OK first.
    form_.Build(hwnd, loop_);
    AccessibleControl::Attach(form_.Control("picIcon"),
                              {.name = L"Program icon", .role = ROLE_SYSTEM_GRAPHIC});
    Layout(GetDpiForWindow(hwnd));
    RECT owner{};
    GetWindowRect(owner_, &owner);
    const RECT frame = form_.CentredFrame(GetWindowStyle(hwnd), GetWindowExStyle(hwnd), owner);
    SetWindowPos(hwnd, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Form_Load();
    return TRUE; // the focus goes to the first button
}

void frmAbout::Layout(UINT dpi) {
    form_.Layout(dpi);
    icons_.Set(hwnd_, dpi);
    // The program's picture fills the box inside its sunken border.
    HWND picIcon = form_.Control("picIcon");
    RECT inside{};
    GetClientRect(picIcon, &inside);
    const HICON previous = programIcon_;
    programIcon_ =
        static_cast<HICON>(LoadImageW(GetWindowInstance(hwnd_), MAKEINTRESOURCEW(IDI_PICTURE),
                                      IMAGE_ICON, inside.right, inside.bottom, 0));
    Static_SetIcon(picIcon, programIcon_);
    DestroyIcon(previous);
    // An etched groove: the white line a pixel below the grey one.
    const ControlDesign& white = kDesign.Control("Line1", 0);
    SetWindowPos(form_.Control("Line1", 0), nullptr, WinForm::Pixels(white.left, dpi),
                 WinForm::Pixels(white.top, dpi) +
                     MulDiv(1, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmAbout::Form_Load() {
    form_.SetText(form_.Control("lblVersion"), AppInfo::VersionText());
    form_.SetText(form_.Control("lblTitle"), AppInfo::Title);
}

void frmAbout::OnCommand(HWND /*hwnd*/, int id, HWND control, UINT /*code*/) {
    // Esc comes as IDCANCEL: OK is also the cancel button.
    if (id == IDCANCEL || control == form_.Control("cmdOK")) {
        cmdOK_Click();
    } else if (control == form_.Control("cmdSysInfo")) {
        cmdSysInfo_Click();
    }
}

HBRUSH frmAbout::OnCtlColorStatic(HWND hwnd, HDC dc, HWND control, int /*type*/) {
    return form_.ControlColour(hwnd, dc, control);
}

void frmAbout::OnTimer(HWND /*hwnd*/, UINT /*id*/) {
    loop_.RunDueTicks();
}

void frmAbout::OnClose(HWND /*hwnd*/) {
    // The close box unloads the window without pressing OK.
    Unload();
}

SIZE frmAbout::OnGetDpiScaledSize(UINT dpi) const {
    // The design's size at the new scale, not the frame scaled from the old one.
    return form_.FrameSize(GetWindowStyle(hwnd_), GetWindowExStyle(hwnd_), dpi);
}

void frmAbout::OnDpiChanged(HWND hwnd, UINT dpi, const RECT& suggested) {
    Layout(dpi);
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmAbout::cmdOK_Click() {
    Unload();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    // The message box runs a loop of the system's own.
    MessageLoop::EnterSystemLoop(hwnd_);
    WinLauncherPlatform platform(hwnd_);
    SysInfoLauncher(platform).StartSysInfo();
    MessageLoop::LeaveSystemLoop(hwnd_);
}

void frmAbout::Unload() {
    // The owner takes input again before the dialog goes, so it is the window activated next.
    EnableWindow(owner_, TRUE);
    DestroyWindow(hwnd_);
}

} // namespace tamlo
