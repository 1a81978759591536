// The walk over the files directly inside a folder, as the intake takes
// them in.
#pragma once

#include "core/file_paths.h"
#include "filelist/path_buffer.h"

// Paths an intake kept out of the list, counted so that the user hears of
// them once per intake.
struct LeftOutCounts {
    int tooLong;   // more than 259 bytes
    int unusable;  // not exactly in code page 932, or a name ends in a dot or a space
};

// An eligible file is one directly inside the folder, not a directory, with
// an extension (".profile" has one, "README" has none). The folder may end
// in a backslash ("C:\" walks the drive root).

// Stores a heap copy of each eligible file's full path in paths, from
// paths->count on, growing the array with GrowPathBuffer as it fills. A full
// path longer than 259 bytes is not stored but counted in leftOut->tooLong,
// nor is a file whose name (or the folder's) has no exact code-page-932 form
// or ends in a dot or a space, counted in leftOut->unusable. The folder may be
// up to 259 bytes long. 1; or 0 when a copy cannot be allocated or the array
// cannot grow: the user has been told once that memory ran out, the walk
// stopped there and what was stored stays.
int CollectFolderFiles(const char* folder, PathBuffer* paths, LeftOutCounts* leftOut);
