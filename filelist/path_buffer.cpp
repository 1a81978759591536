#include "filelist/path_buffer.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include "core/heap.h"

static PathBuffer g_pathBuffer;
static int g_startCapacity = kPathBufferStartCapacity;

PathBuffer* GetPathBuffer()
{
    return &g_pathBuffer;
}

void SetPathStartCapacity(int capacity)
{
    g_startCapacity = capacity > 0 ? capacity : kPathBufferStartCapacity;
}

static void FreeBatch(PathBuffer* buffer)
{
    for (int i = 0; i < buffer->count; i++) {
        free(buffer->entries[i]);
        buffer->entries[i] = 0;
    }
    buffer->count = 0;
}

// Moves the stored paths into a new array of capacity slots. 1, or 0 when
// it cannot be had (the array stays).
static int Reallocate(PathBuffer* buffer, long long capacity)
{
    if (capacity > INT_MAX) return 0;
    char** entries = (char**)AllocateMemory((size_t)capacity * sizeof(char*));
    if (!entries) return 0;
    if (buffer->count) memcpy(entries, buffer->entries, (size_t)buffer->count * sizeof(char*));
    free(buffer->entries);
    buffer->entries = entries;
    buffer->capacity = (int)capacity;
    return 1;
}

int CreatePathBuffer()
{
    ReleasePathBuffer();
    return Reallocate(GetPathBuffer(), g_startCapacity);
}

int BeginPathBatch(int count)
{
    PathBuffer* buffer = GetPathBuffer();
    FreeBatch(buffer);
    if (count <= buffer->capacity) return 1;
    // Without an array (its first allocation failed) the capacity is 0, so
    // the batch gets exactly the room it needs.
    return Reallocate(buffer, (long long)count + 2LL * buffer->capacity);
}

int GrowPathBuffer(PathBuffer* buffer)
{
    if (buffer->count < buffer->capacity) return 1;
    if (buffer->capacity == 0) return Reallocate(buffer, g_startCapacity);
    return Reallocate(buffer, (long long)buffer->count + 1 + 2LL * buffer->capacity);
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
