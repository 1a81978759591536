// The scratch array that holds a drop's or a folder command's paths while
// they are sorted and added to the list.
#pragma once

enum {
    kPathBufferStartCapacity = 4096,
};

struct PathBuffer {
    char** entries;  // heap copies, owned here
    int count;       // slots used by the current batch
    int capacity;    // 4096 at start; grows, never shrinks
};

PathBuffer* GetPathBuffer();

// Makes the array with 4096 slots and none in use. 1, or 0 without memory.
int CreatePathBuffer();

// Frees the strings of the previous batch (count becomes 0) and makes room
// for count slots: when count exceeds the capacity, the capacity becomes
// count + 2 x capacity. 1, or 0 when the array cannot grow (the previous
// array stays). The caller fills the slots from 0 and raises count as it goes,
// so count always names exactly the slots that hold a string.
int BeginPathBatch(int count);

// Frees every string and the array; count 0, no array.
void ReleasePathBuffer();
