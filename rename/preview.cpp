#include "rename/preview.h"

#include <stdio.h>

#include "core/mbcs_text.h"

static const char kPreviewDescription[] =
    "ファイル命名前置詞 + 連番書式 + ファイル命名後置詞 + .拡張子(例 hoge001.jpg)";

size_t BuildPreviewText(const char* prefix, const char* number, const char* suffix, char* text,
                        size_t size)
{
    char full[512];
    snprintf(full, sizeof full, "%s\r\n\r\n変換書式 ==> %s%s%s.拡張子", kPreviewDescription, prefix,
             number, suffix);
    return CopyTextCut(text, size, full);
}
