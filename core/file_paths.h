// Paths as the program checks and orders them: the exact conversion of a
// wide path to code page 932, the test for names the Win32 calls would trim,
// the existence test and the sort of a batch of paths.
#pragma once

#include <stddef.h>

enum {
    kPathSize = 260,        // a path: at most 259 bytes + NUL
    kMaxPathLength = 259,
};

enum PathKind {
    File,       // exists and is not a directory
    Directory,  // exists and is a directory
};

// Converts a wide path or name of at most 259 characters to code page 932
// without best fit. 1 when text (size bytes) then holds a text that converts
// back to exactly the wide one; 0 when a character has no code-page-932 form
// or the text does not fit. Only such a text names the same file through the
// ANSI calls: a best fit turns "café" into "cafe" and "¥" into a backslash.
int WideToExactAnsi(const wchar_t* wide, char* text, size_t size);

// Whether a name of the path ends in a dot or a space, which the Win32 calls
// drop: "memo." would name "memo".
int HasTrimmedName(const wchar_t* path);

// Whether the path, used as a file-search pattern, first matches something
// of the kind. A drive root or a path ending in a backslash is never found.
int PathExists(const char* path, PathKind kind);

// Sorts path pointers ascending by the case-insensitive comparison.
void SortPaths(char** paths, int count);
