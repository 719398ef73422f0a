#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tamlo {

// A window's design as data: the window and every control with the settings it is created with.
// Both front ends build their windows from these tables, row by row, so a position, a text or a
// colour is written once. Positions and sizes are in twips (1/1440 inch, 15 to the pixel at
// 96 dpi) from the top-left corner of the client area; colours are 0x00BBGGRR.

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kCentipointsPerInch = 7200;
inline constexpr std::uint32_t kDefaultColour = 0xFFFFFFFF; // the toolkit's own colour

struct FontDesign {
    const char* family = nullptr; // nullptr: the window's own font
    int centipoints = 0;          // 2025 is 20.25 points
    bool bold = false;
};

// What a row becomes: a timer, an edit box, a static text, a push button, a picture in a sunken
// box, a line drawn on the window, a menu that is never shown and an item of the menu above it.
enum class ControlKind { Timer, TextBox, Label, Button, PictureBox, Line, Menu, MenuItem };

enum class Sizing {
    Fixed,      // keeps its size and breaks its text at word boundaries
    AutoSize,   // one line; always exactly the size of its text
    WrapHeight, // keeps its width; the height follows the wrapped text
};

struct ControlDesign {
    const char* name = "";
    ControlKind kind = ControlKind::Label;
    // A line runs from (left, top) to (left + width, top + height).
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    const char* text = "";
    FontDesign font{};
    std::uint32_t colour = kDefaultColour;
    Sizing sizing = Sizing::Fixed;
    bool centred = false;
    bool enabled = true;
    bool isDefault = false; // buttons: the one Enter presses
    int interval = 0;       // timers: milliseconds
    int tabIndex = -1;      // the focus order of the controls that take it
    int lineWidth = 0;      // lines and sunken borders: pixels
    int arrayIndex = -1;    // members of a control array
};

struct WindowDesign {
    const char* name = "";
    const char* caption = "";
    int clientWidth = 0; // twips
    int clientHeight = 0;
    FontDesign font{};
    std::span<const ControlDesign> controls;

    // The row of that name (of an array: the member of that index, else the first). A name that
    // is not in the table is a mistake in the program: it throws, so the window that asks for it
    // cannot even open, and never drives another control instead.
    constexpr const ControlDesign& Control(std::string_view controlName,
                                           int arrayIndex = -1) const {
        for (const ControlDesign& control : controls) {
            if (controlName == control.name &&
                (arrayIndex < 0 || control.arrayIndex == arrayIndex)) {
                return control;
            }
        }
        throw std::out_of_range(std::string(name) + " has no control " + std::string(controlName));
    }
    // The row's place in the table.
    constexpr int Index(const ControlDesign& row) const {
        return static_cast<int>(&row - controls.data());
    }
};

// Device-independent pixels at 96 dpi, the unit of the desktop toolkit.
constexpr int TwipsToPixels(int twips) {
    return twips * 96 / kTwipsPerInch;
}
constexpr int CentipointsToPixels(int centipoints) {
    return (centipoints * 96 + kCentipointsPerInch / 2) / kCentipointsPerInch;
}

} // namespace tamlo
