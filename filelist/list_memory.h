// Heap memory for the paths and positions the file list works with: the
// copies of paths, the scratch arrays and the removal's position array. All
// of it is freed with free(). A test can make allocations fail through the
// seam to walk the out-of-memory paths.
#pragma once

#include <stddef.h>

#include "core/seams.h"

// size bytes from the installed allocator (malloc by default), or 0.
void* AllocateListMemory(size_t size);

// A heap copy of text (its length + 1 bytes), or 0 without memory.
char* CopyListText(const char* text);

// A test makes them fail through SetListAllocator (core/seams.h).

// Tells the user, owned by the main window, that memory ran out.
void ReportOutOfMemory();
