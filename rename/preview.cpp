#include "rename/preview.h"

#include <stdio.h>

#include "core/mbcs_text.h"
#include "core/settings.h"

static const char kNameDescription[] =
    "ファイル命名前置詞 + 連番書式 + ファイル命名後置詞 + .拡張子(例 hoge001.jpg)";
static const char kExtensionOnlyDescription[] = "拡張子のみ変更(ファイル名は元のまま)";
static const char kReplacementRule[] = "変換書式 ==> 元の名前.";
static_assert(sizeof kExtensionOnlyDescription - 1 + 4 + sizeof kReplacementRule - 1 + kReplacementExtensionSize - 1
                  < kPreviewSize,
              "the longest replacement is shown whole");

// ExtensionOnly keeps the name and changes only the extension, by the rule
// TransformExtension applies; an empty replacement takes the extension away.
static void WriteExtensionRule(const NamePattern* pattern, char* rule, size_t size)
{
    switch (pattern->extensionMode) {
    case Lower:
        CopyTextCut(rule, size, "拡張子の英字を小文字にします");
        break;
    case Upper:
        CopyTextCut(rule, size, "拡張子の英字を大文字にします");
        break;
    case Specified:
        if (pattern->replacementExtension[0]) {
            snprintf(rule, size, "%s%s", kReplacementRule, pattern->replacementExtension);
        } else {
            CopyTextCut(rule, size, "拡張子を取り除きます");
        }
        break;
    default:
        CopyTextCut(rule, size, "拡張子は変更しません");
    }
}

size_t BuildPreviewText(const NamePattern* pattern, char* text, size_t size)
{
    char full[512];
    if (pattern->operation == ExtensionOnly) {
        char rule[400];
        WriteExtensionRule(pattern, rule, sizeof rule);
        snprintf(full, sizeof full, "%s\r\n\r\n%s", kExtensionOnlyDescription, rule);
    } else {
        char number[kNumberTextSize];
        FormatSequenceNumber(pattern->startNumber, pattern->digitCount, number, sizeof number);
        snprintf(full, sizeof full, "%s\r\n\r\n変換書式 ==> %s%s%s.拡張子", kNameDescription, pattern->prefix,
                 number, pattern->suffix);
    }
    return CopyTextCut(text, size, full);
}
