// The characters a typed name part may not contain.
#include <gtest/gtest.h>

#include "rename/name_rules.h"

TEST(NameRules, FindForbiddenCharFindsTheFirstForbiddenOneByteCharacter) {
    // ソ and 表 end in 0x5C, and '|' (0x7C) can be a trail byte; ':' cannot.
    const struct {
        std::string text;
        int position;
    } rows[] = {{"", -1}, {"Sample", -1}, {"a\"b\x01\x1F", -1}, {"ソ", -1}, {"ソ\\", 2}, {"表/", 2}, {"\x83|", -1},
                {"\x83:", 1}, {"a*b?c", 1}, {"ok\\", 2}, {"ok/", 2}, {"ok:", 2}, {"ok,", 2}, {"ok;", 2}, {"ok*", 2},
                {"ok?", 2}, {"ok<", 2}, {"ok>", 2}, {"ok|", 2}};
    for (const auto& r : rows) EXPECT_EQ(r.position, FindForbiddenChar(r.text.c_str())) << r.text;
}
