// Start-up on Windows: the game window is the program; closing it ends the message loop.
#include "ui/common/win32/message_loop.h"
#include "ui/main_window/win32/frm_tamlo.h"

#include <windows.h>

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    // Screen readers in other processes reach the controls through COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int exitCode = 0;
    {
        tamlo::MessageLoop loop;
        tamlo::FrmTamlo game(instance, loop);
        game.Show(show);
        exitCode = loop.Run();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return exitCode;
}
