// The date a photo was taken (Exif DateTimeOriginal, tag 0x9003 of the Exif
// IFD that tag 0x8769 of IFD0 points at), read from the start of a JPEG or
// TIFF file. Wine's metadata reader does not find it, so the program reads
// this one tag itself. Platform-neutral.
#pragma once

#include <stddef.h>

enum {
    kDateTakenReadSize = 65536,  // the bytes of a file's start that are looked at
};

// Reads the date taken from the first size bytes of a file: a JPEG (its
// Exif APP1 segment before the scan) or a bare TIFF, either byte order. The
// date "YYYY:MM:DD hh:mm:ss" gives *key = YYYYMMDDhhmmss, which sorts as the
// dates do (month 1-12, day 1-31, hour 0-23, minute and second 0-59, year
// 0001-9999). Returns 1, or 0 with *key = 0 when there is no such date or
// the data is malformed; nothing outside the size bytes is ever read.
int ReadDateTaken(const unsigned char* data, size_t size, long long* key);
