// The date a photo was taken, read from its file: the first 64 KB are read
// and handed to core/date_taken.h.
#pragma once

// Reads the date taken of the file at path (ANSI): 1 with *key =
// YYYYMMDDhhmmss, or 0 with *key = 0 when the file cannot be opened or read
// or holds no such date in its first 64 KB. The file may be open elsewhere,
// even for writing or deleting.
int ReadFileDateTaken(const char* path, long long* key);
