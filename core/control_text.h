// Reading a control's text into a bounded buffer.
#pragma once

#include <stddef.h>
#include <windows.h>

// Reads the whole text of a window and keeps as much as fits into size - 1
// bytes without splitting a double-byte character. Returns the length kept.
size_t ReadControlText(HWND control, char* text, size_t size);
