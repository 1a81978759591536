// The text of the naming pattern's preview, as the main window's read-only
// edit shows it. Platform-neutral.
#pragma once

#include <stddef.h>

enum { kPreviewSize = 173 };  // the longest preview is 172 bytes

// The preview text for the given prefix, start-number text (as formatted)
// and suffix. Returns the length written.
size_t BuildPreviewText(const char* prefix, const char* number, const char* suffix, char* text,
                        size_t size);
