// Code-page-932 text by the examples the rest of the program leans on; the fuzzer checks the same functions on
// arbitrary bytes.
#include <gtest/gtest.h>

#include "core/mbcs_text.h"

TEST(MbcsText, TheDoubleByteRuleTheCaseFreeOrderAndDecimals) {
    // ソ ends in 0x5C; 0x7F and bytes outside 0x40-0xFC are never trail bytes.
    const struct {
        const char* text;
        int length;
    } lengths[] = {{"", 0}, {"A", 1}, {"\x83\x5C", 2}, {"\x81\x40", 2}, {"\x9F\xFC", 2}, {"\xE0\x40", 2},
                   {"\xFC\x40", 2}, {"\x83", 1}, {"\x83\x7F", 1}, {"\x83\x3F", 1}, {"\x83\xFD", 1}, {"\x80\x40", 1},
                   {"\xA0\x40", 1}, {"\xDF\x40", 1}, {"\xFD\x40", 1}};
    for (const auto& r : lengths) EXPECT_EQ(r.length, CharLength(r.text)) << r.text;
    const struct {
        const char* a;
        const char* b;
        int sign;
    } orders[] = {{"a.txt", "B.txt", -1}, {"B.txt", "a.txt", 1}, {"ABC", "abc", 0}, {"file_1", "fileA", -1},
                  {"abc", "abcd", -1}, {"\x81", "z", 1}, {"Z", "[", 1}, {"\x83\x41", "\x83\x61", 0},
                  {"C:\\A\\X.JPG", "c:\\a\\x.jpg", 0}};
    for (const auto& r : orders) {
        int compared = CompareNoCase(r.a, r.b);
        EXPECT_EQ(r.sign, (compared > 0) - (compared < 0)) << r.a << " " << r.b;
    }
    const struct {
        const char* text;
        long long value;
    } numbers[] = {{" \t\n\r\v\f-7", -7}, {"+12x", 12}, {"abc", 0}, {"99999999", 99999999},
                   {"12345678901234567890", 123456789012345678}};
    for (const auto& r : numbers) EXPECT_EQ(r.value, ReadDecimal(r.text)) << r.text;
}

TEST(MbcsText, SplitAndCutKeepWholeCharactersAndSayWhenAPieceDidNotFit) {
    const std::string n300(300, 'n');
    std::string hyo150;
    for (int i = 0; i < 150; i++) hyo150 += "表";
    const struct {
        std::string path;
        int whole;
        std::string drive, directory, fileName, extension;
    } splits[] = {
        {"C:\\a\\b\\IMG_7.JPG", 1, "C:", "\\a\\b\\", "IMG_7", ".JPG"},
        {"a.b.c", 1, "", "", "a.b", ".c"},
        {".profile", 1, "", "", "", ".profile"},
        {"C:\\dir.x\\name", 1, "C:", "\\dir.x\\", "name", ""},
        {"a/b\\c.d", 1, "", "a/b\\", "c", ".d"},
        {"D:\\ソ表", 1, "D:", "\\", "ソ表", ""},
        {"D:\\表\\f.txt", 1, "D:", "\\表\\", "f", ".txt"},
        {"C:\\d\\" + n300 + ".txt", 0, "C:", "\\d\\", n300.substr(0, 255), ".txt"},
        {"C:" + hyo150 + "\\f", 0, "C:", hyo150.substr(0, 254), "f", ""},  // never half of 表
    };
    for (const auto& r : splits) {
        SCOPED_TRACE(r.path);
        PathParts p;
        EXPECT_EQ(r.whole, SplitPath(r.path.c_str(), &p));
        EXPECT_EQ(r.drive, p.drive);
        EXPECT_EQ(r.directory, p.directory);
        EXPECT_EQ(r.fileName, p.fileName);
        EXPECT_EQ(r.extension, p.extension);
    }
    // ソ is 0x83 0x5C and ャ 0x83 0x83: a 0x5C after an odd run of lead bytes is no separator.
    const struct {
        const char* path;
        const char* name;
    } names[] = {{"C:\\a\\b.jpg", "b.jpg"}, {"D:\\\x83\x5C\x83\x5C", "\x83\x5C\x83\x5C"},
                 {"C:\\\x83\x83\\x", "x"}, {"C:\\a\x83\x5C", "a\x83\x5C"}, {"name", "name"}, {"C:\\", ""}};
    for (const auto& r : names) EXPECT_STREQ(r.name, FileNameStart(r.path, strlen(r.path))) << r.path;
    const struct {
        const char* source;
        size_t size;
        const char* kept;
    } cuts[] = {{"Sample", 33, "Sample"}, {"Sample", 4, "Sam"}, {"Sample", 1, ""}, {"表表", 4, "表"},
                {"表表", 5, "表表"}, {"a表", 3, "a"}, {"ab\x83", 4, "ab\x83"}, {"\xB1\xB2\xB3", 3, "\xB1\xB2"}};
    for (const auto& r : cuts) {
        std::string dest(40, 'X');  // nothing written past the terminator
        EXPECT_EQ(strlen(r.kept), CopyTextCut(&dest[0], r.size, r.source)) << r.source << " into " << r.size;
        EXPECT_EQ(r.kept + std::string(1, '\0') + std::string(39 - strlen(r.kept), 'X'), dest);
    }
}
