// What the user is asked and told about a run, an undo and a recovery: the
// engine's questions answered with message boxes, and its results shown.
#pragma once

#include <windows.h>

#include "rename/rename_engine.h"
#include "rename/run_recovery.h"

// The run's question about overwriting the file at newPath (its title names
// source), owned by the window that is the context: a RunAnswer.
int AskOverwriteFile(void* owner, const char* source, const char* newPath);

// Tells, owned by the window that is the context, that a folder stands at
// newPath, so that the file is left.
void TellFolderInTheWay(void* owner, const char* newPath);

// Shows the failures under the header in one message (with the icon) owned
// by owner, also when there are none.
void ShowFailureMessage(const RunFailures* failures, HWND owner, const char* header, const char* title, UINT icon);

// Shows the failures under the header in one error message owned by owner;
// nothing when there are none.
void ShowFailureList(const RunFailures* failures, HWND owner, const char* header, const char* title);

// The end of a rename run: why it did not start, or, for a run that stopped,
// how many files it renamed and how many remain with the files it could not
// rename in one message, or else the failure list; and a journal it could
// not complete.
void ShowRunResult(HWND owner, const char* journal, const RunSummary* summary, const RunFailures* failures);

// Tells why a run or an undo did not start: its journal (path) could not be
// written for the reason, or memory ran out.
void TellNotStarted(HWND owner, const char* journal, DWORD reason);

// At start: when the journal at path holds a run that did not end, tells the
// user (owned by owner), puts the run right and reports every file moved or
// removed, what was left and which folders could not be reached. A journal
// of this program that cannot be read is reported and set aside.
void RecoverInterruptedRun(HWND owner, const char* path);

// Before a run or an undo, on the journal opened for it: a run that did not
// end is put right first, as at start. 1 when the journal may take the new
// run; 0 with the reason in *error (kReasonRunPending,
// kReasonJournalDamaged), the journal closed.
int SettleJournalForRun(HWND owner, JournalWriter* journal, const char* path, DWORD* error);
