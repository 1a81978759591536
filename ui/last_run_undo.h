// Undo of the last run, from its journal.
#pragma once

#include <windows.h>

// The command "直前の改名を元に戻す" (and Ctrl+Z): when the journal holds the
// run this program made last (or found at its start), ended, asks the user
// (owned by owner) and moves every file that is still the one that run
// placed back to its old path, the last placed first. A copy goes to the
// Recycle Bin while its original stands as the run found it, else it takes
// the original's place if that is free. What is left alone is listed. The
// journal then holds the undo, so that a second undo does nothing, unless
// the undo was stopped: a second one then moves back the rest. The list's
// entries and the held drops follow the files moved.
void UndoLastRun(HWND owner, HINSTANCE instance);
