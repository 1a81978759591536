// Putting right a run that did not end (the program was ended, the machine
// stopped): every file found under one of the run's temporary names goes
// where it belongs, if it is the very file the run moved aside, and a copy
// cut short is removed while its source still stands. A folder that cannot
// be reached keeps the run pending, to be tried again. No window: the report
// is data for the caller to show.
#pragma once

#include <windows.h>

#include "rename/run_failures.h"
#include "rename/run_journal.h"

struct RecoveryReport {
    ShownLines moves;    // "from → to", or "path → 削除" for a copy removed
    ShownLines folders;  // folders that could not be reached
    RunFailures left;    // files left where they are, and why
    int outOfMemory;     // nothing was done for want of memory
};

// Puts right the run of the record, whose journal is held open on file, and
// fills report (to be freed). 1 when the journal is marked as put right; 0
// while a folder cannot be reached, or without memory.
int RecoverRun(const JournalRecord* record, HANDLE file, RecoveryReport* report);

void FreeRecoveryReport(RecoveryReport* report);

// Keeps a journal of this program that cannot be read under another name
// (path + ".damaged", written into aside), so that a new run does not
// replace it. 1 when it was set aside.
int SetAsideDamagedJournal(const char* path, char* aside, size_t size);
