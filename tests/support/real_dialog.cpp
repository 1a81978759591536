#include "support/real_dialog.h"

#include <string.h>

#include "support/test_window.h"

static RealDialogAnswer* g_answer;

RealDialogAnswer::RealDialogAnswer(std::function<void(HWND)> action) : action_(action)
{
    g_answer = this;
    timer_ = SetTimer(NULL, 0, 50, &RealDialogAnswer::Tick);
}

RealDialogAnswer::~RealDialogAnswer()
{
    KillTimer(NULL, timer_);
    g_answer = NULL;
}

static BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
        *(HWND*)found = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK RealDialogAnswer::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    RealDialogAnswer* self = g_answer;
    if (!self || self->answered_) return;
    HWND dialog = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, (LPARAM)&dialog);
    if (!dialog) return;
    self->answered_ = true;
    self->action_(dialog);
}

struct ChildSearch {
    const char* className;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectChild(HWND window, LPARAM search)
{
    ChildSearch* s = (ChildSearch*)search;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, s->className) == 0) s->found.push_back(window);
    return TRUE;
}

std::vector<std::string> ChildTexts(HWND window, const char* className)
{
    ChildSearch search = {className, {}};
    EnumChildWindows(window, CollectChild, (LPARAM)&search);
    std::vector<std::string> texts;
    for (HWND child : search.found) texts.push_back(WindowText(child));
    return texts;
}

HWND FindChild(HWND window, const char* className)
{
    ChildSearch search = {className, {}};
    EnumChildWindows(window, CollectChild, (LPARAM)&search);
    return search.found.empty() ? NULL : search.found[0];
}

void ClickDialogButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}
