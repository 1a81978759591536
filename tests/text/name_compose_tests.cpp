// The running number, the extension treatment and the composed new paths.
#include <gtest/gtest.h>

#include <limits.h>
#include <string.h>

#include <string>

#include "rename/name_compose.h"

namespace {

struct NumberCase {
    long long value;
    int digitCount;
    const char* expected;
};

TEST(FormatSequenceNumber, ZeroFillsToTheDigitCountAndNeverCuts)
{
    const NumberCase cases[] = {
        {7, 4, "0007"},
        {-7, 4, "-007"},      // the sign counts toward the width
        {12345, 4, "12345"},  // wider than the digit count: all digits
        {7, 0, "7"},          // no selection in the digit-count combo
        {-7, 0, "-7"},
        {0, 4, "0000"},
        {99, 2, "99"},
        {100, 2, "100"},
        {1, 8, "00000001"},
        {5, 12, "00000005"},  // clamped to eight digits
        {5, -3, "5"},
        {2147483652LL, 4, "2147483652"},
        {-2147483648LL, 8, "-2147483648"},
    };
    for (const NumberCase& c : cases) {
        char text[kNumberTextSize];
        int length = FormatSequenceNumber(c.value, c.digitCount, text, sizeof text);
        EXPECT_STREQ(c.expected, text) << c.value << " with " << c.digitCount;
        EXPECT_EQ((int)strlen(c.expected), length);
    }
}

struct ExtensionCase {
    const char* extension;
    int mode;
    const char* replacement;
    const char* expected;
};

TEST(TransformExtension, ChangesOnlyOneByteLettersOrReplacesTheExtension)
{
    const ExtensionCase cases[] = {
        {".JPG", Keep, "", ".JPG"},
        {".JPG", Lower, "", ".jpg"},
        {".jpg", Upper, "", ".JPG"},
        {".Jp9_g", Upper, "", ".JP9_G"},
        {"", Lower, "", ""},
        {"", Upper, "", ""},
        {".JPG", Specified, "png", ".png"},
        {"", Specified, "png", ".png"},      // no extension gets one
        {".JPG", Specified, "", "."},
        {".JPG", Specified, ".png", "..png"},  // a typed dot doubles
        {".\x83\x61", Upper, "", ".\x83\x61"},  // trail byte 'a' untouched
        {".\x83\x41", Lower, "", ".\x83\x41"},  // trail byte 'A' untouched
        {".\x83\x41x", Upper, "", ".\x83\x41X"},
        {".\xB1" "a", Upper, "", ".\xB1" "A"},     // half-width katakana is one byte
        {".a\x83", Upper, "", ".A\x83"},       // lone lead byte at the end
    };
    for (const ExtensionCase& c : cases) {
        char extension[kExtensionSize];
        strcpy(extension, c.extension);
        EXPECT_EQ(1, TransformExtension(extension, sizeof extension, c.mode, c.replacement));
        EXPECT_STREQ(c.expected, extension) << c.extension << " mode " << c.mode;
    }
}

TEST(TransformExtension, RefusesAReplacementThatDoesNotFit)
{
    char extension[8] = ".jpg";
    EXPECT_EQ(0, TransformExtension(extension, sizeof extension, Specified, "1234567"));
    EXPECT_STREQ(".jpg", extension);
    EXPECT_EQ(1, TransformExtension(extension, sizeof extension, Specified, "123456"));
    EXPECT_STREQ(".123456", extension);
}

NamePattern DefaultPattern()
{
    NamePattern pattern;
    pattern.prefix = "Sample";
    pattern.suffix = "";
    pattern.startNumber = 1;
    pattern.digitCount = 4;
    pattern.operation = RenameOnly;
    pattern.extensionMode = Keep;
    pattern.outputFolder = "";
    pattern.replacementExtension = "";
    return pattern;
}

struct ComposeCase {
    const char* source;
    int operation;
    int extensionMode;
    const char* replacement;
    const char* outputFolder;
    long long startNumber;
    int digitCount;
    int position;
    const char* expected;
};

TEST(ComposeNewName, JoinsThePiecesForEveryOperationAndExtensionMode)
{
    const char* img = "C:\\a\\b\\IMG_7.JPG";
    const ComposeCase cases[] = {
        {img, RenameOnly, Lower, "", "", 1, 4, 0, "C:\\a\\b\\Sample0001.jpg"},
        {img, RenameOnly, Lower, "", "", 1, 4, 9, "C:\\a\\b\\Sample0010.jpg"},
        {img, RenameOnly, Keep, "", "", 1, 4, 0, "C:\\a\\b\\Sample0001.JPG"},
        {img, RenameOnly, Upper, "", "", 1, 4, 0, "C:\\a\\b\\Sample0001.JPG"},
        {img, RenameOnly, Specified, "tif", "", 1, 4, 0, "C:\\a\\b\\Sample0001.tif"},
        {img, ExtensionOnly, Specified, "png", "", 1, 4, 0, "C:\\a\\b\\IMG_7.png"},
        {img, ExtensionOnly, Keep, "", "", 1, 4, 5, "C:\\a\\b\\IMG_7.JPG"},
        {img, ExtensionOnly, Lower, "", "", 1, 4, 0, "C:\\a\\b\\IMG_7.jpg"},
        {img, ExtensionOnly, Specified, ".png", "", 1, 4, 0, "C:\\a\\b\\IMG_7..png"},
        {img, RenameMove, Lower, "", "E:\\out", 1, 4, 0, "E:\\out\\Sample0001.jpg"},
        {img, RenameMove, Keep, "", "E:\\out", 1, 4, 0, "E:\\out\\Sample0001.JPG"},
        {img, RenameCopy, Keep, "", "E:\\out", 1, 4, 2, "E:\\out\\Sample0003.JPG"},
        {"C:\\a\\README", RenameOnly, Keep, "", "", 1, 4, 0, "C:\\a\\Sample0001"},
        {"C:\\a\\README", RenameOnly, Lower, "", "", 1, 4, 0, "C:\\a\\Sample0001"},
        {"C:\\a\\README", RenameOnly, Upper, "", "", 1, 4, 0, "C:\\a\\Sample0001"},
        {"C:\\a\\README", ExtensionOnly, Specified, "txt", "", 1, 4, 0, "C:\\a\\README.txt"},
        {"C:\\a\\x.txt", RenameOnly, Keep, "", "", 99, 2, 0, "C:\\a\\Sample99.txt"},
        {"C:\\a\\x.txt", RenameOnly, Keep, "", "", 99, 2, 1, "C:\\a\\Sample100.txt"},
        {"C:\\a\\x.txt", RenameOnly, Keep, "", "", 99, 2, 2, "C:\\a\\Sample101.txt"},
        {"C:\\a\\x.txt", RenameOnly, Keep, "", "", -7, 4, 0, "C:\\a\\Sample-007.txt"},
        {"C:\\a\\x.txt", RenameOnly, Keep, "", "", -7, 4, 1, "C:\\a\\Sample-006.txt"},
        {"C:\\a\\x.txt", RenameOnly, Keep, "", "", 0, 4, 0, "C:\\a\\Sample0000.txt"},
        {"C:\\a\\x.txt", RenameOnly, Keep, "", "", 7, 0, 0, "C:\\a\\Sample7.txt"},
        {"C:\\a\\x.txt", RenameOnly, Keep, "", "", INT_MAX, 4, 5, "C:\\a\\Sample2147483652.txt"},
        {"\\\\srv\\share\\x.txt", RenameOnly, Keep, "", "", 1, 4, 0, "\\\\srv\\share\\Sample0001.txt"},
        {"x.txt", RenameOnly, Keep, "", "", 1, 4, 0, "Sample0001.txt"},
        {"D:\\\x95\x5C\\x.txt", RenameOnly, Keep, "", "", 1, 4, 0, "D:\\\x95\x5C\\Sample0001.txt"},
        {"D:\\\x95\x5C.JPG", ExtensionOnly, Lower, "", "", 1, 4, 0, "D:\\\x95\x5C.jpg"},
    };
    for (const ComposeCase& c : cases) {
        NamePattern pattern = DefaultPattern();
        pattern.operation = c.operation;
        pattern.extensionMode = c.extensionMode;
        pattern.replacementExtension = c.replacement;
        pattern.outputFolder = c.outputFolder;
        pattern.startNumber = c.startNumber;
        pattern.digitCount = c.digitCount;
        char newPath[kNewPathSize];
        EXPECT_EQ(1, ComposeNewName(&pattern, c.source, c.position, newPath, sizeof newPath));
        EXPECT_STREQ(c.expected, newPath) << c.source << " op " << c.operation << " mode "
                                          << c.extensionMode << " at " << c.position;
    }
}

TEST(ComposeNewName, UsesPrefixAndSuffixAroundTheNumber)
{
    NamePattern pattern = DefaultPattern();
    pattern.prefix = "\x8E\xCA\x90\x5E_";  // 写真_
    pattern.suffix = "_end";
    char newPath[kNewPathSize];
    ASSERT_EQ(1, ComposeNewName(&pattern, "C:\\p\\a.jpg", 0, newPath, sizeof newPath));
    EXPECT_STREQ("C:\\p\\\x8E\xCA\x90\x5E_0001_end.jpg", newPath);
}

TEST(ComposeNewName, ReturnsAPathLongerThanTheSystemLimitWhole)
{
    // A 255-byte directory, 32-byte prefix and suffix: far over 259 bytes,
    // returned whole for the run to report rather than cut into another name.
    std::string directory = "\\" + std::string(253, 'd') + "\\";
    std::string prefix(32, 'p'), suffix(32, 's');
    NamePattern pattern = DefaultPattern();
    pattern.prefix = prefix.c_str();
    pattern.suffix = suffix.c_str();
    std::string source = "C:" + directory + "x.jpeg";
    char newPath[kNewPathSize];
    ASSERT_EQ(1, ComposeNewName(&pattern, source.c_str(), 0, newPath, sizeof newPath));
    EXPECT_EQ("C:" + directory + prefix + "0001" + suffix + ".jpeg", std::string(newPath));
    EXPECT_GT(strlen(newPath), 259u);
}

TEST(ComposeNewName, FitsEveryPieceAtItsBound)
{
    std::string name(255, 'n'), directory = "\\" + std::string(253, 'd');
    std::string replacement(256, 'e');
    NamePattern pattern = DefaultPattern();
    pattern.operation = ExtensionOnly;
    pattern.extensionMode = Specified;
    pattern.replacementExtension = replacement.c_str();
    std::string source = "C:" + directory + "\\" + name + ".x";
    char newPath[kNewPathSize];
    ASSERT_EQ(1, ComposeNewName(&pattern, source.c_str(), 0, newPath, sizeof newPath));
    EXPECT_EQ(2 + 255 + 255 + 257u, strlen(newPath));
    // One byte more and the directory would be cut: the path is refused.
    source.insert(3, "d");
    EXPECT_EQ(0, ComposeNewName(&pattern, source.c_str(), 0, newPath, sizeof newPath));
}

TEST(ComposeNewName, RefusesABufferTooSmallWithoutWritingPastIt)
{
    NamePattern pattern = DefaultPattern();
    const char* expected = "C:\\a\\Sample0001.jpg";  // 19 bytes
    char buffer[32];
    for (size_t size = 0; size <= 20; size++) {
        memset(buffer, 'X', sizeof buffer);
        int result = ComposeNewName(&pattern, "C:\\a\\x.jpg", 0, buffer, size);
        EXPECT_EQ(size == 20 ? 1 : 0, result) << size;
        if (size > 0) EXPECT_STREQ(size == 20 ? expected : "", buffer);
        EXPECT_EQ('X', buffer[size]) << "wrote past " << size;
    }
}

}  // namespace
