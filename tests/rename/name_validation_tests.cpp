// The check of a name part before it goes into file names.
#include <gtest/gtest.h>
#include <windows.h>

#include "rename/name_validation.h"
#include "support/prompt_script.h"

namespace {

TEST(ValidateNamePart, RefusesTheTenCharactersWithOneMessageWithoutOwner)
{
    // The double quote passes; so do ソ and 表能, whose trail bytes are 0x5C, a
    // lone lead byte at the end, and half-width katakana.
    const char* const valid[] = {"",         "Sample",           "写真_旅行", "a\"b",
                                 "\x83\x5C", "\x95\x5C\x94\x5C", "ab\x83",    "\xB1\xB2"};
    // ソ then a real backslash; ':' is no trail byte, so the lead byte stands alone.
    const char* const invalid[] = {"a,b", "a;b", "a*b?c", "\\", "/", ":", "<", ">", "|",
                                   "\x83\x5C\\", "\x83:"};
    for (const char* text : valid) {
        PromptScript script;
        EXPECT_EQ(1, ValidateNamePart(text)) << text;
        EXPECT_EQ(0u, script.Count()) << text;
    }
    for (const char* text : invalid) {
        PromptScript script;
        EXPECT_EQ(0, ValidateNamePart(text)) << text;
        ASSERT_EQ(1u, script.Count()) << "one message however many: " << text;
        EXPECT_EQ(nullptr, (void*)script.Last().owner);
        EXPECT_EQ("ファイル名には次の文字は使えません。\r\n\\ / : , ; * ?  < > |", script.Last().text);
        EXPECT_EQ("無効なファイル名", script.Last().title);
        EXPECT_EQ((UINT)MB_OK | MB_ICONERROR, script.Last().buttons | script.Last().icon);
    }
}

}  // namespace
