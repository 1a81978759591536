// Which name part the user typed would put a forbidden character into file
// names. Platform-neutral.
#pragma once

#include "rename/name_compose.h"

enum NamePart {
    PartNone,
    PartExtension,  // the replacement extension
    PartPrefix,
    PartSuffix,
};

// The first part at fault, in the order the start command checks them: the
// replacement extension (only while the extension mode uses it), then the
// prefix and the suffix (always, even where the operation leaves them out).
// PartNone when none is.
int FindInvalidNamePart(const NamePattern* pattern);
