#pragma once

#include "ui/common/core/window_design.h"
#include "ui/common/win32/wait_timer.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tamlo {

class MessageLoop;

// The controls of one Win32 window, made from its design table row by row and laid out at the
// window's DPI: twips and points become pixels with MulDiv, so the window measures the same in
// inches on every screen and its text is drawn at the screen's own resolution.
class WinForm {
public:
    // A control's id is this plus its row's place in the table, so a row is found from its window.
    static constexpr int kFirstControlId = 100;
    // The id of the control (or menu item) made from that row.
    static int Id(const WindowDesign& design, const ControlDesign& row) {
        return kFirstControlId + design.Index(row);
    }

    explicit WinForm(const WindowDesign& design) : design_(design) {}
    ~WinForm();
    WinForm(const WinForm&) = delete;
    WinForm& operator=(const WinForm&) = delete;

    // Creates every row in table order: timers that tick in loop, edit boxes, static texts, push
    // buttons (tab stops by tab index), sunken icons, lines as strips of their colour, and popup
    // menus with their items. Layout then gives the controls their places.
    void Build(HWND window, MessageLoop& loop);

    // What was made from the row of that name (of an array: that index). A name that is not in
    // the table is a mistake in the program, and so is asking for a row of another kind: both
    // throw.
    HWND Control(std::string_view name, int arrayIndex = -1) const;
    WaitTimer& Timer(std::string_view name) const;
    int Id(std::string_view name) const { return Id(design_, design_.Control(name)); }

    // Gives every control its place, size and font at this DPI.
    void Layout(UINT dpi);
    UINT Dpi() const { return dpi_; }
    // Sets a control's text; an auto-size label then takes exactly the size of the new text.
    void SetText(HWND control, std::string_view text) const;
    // WM_CTLCOLORSTATIC: the window's default colours and brush, and the row's own text colour;
    // a line's own colour.
    HBRUSH ControlColour(HWND window, HDC dc, HWND control) const;

    // The size of a window with this style whose client area is the design's at dpi.
    SIZE FrameSize(DWORD style, DWORD exStyle, UINT dpi) const;
    // The frame of a window with this style whose client area is the design's, centred on area.
    RECT CentredFrame(DWORD style, DWORD exStyle, const RECT& area) const;

    static int Pixels(int twips, UINT dpi) {
        return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
    }
    // The design's face at its point size, as Windows has it.
    static HFONT MakeFont(const FontDesign& font, UINT dpi);
    // The size a label that fits its text takes for text in the font selected into dc.
    static SIZE TextSize(HDC dc, std::wstring_view text, const ControlDesign& row, UINT dpi);
    static std::wstring Wide(std::string_view text);

private:
    struct Item {
        const ControlDesign* row;
        HWND window;
        HFONT font;
        HBRUSH brush; // lines: their colour
    };
    struct Ticker {
        const ControlDesign* row;
        std::unique_ptr<WaitTimer> timer;
    };

    void Make(HWND window, const ControlDesign& row);
    void MakeTabOrder() const;
    const Item* Find(HWND control) const;
    void Place(Item& item) const;
    void FitToText(const Item& item) const;

    const WindowDesign& design_;
    MessageLoop* loop_ = nullptr;
    std::vector<Item> items_;
    std::vector<Ticker> timers_;
    std::vector<HMENU> menus_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
};

} // namespace tamlo
