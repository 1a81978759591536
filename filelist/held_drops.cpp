#include "filelist/held_drops.h"

#include <shlobj.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "core/heap.h"
#include "core/file_paths.h"
#include "core/mbcs_text.h"
#include "filelist/list_memory.h"

static HDROP* g_held;
static int g_count;
static int g_capacity;

void HoldDrop(HDROP drop)
{
    if (g_count == g_capacity) {
        int capacity = g_capacity ? g_capacity * 2 : 8;
        HDROP* grown = (HDROP*)AllocateMemory((size_t)capacity * sizeof *grown);
        if (!grown) {
            DragFinish(drop);
            ReportOutOfMemory();
            return;
        }
        if (g_count) memcpy(grown, g_held, (size_t)g_count * sizeof *grown);
        free(g_held);
        g_held = grown;
        g_capacity = capacity;
    }
    g_held[g_count++] = drop;
}

HDROP TakeHeldDrop()
{
    if (g_count == 0) return NULL;
    HDROP drop = g_held[0];
    memmove(g_held, g_held + 1, (size_t)(g_count - 1) * sizeof *g_held);
    g_count--;
    return drop;
}

void ReleaseHeldDrops()
{
    for (int i = 0; i < g_count; i++) DragFinish(g_held[i]);
    free(g_held);
    g_held = 0;
    g_count = g_capacity = 0;
}

// The drop's paths, from renamed to, as a new drop in wide characters; 0
// without memory.
static HDROP FollowedDrop(HDROP drop, const char* from, const char* to)
{
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, NULL, 0);
    wchar_t* names = (wchar_t*)AllocateMemory((size_t)count * kPathSize * sizeof(wchar_t) + sizeof(wchar_t));
    if (!names) return 0;
    size_t used = 0;
    for (UINT i = 0; i < count; i++) {
        wchar_t wide[kPathSize] = L"";
        char path[2 * kPathSize];
        DragQueryFileW(drop, i, wide, kPathSize);
        if (WideToExactAnsi(wide, path, sizeof path) && CompareNoCase(path, from) == 0)
            MultiByteToWideChar(CP_ACP, 0, to, -1, wide, kPathSize);
        size_t length = wcslen(wide) + 1;
        memcpy(names + used, wide, length * sizeof(wchar_t));
        used += length;
    }
    names[used++] = 0;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + used * sizeof(wchar_t));
    DROPFILES* header = block ? (DROPFILES*)GlobalLock(block) : NULL;
    if (block && !header) GlobalFree(block);
    if (header) {
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        header->fNC = !DragQueryPoint(drop, &header->pt);
        memcpy(header + 1, names, used * sizeof(wchar_t));
        GlobalUnlock(block);
    }
    free(names);
    return header ? (HDROP)block : 0;
}

void FollowHeldDrops(const char* from, const char* to)
{
    for (int i = 0; i < g_count; i++) {
        HDROP followed = FollowedDrop(g_held[i], from, to);
        if (!followed) {
            ReportOutOfMemory();
            continue;
        }
        DragFinish(g_held[i]);
        g_held[i] = followed;
    }
}
