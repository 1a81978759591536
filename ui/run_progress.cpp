#include "ui/run_progress.h"

#include <commctrl.h>
#include <stdio.h>

#include "core/app_state.h"
#include "core/prompt.h"
#include "res/please_wait_res.h"

enum {
    kShowInterval = 100,   // milliseconds between two updates of the progress
    kDeliverInterval = 10,  // and between two deliveries of waiting messages
};

static HWND g_window;
static int g_stop;
static DWORD g_shownAt, g_deliveredAt;

static INT_PTR CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_SETCURSOR) {
        // Busy, yet the stop button can be pressed.
        SetCursor(LoadCursorA(NULL, IDC_APPSTARTING));
        SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    if (message != WM_COMMAND || LOWORD(wParam) != IDCANCEL) return FALSE;
    // Acted on between files; one press is enough.
    g_stop = 1;
    EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
    return TRUE;
}

HWND OpenProgressWindow(HWND mainWindow, HINSTANCE instance)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    g_stop = 0;
    g_shownAt = g_deliveredAt = GetTickCount() - kShowInterval;
    g_window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PLEASE_WAIT), NULL, ProgressWindowProc, 0);
    if (!g_window) return NULL;
    EnableWindow(mainWindow, FALSE);
    ShowWindow(g_window, SW_SHOW);
    UpdateWindow(g_window);
    GetAppState()->filesMoving = 1;
    ShutdownBlockReasonCreate(mainWindow, L"ファイルの名前を変えています。");
    return g_window;
}

void CloseProgressWindow(HWND mainWindow)
{
    GetAppState()->filesMoving = 0;
    ShutdownBlockReasonDestroy(mainWindow);
    EnableWindow(mainWindow, TRUE);
    DestroyWindow(g_window);
    g_window = NULL;
}

void TellProgressWindowMissing(HWND mainWindow)
{
    Prompt(mainWindow, "経過を示すウインドウを開けないため、始めませんでした。ファイルは動かしていません。",
           "改名（リネーム）を始められません", MB_OK, MB_ICONERROR);
}

static void ShowProgress(int handled, int total, const char* next)
{
    SendDlgItemMessageA(g_window, IDC_RUN_PROGRESS, PBM_SETRANGE32, 0, total);
    SendDlgItemMessageA(g_window, IDC_RUN_PROGRESS, PBM_SETPOS, (WPARAM)handled, 0);
    char text[MAX_PATH + 32];
    snprintf(text, sizeof text, "%d / %d  %s", handled, total, next);
    SetDlgItemTextA(g_window, IDC_RUN_STATUS, text);
}

void ShowRunDone(int renamed)
{
    char text[96];
    snprintf(text, sizeof text, "完了しました: %d 件のファイルを改名しました", renamed);
    SetDlgItemTextA(g_window, IDC_RUN_STATUS, text);
}

void DeliverWaitingMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage((int)message.wParam);  // for the main loop, once the run is over
            return;
        }
        if (g_window && IsDialogMessageA(g_window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int ProgressBetweenFiles(void*, int handled, int total, const char* next)
{
    DWORD now = GetTickCount();
    if (g_window && (now - g_shownAt >= kShowInterval || handled == total)) {
        ShowProgress(handled, total, next);
        g_shownAt = now;
    }
    if (now - g_deliveredAt >= kDeliverInterval) {
        DeliverWaitingMessages();
        g_deliveredAt = GetTickCount();
    }
    return !g_stop && !GetAppState()->closeRequested;
}

void WaitAnswering(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (DWORD passed; (passed = GetTickCount() - start) < milliseconds;) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - passed, QS_ALLINPUT);
        DeliverWaitingMessages();
    }
}
