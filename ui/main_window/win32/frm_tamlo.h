#pragma once

#include "engine/clock_random_source.h"
#include "engine/game_engine.h"
#include "engine/game_view.h"
#include "ui/common/win32/win_form.h"
#include "ui/common/win32/window_icons.h"
#include "ui/main_window/core/frm_tamlo_design.h"
#include "ui/main_window/win32/display_box.h"

#include <windows.h>

namespace tamlo {

class MessageLoop;

// The game window on Win32: the calculator display, the status labels, the key legend and the
// "About" label, and the two timers that drive the game. It owns the engine, routes keys and
// timer ticks to it, and shows what the engine writes. Closing it ends the message loop.
class FrmTamlo final : public GameView {
public:
    // Creates the window, hidden, with a new game set up; its timers tick in loop.
    FrmTamlo(HINSTANCE instance, MessageLoop& loop);
    ~FrmTamlo() override;
    FrmTamlo(const FrmTamlo&) = delete;
    FrmTamlo& operator=(const FrmTamlo&) = delete;

    // Shows the window centred on the work area of its screen.
    void Show(int showCommand);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnCreate(HWND hwnd, LPCREATESTRUCT create);
    void OnKeyDown(HWND hwnd, UINT key, BOOL down, int repeats, UINT flags);
    void OnButtonDown(HWND hwnd, BOOL doubleClick, int x, int y, UINT keys);
    void OnCommand(HWND hwnd, int id, HWND control, UINT code);
    HBRUSH OnCtlColorStatic(HWND hwnd, HDC dc, HWND control, int type);
    void OnTimer(HWND hwnd, UINT id);
    void OnDestroy(HWND hwnd);
    void OnDpiChanged(HWND hwnd, UINT dpi, const RECT& suggested);
    SIZE OnGetDpiScaledSize(UINT dpi) const;

    void Form_Load();
    void Form_KeyDown(int keyCode);
    void Form_MouseDown();
    void txtAbout_MouseDown();
    void mnuAbout_Click();

    void SetDisplayText(std::string_view text) override;
    void SetCaption(StatusLabel label, std::string_view text) override;
    void SetTimerEnabled(GameTimer timer, bool enabled) override;
    std::int32_t MarchInterval() const override;
    void SetMarchInterval(std::int32_t milliseconds) override;

    MessageLoop& loop_;
    HWND hwnd_ = nullptr;
    WinForm form_{kFrmTamloDesign};
    WindowIcons icons_;
    // What the window drives, made from its design table.
    WaitTimer* TimerWait_ = nullptr;
    WaitTimer* TimerLevel_ = nullptr;
    HWND txtDisplay_ = nullptr;
    DisplayBox display_; // txtDisplay_'s own behaviour
    HWND txtAbout_ = nullptr;
    int mnuAbout_ = 0;
    ClockRandomSource random_;
    GameEngine engine_;
};

} // namespace tamlo
