// The scan for characters a file name may not contain.
#include <gtest/gtest.h>

#include <string>

#include "rename/name_rules.h"

namespace {

struct ForbiddenCase {
    const char* text;
    int position;
};

TEST(FindForbiddenChar, FindsTheFirstForbiddenOneByteCharacter)
{
    const ForbiddenCase cases[] = {
        {"", -1},
        {"Sample", -1},
        {"a,b", 1},                  // allowed by file systems, refused here
        {"a;b", 1},
        {"a\"b", -1},                // the double quote is not in the set
        {"\x01\x1F", -1},            // nor are control characters
        {"\x83\x5C", -1},            // ソ: its trail byte is not a backslash
        {"\x83\x5C\\", 2},
        {"\x95\x5C/", 2},
        {"ab\x83", -1},              // lone lead byte at the end
        {"\x83:", 1},                // ':' is below the trail range: the lead byte stands alone
        {"\x83|", -1},               // '|' (0x7C) is a trail byte: one character
        {"a*b?c", 1},                // the first one only
        {"\xB1:", 1},                // half-width katakana then a colon
    };
    for (const ForbiddenCase& c : cases) EXPECT_EQ(c.position, FindForbiddenChar(c.text)) << c.text;
}

TEST(FindForbiddenChar, RefusesEachOfTheTenCharacters)
{
    std::string set = "\\/:,;*?<>|";
    for (char c : set) {
        std::string text = std::string("ok") + c + "ok";
        EXPECT_EQ(2, FindForbiddenChar(text.c_str())) << c;
    }
    for (int c = 1; c < 0x80; c++) {
        std::string text(1, (char)c);
        bool forbidden = set.find((char)c) != std::string::npos;
        EXPECT_EQ(forbidden ? 0 : -1, FindForbiddenChar(text.c_str())) << c;
    }
}

TEST(FindForbiddenChar, DisplayListNamesTheSameCharacters)
{
    std::string display = kForbiddenNameCharsDisplay;
    EXPECT_EQ("\\ / : , ; * ?  < > |", display);
    for (const char* p = kForbiddenNameChars; *p; p++) EXPECT_NE(std::string::npos, display.find(*p));
}

}  // namespace
