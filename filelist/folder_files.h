// Files and folders on disk as the intake and the run look at them: the
// existence test, the sort of a batch of paths and the walk over the files
// directly inside a folder.
#pragma once

enum {
    kPathSize = 260,        // a path: at most 259 bytes + NUL
    kMaxPathLength = 259,
};

enum PathKind {
    File,       // exists and is not a directory
    Directory,  // exists and is a directory
};

// Whether the path, used as a file-search pattern, first matches something
// of the kind. A drive root or a path ending in a backslash is never found.
int PathExists(const char* path, PathKind kind);

// Sorts path pointers ascending by the case-insensitive comparison.
void SortPaths(char** paths, int count);

// An eligible file is one directly inside the folder, not a directory, with
// an extension (".profile" has one, "README" has none). The folder may end
// in a backslash ("C:\" walks the drive root).

// Adds the number of eligible files of the folder to *count, those whose full
// path would be too long for the list included.
void CountFolderFiles(const char* folder, int* count);

// Stores a heap copy of each eligible file's full path at paths[*count] and
// raises *count, never beyond capacity: files that appeared after the count
// pass wait for the next intake. A full path longer than 259 bytes is not
// stored but counted in *leftOut. When a copy cannot be allocated the user is
// told and the walk stops; what was stored stays.
void CollectFolderFiles(const char* folder, char** paths, int capacity, int* count, int* leftOut);
