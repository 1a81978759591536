// Entry point: the main window, shown as the program was asked to start, and
// its message loop until the window is destroyed.
#include <windows.h>

#include "core/app_state.h"
#include "rename/run_journal.h"
#include "ui/run_messages.h"
#include "ui/main_window.h"
#include "ui/message_loop.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    HWND window = CreateMainWindow(instance);
    if (!window) return 0;
    ShowWindow(window, show);
    UpdateWindow(window);
    // A run that did not end (the program ended, the machine stopped) is put
    // right first; the last run before this start can be undone.
    char journal[MAX_PATH * 2];
    if (JournalPath(journal, sizeof journal)) {
        RecoverInterruptedRun(window, journal);
        GetAppState()->lastRunId = JournalRunId(journal);
    }
    return RunMessageLoop(window);
}
