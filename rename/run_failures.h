// The files a run could not handle, collected while it goes and shown in one
// message at its end.
#pragma once

#include <windows.h>

#include <stddef.h>

enum {
    kFailureLinesShown = 20,  // lines in the message; the rest are counted
    kFailureReasonSize = 512,
};

// Reasons of the program's own, listed with a fixed text. Codes with bit 29
// set are never the system's.
enum RunReason : DWORD {
    kReasonNameHeldByRun = 0x20000001,  // the new name is another staying file's of the run
    kReasonSourceReplaced,              // another entry's file now stands at the source
    kReasonRingMemberFailed,            // a file of the same exchange of names failed
    kReasonCopyOntoItself,              // RenameCopy onto the source itself
    kReasonTemporaryFileInUse,          // TOVIK.DAT is held by another running copy
    kReasonChangedSince,                // undo: the file at the new path is not the one the run placed
    kReasonOldNameTaken,                // undo: another file stands at the old path
    kReasonSourceNotRemoved,            // a move across drives copied, but could not remove its source
    kReasonNotRunsFile,                 // recovery: not the file the run moved aside
    kReasonCopyKept,                    // recovery: a copy cut short whose source is gone stays
    kReasonUndoStopped,                 // undo: stopped before this file
    kReasonJournalInUse,                // the journal is held by another running copy
    kReasonRunPending,                  // the journal's run is not put right yet
    kReasonJournalDamaged,              // the journal cannot be read, nor set aside
};

struct RunFailure {
    char* path;
    DWORD error;  // a RunReason, or the system's error code explained by FormatMessageA
};

struct RunFailures {
    RunFailure* items;
    int stored;    // items holding a path
    int capacity;
    int total;     // every failure, also those no memory was left to store
};

// Notes that path could not be handled, for the reason error.
void AddRunFailure(RunFailures* failures, const char* path, DWORD error);

void FreeRunFailures(RunFailures* failures);

// The fixed text of a RunReason, or the system's text for an error code on
// one line, or "エラー %lu" when the system has none. Returns the length
// written.
size_t FailureReason(DWORD error, char* text, size_t size);

// The header, then "path : reason" for at most kFailureLinesShown files,
// then "ほか %d 件" for the rest. Returns the length written.
size_t BuildFailureText(const RunFailures* failures, const char* header, char* text, size_t size);

// Shows the collected failures under the header in one message owned by
// owner, also when there are none.
void ShowFailureMessage(const RunFailures* failures, HWND owner, const char* header, const char* title, UINT icon);

// Shows the collected failures under the header in one error message owned
// by owner; nothing when there are none.
void ShowFailureList(const RunFailures* failures, HWND owner, const char* header, const char* title);

// The failure list of a rename run.
void ShowRunFailures(const RunFailures* failures, HWND owner);
