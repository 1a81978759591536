// The naming pattern as the user has set it in the main window's controls.
#pragma once

#include "core/app_state.h"
#include "rename/name_compose.h"

enum { kStartNumberLength = 8 };  // characters of the start-number edit the names use

// Bounded copies of the edits' texts that a NamePattern points into.
struct NameInputTexts {
    char prefix[kPrefixSize];
    char suffix[kSuffixSize];
    char startNumber[kStartNumberLength + 1];
};

// Fills the pattern from the prefix, suffix and start-number edits, the
// digit-count combo, and AppState's operation, extension mode, output folder
// and replacement extension. The pattern points into texts.
void ReadNamePattern(NamePattern* pattern, NameInputTexts* texts);
