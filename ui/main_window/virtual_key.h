#pragma once

class QKeyEvent;

namespace tamlo {

// Windows virtual-key codes of the keys the game reacts to.
enum VirtualKey : int {
    VK_None = 0,
    VK_Escape = 27,
    VK_Left = 37,
    VK_Down = 40,
    VK_R = 82,
};

// The virtual-key code of the physical key behind a key event, whatever the keyboard layout types
// on it, so that R restarts also where that key types a letter of another alphabet.
int VirtualKeyCode(const QKeyEvent& event);

} // namespace tamlo
