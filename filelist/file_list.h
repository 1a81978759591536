// The file list (list box 1003): its order is the order of the run.
#pragma once

#include <windows.h>

enum {
    kEntryTextSize = 4096,  // room for any entry; the list holds paths of at most 259 bytes
    // Sent to the list's parent when the pointer comes to rest on another row.
    kListHoverMessage = WM_APP + 1,
    // Sent to the list's parent with each mouse move, button press and release
    // the list gets, lParam the MSG, for its tooltip.
    kListMouseMessage = WM_APP + 2,
};

// Enables the list buttons and the start button by the list's entry count
// and selected count.
void UpdateButtonStates();

// Sets the list's horizontal scroll extent from its longest entry (by bytes;
// of equally long ones the first). Returns 1.
int FitListExtent(HWND list);


// Appends the paths in their order, announcing their number to the list and
// holding its redraw meanwhile. 1, or 0 after telling the user that the list
// had no room (the paths added before stay).
int AppendListPaths(char* const* paths, int count);

// The list commands; each returns 0. The four moves take the selected
// entries as one block in their order (gathered, should they be apart) and
// leave them selected; a list without room for the moved texts stays as it
// was.
LRESULT OnMoveUp();          // 1005
LRESULT OnMoveDown();        // 1006
LRESULT OnRemoveSelected();  // 1007
LRESULT OnMoveToTop();       // 1008
LRESULT OnMoveToEnd();       // 1009
LRESULT OnRemoveAll();       // 1010

// The list box's replacement window procedure: it counts every change of
// the entries in AppState's listGeneration.
LRESULT CALLBACK FileListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
