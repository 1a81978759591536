#include "failing_memory.h"

#include <stdlib.h>

#include "filelist/list_memory.h"

static int g_successes;
static int g_calls;

static void* Allocate(size_t size)
{
    return g_calls++ < g_successes ? malloc(size) : NULL;
}

FailingMemory::FailingMemory(int successes)
{
    g_successes = successes;
    g_calls = 0;
    SetListAllocator(Allocate);
}

FailingMemory::~FailingMemory()
{
    SetListAllocator(0);
}

int FailingMemory::Calls() const
{
    return g_calls;
}
