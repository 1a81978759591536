#include "main_window_harness.h"

#include "core/settings.h"
#include "res/main_window_res.h"
#include "ui/main_window.h"
#include "ui/message_loop.h"

void MainWindowTest::SetUp()
{
    DeleteFileA(IniPath().c_str());
    TakeQuitCode();
}

void MainWindowTest::TearDown()
{
    if (IsOpen()) DestroyWindow(window_);
    window_ = NULL;
    Pump();
    TakeQuitCode();
    // Every window registers the class afresh, as a new process would.
    UnregisterClassA("TovikClass", GetModuleHandleA(NULL));
    DeleteFileA(IniPath().c_str());
}

HWND MainWindowTest::Open()
{
    window_ = CreateMainWindow(GetModuleHandleA(NULL));
    return window_;
}

void MainWindowTest::Pump()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Kept for TakeQuitCode, as the loop would have ended here.
            PostQuitMessage((int)message.wParam);
            return;
        }
        DeliverLoopMessage(window_, &message);
    }
}

void MainWindowTest::PressKey(HWND target, UINT key)
{
    LPARAM scan = (LPARAM)MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16;
    MSG message = {target, WM_KEYDOWN, key, 1 | scan, 0, {0, 0}};
    DeliverLoopMessage(window_, &message);
    Pump();  // the character that TranslateMessage made
    // The release goes where the focus is by then, as the system sends it.
    message.hwnd = GetFocus();
    if (!message.hwnd) return;
    message.message = WM_KEYUP;
    message.lParam = 1 | scan | (LPARAM)0xC0000000;
    DeliverLoopMessage(window_, &message);
    Pump();
}

LRESULT MainWindowTest::Command(int id, WORD code)
{
    HWND control = id == IDC_CANCEL ? NULL : Control(id);
    return SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)control);
}

void MainWindowTest::Choose(int comboId, int index)
{
    HWND combo = Control(comboId);
    SetFocus(combo);
    PressKey(combo, VK_HOME);
    for (int i = 0; i < index; ++i) PressKey(combo, VK_DOWN);
}

std::string MainWindowTest::IniPath() const
{
    char path[MAX_PATH * 2];
    SettingsPath(path, sizeof path);
    return path;
}

int MainWindowTest::TakeQuitCode()
{
    MSG message;
    if (PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) return (int)message.wParam;
    return -1;
}

std::string ReadText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}
