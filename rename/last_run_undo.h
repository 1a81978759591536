// Undo of the last run, from its journal.
#pragma once

#include <windows.h>

// The command "直前の改名を元に戻す" (and Ctrl+Z): when the journal holds an
// ended run, asks the user (owned by owner) and moves every file of that run
// that is as the run left it back to its old path, in reverse order; a copy
// is removed instead. What is left alone is listed. The journal then holds
// the undo, so that a second undo does nothing.
void UndoLastRun(HWND owner, HINSTANCE instance);
