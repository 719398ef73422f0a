#include "ui/common/win32/win_form.h"

#include "ui/common/win32/message_loop.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

namespace tamlo {

WinForm::~WinForm() {
    for (const Ticker& ticker : timers_) {
        loop_->Remove(*ticker.timer);
    }
    for (const Item& item : items_) {
        DeleteObject(item.font);
        DeleteObject(item.brush);
    }
    for (HMENU menu : menus_) {
        DestroyMenu(menu);
    }
}

void WinForm::Build(HWND window, MessageLoop& loop) {
    loop_ = &loop;
    for (const ControlDesign& row : design_.controls) {
        Make(window, row);
    }
    MakeTabOrder();
}

void WinForm::Make(HWND window, const ControlDesign& row) {
    const wchar_t* windowClass = L"STATIC";
    DWORD style = 0;
    DWORD exStyle = 0;
    switch (row.kind) {
    case ControlKind::Timer: {
        auto& ticker = timers_.emplace_back(Ticker{&row, std::make_unique<WaitTimer>()});
        ticker.timer->SetInterval(row.interval);
        ticker.timer->SetEnabled(row.enabled);
        loop_->Add(*ticker.timer);
        return;
    }
    case ControlKind::Menu:
        menus_.push_back(CreatePopupMenu());
        return;
    case ControlKind::MenuItem: // an item of the menu above it in the table
        AppendMenuW(menus_.back(), MF_STRING, static_cast<UINT_PTR>(Id(design_, row)),
                    Wide(row.text).c_str());
        return;
    case ControlKind::TextBox:
        windowClass = L"EDIT";
        style = row.enabled ? 0 : WS_DISABLED;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Label:
        style = SS_NOPREFIX;
        style |= row.sizing == Sizing::AutoSize ? SS_LEFTNOWORDWRAP
                 : row.centred                  ? SS_CENTER
                                                : SS_LEFT;
        break;
    case ControlKind::Button:
        windowClass = L"BUTTON";
        style = (row.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
        break;
    case ControlKind::PictureBox:
        style = SS_ICON | SS_CENTERIMAGE;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Line:
        break; // an empty static text, filled with the line's colour
    }
    HWND control = CreateWindowExW(exStyle, windowClass, Wide(row.text).c_str(),
                                   style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id(design_, row))),
                                   GetWindowInstance(window), nullptr);
    const HBRUSH brush = row.kind == ControlKind::Line ? CreateSolidBrush(row.colour) : nullptr;
    items_.push_back({&row, control, nullptr, brush});
}

