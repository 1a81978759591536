// Moving one file the careful ways a rename run needs: aside to a temporary
// name in its own folder, and through the fixed temporary file TOVIK.DAT.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "rename/run_table.h"

// The fixed name, in the user's temporary folder, of the copy that the
// temporary-file route goes through.
extern const char kTemporaryFileName[];

// The temporary name that entry index of the run tagged tag (0-1295) uses in
// the folder of path: "~tv", the tag and the index in base 36. Short, so that
// a file that can be renamed can also be moved aside. 1, or 0 with the reason
// in *error when the path's pieces or the result do not fit.
int TemporaryName(const char* path, unsigned tag, int index, char* temp, size_t size, DWORD* error);

// Whether the two paths name one and the same existing file (through
// another letter case, a short name or a hard link).
int IsSameFile(const char* a, const char* b);

// The identity of the file at path. 1, or 0 with the reason in *error:
// ERROR_FILE_NOT_FOUND only when the folder was reached and the name is
// absent from it, ERROR_DIRECTORY for a folder.
int ReadFileIdentity(const char* path, FileIdentity* identity, DWORD* error);

// Makes an empty file at path, where nothing may stand yet, and reads its
// identity. 1, or 0 with the reason in *error.
int CreateEmptyFile(const char* path, FileIdentity* identity, DWORD* error);

// Whether the error says that a file already stands there.
int IsExistsError(DWORD error);

// Whether the file at path is the one of that identity.
int IsFileOf(const char* path, const FileIdentity* identity);

// Whether nothing stands at path, in a folder that answered.
int IsAbsent(const char* path);

// Removes the file at path, read-only or not. 1, or 0.
int RemoveFile(const char* path);

// Moves the file at path to the Recycle Bin, showing nothing. 1, or 0 with
// the reason in *error.
int RecycleFile(const char* path, DWORD* error);

// The route taken when the file system refuses to put a file over an existing
// one: the source is copied into TOVIK.DAT, held open without sharing (so
// that another running copy of the program cannot use it at the same time)
// and removed when closed, the target is removed and the copy written under
// the target. For a move the source is then removed, but only once the copy
// stands under the target and the two are different files. 1 on success; 0
// with the reason in *error (kReasonTemporaryFileInUse when another copy
// holds TOVIK.DAT), leaving the source where it was. *copied tells whether
// the target holds the copy (also when a move could not remove its source
// afterwards).
int ReplaceThroughTemporaryFile(const char* source, const char* target, int move, DWORD* error,
                                int* copied);
