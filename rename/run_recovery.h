// Putting right a run that did not end (the program was ended, the machine
// stopped): every file found under one of the run's temporary names goes
// where it belongs, if it is the very file the run moved aside, and a copy
// cut short is removed while its source still stands. A folder that cannot
// be reached keeps the run pending, to be tried again.
#pragma once

#include <windows.h>

#include "rename/run_journal.h"

// At start: when the journal holds a run that did not end, tells the user
// (owned by owner), puts the run right and reports every file it moved or
// removed, what it left and which folders it could not reach. A journal of
// this program that cannot be read is reported and set aside.
void RecoverInterruptedRun(HWND owner, const char* path);

// Before a new run, on the journal opened for it (run_journal.h): a run that
// did not end is put right first, as at start. 1 when the journal may take
// the new run; 0 with the reason in *error (kReasonRunPending,
// kReasonJournalDamaged), the journal closed.
int SettleJournalForRun(HWND owner, JournalWriter* journal, const char* path, DWORD* error);
