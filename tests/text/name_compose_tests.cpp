// The running number, the extension treatment and the new paths they make.
#include <gtest/gtest.h>

#include "rename/name_compose.h"

TEST(NameCompose, NumbersAreZeroFilledAndExtensionsChangeOnlyOneByteLetters) {
    // The sign counts toward the width; digit count 0 is the combo without a selection.
    const struct {
        long long value;
        int digits;
        std::string text;
    } numbers[] = {{7, 4, "0007"}, {-7, 4, "-007"}, {12345, 4, "12345"}, {7, 0, "7"}, {1, 8, "00000001"},
                   {5, 12, "00000005"}, {5, -3, "5"}};
    for (const auto& r : numbers) {
        char text[kNumberTextSize];
        int length = FormatSequenceNumber(r.value, r.digits, text, sizeof text);
        EXPECT_EQ(r.text, std::string(text, (size_t)length)) << r.value << " in " << r.digits;
    }
    const struct {
        const char* before;
        int mode;
        const char* replacement;
        int changed;
        const char* after;
    } extensions[] = {
        {".JPG", Keep, "", 1, ".JPG"},
        {".JPG", Lower, "", 1, ".jpg"},
        {".Jp9_g", Upper, "", 1, ".JP9_G"},
        {".\x83\x61z", Upper, "", 1, ".\x83\x61Z"},  // trail bytes that look like letters
        {".\x83\x5Az", Lower, "", 1, ".\x83\x5Az"},
        {"", Specified, "png", 1, ".png"},
        {".jpg", Specified, "123456", 1, ".123456"},
        {".jpg", Specified, "1234567", 0, ".jpg"},
        {".jpg", Specified, "", 1, ""},
    };
    for (const auto& r : extensions) {
        char extension[8];
        strcpy(extension, r.before);
        EXPECT_EQ(r.changed, TransformExtension(extension, sizeof extension, r.mode, r.replacement)) << r.before;
        EXPECT_EQ(r.after, std::string(extension)) << r.before << " mode " << r.mode;
    }
}

TEST(NameCompose, ComposeNewNameForEveryOperationAndMode) {
    const char* img = "C:\\a\\b\\IMG_7.JPG";
    const std::string deep = "C:\\" + std::string(300, 'd') + "\\x.jpg";  // a folder cut would name another
    const std::string e300(300, 'e');
    const struct {
        NamePattern p;
        const char* source;
        int position;
        int composed;
        const char* newPath;
    } rows[] = {
        {{"Sample", "", 1, 4, RenameOnly, Keep, "", ""}, img, 0, 1, "C:\\a\\b\\Sample0001.JPG"},
        {{"写真_", "_end", 99, 2, RenameOnly, Upper, "", ""}, "x.jpg", 1, 1, "写真_100_end.JPG"},
        {{"Sample", "", -7, 4, RenameOnly, Specified, "", "tif"}, "D:\\表\\README", 0, 1, "D:\\表\\Sample-007.tif"},
        {{"Sample", "", 1, 4, RenameMove, Lower, "E:\\out", ""}, img, 0, 1, "E:\\out\\Sample0001.jpg"},
        {{"Sample", "", 1, 0, RenameCopy, Keep, "E:\\出力", ""}, img, 2, 1, "E:\\出力\\Sample3.JPG"},
        {{"Sample", "", 1, 4, RenameMove, Lower, "E:\\", ""}, img, 0, 1, "E:\\Sample0001.jpg"},
        // The lone lead byte would take the "\".
        {{"Sample", "", 1, 4, RenameCopy, Keep, "E:\\\x83", ""}, img, 0, 0, ""},
        {{"Sample", "", 1, 4, ExtensionOnly, Lower, "", ""}, "D:\\表.JPG", 0, 1, "D:\\表.jpg"},
        {{"Sample", "", 1, 4, ExtensionOnly, Specified, "", "png"}, "C:\\a\\README", 0, 1, "C:\\a\\README.png"},
        {{"Sample", "", 1, 4, RenameOnly, Specified, "", e300.c_str()}, img, 0, 0, ""},  // past 256 bytes of extension
        {{"Sample", "", 1, 4, RenameOnly, Keep, "", ""}, deep.c_str(), 0, 0, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.source);
        char path[kNewPathSize] = "X";
        EXPECT_EQ(r.composed, ComposeNewName(&r.p, r.source, r.position, path, sizeof path));
        EXPECT_EQ(r.newPath, std::string(path));
    }
}
