#pragma once

#include <windows.h>

#include <chrono>
#include <string>

namespace tamlo {

// The calculator display: a disabled edit control that shows its line in the window text colour
// and keeps that line itself. At the fastest march the line changes every 2 ms, far more often
// than a screen shows a new picture, and an edit control's own handling of each new text is
// slow where the system's is emulated (under Wine it and a drawing take most of a 2 ms tick). So
// the box answers for its text (WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH) without the edit, and
// draws at most once a screen frame, always ending on the latest line. The edit's own copy of the
// text is brought up to date only when something asks the edit itself (its EM_ messages).
class DisplayBox {
public:
    DisplayBox() = default;
    ~DisplayBox();
    DisplayBox(const DisplayBox&) = delete;
    DisplayBox& operator=(const DisplayBox&) = delete;

    // Takes over edit, with the text it has.
    void Attach(HWND edit);

private:
    static LRESULT CALLBACK Proc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR self);
    // Every change of the displayed line comes here, whoever sets the text.
    void SetText(const wchar_t* text);
    LRESULT GetText(std::size_t room, wchar_t* buffer) const;
    void PaintSoon();
    void Paint();
    void SyncEdit();
    void Detach();

    using Clock = std::chrono::steady_clock;
    // A screen frame at 60 Hz: a player sees nothing that changes faster.
    static constexpr Clock::duration kFrame = std::chrono::milliseconds(16);

    HWND edit_ = nullptr;
    std::wstring text_;
    bool editStale_ = false;    // the edit's own copy is an older line
    bool paintDue_ = false;     // the line shown is an older one; a drawing is on its way
    Clock::time_point painted_; // when the box was last drawn
};

} // namespace tamlo
