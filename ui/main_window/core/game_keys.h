#pragma once

#include "engine/game_engine.h"

namespace tamlo {

// Windows virtual-key codes of the keys the game reacts to.
enum VirtualKey : int {
    VK_None = 0,
    VK_Escape = 27,
    VK_Left = 37,
    VK_Down = 40,
    VK_R = 82,
};

// The game window's keys: Left aims and Down fires while play is not paused or over, R starts a
// new game at any time, Esc closes the window; modifiers are never consulted, so the caller passes
// the key code alone. Every front end's key handler routes through here.
class GameKeys {
public:
    // Runs the key's action; true when the key asks to close the game window.
    static bool KeyDown(GameEngine& engine, int keyCode);
};

} // namespace tamlo
