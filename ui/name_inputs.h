// The naming pattern as the user has set it in the main window's controls,
// read once into one NamePattern, and the preview that shows it.
#pragma once

#include "core/app_state.h"
#include "rename/name_compose.h"

enum { kStartNumberLength = 8 };  // characters of the start-number edit the names use

// Bounded copies of the controls' texts that a NamePattern points into.
struct NameInputTexts {
    char prefix[kPrefixSize];
    char suffix[kSuffixSize];
    char startNumber[kStartNumberLength + 1];
    char outputFolder[kOutputFolderSize];
    char replacementExtension[kReplacementExtensionSize];
};

// Fills the pattern from the prefix, suffix, start-number, output-folder and
// extension edits, the digit-count combo, and AppState's operation and
// extension mode. The pattern points into texts.
void ReadNamePattern(NamePattern* pattern, NameInputTexts* texts);

// Rebuilds the preview edit's text from the pattern the run would use.
void UpdatePreview();
