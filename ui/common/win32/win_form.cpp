#include "ui/common/win32/win_form.h"

#include <windowsx.h>

namespace tamlo {

WinForm::~WinForm() {
    for (const Item& item : items_) {
        DeleteObject(item.font);
    }
}

HWND WinForm::Add(HWND parent, const char* name, const wchar_t* windowClass, DWORD style,
                  DWORD exStyle) {
    const ControlSpec& row = design_.Control(name);
    const int id = Id(row);
    HWND control =
        CreateWindowExW(exStyle, windowClass, Wide(row.text).c_str(), style | WS_CHILD | WS_VISIBLE,
                        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetWindowInstance(parent), nullptr);
    items_.push_back({&row, control, nullptr});
    return control;
}

HWND WinForm::Control(const char* name) const {
    const ControlSpec* row = &design_.Control(name);
    for (const Item& item : items_) {
        if (item.row == row) {
            return item.window;
        }
    }
    return nullptr;
}

const WinForm::Item* WinForm::Find(HWND control) const {
    for (const Item& item : items_) {
        if (item.window == control) {
            return &item;
        }
    }
    return nullptr;
}

const ControlSpec* WinForm::Row(HWND control) const {
    const Item* item = Find(control);
    return item != nullptr ? item->row : nullptr;
}

HFONT WinForm::MakeFont(const FontSpec& font, UINT dpi) {
    // A negative height asks for the character height, which is what a point size measures.
    return CreateFontW(-MulDiv(font.centipoints, static_cast<int>(dpi), kCentipointsPerInch), 0, 0,
                       0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, Wide(font.family).c_str());
}

void WinForm::Layout(UINT dpi) {
    dpi_ = dpi;
    for (Item& item : items_) {
        const ControlSpec& row = *item.row;
        const HFONT old = item.font;
        item.font = MakeFont(row.font.family != nullptr ? row.font : design_.font, dpi);
        SetWindowPos(item.window, nullptr, Pixels(row.left, dpi), Pixels(row.top, dpi),
                     Pixels(row.width, dpi), Pixels(row.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowFont(item.window, item.font, TRUE);
        DeleteObject(old);
        FitToText(item);
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
    RECT bounds{0, 0, Pixels(item.row->width, dpi_), 0};
    UINT format = DT_CALCRECT | DT_NOPREFIX;
    format |= item.row->sizing == Sizing::AutoSize ? DT_SINGLELINE : DT_WORDBREAK;
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item.window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(item.window, text.data(), static_cast<int>(text.size()))));
    HDC dc = GetDC(item.window);
    const HGDIOBJ previous = SelectObject(dc, item.font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, format);
    SelectObject(dc, previous);
    ReleaseDC(item.window, dc);
    if (item.row->sizing == Sizing::WrapHeight) {
        bounds.right = Pixels(item.row->width, dpi_);
    }
    SetWindowPos(item.window, nullptr, 0, 0, bounds.right, bounds.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH WinForm::ControlColour(HWND window, HDC dc, HWND control) const {
    const HBRUSH brush = FORWARD_WM_CTLCOLORSTATIC(window, dc, control, DefWindowProcW);
    const ControlSpec* row = Row(control);
    if (row != nullptr && row->colour != kDefaultColour) {
        SetTextColor(dc, row->colour); // the table's 0x00BBGGRR is a COLORREF
    }
    return brush;
}

RECT WinForm::CentredFrame(DWORD style, DWORD exStyle, const RECT& area) const {
    RECT frame{0, 0, Pixels(design_.clientWidth, dpi_), Pixels(design_.clientHeight, dpi_)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi_);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
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
