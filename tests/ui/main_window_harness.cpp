#include "main_window_harness.h"

#include <string.h>

#include "core/settings.h"
#include "res/main_window_res.h"
#include "ui/main_window.h"
#include "ui/message_loop.h"

static const char kMainClassName[] = "TovikClass";

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
    // Every test registers the class afresh, as a new process would.
    UnregisterClassA(kMainClassName, GetModuleHandleA(NULL));
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

static LPARAM KeyData(UINT key, bool release)
{
    LPARAM data = 1 | ((LPARAM)MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16);
    if (release) data |= (LPARAM)0xC0000000;
    return data;
}

void MainWindowTest::PressKey(HWND target, UINT key)
{
    MSG message = {};
    message.hwnd = target;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    message.lParam = KeyData(key, false);
    DeliverLoopMessage(window_, &message);
    Pump();  // the character that TranslateMessage made
    if (!IsWindow(target)) return;
    message.message = WM_KEYUP;
    message.lParam = KeyData(key, true);
    DeliverLoopMessage(window_, &message);
    Pump();
}

void MainWindowTest::Type(HWND target, const char* text)
{
    for (const char* c = text; *c; ++c) {
        SHORT scan = VkKeyScanA(*c);
        ASSERT_EQ(0, scan & 0xFF00) << "only unshifted keys: " << *c;
        PressKey(target, (UINT)(scan & 0xFF));
    }
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
    // Home, then Down as often as needed: each step is a selection that the
    // closed drop-down list confirms at once.
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

// ---- the about box -------------------------------------------------------------

namespace {

struct AboutRun {
    HWND mainWindow;
    const std::function<void(HWND)>* scenario;
    HWND box;
    bool started;
    int ticksAfter;
    bool forced;
};

AboutRun* g_aboutRun;

HWND FindOwnedBox(HWND owner)
{
    struct Search {
        HWND owner;
        HWND found;
    } search = {owner, NULL};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            Search* s = (Search*)data;
            char name[32];
            GetClassNameA(window, name, sizeof name);
            if (strcmp(name, "#32770") == 0 && GetWindow(window, GW_OWNER) == s->owner &&
                IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&search);
    return search.found;
}

void CALLBACK AboutTick(HWND, UINT, UINT_PTR timer, DWORD)
{
    AboutRun* run = g_aboutRun;
    if (!run) {
        KillTimer(NULL, timer);
        return;
    }
    if (!run->started) {
        run->box = FindOwnedBox(run->mainWindow);
        if (!run->box) return;  // not up yet
        run->started = true;
        (*run->scenario)(run->box);
        return;
    }
    // The scenario had its time to close the box; a box still open after a
    // second is ended by force so that the test cannot hang.
    if (IsWindow(run->box) && ++run->ticksAfter > 50) {
        run->forced = true;
        EndDialog(run->box, 0);
    }
}

}  // namespace

bool RunAboutBox(HWND mainWindow, const std::function<void(HWND box)>& scenario)
{
    AboutRun run = {mainWindow, &scenario, NULL, false, 0, false};
    g_aboutRun = &run;
    UINT_PTR timer = SetTimer(NULL, 0, 20, AboutTick);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(1020, BN_CLICKED),
                 (LPARAM)GetDlgItem(mainWindow, 1020));
    KillTimer(NULL, timer);
    g_aboutRun = NULL;
    return run.started && !run.forced;
}

void PostKey(HWND target, UINT key)
{
    PostMessageA(target, WM_KEYDOWN, key, KeyData(key, false));
    PostMessageA(target, WM_KEYUP, key, KeyData(key, true));
}

std::string ReadText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}
