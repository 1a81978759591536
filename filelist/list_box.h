// Thin helpers for the list box of paths, in place of its messages.
#pragma once

#include <windows.h>

#include <stddef.h>

int ListCount(HWND list);

int SelectedCount(HWND list);

// The lowest selected position, or -1.
int LowestSelected(HWND list);

// Reads entry index into text (size bytes). 1, or 0 when there is no such
// entry or it does not fit.
int ListText(HWND list, int index, char* text, size_t size);

// A heap copy of entry index's text, or 0 without memory or entry.
char* CopyListEntry(HWND list, int index);
