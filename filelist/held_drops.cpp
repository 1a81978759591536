#include "filelist/held_drops.h"

#include <stdlib.h>
#include <string.h>

#include "filelist/list_memory.h"

static HDROP* g_held;
static int g_count;
static int g_capacity;

void HoldDrop(HDROP drop)
{
    if (g_count == g_capacity) {
        int capacity = g_capacity ? g_capacity * 2 : 8;
        HDROP* grown = (HDROP*)AllocateListMemory((size_t)capacity * sizeof *grown);
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
