// The start command and the per-file loop that renames the list.
#pragma once

#include <windows.h>

#include "core/seams.h"

// Command 1019: the checks, the confirmation, the please-wait window, the run.
void StartRename();

// Renames every list entry in list order. 1 when it went through the whole
// list, 0 when the user cancelled.
int RunRename();

// The pause after a completed run (by default a wait that answers messages)
// goes through SetPauseHandler (core/seams.h), so that tests need not wait.
