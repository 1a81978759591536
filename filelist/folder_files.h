// The walk over the files directly inside a folder, as the intake takes
// them in.
#pragma once

#include "core/file_paths.h"

// Paths an intake kept out of the list, counted so that the user hears of
// them once per intake.
struct LeftOutCounts {
    int tooLong;   // more than 259 bytes
    int unusable;  // not exactly in code page 932, or a name ends in a dot or a space
};

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
