// The output folder as the run uses it: one full path however the user wrote
// it, so that the run recognises its own files in it.
#pragma once

#include <stddef.h>

// Whether folder names an existing folder (a drive root included; a name
// with wildcards, or ending in a dot or a space, never does). On success full (size bytes) holds its full
// long path, without a final backslash except at a drive root ("E:\").
int ResolveOutputFolder(const char* folder, char* full, size_t size);
