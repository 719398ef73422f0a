#pragma once

#include "ui/common/core/form_spec.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tamlo {

// The controls of one Win32 window, made from its design table and laid out at the window's DPI:
// twips and points become pixels with MulDiv, so the window measures the same in inches on every
// screen and its text is drawn at the screen's own resolution.
class WinForm {
public:
    // A control's id is this plus its row's place in the table, so a row is found from its window.
    static constexpr int kFirstControlId = 100;

    explicit WinForm(const FormSpec& design) : design_(design) {}
    ~WinForm();
    WinForm(const WinForm&) = delete;
    WinForm& operator=(const WinForm&) = delete;

    // Creates the child window of the row of that name with the row's text.
    HWND Add(HWND parent, const char* name, const wchar_t* windowClass, DWORD style,
             DWORD exStyle = 0);
    HWND Control(const char* name) const;
    // The id of the control (or menu item) made from that row.
    int Id(const ControlSpec& row) const {
        return kFirstControlId + static_cast<int>(&row - design_.controls.data());
    }
    // The row a control was made from; nullptr for any other window.
    const ControlSpec* Row(HWND control) const;

    // Gives every control its place, size and font at this DPI.
    void Layout(UINT dpi);
    UINT Dpi() const { return dpi_; }
    // Sets a control's text; an auto-size label then takes exactly the size of the new text.
    void SetText(HWND control, std::string_view text) const;
    // WM_CTLCOLORSTATIC: the window's default colours and brush, and the row's own text colour.
    HBRUSH ControlColour(HWND window, HDC dc, HWND control) const;

    // The frame of a window with this style whose client area is the design's, centred on area.
    RECT CentredFrame(DWORD style, DWORD exStyle, const RECT& area) const;

    static int Pixels(int twips, UINT dpi) {
        return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
    }
    static HFONT MakeFont(const FontSpec& font, UINT dpi);
    static std::wstring Wide(std::string_view text);

private:
    struct Item {
        const ControlSpec* row;
        HWND window;
        HFONT font;
    };

    const Item* Find(HWND control) const;
    void FitToText(const Item& item) const;

    const FormSpec& design_;
    std::vector<Item> items_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
};

} // namespace tamlo
