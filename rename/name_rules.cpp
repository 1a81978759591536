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

// What Windows forbids in a file name; "," and ";" are allowed there.
static const char kRefusedNameChars[] = "\\/:*?\"<>|";

// Whether the name before its first dot is one Windows keeps for a device,
// in any letter case: "nul.txt" names the device, not a file.
static int IsDeviceName(const char* name)
{
    size_t length = strcspn(name, ".");
    if (length != 3 && length != 4) return 0;
    char base[5];
    for (size_t i = 0; i < length; i++) {
        char c = name[i];
        base[i] = c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
    }
    base[length] = 0;
    if (length == 4) {
        if (base[3] < '1' || base[3] > '9') return 0;
        base[3] = 0;
        return strcmp(base, "com") == 0 || strcmp(base, "lpt") == 0;
    }
    return strcmp(base, "con") == 0 || strcmp(base, "prn") == 0 || strcmp(base, "aux") == 0 ||
           strcmp(base, "nul") == 0;
}

int FindNameFault(const char* name)
{
    int control = 0;
    const char* last = 0;
    for (const char* p = name; *p; p += CharLength(p)) {
        last = p;
        if (CharLength(p) != 1) continue;
        if (strchr(kRefusedNameChars, *p)) return NameForbiddenChar;
        if ((unsigned char)*p < 0x20) control = 1;
    }
    if (control) return NameControlChar;
    if (last && CharLength(last) == 1 && (*last == '.' || *last == ' ')) return NameEndsInDotOrSpace;
    return IsDeviceName(name) ? NameDeviceName : NameFine;
}
