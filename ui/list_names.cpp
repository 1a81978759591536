#include "ui/list_names.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include "core/app_state.h"
#include "core/heap.h"
#include "core/mbcs_text.h"
#include "filelist/file_list.h"
#include "filelist/list_box.h"
#include "rename/output_folder.h"
#include "rename/rename_engine.h"
#include "rename/run_failures.h"
#include "rename/run_plan.h"
#include "ui/name_inputs.h"

enum {
    kColumnGap = 12,  // between the new name and the path, in pixels
    kMarkGap = 4,
};

static const char kAskedMark[] = "？";
static const char kRefusedMark[] = "×";
static const char kAskedOutside[] =
    "新しい名前のファイルがすでにあります。改名のときに、上書きするかをたずねます。";
static const char kAskedEarlier[] =
    "前の行のファイルも同じ名前になります。改名のときに、上書きするかをたずねます。";

// The plan behind the rows, and what it was made from.
struct ListNames {
    RunTable plan;
    int planned;       // the plan holds every entry of the list
    int generation;    // AppState's listGeneration when the plan was made
    int patternFresh;  // the names follow the pattern as the controls show it
    HWND tooltip;
    char tip[kListRowReasonSize];
    int markWidth;
    int nameWidth;  // of the widest new name
    int pathWidth;  // of the widest path
};

static ListNames names;

// The width of text in the list's font.
static int TextWidth(HWND list, const char* text)
{
    HDC dc = GetDC(list);
    int saved = SaveDC(dc);
    HFONT font = (HFONT)SendMessageA(list, WM_GETFONT, 0, 0);
    if (font) SelectObject(dc, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
    RestoreDC(dc, saved);
    ReleaseDC(list, dc);
    return size.cx;
}

// The longest of the texts by bytes (of equally long ones the first), as
// the widest: measuring every one would cost more than the names.
static int WidestWidth(HWND list, int source)
{
    const char* longest = "";
    size_t longestLength = 0;
    for (int i = 0; i < names.plan.count; i++) {
        const RunEntry* entry = &names.plan.entries[i];
        const char* text = source ? entry->source : FileNameStart(entry->newPath, entry->newPathLength);
        size_t length = source ? entry->sourceLength : entry->newPathLength - (size_t)(text - entry->newPath);
        if (length > longestLength) {
            longest = text;
            longestLength = length;
        }
    }
    return TextWidth(list, longest);
}

static void FitRowExtent(HWND list)
{
    names.nameWidth = WidestWidth(list, 0);
    int extent = names.markWidth + names.nameWidth + kColumnGap + names.pathWidth + GetSystemMetrics(SM_CXVSCROLL);
    if (SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0) != extent)
        SendMessageA(list, LB_SETHORIZONTALEXTENT, (WPARAM)extent, 0);
}

// A plan over every entry of the list. 1, or 0 without memory.
static int PlanList(HWND list, const NamePattern* pattern)
{
    int count = ListCount(list);
    if (count < 0) count = 0;
    char** sources = (char**)AllocateZeroed((size_t)count + 1, sizeof *sources);
    int ready = sources != 0;
    for (int i = 0; i < count && ready; i++) ready = (sources[i] = CopyListEntry(list, i)) != 0;
    if (ready) ready = ComposePlan(&names.plan, sources, count, pattern);
    for (int i = 0; i < count && sources; i++) free(sources[i]);
    free(sources);
    return ready;
}

// Brings the plan up to date with the list and the pattern: the whole list
// is read again only after it changed; a changed pattern composes the names
// anew in memory. 1 when the plan holds the list.
static int FreshPlan()
{
    AppState* state = GetAppState();
    int listChanged = names.generation != state->listGeneration;
    if (!listChanged && names.patternFresh) return names.planned;
    NamePattern pattern;
    NameInputTexts texts;
    ReadNamePattern(&pattern, &texts);
    char folder[MAX_PATH];
    if ((pattern.operation == RenameMove || pattern.operation == RenameCopy) &&
        ResolveOutputFolder(pattern.outputFolder, folder, sizeof folder))
        pattern.outputFolder = folder;
    if (names.planned && !listChanged) {
        names.planned = RecomposePlan(&names.plan, &pattern);
    } else {
        FreeRunTable(&names.plan);
        names.planned = PlanList(state->fileList, &pattern);
        names.pathWidth = names.planned ? WidestWidth(state->fileList, 1) : 0;
    }
    names.generation = state->listGeneration;
    names.patternFresh = 1;
    if (names.planned) FitRowExtent(state->fileList);
    return names.planned;
}

void RefreshListNames()
{
    names.patternFresh = 0;
    HWND list = GetAppState()->fileList;
    if (list) InvalidateRect(list, NULL, FALSE);
}

