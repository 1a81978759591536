#include "core/date_taken.h"

#include <string.h>

enum {
    kTagExifIfd = 0x8769,
    kTagDateTimeOriginal = 0x9003,
    kTypeAscii = 2,
    kEntrySize = 12,
    kDateSize = 20,  // "YYYY:MM:DD hh:mm:ss" and its NUL
    kMarkerStart = 0xD8,
    kMarkerEnd = 0xD9,
    kMarkerScan = 0xDA,
    kMarkerApp1 = 0xE1,
};

// A TIFF structure; its offsets count from its header.
struct TiffBytes {
    const unsigned char* data;
    size_t size;
    int bigEndian;
};

// Whether count bytes from offset lie inside, without an addition that
// could overflow.
static int Inside(const TiffBytes* tiff, size_t offset, size_t count)
{
    return offset <= tiff->size && tiff->size - offset >= count;
}

// The callers have checked that the bytes lie inside.
static unsigned long Read16(const TiffBytes* tiff, size_t at)
{
    const unsigned char* p = tiff->data + at;
    return tiff->bigEndian ? (unsigned long)p[0] << 8 | p[1] : (unsigned long)p[1] << 8 | p[0];
}

static unsigned long Read32(const TiffBytes* tiff, size_t at)
{
    unsigned long high = Read16(tiff, at + (tiff->bigEndian ? 0 : 2));
    unsigned long low = Read16(tiff, at + (tiff->bigEndian ? 2 : 0));
    return high << 16 | low;
}

// The offset of the tag's entry in the IFD at ifd, or 0 when the IFD has no
// such entry or runs past the end. Only two IFDs are ever looked at, so an
// IFD that points back at another cannot make a loop.
static size_t FindEntry(const TiffBytes* tiff, size_t ifd, unsigned long tag)
{
    if (!Inside(tiff, ifd, 2)) return 0;
    unsigned long count = Read16(tiff, ifd);
    size_t entry = ifd + 2;
    for (unsigned long i = 0; i < count; i++) {
        if (!Inside(tiff, entry, kEntrySize)) return 0;
        if (Read16(tiff, entry) == tag) return entry;
        entry += kEntrySize;
    }
    return 0;
}

// "YYYY:MM:DD hh:mm:ss" and its NUL; an unset date is blanks or zeros, and
// fails the ranges.
static int ParseDate(const unsigned char* text, long long* key)
{
    const char* pattern = "9999:99:99 99:99:99";
    long long value = 0;
    for (int i = 0; i < kDateSize - 1; i++) {
        if (pattern[i] != '9') {
            if (text[i] != pattern[i]) return 0;
            continue;
        }
        if (text[i] < '0' || text[i] > '9') return 0;
        value = value * 10 + (text[i] - '0');
    }
    if (text[kDateSize - 1] != 0) return 0;
    long long year = value / 10000000000LL;
    long long month = value / 100000000 % 100;
    long long day = value / 1000000 % 100;
    long long hour = value / 10000 % 100;
    long long minute = value / 100 % 100;
    long long second = value % 100;
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
    if (hour > 23 || minute > 59 || second > 59) return 0;
    *key = value;
    return 1;
}

static int ReadTiff(const unsigned char* data, size_t size, long long* key)
{
    TiffBytes tiff = {data, size, 0};
    if (size < 8) return 0;
    if (memcmp(data, "MM\0*", 4) == 0) {
        tiff.bigEndian = 1;
    } else if (memcmp(data, "II*\0", 4) != 0) {
        return 0;
    }
    size_t exifEntry = FindEntry(&tiff, Read32(&tiff, 4), kTagExifIfd);
    if (!exifEntry) return 0;
    size_t dateEntry = FindEntry(&tiff, Read32(&tiff, exifEntry + 8), kTagDateTimeOriginal);
    if (!dateEntry) return 0;
    if (Read16(&tiff, dateEntry + 2) != kTypeAscii || Read32(&tiff, dateEntry + 4) != kDateSize) return 0;
    size_t at = Read32(&tiff, dateEntry + 8);
    if (!Inside(&tiff, at, kDateSize)) return 0;
    return ParseDate(data + at, key);
}

// Walks the segments after the start marker up to the scan; the Exif APP1
// segment holds a TIFF structure after "Exif\0\0".
static int ReadJpeg(const unsigned char* data, size_t size, long long* key)
{
    size_t at = 2;
    while (size - at >= 4 && data[at] == 0xFF) {
        unsigned marker = data[at + 1];
        if (marker == 0xFF) {  // a fill byte before the marker
            at++;
            continue;
        }
        if (marker == kMarkerScan || marker == kMarkerEnd || marker == kMarkerStart) return 0;
        size_t length = (size_t)data[at + 2] << 8 | data[at + 3];  // its own two bytes included
        if (length < 2) return 0;
        const unsigned char* body = data + at + 4;
        size_t bodySize = length - 2;
        size_t available = size - at - 4;
        if (marker == kMarkerApp1 && bodySize >= 6 && available >= 6 && memcmp(body, "Exif\0\0", 6) == 0) {
            // A segment longer than what was read still gives the part read.
            size_t tiffSize = bodySize < available ? bodySize : available;
            return ReadTiff(body + 6, tiffSize - 6, key);
        }
        if (bodySize > available) return 0;
        at += 4 + bodySize;
    }
    return 0;
}

int ReadDateTaken(const unsigned char* data, size_t size, long long* key)
{
    *key = 0;
    if (size >= 2 && data[0] == 0xFF && data[1] == kMarkerStart) return ReadJpeg(data, size, key);
    return ReadTiff(data, size, key);
}
