// The scratch array that holds a drop's or a folder command's paths while
// they are sorted and added to the list.
#pragma once

enum {
    kPathBufferStartCapacity = 4096,
};

struct PathBuffer {
    char** entries;  // heap copies, owned here
    int count;       // slots used by the current batch
    int capacity;    // the start capacity at first; grows, never shrinks
};

PathBuffer* GetPathBuffer();

// The slots an array of paths starts with: kPathBufferStartCapacity, or
// fewer, so that a test makes an array grow with a handful of files. 0 puts
// kPathBufferStartCapacity back.
void SetPathStartCapacity(int capacity);

// Makes the array with the start capacity and none in use. 1, or 0 without
// memory.
int CreatePathBuffer();

// Frees the strings of the previous batch (count becomes 0) and makes room
// for count slots: when count exceeds the capacity, the capacity becomes
// count + 2 x capacity. 1, or 0 when the array cannot grow (the previous
// array stays). The caller fills the slots from 0 and raises count as it goes,
// so count always names exactly the slots that hold a string.
int BeginPathBatch(int count);

// Makes room for one more path in buffer, the PathBuffer or an array of the
// same shape that starts empty, keeping the paths stored: an array without
// slots gets the start capacity, a full one grows as BeginPathBatch grows it.
// 1, or 0 when the array cannot grow (it stays as it was).
int GrowPathBuffer(PathBuffer* buffer);

// Frees every string and the array; count 0, no array.
void ReleasePathBuffer();
