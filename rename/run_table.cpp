#include "rename/run_table.h"

#include <stdlib.h>
#include <string.h>

#include "core/heap.h"
#include "core/mbcs_text.h"

// FNV-1a over the bytes with A-Z folded, so that paths equal under
// CompareNoCase fall into the same bucket.
static unsigned HashFolded(const char* text, size_t* length = 0)
{
    unsigned hash = 2166136261u;
    const unsigned char* p = (const unsigned char*)text;
    for (; *p; p++) {
        unsigned char c = *p;
        if (c >= 'A' && c <= 'Z') c = (unsigned char)(c - 'A' + 'a');
        hash = (hash ^ c) * 16777619u;
    }
    if (length) *length = (size_t)(p - (const unsigned char*)text);
    return hash;
}

int IsSameIdentity(const FileIdentity* a, const FileIdentity* b)
{
    return (a->volume || a->index) && a->volume == b->volume && a->index == b->index;
}

int CreateRunTable(RunTable* table, int count)
{
    memset(table, 0, sizeof *table);
    if (count < 0) count = 0;
    unsigned buckets = 16;
    while (buckets < (unsigned)count * 2u && buckets < (1u << 30)) buckets *= 2;
    table->entries = (RunEntry*)AllocateZeroed((size_t)count + 1, sizeof *table->entries);
    table->sourceBuckets = (int*)AllocateMemory(buckets * sizeof *table->sourceBuckets);
    table->newPathBuckets = (int*)AllocateMemory(buckets * sizeof *table->newPathBuckets);
    if (!table->entries || !table->sourceBuckets || !table->newPathBuckets) {
        FreeRunTable(table);
        return 0;
    }
    table->count = count;
    table->bucketMask = buckets - 1;
    for (unsigned i = 0; i < buckets; i++) table->sourceBuckets[i] = table->newPathBuckets[i] = -1;
    for (int i = 0; i < count; i++) {
        table->entries[i].state = EntryPending;
        table->entries[i].nextBySource = table->entries[i].nextByNewPath = -1;
    }
    return 1;
}

int SetRunEntryPaths(RunTable* table, int index, const char* source, const char* newPath)
{
    RunEntry* entry = &table->entries[index];
    entry->composed = newPath[0] != 0;
    entry->source = CopyTextToHeap(source);
    entry->newPath = CopyTextToHeap(newPath);
    entry->sourceHash = HashFolded(source, &entry->sourceLength);
    entry->newPathHash = HashFolded(newPath, &entry->newPathLength);
    entry->newPathRoom = entry->newPathLength + 1;
    return entry->source && entry->newPath;
}

int SetRunEntry(RunTable* table, int index, const char* source, const NamePattern* pattern)
{
    char newPath[kNewPathSize];
    if (!ComposeNewName(pattern, source, index, newPath, sizeof newPath)) newPath[0] = 0;
    return SetRunEntryPaths(table, index, source, newPath);
}

int RecomposeRunEntry(RunTable* table, int index, const NamePattern* pattern)
{
    RunEntry* entry = &table->entries[index];
    char newPath[kNewPathSize];
    if (!ComposeNewName(pattern, entry->source, index, newPath, sizeof newPath)) newPath[0] = 0;
    entry->composed = newPath[0] != 0;
    size_t length;
    entry->newPathHash = HashFolded(newPath, &length);
    // The old block serves when the new path fits, as it mostly does: a name
    // typed into the pattern changes every path by the same few bytes.
    if (!entry->newPath || entry->newPathRoom <= length) {
        free(entry->newPath);
        entry->newPathRoom = length + 16;
        entry->newPath = (char*)AllocateMemory(entry->newPathRoom);
        if (!entry->newPath) return 0;
    }
    memcpy(entry->newPath, newPath, length + 1);
    entry->newPathLength = length;
    return 1;
}

