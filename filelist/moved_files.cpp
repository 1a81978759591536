#include "filelist/moved_files.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "core/heap.h"
#include "core/app_state.h"
#include "core/mbcs_text.h"
#include "filelist/file_list.h"
#include "filelist/held_drops.h"
#include "filelist/list_memory.h"

void NoteMovedEntry(void* context, int index, const char* from, const char* to)
{
    MovedEntries* moved = (MovedEntries*)context;
    free(moved->newPaths[index]);
    moved->newPaths[index] = 0;
    if (strcmp(to, moved->sources[index]) != 0 && !(moved->newPaths[index] = CopyTextToHeap(to)))
        ReportOutOfMemory();
    FollowHeldDrops(from, to);
}

struct MovedPair {
    const char* from;
    const char* to;
};

struct MovedPairs {
    MovedPair* pairs;  // sorted by from
    int count;
};

static int ComparePairs(const void* a, const void* b)
{
    return CompareNoCase(((const MovedPair*)a)->from, ((const MovedPair*)b)->from);
}

// The new path of a moved file by its old path, or 0.
static const char* NewPathOf(void* context, const char* path)
{
    const MovedPairs* moved = (const MovedPairs*)context;
    MovedPair key = {path, 0};
    const MovedPair* found =
        (const MovedPair*)bsearch(&key, moved->pairs, (size_t)moved->count, sizeof key, ComparePairs);
    return found ? found->to : 0;
}

// Rebuilds the list with the texts, keeping which entries are selected.
static void RewriteList(char* const* texts, int count)
{
    HWND list = GetAppState()->fileList;
    int selected = (int)SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    int* positions = (int*)AllocateMemory(((size_t)(selected > 0 ? selected : 0) + 1) * sizeof(int));
    if (!positions) {
        ReportOutOfMemory();
        return;
    }
    int got = selected > 0 ? (int)SendMessageA(list, LB_GETSELITEMS, (WPARAM)selected, (LPARAM)positions) : 0;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    AppendListPaths(texts, count);
    for (int i = 0; i < got; i++) SendMessageA(list, LB_SETSEL, TRUE, (LPARAM)positions[i]);
    free(positions);
    FitListExtent(list);
    UpdateButtonStates();
}

// Reads every list entry, renamed by index (newPaths) or by path (moved).
static void FollowInList(const char* const* newPaths, int indexed, MovedPairs* moved)
{
    HWND list = GetAppState()->fileList;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    char** texts = (char**)AllocateMemory(((size_t)(count > 0 ? count : 0) + 1) * sizeof(char*));
    if (!texts) {
        ReportOutOfMemory();
        return;
    }
    int read = 0;
    int changed = 0;
    for (; read < count; read++) {
        char text[kEntryTextSize];
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)read, 0);
        if (length < 0 || length >= kEntryTextSize || SendMessageA(list, LB_GETTEXT, (WPARAM)read, (LPARAM)text) < 0)
            break;
        const char* renamed = read < indexed ? newPaths[read] : moved ? NewPathOf(moved, text) : 0;
        changed += renamed != 0;
        if (!(texts[read] = CopyTextToHeap(renamed ? renamed : text))) break;
    }
    if (read < count) {
        ReportOutOfMemory();
    } else if (changed) {
        RewriteList(texts, count);
    }
    for (int i = 0; i < read; i++) free(texts[i]);
    free(texts);
}

// The pairs sorted, for lookups by old path. 0 without memory.
static int SortPairs(MovedPairs* moved, const char* const* from, const char* const* to, int count)
{
    moved->count = 0;
    moved->pairs = (MovedPair*)AllocateMemory(((size_t)count + 1) * sizeof *moved->pairs);
    if (!moved->pairs) return 0;
    for (int i = 0; i < count; i++) {
        if (!from[i] || !to[i]) continue;
        moved->pairs[moved->count].from = from[i];
        moved->pairs[moved->count++].to = to[i];
    }
    qsort(moved->pairs, (size_t)moved->count, sizeof *moved->pairs, ComparePairs);
    return 1;
}

void FollowMovedPaths(const char* const* from, const char* const* to, int count)
{
    MovedPairs moved;
    if (!SortPairs(&moved, from, to, count)) {
        ReportOutOfMemory();
        return;
    }
    if (moved.count > 0) FollowInList(0, 0, &moved);
    free(moved.pairs);
}

void FollowMovedEntries(const char* const* newPaths, int count)
{
    FollowInList(newPaths, count, 0);
}
