// The shell's folder picker, used by the folder command and by the main
// window's output-folder button.
#pragma once

#include <windows.h>

#include "core/seams.h"

// The picker over the whole shell namespace, file-system folders only,
// opening on the folder in path (at least 260 bytes) and writing the chosen
// folder back into it. 1 on success; otherwise 0 and path is unchanged. A
// folder whose path has no exact code-page-932 form is refused, and the user
// told in a message owned by owner.
int BrowseForFolder(HWND owner, char* path, const char* title);

// The picker's callback: once the picker is up, selects the folder named by
// data (the caller's path buffer). Returns 0.
int CALLBACK BrowseCallback(HWND picker, UINT message, LPARAM lParam, LPARAM data);

// Tests answer the picker through SetFolderPicker (core/seams.h).