void IndexNewPaths(RunTable* table)
{
    for (unsigned i = 0; i <= table->bucketMask; i++) table->newPathBuckets[i] = -1;
    for (int i = table->count - 1; i >= 0; i--) {
        RunEntry* entry = &table->entries[i];
        unsigned byNewPath = entry->newPathHash & table->bucketMask;
        entry->nextByNewPath = table->newPathBuckets[byNewPath];
        table->newPathBuckets[byNewPath] = i;
    }
}

void IndexRunTable(RunTable* table)
{
    // Linked from the last entry to the first, so that every bucket lists
    // its entries in list order.
    for (int i = table->count - 1; i >= 0; i--) {
        RunEntry* entry = &table->entries[i];
        unsigned bySource = entry->sourceHash & table->bucketMask;
        entry->nextBySource = table->sourceBuckets[bySource];
        table->sourceBuckets[bySource] = i;
    }
    IndexNewPaths(table);
}

void FreeRunTable(RunTable* table)
{
    if (table->entries) {
        for (int i = 0; i < table->count; i++) {
            free(table->entries[i].source);
            free(table->entries[i].newPath);
        }
    }
    free(table->entries);
    free(table->sourceBuckets);
    free(table->newPathBuckets);
    memset(table, 0, sizeof *table);
}

int EntryWillMove(const RunEntry* entry)
{
    return entry->composed && CompareNoCase(entry->source, entry->newPath) != 0;
}

int FindUnhandledSource(const RunTable* table, const char* path, int except)
{
    if (!table->sourceBuckets) return -1;
    int i = table->sourceBuckets[HashFolded(path) & table->bucketMask];
    for (; i >= 0; i = table->entries[i].nextBySource) {
        const RunEntry* entry = &table->entries[i];
        if (i != except && entry->state != EntryHandled && CompareNoCase(entry->source, path) == 0)
            return i;
    }
    return -1;
}

// FindSource with the path's hash given.
static int FindHashedSource(const RunTable* table, const char* path, unsigned hash, int except)
{
    if (!table->sourceBuckets) return -1;
    int i = table->sourceBuckets[hash & table->bucketMask];
    for (; i >= 0; i = table->entries[i].nextBySource) {
        const RunEntry* entry = &table->entries[i];
        if (i != except && entry->sourceHash == hash && CompareNoCase(entry->source, path) == 0) return i;
    }
    return -1;
}

int FindSource(const RunTable* table, const char* path, int except)
{
    return FindHashedSource(table, path, HashFolded(path), except);
}

int FindSourceOfNewPath(const RunTable* table, int index, int except)
{
    const RunEntry* entry = &table->entries[index];
    return FindHashedSource(table, entry->newPath, entry->newPathHash, except);
}

int IsSameNewPath(const RunTable* table, int a, int b)
{
    const RunEntry* first = &table->entries[a];
    const RunEntry* second = &table->entries[b];
    return first->newPathHash == second->newPathHash && CompareNoCase(first->newPath, second->newPath) == 0;
}

int FirstWithNewPath(const RunTable* table, const char* path)
{
    return table->newPathBuckets ? table->newPathBuckets[HashFolded(path) & table->bucketMask] : -1;
}

int IsProducedPath(const RunTable* table, const char* path)
{
    for (int i = FirstWithNewPath(table, path); i >= 0; i = table->entries[i].nextByNewPath) {
        const RunEntry* entry = &table->entries[i];
        if (entry->produced && CompareNoCase(entry->newPath, path) == 0) return 1;
    }
    return 0;
}

int FindStayingSource(const RunTable* table, const char* path, int except)
{
    if (!table->sourceBuckets) return -1;
    int found = -1;
    int i = table->sourceBuckets[HashFolded(path) & table->bucketMask];
    for (; i >= 0; i = table->entries[i].nextBySource) {
        const RunEntry* entry = &table->entries[i];
        if (CompareNoCase(entry->source, path) != 0) continue;
        if (entry->vacated) return -1;
        if (i != except && found < 0) found = i;
    }
    return found;
}
