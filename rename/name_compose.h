// Building a file's new path from the naming pattern. Pure text work on
// code-page-932 strings; nothing here touches the file system or a window.
#pragma once

#include <stddef.h>

#include "core/file_modes.h"

enum {
    kMaxDigitCount = 8,
    kNumberTextSize = 32,  // a formatted running number, sign included
    kExtensionSize = 260,  // "." + a 256-byte replacement + NUL fits
    // Room for every piece of a new path at its bound: drive, directory and
    // file name (255 each) + the largest extension, or prefix and suffix (32
    // each) + number + output folder (260). Nothing is ever cut to fit.
    kNewPathSize = 1024,
};

// Everything a new name is made of, read once when a run starts.
struct NamePattern {
    const char* prefix;
    const char* suffix;
    long long startNumber;
    int digitCount;  // 0 when the digit-count combo has no selection
    int operation;   // FileOperation
    int extensionMode;  // ExtensionMode
    const char* outputFolder;
    const char* replacementExtension;  // without the dot
};

// value zero-filled to at least digitCount characters (the minus sign counts
// toward the width); never cut. digitCount is clamped to 0..kMaxDigitCount.
// Returns the length written into text (kNumberTextSize bytes or more).
int FormatSequenceNumber(long long value, int digitCount, char* text, size_t size);

// Changes an extension (dot included) in place by an ExtensionMode. Lower and
// Upper change only one-byte ASCII letters; Specified makes it "." +
// replacement, or nothing for an empty replacement. Returns 0, leaving the extension as it was, when the
// replacement does not fit into size bytes.
int TransformExtension(char* extension, size_t size, int mode, const char* replacement);

// The new path of the list entry at position (0-based) with the given source
// path. Returns 1, or 0 with an empty newPath when the whole path would not
// fit into size bytes or the source's pieces do not fit the split: a path is
// never cut. The output folder and the name are joined by a backslash unless
// the folder ends in one (a drive root).
int ComposeNewName(const NamePattern* pattern, const char* source, int position,
                   char* newPath, size_t size);
