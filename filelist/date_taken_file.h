// The date a photo was taken, read from its file: the first 64 KB are read
// and handed to core/date_taken.h.
#pragma once

// Reads the date taken of the file at path (ANSI): 1 with *key =
// YYYYMMDDhhmmss, or 0 with *key = 0 when the file cannot be opened or read
// or holds no such date in its first 64 KB. The file may be open elsewhere,
// even for writing or deleting.
int ReadFileDateTaken(const char* path, long long* key);

// Reads the date taken as ReadFileDateTaken does and, from the same
// opening, the last-write time (UTC, 100-nanosecond units since 1601) of
// the file or folder at path. 1 when it could be opened and *written holds
// that time; 0 with *key and *written 0 otherwise.
int ReadFileDates(const char* path, long long* key, unsigned long long* written);