void WinForm::MakeTabOrder() const {
    std::vector<const Item*> stops;
    for (const Item& item : items_) {
        if ((GetWindowStyle(item.window) & WS_TABSTOP) != 0) {
            stops.push_back(&item);
        }
    }
    std::ranges::sort(stops, {}, [](const Item* item) { return item->row->tabIndex; });
    // The dialog keys move the focus in window order; the first stop starts the group.
    HWND previous = nullptr;
    for (const Item* stop : stops) {
        if (previous == nullptr) {
            SetWindowLongPtrW(stop->window, GWL_STYLE, GetWindowStyle(stop->window) | WS_GROUP);
        } else {
            SetWindowPos(stop->window, previous, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        previous = stop->window;
    }
}

HWND WinForm::Control(std::string_view name, int arrayIndex) const {
    const ControlDesign* row = &design_.Control(name, arrayIndex);
    for (const Item& item : items_) {
        if (item.row == row) {
            return item.window;
        }
    }
    throw std::logic_error(std::string(design_.name) + " made no window " + row->name);
}

WaitTimer& WinForm::Timer(std::string_view name) const {
    const ControlDesign* row = &design_.Control(name);
    for (const Ticker& ticker : timers_) {
        if (ticker.row == row) {
            return *ticker.timer;
        }
    }
    throw std::logic_error(std::string(design_.name) + " made no timer " + row->name);
}

const WinForm::Item* WinForm::Find(HWND control) const {
    for (const Item& item : items_) {
        if (item.window == control) {
            return &item;
        }
    }
    return nullptr;
}

HFONT WinForm::MakeFont(const FontDesign& font, UINT dpi) {
    // The faces the designs name, as Windows has them. "MS Sans Serif" is a bitmap face in a few
    // pixel sizes that GDI cannot scale to 125%, 150% or 200%; "Microsoft Sans Serif" is the
    // scalable TrueType face of the same design. Where a face is missing, the system's fallback
    // is of the same kind: a fixed-pitch face for the display, so every character is one place.
    struct Face {
        std::string_view design;
        const wchar_t* windows;
        BYTE pitchAndFamily;
    };
    static constexpr Face kFaces[] = {
        {"MS Sans Serif", L"Microsoft Sans Serif", VARIABLE_PITCH | FF_SWISS},
        {"Courier New", L"Courier New", FIXED_PITCH | FF_MODERN},
    };
    const auto* face = std::ranges::find(kFaces, std::string_view(font.family), &Face::design);
    const std::wstring family = face != std::end(kFaces) ? face->windows : Wide(font.family);
    const BYTE pitchAndFamily =
        face != std::end(kFaces) ? face->pitchAndFamily : DEFAULT_PITCH | FF_DONTCARE;
    // A negative height asks for the character height, which is what a point size measures.
    return CreateFontW(-MulDiv(font.centipoints, static_cast<int>(dpi), kCentipointsPerInch), 0, 0,
                       0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitchAndFamily,
                       family.c_str());
}

void WinForm::Layout(UINT dpi) {
    dpi_ = dpi;
    for (Item& item : items_) {
        Place(item);
        FitToText(item);
    }
}

void WinForm::Place(Item& item) const {
    const ControlDesign& row = *item.row;
    const int left = Pixels(row.left, dpi_);
    const int top = Pixels(row.top, dpi_);
    if (row.kind == ControlKind::Line) {
        // Both ends are on the line; its width is in pixels at 96 dpi.
        SetWindowPos(item.window, nullptr, left, top, Pixels(row.left + row.width, dpi_) + 1 - left,
                     MulDiv(row.lineWidth, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const HFONT old = item.font;
    item.font = MakeFont(row.font.family != nullptr ? row.font : design_.font, dpi_);
    SetWindowPos(item.window, nullptr, left, top, Pixels(row.width, dpi_), Pixels(row.height, dpi_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowFont(item.window, item.font, TRUE);
    DeleteObject(old);
    if (row.kind == ControlKind::TextBox) {
        // A new font brings the edit's own margins, half a character on each side, which leave
        // the display too little room for its eight characters: it keeps one pixel inside its
        // frame, as the Linux window does, in whole pixels at this DPI.
        const auto margin = static_cast<WORD>(dpi_ / USER_DEFAULT_SCREEN_DPI);
        SendMessageW(item.window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(margin, margin));
    }
}

void WinForm::SetText(HWND control, std::string_view text) const {
    SetWindowTextW(control, Wide(text).c_str());
    if (const Item* item = Find(control)) {
        FitToText(*item);
    }
}

void WinForm::FitToText(const Item& item) const {
    if (item.row->sizing == Sizing::Fixed) {
        return;
    }
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item.window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(item.window, text.data(), static_cast<int>(text.size()))));
    HDC dc = GetDC(item.window);
    const HGDIOBJ previous = SelectObject(dc, item.font);
    const SIZE size = TextSize(dc, text, *item.row, dpi_);
    SelectObject(dc, previous);
    ReleaseDC(item.window, dc);
    SetWindowPos(item.window, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE WinForm::TextSize(HDC dc, std::wstring_view text, const ControlDesign& row, UINT dpi) {
    const int width = Pixels(row.width, dpi);
    RECT bounds{0, 0, width, 0};
    UINT format = DT_CALCRECT | DT_NOPREFIX;
    format |= row.sizing == Sizing::AutoSize ? DT_SINGLELINE : DT_WORDBREAK;
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &bounds, format);
    if (row.sizing == Sizing::WrapHeight) {
        return {width, bounds.bottom};
    }
    // A glyph may reach past its advance (a bold "t" does by a pixel): the label takes that in
    // too, so the last character is drawn whole.
    ABC last{};
    if (!text.empty() && GetCharABCWidthsW(dc, text.back(), text.back(), &last) && last.abcC < 0) {
        bounds.right -= last.abcC;
    }
    return {bounds.right, bounds.bottom};
}

HBRUSH WinForm::ControlColour(HWND window, HDC dc, HWND control) const {
    const HBRUSH brush = FORWARD_WM_CTLCOLORSTATIC(window, dc, control, DefWindowProcW);
    const Item* item = Find(control);
    if (item == nullptr) {
        return brush;
    }
    if (item->brush != nullptr) {
        return item->brush;
    }
    if (item->row->colour != kDefaultColour) {
        SetTextColor(dc, item->row->colour); // the table's 0x00BBGGRR is a COLORREF
    }
    return brush;
}

SIZE WinForm::FrameSize(DWORD style, DWORD exStyle, UINT dpi) const {
    RECT frame{0, 0, Pixels(design_.clientWidth, dpi), Pixels(design_.clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

RECT WinForm::CentredFrame(DWORD style, DWORD exStyle, const RECT& area) const {
    const auto [width, height] = FrameSize(style, exStyle, dpi_);
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    return {left, top, left + width, top + height};
}

std::wstring WinForm::Wide(std::string_view text) {
    std::wstring wide(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length));
    return wide;
}

} // namespace tamlo
