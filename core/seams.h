// The program's seams: where a test (or a benchmark) puts its own handler in
// place of what the user or the system would do. Each setter returns the
// handler installed before; 0 puts the real one back. The allocation seam,
// which the platform-neutral code uses too, is in core/heap.h.
#pragma once

#include <windows.h>

#include "core/heap.h"

// Every message box (prompt.cpp): returns IDOK, IDYES, IDNO or IDCANCEL.
typedef int (*PromptHandler)(HWND owner, const char* text, const char* title, UINT buttons, UINT icon);
PromptHandler SetPromptHandler(PromptHandler handler);

// The shell's folder picker (folder_picker.cpp): writes the chosen folder into
// path and returns 1, or 0 when cancelled.
typedef int (*FolderPicker)(HWND owner, char* path, const char* title);
FolderPicker SetFolderPicker(FolderPicker picker);

// Opening a link with the user's browser or mail program (shell_link.cpp).
typedef void (*LinkOpener)(HWND owner, const char* target);
LinkOpener SetLinkOpener(LinkOpener opener);

// The pause after a completed run (run_command.cpp).
typedef void (*PauseHandler)(DWORD milliseconds);
PauseHandler SetPauseHandler(PauseHandler handler);

// The handlers installed; 0 where the real one serves.
struct Seams {
    PromptHandler prompt;
    FolderPicker folderPicker;
    LinkOpener linkOpener;
    PauseHandler pause;
};

const Seams* GetSeams();
