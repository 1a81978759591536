// Files and folders on disk as the intake and the run look at them: the
// existence test, the sort of a batch of paths and the walk over the files
// directly inside a folder.
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

// Paths an intake kept out of the list, counted so that the user hears of
// them once per intake.
struct LeftOutCounts {
    int tooLong;   // more than 259 bytes
    int unusable;  // not exactly in code page 932, or a name ends in a dot or a space
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

// An eligible file is one directly inside the folder, not a directory, with
// an extension (".profile" has one, "README" has none). The folder may end
// in a backslash ("C:\" walks the drive root).

// Adds the number of eligible files of the folder to *count, those the list
// cannot take included.
void CountFolderFiles(const char* folder, int* count);

// Stores a heap copy of each eligible file's full path at paths[*count] and
// raises *count, never beyond capacity: files that appeared after the count
// pass wait for the next intake. A full path longer than 259 bytes is not
// stored but counted in leftOut->tooLong, nor is a file whose name (or the
// folder's) has no exact code-page-932 form or ends in a dot or a space,
// counted in leftOut->unusable. The folder may be up to 259 bytes long. When a
// copy cannot be allocated the user is told and the walk stops; what was
// stored stays.
void CollectFolderFiles(const char* folder, char** paths, int capacity, int* count,
                        LeftOutCounts* leftOut);
