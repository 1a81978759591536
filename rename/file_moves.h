// Moving one file the careful ways a rename run needs: aside to a temporary
// name in its own folder, and through the fixed temporary file TOVIK.DAT.
#pragma once

#include <windows.h>

#include <stddef.h>

// The fixed name, in the user's temporary folder, of the copy that the
// temporary-file route goes through.
extern const char kTemporaryFileName[];

// Renames the file at path to a name no file has yet in the same folder and
// writes that path into temp (at least MAX_PATH bytes). 1, or 0 with the
// reason in *error and nothing moved.
int MoveAside(const char* path, char* temp, size_t size, DWORD* error);

// Whether the two paths name one and the same existing file (through
// another letter case, a short name or a hard link).
int IsSameFile(const char* a, const char* b);

// The route taken when the file system refuses to put a file over an existing
// one: the source is copied to TOVIK.DAT, the target removed and TOVIK.DAT
// copied to the target. For a move the source is then removed, but only once
// the copy stands under the target and the two are different files. 1 on
// success; 0 with the reason in *error, leaving the source where it was.
// *copied tells whether the target holds the copy (also when a move could
// not remove its source afterwards).
int ReplaceThroughTemporaryFile(const char* source, const char* target, int move, DWORD* error,
                                int* copied);
