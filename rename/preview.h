// The text of the naming pattern's preview, as the main window's read-only
// edit shows it. Platform-neutral.
#pragma once

#include <stddef.h>

#include "rename/name_compose.h"

// The longest preview, 拡張子のみ変更 with a 256-byte replacement extension,
// is 318 bytes.
enum { kPreviewSize = 319 };

// The preview text for the pattern: the name made of prefix, start number
// and suffix, or, for ExtensionOnly, what the run does to each extension.
// Returns the length written.
size_t BuildPreviewText(const NamePattern* pattern, char* text, size_t size);
