// Entry point: the main window, shown as the program was asked to start, and
// its message loop until the window is destroyed.
#include <windows.h>

#include "ui/main_window.h"
#include "ui/message_loop.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    HWND window = CreateMainWindow(instance);
    if (!window) return 0;
    ShowWindow(window, show);
    UpdateWindow(window);
    return RunMessageLoop(window);
}
