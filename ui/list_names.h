// The new name beside each entry of the file list: the list box draws its
// rows through the main window, each row the name the run will give that
// file, a mark when the run will ask about it or refuse it, and the current
// path with its folder dimmed. The names come from the run's plan, kept for
// the list and composed anew, in memory, whenever the list or the pattern
// changes; the disk is looked at only for the rows being drawn.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "filelist/file_list.h"

enum { kListRowReasonSize = 512 };

enum ListRowMark {
    RowPlain,
    RowAsked,    // a file outside the run stands at the new name: the run asks
    RowRefused,  // the run will not rename it, for reason
};

// What a row shows.
struct ListRow {
    const char* newName;  // the file name part of the new path; "" when it has none
    char path[kEntryTextSize];  // the entry's text
    size_t folderLength;  // bytes of path that are its folder, backslash included
    int mark;             // ListRowMark
    char reason[kListRowReasonSize];  // why the run asks or refuses; "" for a plain row
};

// The pattern, the operation, the extension rule or the output folder
// changed: the names are composed anew when rows are next drawn.
void RefreshListNames();

// Fills row for list entry index. 0 when there is no such entry.
int DescribeListRow(int index, ListRow* row);

// The main window's WM_DRAWITEM for the list: draws one row.
LRESULT OnDrawListRow(const DRAWITEMSTRUCT* item);

// Sets the row height from the list's font and gives the list its tooltip of
// reasons. Call once the list has its font.
void InitListNames(HWND window, HWND list);

// The tooltip asks for its text (TTN_GETDISPINFOA): the reason of the row
// under the pointer.
LRESULT OnListTipText(NMTTDISPINFOA* info);

// The pointer rests on another row: the tooltip shows that row's reason.
void OnListHoverRow();

// A mouse message of the list (kListMouseMessage), handed on to the tooltip.
void OnListMouse(const MSG* mouse);

// Lets go of the names and the tooltip.
void FreeListNames();
