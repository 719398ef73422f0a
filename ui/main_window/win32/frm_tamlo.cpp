#include "ui/main_window/win32/frm_tamlo.h"

#include "resources/win32_icons.h"
#include "ui/about/win32/frm_about.h"
#include "ui/common/win32/accessible_control.h"
#include "ui/common/win32/message_loop.h"
#include "ui/main_window/core/game_keys.h"

#include <windowsx.h>

#include <string>
#include <utility>

namespace tamlo {
namespace {

const WindowDesign& kDesign = kFrmTamloDesign;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

} // namespace

FrmTamlo::FrmTamlo(HINSTANCE instance, MessageLoop& loop)
    : loop_(loop), icons_(IDI_TAMLO), engine_(*this, random_) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    // Until the window has its own for its DPI: the program icon as drawn for the system's sizes.
    for (auto [icon, metric] :
         {std::pair{&windowClass.hIcon, SM_CXICON}, std::pair{&windowClass.hIconSm, SM_CXSMICON}}) {
        const int side = GetSystemMetrics(metric);
        *icon = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDI_TAMLO), IMAGE_ICON, side, side, LR_SHARED));
    }
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    const std::wstring className = WinForm::Wide(kDesign.name);
    windowClass.lpszClassName = className.c_str();
    RegisterClassExW(&windowClass);
    CreateWindowExW(0, className.c_str(), WinForm::Wide(kDesign.caption).c_str(), kStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                    instance, this);
}

FrmTamlo::~FrmTamlo() = default;

