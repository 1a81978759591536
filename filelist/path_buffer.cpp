#include "filelist/path_buffer.h"

#include <limits.h>
#include <stdlib.h>

#include "core/heap.h"
#include "filelist/list_memory.h"

static PathBuffer g_pathBuffer;

PathBuffer* GetPathBuffer()
{
    return &g_pathBuffer;
}

static void FreeBatch(PathBuffer* buffer)
{
    for (int i = 0; i < buffer->count; i++) {
        free(buffer->entries[i]);
        buffer->entries[i] = 0;
    }
    buffer->count = 0;
}

int CreatePathBuffer()
{
    ReleasePathBuffer();
    PathBuffer* buffer = GetPathBuffer();
    buffer->entries = (char**)AllocateMemory(kPathBufferStartCapacity * sizeof(char*));
    if (!buffer->entries) return 0;
    buffer->capacity = kPathBufferStartCapacity;
    return 1;
}

int BeginPathBatch(int count)
{
    PathBuffer* buffer = GetPathBuffer();
    FreeBatch(buffer);
    if (count <= buffer->capacity) return 1;
    // Without an array (its first allocation failed) the capacity is 0, so
    // the batch gets exactly the room it needs.
    long long grown = (long long)count + 2LL * buffer->capacity;
    if (grown > INT_MAX) return 0;
    char** entries = (char**)AllocateMemory((size_t)grown * sizeof(char*));
    if (!entries) return 0;
    free(buffer->entries);
    buffer->entries = entries;
    buffer->capacity = (int)grown;
    return 1;
}

void ReleasePathBuffer()
{
    PathBuffer* buffer = GetPathBuffer();
    if (buffer->entries) FreeBatch(buffer);
    free(buffer->entries);
    buffer->entries = 0;
    buffer->count = 0;
    buffer->capacity = 0;
}
