// The double-byte walk, comparison, path split and cutting of code-page-932
// text. Built for Wine and natively under the sanitizers.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/mbcs_text.h"

namespace {

struct CharCase {
    const char* text;
    int length;
};

TEST(CharLength, FollowsTheDoubleByteRule)
{
    const CharCase cases[] = {
        {"", 0},
        {"A", 1},
        {"\x83\x5C", 2},     // ソ: trail byte equals a backslash
        {"\x95\x5C", 2},     // 表
        {"\x81\x40", 2},     // lowest lead, lowest trail
        {"\xFC\xFC", 2},     // highest lead, highest trail
        {"\xE0\x40", 2},
        {"\x83", 1},         // lone lead byte before the terminator
        {"\x83\x7F", 1},     // 0x7F is never a trail byte
        {"\x83\x3F", 1},     // below the trail range
        {"\x80\x40", 1},     // 0x80 is not a lead byte
        {"\xA0\x40", 1},
        {"\xFD\x40", 1},
        {"\xB1\x40", 1},     // half-width katakana is one byte
    };
    for (const CharCase& c : cases) EXPECT_EQ(c.length, CharLength(c.text)) << c.text;
}

struct CompareCase {
    const char* a;
    const char* b;
    int sign;
};

TEST(CompareNoCase, FoldsOnlyAsciiLettersAndComparesBytesUnsigned)
{
    const CompareCase cases[] = {
        {"a.txt", "B.txt", -1},
        {"B.txt", "c.txt", -1},
        {"ABC", "abc", 0},
        {"file_1.txt", "fileA.txt", -1},  // '_' is below 'a'
        {"file1", "filea", -1},           // digits before letters
        {"abc", "abcd", -1},
        {"", "", 0},
        {"\x81", "z", 1},                 // high bytes above ASCII
        {"\x83\x41", "\x83\x61", 0},      // a trail byte in A-Z is folded too
        {"Z", "[", 1},                    // 'Z' folds to 'z', above '['
        {"C:\\A\\X.JPG", "c:\\a\\x.jpg", 0},
    };
    for (const CompareCase& c : cases) {
        int result = CompareNoCase(c.a, c.b);
        int sign = (result > 0) - (result < 0);
        EXPECT_EQ(c.sign, sign) << c.a << " vs " << c.b;
        int reverse = CompareNoCase(c.b, c.a);
        EXPECT_EQ(-c.sign, (reverse > 0) - (reverse < 0)) << c.b << " vs " << c.a;
    }
}

struct SplitCase {
    const char* path;
    const char* drive;
    const char* directory;
    const char* fileName;
    const char* extension;
};

TEST(SplitPath, SplitsIntoDriveDirectoryNameAndExtension)
{
    const SplitCase cases[] = {
        {"C:\\a\\b\\IMG_7.JPG", "C:", "\\a\\b\\", "IMG_7", ".JPG"},
        {"a.b.c", "", "", "a.b", ".c"},
        {".profile", "", "", "", ".profile"},
        {"C:\\dir.x\\name", "C:", "\\dir.x\\", "name", ""},
        {"\\\\server\\share\\f.txt", "", "\\\\server\\share\\", "f", ".txt"},
        {"a/b\\c.d", "", "a/b\\", "c", ".d"},
        {"C:", "C:", "", "", ""},
        {"C:\\", "C:", "\\", "", ""},
        {"", "", "", "", ""},
        {"x", "", "", "x", ""},
        {"D:\\\x95\x5C.txt", "D:", "\\", "\x95\x5C", ".txt"},            // 表.txt
        {"D:\\\x83\x5C\x95\x5C", "D:", "\\", "\x83\x5C\x95\x5C", ""},    // ソ表: no separator
        {"D:\\\x95\x5C\\f.txt", "D:", "\\\x95\x5C\\", "f", ".txt"},      // folder 表
        {"C:\\x\x83", "C:", "\\", "x\x83", ""},                          // lone lead byte
        {"C:\\x.\x83", "C:", "\\", "x", ".\x83"},
        {"name.", "", "", "name", "."},
    };
    for (const SplitCase& c : cases) {
        PathParts parts;
        SplitPath(c.path, &parts);
        EXPECT_STREQ(c.drive, parts.drive) << c.path;
        EXPECT_STREQ(c.directory, parts.directory) << c.path;
        EXPECT_STREQ(c.fileName, parts.fileName) << c.path;
        EXPECT_STREQ(c.extension, parts.extension) << c.path;
    }
}

TEST(SplitPath, CutsLongPiecesTo255BytesBeforeAWholeCharacter)
{
    std::string asciiName(300, 'n');
    PathParts parts;
    SplitPath(("C:\\d\\" + asciiName + ".txt").c_str(), &parts);
    EXPECT_EQ(std::string(255, 'n'), parts.fileName);
    EXPECT_STREQ(".txt", parts.extension);

    // 150 characters of two bytes: the 128th would need bytes 255 and 256.
    std::string wide;
    for (int i = 0; i < 150; i++) wide += "\x95\x5C";
    SplitPath(("C:" + wide + "\\f").c_str(), &parts);
    EXPECT_EQ(254u, strlen(parts.directory));
    EXPECT_EQ(0, memcmp(parts.directory, wide.c_str(), 254));
    EXPECT_STREQ("f", parts.fileName);
}

struct CutCase {
    const char* source;
    size_t size;
    const char* expected;
};

TEST(CopyTextCut, KeepsWholeCharactersOnly)
{
    const CutCase cases[] = {
        {"Sample", 33, "Sample"},
        {"Sample", 4, "Sam"},
        {"Sample", 1, ""},
        {"\x95\x5C\x95\x5C", 4, "\x95\x5C"},  // the second character would not fit
        {"\x95\x5C\x95\x5C", 5, "\x95\x5C\x95\x5C"},
        {"a\x95\x5C", 3, "a"},
        {"ab\x83", 4, "ab\x83"},              // a lone lead byte is one character
        {"\xB1\xB2\xB3", 3, "\xB1\xB2"},      // half-width katakana cut anywhere
    };
    for (const CutCase& c : cases) {
        char dest[64];
        memset(dest, 'X', sizeof dest);
        size_t length = CopyTextCut(dest, c.size, c.source);
        EXPECT_STREQ(c.expected, dest) << c.source << " into " << c.size;
        EXPECT_EQ(strlen(c.expected), length);
        EXPECT_EQ('X', dest[c.size]) << "wrote past the buffer";
    }
}

TEST(CopyTextCut, CutsAThirtyTwoByteFieldBeforeAStraddlingCharacter)
{
    std::string text = std::string(31, 'a') + "\x95\x5C" + "b";
    char field[33];
    EXPECT_EQ(31u, CopyTextCut(field, sizeof field, text.c_str()));
    EXPECT_EQ(std::string(31, 'a'), field);

    text = std::string(30, 'a') + "\x95\x5C" + "b";
    EXPECT_EQ(32u, CopyTextCut(field, sizeof field, text.c_str()));
    EXPECT_EQ(std::string(30, 'a') + "\x95\x5C", field);
}

struct BackslashCase {
    const char* text;
    const char* afterRemoval;
    int removed;
};

TEST(RemoveTrailingBackslash, RemovesOnlyARealBackslashCharacter)
{
    const BackslashCase cases[] = {
        {"C:\\", "C:", 1},
        {"C:\\photos\\", "C:\\photos", 1},
        {"C:\\photos", "C:\\photos", 0},
        {"D:\\\x95\x5C", "D:\\\x95\x5C", 0},          // folder 表: its trail byte stays
        {"D:\\\x95\x5C\\", "D:\\\x95\x5C", 1},
        {"", "", 0},
        {"\x83", "\x83", 0},
        {"\\", "", 1},
    };
    for (const BackslashCase& c : cases) {
        char text[64];
        strcpy(text, c.text);
        EXPECT_EQ(c.removed, EndsWithBackslash(c.text)) << c.text;
        EXPECT_EQ(c.removed, RemoveTrailingBackslash(text)) << c.text;
        EXPECT_STREQ(c.afterRemoval, text);
    }
}

}  // namespace