LRESULT CALLBACK FrmTamlo::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FrmTamlo*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
        HANDLE_MSG(hwnd, WM_CREATE, self->OnCreate);
        HANDLE_MSG(hwnd, WM_KEYDOWN, self->OnKeyDown);
        HANDLE_MSG(hwnd, WM_LBUTTONDOWN, self->OnButtonDown);
        HANDLE_MSG(hwnd, WM_RBUTTONDOWN, self->OnButtonDown);
        HANDLE_MSG(hwnd, WM_MBUTTONDOWN, self->OnButtonDown);
        HANDLE_MSG(hwnd, WM_COMMAND, self->OnCommand);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, self->OnCtlColorStatic);
        HANDLE_MSG(hwnd, WM_TIMER, self->OnTimer);
        HANDLE_MSG(hwnd, WM_DESTROY, self->OnDestroy);
    case WM_SYSKEYDOWN:
        // Alt held: the key still counts, and the system keeps Alt+F4 and Alt+Space.
        self->OnKeyDown(hwnd, static_cast<UINT>(wParam), TRUE, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_ENTERSIZEMOVE:
    case WM_ENTERMENULOOP:
        // Moving the window and the system menu run loops of their own: keep the ticks going.
        MessageLoop::EnterSystemLoop(hwnd);
        break;
    case WM_EXITSIZEMOVE:
    case WM_EXITMENULOOP:
        MessageLoop::LeaveSystemLoop(hwnd);
        break;
    case WM_DPICHANGED:
        self->OnDpiChanged(hwnd, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_GETDPISCALEDSIZE:
        *reinterpret_cast<SIZE*>(lParam) = self->OnGetDpiScaledSize(static_cast<UINT>(wParam));
        return TRUE;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

BOOL FrmTamlo::OnCreate(HWND hwnd, LPCREATESTRUCT /*create*/) {
    hwnd_ = hwnd;
    // None of the controls takes the focus: every key goes to the window.
    form_.Build(hwnd, loop_);
    TimerWait_ = &form_.Timer(ControlName(GameTimer::TimerWait));
    TimerLevel_ = &form_.Timer(ControlName(GameTimer::TimerLevel));
    TimerWait_->SetHandler([this] { engine_.TimerWait_Timer(); });
    TimerLevel_->SetHandler([this] { engine_.TimerLevel_Timer(); });
    txtDisplay_ = form_.Control("txtDisplay");
    display_.Attach(txtDisplay_);
    txtAbout_ = form_.Control("txtAbout");
    // The About command's home is a menu that is never shown.
    mnuAbout_ = form_.Id("mnuAbout");
    // To a screen reader "About" is a link whose default action is the About command; like every
    // label it never takes the focus.
    AccessibleControl::Attach(txtAbout_, {.role = ROLE_SYSTEM_LINK,
                                          .states = STATE_SYSTEM_LINKED,
                                          .notStates = STATE_SYSTEM_FOCUSABLE,
                                          .action = L"Jump",
                                          .command = mnuAbout_});
    AccessibleControl::Attach(form_.Control(ControlName(StatusLabel::txtMessage)), {.live = true});
    // To a screen reader the display is "Display", read-only, its value the line it shows.
    AccessibleControl::Attach(
        txtDisplay_, {.name = L"Display", .states = STATE_SYSTEM_READONLY, .textIsValue = true});

    form_.Layout(GetDpiForWindow(hwnd));
    icons_.Set(hwnd, GetDpiForWindow(hwnd));
    Form_Load();
    return TRUE;
}

void FrmTamlo::Show(int showCommand) {
    HMONITOR monitor = MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(monitor, &info);
    const RECT frame = form_.CentredFrame(kStyle, 0, info.rcWork);
    SetWindowPos(hwnd_, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, showCommand);
}

void FrmTamlo::Form_Load() {
    random_.SeedFromClock();
    engine_.NewGame();
}

void FrmTamlo::OnKeyDown(HWND /*hwnd*/, UINT key, BOOL /*down*/, int /*repeats*/, UINT /*flags*/) {
    // Every key-down counts, auto-repeats included; the modifiers are not consulted.
    Form_KeyDown(static_cast<int>(key));
}

void FrmTamlo::Form_KeyDown(int keyCode) {
    if (GameKeys::KeyDown(engine_, keyCode)) {
        DestroyWindow(hwnd_);
    }
}

void FrmTamlo::OnButtonDown(HWND hwnd, BOOL /*doubleClick*/, int x, int y, UINT /*keys*/) {
    // Labels and the disabled display let the mouse through to the window: find which was hit.
    if (ChildWindowFromPoint(hwnd, POINT{x, y}) == txtAbout_) {
        txtAbout_MouseDown();
    } else {
        Form_MouseDown();
    }
}

void FrmTamlo::Form_MouseDown() {}

void FrmTamlo::txtAbout_MouseDown() {
    mnuAbout_Click();
}

void FrmTamlo::OnCommand(HWND hwnd, int id, HWND /*control*/, UINT /*code*/) {
    // While the About window is open the game window takes no input: a screen reader's press on
    // "About" then opens no second one.
    if (id == mnuAbout_ && IsWindowEnabled(hwnd)) {
        mnuAbout_Click();
    }
}

void FrmTamlo::mnuAbout_Click() {
    // A fresh About window, modal; the game's timers tick on behind it.
    frmAbout::ShowModal(hwnd_, loop_);
}

HBRUSH FrmTamlo::OnCtlColorStatic(HWND hwnd, HDC dc, HWND control, int /*type*/) {
    return form_.ControlColour(hwnd, dc, control);
}

void FrmTamlo::OnTimer(HWND /*hwnd*/, UINT /*id*/) {
    loop_.RunDueTicks();
}

void FrmTamlo::OnDestroy(HWND /*hwnd*/) {
    TimerLevel_->SetEnabled(false);
    TimerWait_->SetEnabled(false);
    PostQuitMessage(0);
}

SIZE FrmTamlo::OnGetDpiScaledSize(UINT dpi) const {
    // On a screen of another scale the window takes the design's size at that scale, not its
    // frame scaled from the old one.
    return form_.FrameSize(kStyle, 0, dpi);
}

void FrmTamlo::OnDpiChanged(HWND hwnd, UINT dpi, const RECT& suggested) {
    form_.Layout(dpi);
    icons_.Set(hwnd, dpi);
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmTamlo::SetDisplayText(std::string_view text) {
    form_.SetText(txtDisplay_, text);
    AccessibleControl::ValueChanged(txtDisplay_, WinForm::Wide(text));
}

void FrmTamlo::SetCaption(StatusLabel label, std::string_view text) {
    HWND control = form_.Control(ControlName(label));
    form_.SetText(control, text);
    // A message is spoken as it appears, wherever the reader is.
    if (label == StatusLabel::txtMessage && !text.empty()) {
        AccessibleControl::Announce(control, WinForm::Wide(text));
    }
}

void FrmTamlo::SetTimerEnabled(GameTimer timer, bool enabled) {
    (timer == GameTimer::TimerLevel ? TimerLevel_ : TimerWait_)->SetEnabled(enabled);
}

std::int32_t FrmTamlo::MarchInterval() const {
    return TimerLevel_->Interval();
}

void FrmTamlo::SetMarchInterval(std::int32_t milliseconds) {
    TimerLevel_->SetInterval(milliseconds);
}

} // namespace tamlo
