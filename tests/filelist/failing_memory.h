// Makes the file list's heap allocations fail after a number of successes,
// to walk the out-of-memory paths on purpose.
#pragma once

#include <stdlib.h>

#include "filelist/list_memory.h"

class FailingMemory {
public:
    // The first `successes` allocations succeed, every later one fails.
    explicit FailingMemory(int successes)
    {
        Left() = successes;
        SetListAllocator(Allocate);
    }
    ~FailingMemory() { SetListAllocator(0); }
    FailingMemory(const FailingMemory&) = delete;
    FailingMemory& operator=(const FailingMemory&) = delete;

private:
    static int& Left()
    {
        static int left;
        return left;
    }
    static void* Allocate(size_t size) { return Left()-- > 0 ? malloc(size) : NULL; }
};
