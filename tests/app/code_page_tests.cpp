// The tests are only worth anything under the Japanese ANSI code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include "core/mbcs_text.h"

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

TEST(Environment, SystemAgreesWithTheProgramsDoubleByteRule)
{
    for (int c = 1; c < 256; c++) {
        const char text[] = {(char)c, 0x40, 0};
        EXPECT_EQ(IsDBCSLeadByteEx(932, (BYTE)c) ? 2 : 1, CharLength(text)) << "lead byte " << c;
    }
}

}  // namespace
