#include "rename/name_validation.h"

#include <windows.h>

#include <stdio.h>

#include "core/prompt.h"
#include "rename/name_rules.h"

int ValidateNamePart(const char* text)
{
    if (FindForbiddenChar(text) < 0) return 1;
    char message[128];
    snprintf(message, sizeof message, "ファイル名には次の文字は使えません。\r\n%s",
             kForbiddenNameCharsDisplay);
    // No owner: the start command puts the focus on the edit afterwards.
    Prompt(NULL, message, "無効なファイル名", MB_OK, MB_ICONERROR);
    return 0;
}
