#include "ui/name_inputs.h"

#include "core/mbcs_text.h"
#include "rename/preview.h"
#include "ui/control_text.h"

void ReadNamePattern(NamePattern* pattern, NameInputTexts* texts)
{
    AppState* state = GetAppState();
    ReadControlText(state->prefixEdit, texts->prefix, sizeof texts->prefix);
    ReadControlText(state->suffixEdit, texts->suffix, sizeof texts->suffix);
    ReadControlText(state->startNumberEdit, texts->startNumber, sizeof texts->startNumber);
    ReadControlText(state->outputFolderEdit, texts->outputFolder, sizeof texts->outputFolder);
    ReadControlText(state->extensionEdit, texts->replacementExtension, sizeof texts->replacementExtension);
    pattern->prefix = texts->prefix;
    pattern->suffix = texts->suffix;
    pattern->startNumber = ReadDecimal(texts->startNumber);
    pattern->digitCount = ComboSelection(state->digitCountCombo) + 1;
    pattern->operation = state->fileOperation;
    pattern->extensionMode = state->extensionMode;
    pattern->outputFolder = texts->outputFolder;
    pattern->replacementExtension = texts->replacementExtension;
}

void UpdatePreview()
{
    NamePattern pattern;
    NameInputTexts texts;
    ReadNamePattern(&pattern, &texts);
    char preview[kPreviewSize];
    BuildPreviewText(&pattern, preview, sizeof preview);
    SetWindowTextA(GetAppState()->previewEdit, preview);
}
