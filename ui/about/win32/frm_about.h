#pragma once

#include "ui/about/core/frm_about_design.h"
#include "ui/common/win32/win_form.h"

#include <windows.h>

namespace tamlo {

class MessageLoop;

// The About window: the program icon, title and version, where the source lives, the licence, an
// OK button and the System Info button. A dialog owned by the game window and modal over it;
// every opening builds it afresh.
class frmAbout {
public:
    // Opens a fresh About window over owner and returns when it has closed. It runs the program's
    // message loop meanwhile, so the owner's timers tick on behind it.
    static void ShowModal(HWND owner, MessageLoop& loop);

    ~frmAbout();
    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

private:
    frmAbout(HWND owner, MessageLoop& loop) : owner_(owner), loop_(loop) {}

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog(HWND hwnd, HWND focus, LPARAM param);
    void OnCommand(HWND hwnd, int id, HWND control, UINT code);
    HBRUSH OnCtlColorStatic(HWND hwnd, HDC dc, HWND control, int type);
    void OnTimer(HWND hwnd, UINT id);
    void OnClose(HWND hwnd);
    void OnDpiChanged(HWND hwnd, UINT dpi, const RECT& suggested);

    void Layout(UINT dpi);
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();
    void Unload();

    HWND owner_;
    MessageLoop& loop_;
    HWND hwnd_ = nullptr;
    WinForm form_{kFrmAboutDesign};
    HICON programIcon_ = nullptr;
};

} // namespace tamlo
