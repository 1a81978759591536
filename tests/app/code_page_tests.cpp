// The tests are only worth anything under the Japanese ANSI code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

namespace {

TEST(Environment, RunsUnderCodePage932)
{
    ASSERT_EQ(932u, GetACP()) << "run Wine with LANG=ja_JP.UTF-8 and LC_ALL=ja_JP.UTF-8";
}

TEST(Environment, LiteralsAreShiftJis)
{
    const char text[] = "ソ表";
    ASSERT_EQ(4u, strlen(text));
    EXPECT_EQ(0, memcmp(text, "\x83\x5C\x95\x5C", 4));
}

TEST(Environment, SystemAgreesOnTheDoubleByteRule)
{
    EXPECT_TRUE(IsDBCSLeadByte(0x83));
    EXPECT_TRUE(IsDBCSLeadByte(0xE0));
    EXPECT_FALSE(IsDBCSLeadByte(0xA1));  // half-width katakana
    EXPECT_FALSE(IsDBCSLeadByte('A'));
    EXPECT_EQ("\x83\x5C" + 2, CharNextA("\x83\x5C"));
}

}  // namespace
