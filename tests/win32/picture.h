#pragma once

#include <windows.h>

#include <functional>
#include <string_view>
#include <vector>

// What a text looks like in pixels: taken from the screen where a window shows it, or drawn here
// unclipped in the font and colours the window uses, so the two can be laid side by side.
class Picture {
public:
    Picture() = default;
    // The client area of window as the screen shows it now, as far as its parent's reaches.
    static Picture Grab(HWND window);
    // text drawn with DrawText in this format on a ground of its own colour.
    static Picture Drawn(std::wstring_view text, HFONT font, COLORREF ink, COLORREF ground,
                         SIZE size, UINT format);

    int Width() const { return width_; }
    // The colour most of the picture has.
    COLORREF Ground() const;
    // The smallest rectangle holding every pixel not of the ground's colour; empty if none is.
    RECT Ink() const;
    // Whether both show the same ink, pixel for pixel, wherever it stands in each.
    bool SameInk(const Picture& other) const;

private:
    // The pixels of a size-sized canvas after paint(screen, canvas) has drawn on it, as the
    // COLORREFs (0x00BBGGRR) that GDI speaks.
    Picture(SIZE size, const std::function<void(HDC, HDC)>& paint);
    COLORREF At(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};
