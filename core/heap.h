// The program's heap blocks. Every block is taken through the allocator
// here, so that a test can make any allocation fail. Platform-neutral.
#pragma once

#include <stddef.h>

// size bytes from the installed allocator (malloc by default), or 0.
void* AllocateMemory(size_t size);

// count zeroed blocks of size bytes, or 0.
void* AllocateZeroed(size_t count, size_t size);

// A heap copy of the text, or 0 without memory.
char* CopyTextToHeap(const char* text);

// The allocation seam: size bytes, or 0. The setter returns the allocator
// installed before; 0 puts malloc back.
typedef void* (*Allocator)(size_t size);
Allocator SetAllocator(Allocator allocator);
