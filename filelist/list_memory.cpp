#include "filelist/list_memory.h"

#include <stdlib.h>
#include <string.h>

#include "core/app_state.h"
#include "core/prompt.h"

static ListAllocator g_allocator;

void* AllocateListMemory(size_t size)
{
    if (g_allocator) return g_allocator(size);
    return malloc(size);
}

char* CopyListText(const char* text)
{
    size_t size = strlen(text) + 1;
    char* copy = (char*)AllocateListMemory(size);
    if (copy) memcpy(copy, text, size);
    return copy;
}

ListAllocator SetListAllocator(ListAllocator allocator)
{
    ListAllocator previous = g_allocator;
    g_allocator = allocator;
    return previous;
}

void ReportOutOfMemory()
{
    TellOutOfMemory(GetAppState()->mainWindow);
}
