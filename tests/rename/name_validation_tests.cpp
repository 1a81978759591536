// The check of a name part before it goes into file names.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "rename/name_validation.h"
#include "support/prompt_script.h"

namespace {

const char kMessage[] = "ファイル名には次の文字は使えません。\r\n\\ / : , ; * ?  < > |";
const char kTitle[] = "無効なファイル名";

struct ValidationCase {
    const char* text;
    int valid;
};

TEST(ValidateNamePart, RefusesTheTenCharactersWithOneMessageWithoutOwner)
{
    const ValidationCase cases[] = {
        {"", 1},
        {"Sample", 1},
        {"写真_旅行", 1},
        {"a\"b", 1},         // the double quote passes
        {"\x83\x5C", 1},     // ソ: its trail byte is 0x5C
        {"\x95\x5C\x94\x5C", 1},  // 表能
        {"ab\x83", 1},       // a lone lead byte at the end
        {"\xB1\xB2", 1},     // half-width katakana
        {"a,b", 0},          // file systems allow a comma; the program does not
        {"a;b", 0},
        {"a*b?c", 0},        // two forbidden characters, one message
        {"\\", 0},
        {"/", 0},
        {":", 0},
        {"<", 0},
        {">", 0},
        {"|", 0},
        {"\x83\x5C\\", 0},   // ソ then a real backslash
        {"\x83:", 0},        // ':' is no trail byte: the lead byte stands alone
    };
    for (const ValidationCase& c : cases) {
        PromptScript script;
        EXPECT_EQ(c.valid, ValidateNamePart(c.text)) << c.text;
        if (c.valid) {
            EXPECT_EQ(0u, script.Count()) << c.text;
            continue;
        }
        ASSERT_EQ(1u, script.Count()) << c.text;
        const AskedPrompt& asked = script.Last();
        EXPECT_EQ(nullptr, (void*)asked.owner);
        EXPECT_EQ(kMessage, asked.text);
        EXPECT_EQ(kTitle, asked.title);
        EXPECT_EQ((UINT)MB_OK, asked.buttons);
        EXPECT_EQ((UINT)MB_ICONERROR, asked.icon);
    }
}

}  // namespace
