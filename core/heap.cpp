#include "core/heap.h"

#include <stdlib.h>
#include <string.h>

static Allocator g_allocator;

void* AllocateMemory(size_t size)
{
    return g_allocator ? g_allocator(size) : malloc(size);
}

void* AllocateZeroed(size_t count, size_t size)
{
    if (size && count > (size_t)-1 / size) return 0;
    void* block = AllocateMemory(count * size);
    if (block) memset(block, 0, count * size);
    return block;
}

char* CopyTextToHeap(const char* text)
{
    size_t size = strlen(text) + 1;
    char* copy = (char*)AllocateMemory(size);
    if (copy) memcpy(copy, text, size);
    return copy;
}

Allocator SetAllocator(Allocator allocator)
{
    Allocator previous = g_allocator;
    g_allocator = allocator;
    return previous;
}
