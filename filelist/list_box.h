// Thin helpers for the list box of paths, in place of its messages.
#pragma once

#include <windows.h>

#include <stddef.h>

int ListCount(HWND list);

int SelectedCount(HWND list);

// The lowest selected position, or -1.
int LowestSelected(HWND list);

// The entry under client y (a row of a list whose rows are all of one
// height, as LB_ITEMFROMPOINT's 16 bits cannot tell beyond 65,535), or -1.
int ListRowAt(HWND list, int y);

// Reads entry index into text (size bytes). 1, or 0 when there is no such
// entry or it does not fit.
int ListText(HWND list, int index, char* text, size_t size);

// A heap copy of entry index's text, or 0 without memory or entry.
char* CopyListEntry(HWND list, int index);
