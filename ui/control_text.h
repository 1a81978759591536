// Thin helpers for the main window's controls: an edit's or any window's
// text into a bounded buffer, and a combo box's selection.
#pragma once

#include <windows.h>

#include <stddef.h>

// Reads the whole text of a window and keeps as much as fits into size - 1
// bytes without splitting a double-byte character. Returns the length kept.
size_t ReadControlText(HWND control, char* text, size_t size);

// The combo box's selected index, or -1 (CB_ERR) for none.
int ComboSelection(HWND combo);
