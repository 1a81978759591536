// Makes the file list's heap allocations fail after a number of successes,
// to walk the out-of-memory paths on purpose.
#pragma once

#include <stddef.h>

class FailingMemory {
public:
    // The first `successes` allocations succeed, every later one fails.
    explicit FailingMemory(int successes);
    ~FailingMemory();
    FailingMemory(const FailingMemory&) = delete;
    FailingMemory& operator=(const FailingMemory&) = delete;

    // Allocations asked for so far, failed ones included.
    int Calls() const;
};
