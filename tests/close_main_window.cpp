// Closes Tovik's main window as the close box does, once it shows the caption
// given on the command line. Exit code 0 when it found the window.
#include <windows.h>

int main(int argc, char** argv)
{
    for (int wait = 0; wait < 600 && argc == 2; ++wait, Sleep(50)) {
        HWND window = FindWindowA("TovikClass", argv[1]);
        if (window && IsWindowVisible(window)) return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 2;
    }
    return 1;
}
