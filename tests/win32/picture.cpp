#include "tests/win32/picture.h"

#include <algorithm>
#include <map>

Picture::Picture(SIZE size, const std::function<void(HDC, HDC)>& paint)
    : width_(size.cx), height_(size.cy) {
    BITMAPINFO info{}; // 32 bits a pixel, top row first
    info.bmiHeader = {sizeof(info.bmiHeader), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HBITMAP canvas = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(dc, canvas);
    paint(screen, dc);
    GdiFlush();
    const auto* pixel = static_cast<const DWORD*>(bits); // 0x00RRGGBB
    for (int i = 0; i < size.cx * size.cy; ++i) {
        pixels_.push_back(RGB(pixel[i] >> 16 & 0xFF, pixel[i] >> 8 & 0xFF, pixel[i] & 0xFF));
    }
    SelectObject(dc, previous);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

Picture Picture::Drawn(std::wstring_view text, HFONT font, COLORREF ink, COLORREF ground, SIZE size,
                       UINT format) {
    return Picture(size, [&](HDC /*screen*/, HDC dc) {
        const HGDIOBJ previous = SelectObject(dc, font);
        RECT area{0, 0, size.cx, size.cy};
        SetBkColor(dc, ground);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr); // the ground
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ink);
        DrawTextW(dc, text.data(), static_cast<int>(text.size()), &area, format);
        SelectObject(dc, previous);
    });
}

Picture Picture::Grab(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    if (HWND parent = GetAncestor(window, GA_PARENT); parent != GetDesktopWindow()) {
        RECT seen{};
        GetClientRect(parent, &seen);
        MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&seen), 2);
        IntersectRect(&client, &client, &seen);
    }
    const SIZE size{client.right - client.left, client.bottom - client.top};
    return Picture(size, [&](HDC screen, HDC dc) {
        BitBlt(dc, 0, 0, size.cx, size.cy, screen, client.left, client.top, SRCCOPY);
    });
}

COLORREF Picture::Ground() const {
    std::map<COLORREF, int> counts;
    for (const COLORREF colour : pixels_) {
        ++counts[colour];
    }
    return std::ranges::max_element(counts, {}, [](const auto& count) { return count.second; })
        ->first;
}

RECT Picture::Ink() const {
    const COLORREF ground = Ground();
    RECT ink{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (At(x, y) != ground) {
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                       std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
            }
        }
    }
    return ink.right > ink.left ? ink : RECT{};
}

bool Picture::SameInk(const Picture& other) const {
    const RECT mine = Ink(), theirs = other.Ink();
    const LONG width = mine.right - mine.left, height = mine.bottom - mine.top;
    bool same = width == theirs.right - theirs.left && height == theirs.bottom - theirs.top;
    for (int y = 0; same && y < height; ++y) {
        for (int x = 0; same && x < width; ++x) {
            same = At(mine.left + x, mine.top + y) == other.At(theirs.left + x, theirs.top + y);
        }
    }
    return same;
}
