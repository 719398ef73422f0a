#include "ui/main_window/win32/display_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string_view>

namespace tamlo {
namespace {

// Apart from the edit's own timer (0, while the mouse drags a selection).
constexpr UINT_PTR kFrameTimer = 0x7444;

} // namespace

DisplayBox::~DisplayBox() {
    Detach();
}

void DisplayBox::Attach(HWND edit) {
    edit_ = edit;
    text_.assign(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text_.resize(static_cast<std::size_t>(
        GetWindowTextW(edit, text_.data(), static_cast<int>(text_.size()))));
    SetWindowSubclass(edit, Proc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void DisplayBox::Detach() {
    if (edit_ != nullptr) {
        KillTimer(edit_, kFrameTimer);
        RemoveWindowSubclass(edit_, Proc, 0);
        edit_ = nullptr;
    }
}

LRESULT CALLBACK DisplayBox::Proc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR /*id*/, DWORD_PTR self) {
    auto& box = *reinterpret_cast<DisplayBox*>(self);
    switch (message) {
    case WM_SETTEXT:
        box.SetText(reinterpret_cast<const wchar_t*>(lParam));
        return TRUE;
    case WM_GETTEXT:
        return box.GetText(wParam, reinterpret_cast<wchar_t*>(lParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(box.text_.size());
    case WM_PAINT:
        box.Paint();
        return 0;
    case WM_TIMER:
        if (wParam != kFrameTimer) {
            break;
        }
        KillTimer(edit, kFrameTimer);
        InvalidateRect(edit, nullptr, FALSE);
        return 0;
    case WM_NCDESTROY:
        box.Detach();
        break;
    default:
        // Whoever asks the edit itself about its text (its line, its length, a selection) gets
        // the line shown.
        if (message >= EM_GETSEL && message <= EM_GETIMESTATUS) {
            box.SyncEdit();
        }
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

void DisplayBox::SetText(const wchar_t* text) {
    const std::wstring_view line = text != nullptr ? text : L"";
    if (line == text_) {
        return;
    }
    text_ = line;
    editStale_ = true;
    PaintSoon();
}

LRESULT DisplayBox::GetText(std::size_t room, wchar_t* buffer) const {
    if (room == 0 || buffer == nullptr) {
        return 0;
    }
    const std::size_t length = std::min(room - 1, text_.size());
    std::copy_n(text_.data(), length, buffer);
    buffer[length] = L'\0';
    return static_cast<LRESULT>(length);
}

// A frame after the last drawing at the soonest; the drawing shows the line of its own moment,
// so every change on the way to it is covered.
void DisplayBox::PaintSoon() {
    if (paintDue_) {
        return;
    }
    paintDue_ = true;
    const Clock::duration since = Clock::now() - painted_;
    if (since >= kFrame) {
        InvalidateRect(edit_, nullptr, FALSE);
    } else {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(kFrame - since);
        SetTimer(edit_, kFrameTimer, static_cast<UINT>(wait.count()), nullptr);
    }
}

// A disabled edit draws its text in the system's grey, too faint to read the game by: the display
// draws its text in the window text colour and leaves the rest, its frame included, to the edit.
void DisplayBox::Paint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(edit_, &paint);
    RECT inside{};
    GetClientRect(edit_, &inside);
    FillRect(dc, &inside, FORWARD_WM_CTLCOLORSTATIC(GetParent(edit_), dc, edit_, SendMessageW));
    const HFONT previous = SelectFont(dc, GetWindowFont(edit_));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    // Asked of the edit beneath, whose margins need no up-to-date text.
    inside.left += LOWORD(DefSubclassProc(edit_, EM_GETMARGINS, 0, 0));
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &inside,
              DT_SINGLELINE | DT_NOPREFIX);
    SelectFont(dc, previous);
    EndPaint(edit_, &paint);
    painted_ = Clock::now();
    if (paintDue_) {
        KillTimer(edit_, kFrameTimer);
        paintDue_ = false;
    }
}

void DisplayBox::SyncEdit() {
    if (editStale_) {
        editStale_ = false;
        DefSubclassProc(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text_.c_str()));
    }
}

} // namespace tamlo
