// The start command: its checks, the confirmation, the please-wait window and
// the run over the list.
#pragma once

// Command 1019: the checks, the confirmation, the please-wait window, the run.
// The pause after a completed run (by default a wait that answers messages)
// goes through SetPauseHandler (core/seams.h), so that tests need not wait.
void StartRename();
