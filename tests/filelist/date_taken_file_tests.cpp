// The date taken read from real files: exactly their first 64 KB, whoever else holds them open.
#include "support/tovik_test.h"

#include "filelist/date_taken_file.h"

using namespace std::string_literals;

TEST_F(TovikTest, DateTakenIsReadFromTheFirst64KBOfAFileHeldOpenElsewhere) {
    const std::string exif = "\xFF\xE1\x00\x48" "Exif\0\0" "II*\0\x08\0\0\0" "\x01\0\x69\x87\x04\0\x01\0\0\0\x1A\0\0\0"
                             "\0\0\0\0" "\x01\0\x03\x90\x02\0\x14\0\0\0\x2C\0\0\0" "\0\0\0\0" "2024:03:15 14:25:01\0"s;
    // An APP0 of 0xFFB2 bytes puts the date's NUL at the 65,536th byte, one of 0xFFB3 past it.
    ASSERT_TRUE(WriteFileText(Path("a.jpg"), "\xFF\xD8"s + exif + std::string(100000, 'x')));
    ASSERT_TRUE(WriteFileText(Path("b.jpg"), "\xFF\xD8\xFF\xE0\xFF\xB2"s + std::string(0xFFB0, 'x') + exif));
    ASSERT_TRUE(WriteFileText(Path("c.jpg"), "\xFF\xD8\xFF\xE0\xFF\xB3"s + std::string(0xFFB1, 'x') + exif));
    Make({"d.jpg\\"});
    HANDLE held = CreateFileA(Path("a.jpg").c_str(), GENERIC_WRITE | DELETE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const struct { const char* name; long long key; } rows[] = {
        {"a.jpg", 20240315142501}, {"b.jpg", 20240315142501}, {"c.jpg", 0}, {"d.jpg", 0}, {"none.jpg", 0}};
    for (const auto& r : rows) {
        long long key = -1;
        EXPECT_EQ(r.key != 0, ReadFileDateTaken(Path(r.name).c_str(), &key) != 0) << r.name;
        EXPECT_EQ(r.key, key) << r.name;
    }
    CloseHandle(held);
}
