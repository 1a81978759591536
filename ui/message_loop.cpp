#include "ui/message_loop.h"

void DeliverLoopMessage(HWND mainWindow, MSG* message)
{
    if (IsDialogMessageA(mainWindow, message)) return;
    TranslateMessage(message);
    DispatchMessageA(message);
}

int RunMessageLoop(HWND mainWindow)
{
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, NULL, 0, 0)) != 0) {
        if (got == -1) return 0;  // no message can come any more
        DeliverLoopMessage(mainWindow, &message);
    }
    return (int)message.wParam;
}
