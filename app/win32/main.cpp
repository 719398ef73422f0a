// Start-up on Windows: the game window is the program; closing it ends the message loop.
#include "ui/common/win32/message_loop.h"
#include "ui/main_window/win32/frm_tamlo.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    tamlo::MessageLoop loop;
    tamlo::FrmTamlo game(instance, loop);
    game.Show(show);
    return loop.Run();
}
