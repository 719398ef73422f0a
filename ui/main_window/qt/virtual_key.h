#pragma once

#include "ui/main_window/core/game_keys.h"

class QKeyEvent;

namespace tamlo {

// The virtual-key code of the physical key behind a key event, whatever the keyboard layout types
// on it, so that R restarts also where that key types a letter of another alphabet.
int VirtualKeyCode(const QKeyEvent& event);

} // namespace tamlo
