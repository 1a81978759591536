// The journal of the last run, beside the program (Tovik.jnl for Tovik.exe):
// code-page-932 text a person can read. Before the first file moves, a run
// writes its plan there (every entry's old path, new path and temporary
// name) and flushes it to disk; it notes each file placed as it goes, and
// its end. A run that did not end is put right at the next start; an ended
// one can be undone.
//
//     Tovik journal 1
//     RUN <tab> rename|undo <tab> operation <tab> count
//     PLAN <tab> index <tab> old path <tab> new path <tab> temporary name
//     DONE <tab> index <tab> size <tab> last-write time <tab> 1 if it replaced a file
//     END
//     RECOVERED
#pragma once

#include <windows.h>

#include "rename/run_table.h"

enum JournalKind {
    JournalRename,
    JournalUndo,  // an undo is not undone again
};

struct JournalWriter {
    HANDLE file;  // held while the run lasts, so that no other copy recovers it
    char* buffer;
    size_t used;
};

// The journal's path: ModuleFilePath(".jnl"). 0 when it cannot be had.
int JournalPath(char* path, size_t size);

// Starts the journal at path with the plan of the run's table, whose
// temporary names carry tag. 1, or 0 when the journal cannot be written (the
// run then goes without one).
int BeginJournal(JournalWriter* journal, const char* path, int kind, int operation, unsigned tag,
                 const RunTable* table);

// Notes that entry index now stands at newPath (replacing a file there).
void JournalPlaced(JournalWriter* journal, int index, const char* newPath, int replaced);

// Notes the run's end, writes everything out and lets go of the file.
void EndJournal(JournalWriter* journal);

struct JournalEntry {
    char* oldPath;
    char* newPath;
    char* temporaryName;  // in the old path's folder
};

struct JournalPlacement {
    int index;
    int replaced;
    ULONGLONG size;
    FILETIME lastWrite;
};

// A journal as read back.
struct JournalRecord {
    int kind, operation, count;
    JournalEntry* entries;         // count of them, in list order
    JournalPlacement* placements;  // in the order the run placed them
    int placed;
    int ended, recovered;
    char* text;  // the file's text, which the paths point into
};

// Reads the journal at path, held open on *file (read and write, shared for
// reading only) unless file is 0. 1 for a journal of this program; 0 when it
// is missing, held by a running copy, unreadable or foreign.
int ReadJournal(const char* path, JournalRecord* record, HANDLE* file);
void FreeJournalRecord(JournalRecord* record);

// Whether the journal at path holds a run that ended, was not undone and
// placed at least one file.
int CanUndoLastRun(const char* path);

// At start: when the journal holds a run that did not end, tells the user
// (owned by owner), puts every file found under one of its temporary names
// where it belongs (its new path, after the exchange of names it was part of
// has been finished, else its old path) and reports what it restored and
// what it could not.
void RecoverInterruptedRun(HWND owner, const char* path);
