#include "rename/name_rules.h"

#include <string.h>

#include "core/mbcs_text.h"

const char kForbiddenNameChars[] = "\\/:,;*?<>|";
const char kForbiddenNameCharsDisplay[] = "\\ / : , ; * ?  < > |";

int FindForbiddenChar(const char* text)
{
    for (const char* p = text; *p;) {
        int length = CharLength(p);
        if (length == 1 && strchr(kForbiddenNameChars, *p)) return (int)(p - text);
        p += length;
    }
    return -1;
}
