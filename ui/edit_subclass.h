// The subclass procedures of the prefix, suffix and start-number edits: they
// keep the preview following the keyboard, and the prefix and suffix within
// the bytes the names can hold.
#pragma once

#include <windows.h>

// Prefix edit (1013) and suffix edit (1018): every key release rebuilds the
// preview. Typed characters (WM_CHAR, both bytes of a double-byte character,
// WM_IME_CHAR), EM_REPLACESEL and a paste put in only as much of the new
// text as fits into 32 bytes, by whole characters, and beep when some of it
// was not taken.
LRESULT CALLBACK PrefixEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SuffixEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

// Start-number edit (1015): a key release rebuilds the preview unless the
// edit is empty; an edit left empty shows "0" when it loses the focus.
LRESULT CALLBACK StartNumberEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