int DescribeListRow(int index, ListRow* row)
{
    HWND list = GetAppState()->fileList;
    row->newName = "";
    row->folderLength = 0;
    row->mark = RowPlain;
    row->reason[0] = 0;
    if (!ListText(list, index, row->path, sizeof row->path)) return 0;
    row->folderLength = (size_t)(FileNameStart(row->path, strlen(row->path)) - row->path);
    if (!FreshPlan() || index >= names.plan.count) return 1;
    const RunEntry* entry = &names.plan.entries[index];
    row->newName = FileNameStart(entry->newPath, entry->newPathLength);
    int kind;
    unsigned long reason;
    CheckPlanRow(&names.plan, index, LookUpPath, 0, &kind, &reason);
    if (kind == PlanRefused) {
        row->mark = RowRefused;
        FailureReason(reason, row->reason, sizeof row->reason);
    } else if (kind == PlanQuestion) {
        row->mark = RowAsked;
        CopyTextCut(row->reason, sizeof row->reason, entry->kind == PlanQuestion ? kAskedEarlier : kAskedOutside);
    }
    return 1;
}

static void DrawPiece(HDC dc, int x, int y, const char* text, size_t length, COLORREF color)
{
    SetTextColor(dc, color);
    TextOutA(dc, x, y, text, (int)length);
}

static void DrawRow(HDC dc, const RECT* area, const ListRow* row, int selected)
{
    COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    COLORREF dimmed = selected ? text : GetSysColor(COLOR_GRAYTEXT);
    int x = area->left + 2;
    int y = area->top + 1;
    if (row->mark != RowPlain) {
        const char* mark = row->mark == RowAsked ? kAskedMark : kRefusedMark;
        COLORREF color = row->mark == RowAsked ? RGB(0, 64, 192) : RGB(192, 0, 0);
        DrawPiece(dc, x, y, mark, strlen(mark), selected ? text : color);
    }
    x += names.markWidth;
    DrawPiece(dc, x, y, row->newName, strlen(row->newName), text);
    x += names.nameWidth + kColumnGap;
    DrawPiece(dc, x, y, row->path, row->folderLength, dimmed);
    SIZE folder = {0, 0};
    GetTextExtentPoint32A(dc, row->path, (int)row->folderLength, &folder);
    const char* name = row->path + row->folderLength;
    DrawPiece(dc, x + folder.cx, y, name, strlen(name), text);
}

LRESULT OnDrawListRow(const DRAWITEMSTRUCT* item)
{
    RECT area = item->rcItem;
    if (item->itemID != (UINT)-1 && (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        int selected = (item->itemState & ODS_SELECTED) != 0;
        HDC dc = item->hDC;
        int saved = SaveDC(dc);
        FillRect(dc, &area, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetBkMode(dc, TRANSPARENT);
        ListRow row;
        if (DescribeListRow((int)item->itemID, &row)) DrawRow(dc, &area, &row, selected);
        RestoreDC(dc, saved);
        if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &area);
    } else if (item->itemAction & ODA_FOCUS) {
        DrawFocusRect(item->hDC, &area);
    }
    return TRUE;
}

void InitListNames(HWND window, HWND list)
{
    HDC dc = GetDC(list);
    int saved = SaveDC(dc);
    HFONT font = (HFONT)SendMessageA(list, WM_GETFONT, 0, 0);
    if (font) SelectObject(dc, font);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    RestoreDC(dc, saved);
    ReleaseDC(list, dc);
    SendMessageA(list, LB_SETITEMHEIGHT, 0, metrics.tmHeight + 2);
    names.markWidth = TextWidth(list, kRefusedMark) + kMarkGap;

    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    // Owned by no window: an owned popup would take the main window's place
    // when that is put on top of every other during a question.
    names.tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                                    (HINSTANCE)GetWindowLongPtrA(window, GWLP_HINSTANCE), NULL);
    if (!names.tooltip) return;
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    // The list hands its mouse messages on itself (kListMouseMessage): under
    // Wine the tooltip's own subclass made every message the list gets, not
    // only the mouse's, take a hundred times as long.
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = (UINT_PTR)list;
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(names.tooltip, TTM_ADDTOOLA, 0, (LPARAM)&tool);
    SendMessageA(names.tooltip, TTM_SETMAXTIPWIDTH, 0, 360);
}

LRESULT OnListTipText(NMTTDISPINFOA* info)
{
    HWND list = GetAppState()->fileList;
    names.tip[0] = 0;
    info->lpszText = names.tip;
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(list, &point);
    ListRow row;
    if (DescribeListRow(ListRowAt(list, point.y), &row)) CopyTextCut(names.tip, sizeof names.tip, row.reason);
    return 0;
}

void OnListHoverRow()
{
    if (names.tooltip) SendMessageA(names.tooltip, TTM_POP, 0, 0);
}

void OnListMouse(const MSG* mouse)
{
    if (names.tooltip) SendMessageA(names.tooltip, TTM_RELAYEVENT, 0, (LPARAM)mouse);
}

void FreeListNames()
{
    FreeRunTable(&names.plan);
    names.planned = 0;
    names.patternFresh = 0;
    if (names.tooltip) DestroyWindow(names.tooltip);
    names.tooltip = NULL;
}
