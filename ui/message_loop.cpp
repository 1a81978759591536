#include "ui/message_loop.h"

#include "res/main_window_res.h"

// Ctrl+Z anywhere in the main window but in an edit, which keeps its own undo.
static int IsUndoKey(HWND mainWindow, const MSG* message)
{
    char name[16] = "";
    if (message->message != WM_KEYDOWN || message->wParam != 'Z' || GetKeyState(VK_CONTROL) >= 0) return 0;
    if (message->hwnd != mainWindow && !IsChild(mainWindow, message->hwnd)) return 0;
    GetClassNameA(message->hwnd, name, sizeof name);
    return lstrcmpiA(name, "Edit") != 0;
}

void DeliverLoopMessage(HWND mainWindow, MSG* message)
{
    if (IsUndoKey(mainWindow, message)) {
        PostMessageA(mainWindow, WM_COMMAND, IDC_UNDO_LAST_RUN, 0);
        return;
    }
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
