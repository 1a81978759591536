// The date taken read from real header bytes: JPEG and bare TIFF in both byte orders, and bytes cut short or made to
// point anywhere. Each case is read from a block of exactly its size, so that the sanitizers see any read past it.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/date_taken.h"

using namespace std::string_literals;

// A TIFF of 64 bytes: IFD0 at 8 with one entry pointing at the Exif IFD, which holds one entry whose value, the date
// and its NUL, ends the TIFF. A row spoils the fields it names.
struct Tiff {
    char order = 'I';
    uint32_t ifd0At = 8;
    uint32_t exifAt = 26;
    uint16_t entries = 1;  // of the Exif IFD
    uint16_t tag = 0x9003;
    uint16_t type = 2;
    uint32_t count = 20;
    uint32_t dateAt = 44;
    const char* date = "2024:03:15 14:25:01";
};

static std::string Bytes(const Tiff& t)
{
    std::string out = t.order == 'I' ? "II*\0"s : "MM\0*"s;
    const uint32_t fields[][2] = {{t.ifd0At, 4}, {1, 2}, {0x8769, 2}, {4, 2}, {1, 4}, {t.exifAt, 4}, {0, 4},
                                  {t.entries, 2}, {t.tag, 2}, {t.type, 2}, {t.count, 4}, {t.dateAt, 4}, {0, 4}};
    for (const auto& f : fields) {
        for (uint32_t i = 0; i < f[1]; i++) out += (char)(f[0] >> 8 * (t.order == 'I' ? i : f[1] - 1 - i));
    }
    return out.append(t.date, strlen(t.date) + 1);
}

static long long Read(const std::string& bytes)
{
    std::vector<unsigned char> exact(bytes.begin(), bytes.end());
    long long key = -1;
    int found = ReadDateTaken(exact.data(), exact.size(), &key);
    EXPECT_EQ(found != 0, key != 0) << key;
    return key;
}

TEST(DateTaken, ReadsTheExifDateOfJpegAndTiffAndNothingOutsideTheBytes) {
    const std::string soi = "\xFF\xD8"s, exif = "\xFF\xE1\x00\x48" "Exif\0\0"s;  // APP1: 2 + 6 + the TIFF's 64
    const std::string jfif = "\xFF\xE0\x00\x10" "JFIF\0\x01\x02\0\0\x01\0\x01\0\0"s;
    // The bytes before the TIFF, the TIFF, the bytes cut from the end, and the key (0: none).
    const struct { const char* name; std::string before = ""; Tiff tiff = {}; size_t cut = 0; long long key = 0; }
        rows[] = {
        {.name = "JPEG, little-endian", .before = soi + exif, .key = 20240315142501},
        {.name = "APP0 and another APP1 first", .before = soi + jfif + "\xFF\xE1\x00\x06" "abcd"s + exif,
         .key = 20240315142501},
        {.name = "fill bytes before a marker", .before = soi + "\xFF\xFF" + exif, .key = 20240315142501},
        {.name = "Exif only after the scan", .before = soi + jfif + "\xFF\xDA\x00\x02"s + exif},
        {.name = "a segment past the end", .before = soi + "\xFF\xE0\xFF\xFF"s + exif},
        {.name = "an Exif segment ending before the date", .before = soi + "\xFF\xE1\x00\x40" "Exif\0\0"s},
        {.name = "an Exif segment longer than the bytes read", .before = soi + "\xFF\xE1\xFF\xFF" "Exif\0\0"s,
         .key = 20240315142501},
        {.name = "an Exif segment of length 0", .before = soi + "\xFF\xE1\x00\x00" "Exif\0\0"s},
        {.name = "a JPEG cut in its segment's length", .before = soi + exif, .cut = 71},
        {.name = "neither JPEG nor TIFF", .before = "\x89PNG"},
        {.name = "bare TIFF, date at the very end", .key = 20240315142501},
        {.name = "bare TIFF, big-endian", .tiff = {.order = 'M'}, .key = 20240315142501},
        {.name = "date without its NUL", .cut = 1},
        {.name = "TIFF cut in its header", .cut = 58},
        {.name = "TIFF cut after its header", .cut = 56},
        {.name = "IFD0 not where the header says", .tiff = {.ifd0At = 26}},
        {.name = "Exif IFD past the end", .tiff = {.exifAt = 0xFFFFFFF0}},
        {.name = "Exif IFD count cut", .tiff = {.exifAt = 63}},
        {.name = "Exif IFD back at IFD0", .tiff = {.exifAt = 8}},
        {.name = "huge entry count, no date tag", .tiff = {.entries = 0xFFFF, .tag = 0x9004}},
        {.name = "SHORT type", .tiff = {.type = 3}},
        {.name = "count 19", .tiff = {.count = 19}},
        {.name = "date one byte past the end", .tiff = {.dateAt = 45}},
        {.name = "date offset wrapping 32 bits", .tiff = {.dateAt = 0xFFFFFFF0}},
    };
    for (const auto& r : rows) {
        std::string bytes = r.before + Bytes(r.tiff);
        EXPECT_EQ(r.key, Read(bytes.substr(0, bytes.size() - r.cut))) << r.name;
    }
}

TEST(DateTaken, TakesOnlyAWholeDateInRange) {
    const struct { const char* date; long long key; } rows[] = {
        {"1999:12:31 23:59:59", 19991231235959}, {"0001:01:01 00:00:00", 10101000000}, {"0000:00:00 00:00:00", 0},
        {"    :  :     :  :  ", 0}, {"2024:03:1A 14:25:01", 0}, {"2024-03-15 14:25:01", 0}, {"2024:03:15T14:25:01", 0},
        {"+024:03:15 14:25:01", 0}, {"0000:03:15 14:25:01", 0}, {"2024:00:15 14:25:01", 0}, {"2024:13:15 14:25:01", 0},
        {"2024:03:00 14:25:01", 0}, {"2024:03:32 14:25:01", 0}, {"2024:03:15 24:25:01", 0}, {"2024:03:15 14:60:01", 0},
        {"2024:03:15 14:25:60", 0}, {"2024:03:15 14:25:01X", 0}};  // the last has no NUL in its 20 bytes
    for (const auto& r : rows) EXPECT_EQ(r.key, Read(Bytes({.date = r.date}))) << r.date;
}
