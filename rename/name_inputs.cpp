#include "rename/name_inputs.h"

#include "core/control_text.h"
#include "core/mbcs_text.h"

void ReadNamePattern(NamePattern* pattern, NameInputTexts* texts)
{
    AppState* state = GetAppState();
    ReadControlText(state->prefixEdit, texts->prefix, sizeof texts->prefix);
    ReadControlText(state->suffixEdit, texts->suffix, sizeof texts->suffix);
    ReadControlText(state->startNumberEdit, texts->startNumber, sizeof texts->startNumber);
    pattern->prefix = texts->prefix;
    pattern->suffix = texts->suffix;
    pattern->startNumber = ReadDecimal(texts->startNumber);
    pattern->digitCount = (int)SendMessageA(state->digitCountCombo, CB_GETCURSEL, 0, 0) + 1;
    pattern->operation = state->fileOperation;
    pattern->extensionMode = state->extensionMode;
    pattern->outputFolder = state->outputFolder;
    pattern->replacementExtension = state->replacementExtension;
}
