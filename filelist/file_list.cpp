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
    BOOL someOfSeveral = selected < count;
    EnableControl(IDC_MOVE_UP, someOfSeveral);
    EnableControl(IDC_MOVE_DOWN, someOfSeveral);
    EnableControl(IDC_MOVE_TO_TOP, someOfSeveral);
    EnableControl(IDC_MOVE_TO_END, someOfSeveral);
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

// The selected positions, ascending, in an array of *count; 0 with none or
// without memory (told).
static int* SelectedPositions(HWND list, int* count)
{
    *count = SelectedCount(list);
    if (*count <= 0) return 0;
    int* positions = (int*)AllocateMemory((size_t)*count * sizeof(int));
    if (!positions) {
        ReportOutOfMemory();
        return 0;
    }
    *count = (int)SendMessageA(list, LB_GETSELITEMS, (WPARAM)*count, (LPARAM)positions);
    return positions;
}

// Puts the selected entries, in their order, at position first of the list
// they leave behind, and selects them there. Copies go in before the
// originals go out, so that a list without room for them stays as it was.
static void MoveSelectionTo(HWND list, const int* selected, int count, int first)
{
    int total = ListCount(list);
    // Where the block goes in the list as it stands: before the entry that
    // will follow it, the first not selected at or after its place.
    int at = 0;
    for (int staying = 0, s = 0; at < total; at++) {
        if (s < count && selected[s] == at) {
            s++;
        } else if (staying++ == first) {
            break;
        }
    }
    char text[kEntryTextSize];
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    int inserted = 0;
    for (; inserted < count; inserted++) {
        if (!ListText(list, selected[inserted] + (selected[inserted] >= at ? inserted : 0), text, sizeof text) ||
            SendMessageA(list, LB_INSERTSTRING, (WPARAM)(at + inserted), (LPARAM)text) < 0)
            break;
    }
    if (inserted < count) {
        while (inserted > 0) SendMessageA(list, LB_DELETESTRING, (WPARAM)(at + --inserted), 0);
        ReportOutOfMemory();
    } else {
        for (int s = count - 1; s >= 0; s--) {
            SendMessageA(list, LB_DELETESTRING, (WPARAM)(selected[s] + (selected[s] >= at ? count : 0)), 0);
        }
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        for (int i = 0; i < count; i++) SendMessageA(list, LB_SETSEL, TRUE, (LPARAM)(first + i));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

// The block moves: the selection gathered, in its order, with its first entry
// where place() puts it among the entries left behind.
static LRESULT MoveSelection(int (*place)(int lowest, int highest, int selected, int total))
{
    HWND list = FileList();
    int count;
    int* selected = SelectedPositions(list, &count);
    if (!selected) return 0;
    int total = ListCount(list);
    int first = place(selected[0], selected[count - 1], count, total);
    if (first < 0) first = 0;
    if (first > total - count) first = total - count;
    MoveSelectionTo(list, selected, count, first);
    free(selected);
    UpdateButtonStates();
    return 0;
}

static int OneUp(int lowest, int, int, int)
{
    return lowest - 1;
}

static int OneDown(int, int highest, int selected, int)
{
    return highest + 2 - selected;
}

static int ToTop(int, int, int, int)
{
    return 0;
}

static int ToEnd(int, int, int selected, int total)
{
    return total - selected;
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
    return MoveSelection(OneUp);
}

LRESULT OnMoveDown()
{
    return MoveSelection(OneDown);
}

LRESULT OnMoveToTop()
{
    return MoveSelection(ToTop);
}

LRESULT OnMoveToEnd()
{
    return MoveSelection(ToEnd);
}

LRESULT OnRemoveSelected()
{
    HWND list = FileList();
    int count;
    int* positions = SelectedPositions(list, &count);
    if (!positions) return 0;
    // From the bottom up, so that every position still names its entry.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = count - 1; i >= 0; i--) SendMessageA(list, LB_DELETESTRING, (WPARAM)positions[i], 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    free(positions);
    UpdateButtonStates();
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
    // Del as 解除; Shift+F10 and the menu key open the context menu at the
    // focused entry, as the right button does where it is pressed.
    if (message == WM_KEYDOWN && wParam == VK_DELETE) {
        SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_REMOVE_SELECTED, BN_CLICKED), (LPARAM)list);
        return 0;
    }
    if ((message == WM_KEYDOWN && wParam == VK_APPS) ||
        ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0)) {
        SendMessageA(GetParent(list), WM_CONTEXTMENU, (WPARAM)list, -1);
        return 0;
    }
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
    // The selection changes tell the main window (LBN_SELCHANGE), but Wine's
    // list says nothing of Space in a list of several selections.
    if (message == WM_KEYDOWN) UpdateButtonStates();
    return result;
}
