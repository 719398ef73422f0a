#include "ui/main_window/core/game_keys.h"

namespace tamlo {

bool GameKeys::KeyDown(GameEngine& engine, int keyCode) {
    switch (keyCode) {
    case VK_Left:
        if (!engine.State().Waiting) {
            engine.MoveAim();
        }
        return false;
    case VK_Down:
        if (!engine.State().Waiting) {
            engine.Fire();
        }
        return false;
    case VK_R:
        engine.NewGame();
        return false;
    case VK_Escape:
        return true;
    default:
        return false;
    }
}

} // namespace tamlo
