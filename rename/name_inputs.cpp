#include "rename/name_inputs.h"

#include "core/control_text.h"

long long ReadStartNumber(const char* text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') p++;
    int negative = 0;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long value = 0;
    // The edit holds at most 8 characters, so the value cannot overflow.
    for (int digits = 0; *p >= '0' && *p <= '9' && digits < 18; p++, digits++)
        value = value * 10 + (*p - '0');
    return negative ? -value : value;
}

void ReadNamePattern(NamePattern* pattern, NameInputTexts* texts)
{
    AppState* state = GetAppState();
    ReadControlText(state->prefixEdit, texts->prefix, sizeof texts->prefix);
    ReadControlText(state->suffixEdit, texts->suffix, sizeof texts->suffix);
    ReadControlText(state->startNumberEdit, texts->startNumber, sizeof texts->startNumber);
    pattern->prefix = texts->prefix;
    pattern->suffix = texts->suffix;
    pattern->startNumber = ReadStartNumber(texts->startNumber);
    pattern->digitCount = (int)SendMessageA(state->digitCountCombo, CB_GETCURSEL, 0, 0) + 1;
    pattern->operation = state->fileOperation;
    pattern->extensionMode = state->extensionMode;
    pattern->outputFolder = state->outputFolder;
    pattern->replacementExtension = state->replacementExtension;
}
