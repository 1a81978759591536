#include "filelist/file_list.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "core/app_state.h"
#include "core/heap.h"
#include "filelist/list_box.h"
#include "filelist/list_memory.h"
#include "res/main_window_res.h"

// Disabled when the list is empty, in this order.
static const int kListDependentControls[] = {IDC_START,     IDC_REMOVE_ALL,  IDC_REMOVE_SELECTED,
                                             IDC_MOVE_UP,   IDC_MOVE_DOWN,   IDC_MOVE_TO_TOP,
                                             IDC_MOVE_TO_END};
// Disabled when the list has entries but none is selected, in this order.
static const int kSelectionDependentControls[] = {IDC_REMOVE_SELECTED, IDC_MOVE_UP, IDC_MOVE_DOWN,
                                                  IDC_MOVE_TO_TOP, IDC_MOVE_TO_END};

static HWND FileList()
{
    return GetAppState()->fileList;
}

static int EntryCount()
{
    return ListCount(FileList());
}

static void EnableControl(int id, BOOL enable)
{
    EnableWindow(GetDlgItem(GetAppState()->mainWindow, id), enable);
}

void UpdateButtonStates()
{
    int count = EntryCount();
    if (count <= 0) {
        for (int id : kListDependentControls) EnableControl(id, FALSE);
        return;
    }
    EnableControl(IDC_START, TRUE);
    EnableControl(IDC_REMOVE_ALL, TRUE);
    int selected = SelectedCount(FileList());
    if (selected <= 0) {
        for (int id : kSelectionDependentControls) EnableControl(id, FALSE);
        return;
    }
    EnableControl(IDC_REMOVE_SELECTED, TRUE);
    BOOL oneOfSeveral = selected == 1 && count > 1;
    EnableControl(IDC_MOVE_UP, oneOfSeveral);
    EnableControl(IDC_MOVE_DOWN, oneOfSeveral);
    EnableControl(IDC_MOVE_TO_TOP, oneOfSeveral);
    EnableControl(IDC_MOVE_TO_END, oneOfSeveral);
}

int FitListExtent(HWND list)
{
    char longest[kEntryTextSize] = "";
    size_t longestLength = 0;
    int count = ListCount(list);
    for (int i = 0; i < count; i++) {
        // The reported length is never below the text's, so an entry reported
        // no longer than the longest so far cannot replace it: only the
        // candidates are read.
        LRESULT reported = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)i, 0);
        if (reported <= (LRESULT)longestLength || reported >= kEntryTextSize) continue;
        char text[kEntryTextSize];
        if (SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)text) < 0) continue;
        size_t length = strlen(text);
        if (length > longestLength) {
            memcpy(longest, text, length + 1);
            longestLength = length;
        }
    }
    HDC dc = GetDC(list);
    int saved = SaveDC(dc);
    HFONT font = (HFONT)SendMessageA(list, WM_GETFONT, 0, 0);
    if (font) SelectObject(dc, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, longest, (int)longestLength, &size);
    SendMessageA(list, LB_SETHORIZONTALEXTENT, (WPARAM)(size.cx + GetSystemMetrics(SM_CXVSCROLL)), 0);
    RestoreDC(dc, saved);
    ReleaseDC(list, dc);
    return 1;
}

void MoveListItem(int from, int to)
{
    HWND list = FileList();
    char text[kEntryTextSize];
    if (!ListText(list, from, text, sizeof text)) return;
    // The copy goes in before the original goes out, so that a list without
    // room for it keeps the entry.
    int insertAt = to > from ? to + 1 : to;
    if (SendMessageA(list, LB_INSERTSTRING, (WPARAM)insertAt, (LPARAM)text) < 0) return;
    SendMessageA(list, LB_DELETESTRING, (WPARAM)(to > from ? from : from + 1), 0);
    SendMessageA(list, LB_SETSEL, TRUE, (LPARAM)to);
}

int AppendListPaths(char* const* paths, int count)
{
    if (count <= 0) return 1;
    HWND list = FileList();
    // A list box filled one string at a time reallocates and repaints after
    // every string; announced and unpainted, 100,000 paths take a blink.
    size_t bytes = 0;
    for (int i = 0; i < count; i++) bytes += strlen(paths[i]) + 1;
    SendMessageA(list, LB_INITSTORAGE, (WPARAM)count, (LPARAM)bytes);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    int added = 1;
    for (int i = 0; i < count && added; i++) {
        added = SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)paths[i]) >= 0;
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    if (!added) ReportOutOfMemory();
    return added;
}

LRESULT OnMoveUp()
{
    int selected = LowestSelected(FileList());
    if (selected > 0) MoveListItem(selected, selected - 1);
    return 0;
}

LRESULT OnMoveDown()
{
    int selected = LowestSelected(FileList());
    if (selected != -1 && selected < EntryCount() - 1) MoveListItem(selected, selected + 1);
    return 0;
}

LRESULT OnMoveToTop()
{
    int selected = LowestSelected(FileList());
    if (selected > 0) MoveListItem(selected, 0);
    return 0;
}

LRESULT OnMoveToEnd()
{
    int selected = LowestSelected(FileList());
    int count = EntryCount();
    if (selected != -1 && selected < count - 1) MoveListItem(selected, count - 1);
    return 0;
}

LRESULT OnRemoveSelected()
{
    HWND list = FileList();
    int selected = SelectedCount(list);
    if (selected <= 0) return 0;
    int* positions = (int*)AllocateMemory((size_t)selected * sizeof(int));
    if (!positions) {
        ReportOutOfMemory();
        return 0;
    }
    int got = (int)SendMessageA(list, LB_GETSELITEMS, (WPARAM)selected, (LPARAM)positions);
    // From the bottom up, so that every position still names its entry.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = got - 1; i >= 0; i--) SendMessageA(list, LB_DELETESTRING, (WPARAM)positions[i], 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    free(positions);
    return 0;
}

LRESULT OnRemoveAll()
{
    SendMessageA(FileList(), LB_RESETCONTENT, 0, 0);
    UpdateButtonStates();
    return 0;
}

LRESULT CALLBACK FileListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The nine press, release and double-click messages of the three buttons;
    // mouse movement is not among them. The right button's release brings the
    // main window the context menu's message.
    if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) UpdateButtonStates();
    AppState* state = GetAppState();
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
        DWORD at = GetMessagePos();
        MSG mouse = {list, message, wParam, lParam, (DWORD)GetMessageTime(), {(short)LOWORD(at), (short)HIWORD(at)}};
        SendMessageA(GetParent(list), kListMouseMessage, 0, (LPARAM)&mouse);
    }
    if (message == WM_MOUSEMOVE) {
        static int hovered = -1;
        int row = ListRowAt(list, (short)HIWORD(lParam));
        if (row != hovered) SendMessageA(GetParent(list), kListHoverMessage, (WPARAM)row, 0);
        hovered = row;
    }
    WNDPROC saved = state->fileListProc;
    LRESULT result = saved ? CallWindowProcA(saved, list, message, wParam, lParam)
                           : DefWindowProcA(list, message, wParam, lParam);
    if (message == LB_ADDSTRING || message == LB_INSERTSTRING || message == LB_DELETESTRING ||
        message == LB_RESETCONTENT)
        state->listGeneration++;
    return result;
}
