// The journal of the last run, beside the program (Tovik.jnl for Tovik.exe):
// code-page-932 text a person can read. Before the first file moves, a run
// writes its plan there (every entry's old path, new path, temporary name and
// the identity of its file) and flushes it to disk; it notes each file placed
// as it goes, and its end. A run that did not end is put right at the next
// start (run_recovery.h); an ended one can be undone.
//
//     Tovik journal 2
//     RUN <tab> rename|undo <tab> operation <tab> count <tab> run id
//     PLAN <tab> index <tab> old path <tab> new path <tab> temporary name <tab> identity
//     COPY <tab> index <tab> identity of the copy begun under its temporary name
//     DONE <tab> index <tab> identity of the placed file <tab> how (PlacementHow flags)
//     STOPPED
//     END
//     RECOVERED
//
// An identity is "volume:index" in hexadecimal, empty when not known; a new
// path is empty when none could be composed, a temporary name when none fits.
#pragma once

#include <windows.h>

#include "rename/run_table.h"

enum JournalKind {
    JournalRename,
    JournalUndo,  // an undo is not undone again, but a stopped one can be finished
};

enum PlacementHow {
    PlacedOver = 1,  // over a file the user let go
    PlacedCopy = 2,  // as a copy: the file at the old path stayed
};

// What reading a journal found.
enum JournalState {
    JournalNone,      // no journal, another program's file, or a plan cut short: never acted on
    JournalReadable,  // read into the record
    JournalInUse,     // held by another running copy
    JournalDamaged,   // this program's journal, but it cannot be read
    JournalNoMemory,  // not read for want of memory: kept as it is for another try
};

struct JournalWriter {
    HANDLE file;  // held while the run lasts, so that no other copy uses it
    char* buffer;
    size_t used;
    int failed;  // a write failed: what follows the plan is not complete
};

// The journal's path: ModuleFilePath(".jnl"). 0 when it cannot be had.
int JournalPath(char* path, size_t size);

// A number that tells one run's journal from every other's.
unsigned long long NewRunId();

// Opens the journal at path for a new run, creating it, and holds it. 1, or
// 0 with the reason in *error (kReasonJournalInUse when another copy holds
// it).
int OpenJournal(JournalWriter* journal, const char* path, DWORD* error);

// Replaces what the held journal holds by the plan of the run's table, whose
// temporary names carry tag, and flushes it to disk. 1, or 0 with the reason
// in *error: the run must then move nothing.
int BeginJournal(JournalWriter* journal, int kind, int operation, unsigned tag, unsigned long long runId,
                 const RunTable* table, DWORD* error);

// Notes that entry index now stands at its new path as the file of that
// identity, placed as how tells. Nothing without a journal (0).
void JournalPlaced(JournalWriter* journal, int index, const FileIdentity* identity, int how);

// Notes that entry index is being copied into the file of that identity,
// under its temporary name in the new path's folder; written out at once, so
// that after a forced end only that file is taken for the copy cut short.
void JournalCopying(JournalWriter* journal, int index, const FileIdentity* identity);

// Notes the run's end (stopped: not every entry was reached), writes
// everything out and lets go of the file. 1 when the whole journal is on disk.
int EndJournal(JournalWriter* journal, int stopped);

// Lets go of the file without writing more.
void CloseJournal(JournalWriter* journal);

struct JournalEntry {
    char* oldPath;
    char* newPath;
    char* temporaryName;  // in the old path's folder, and for a copy in the new path's
    FileIdentity identity;
    FileIdentity copyIdentity;  // of the copy begun, when one was
};

struct JournalPlacement {
    int index;
    int how;
    FileIdentity identity;
};

// A journal as read back.
struct JournalRecord {
    int kind, operation, count;
    unsigned long long runId;
    JournalEntry* entries;         // count of them, in list order
    JournalPlacement* placements;  // in the order the run placed them
    int placed;
    int stopped, ended, recovered;
    int shortOfMemory;  // while reading
    char* text;     // the file's text, which the paths point into
    size_t length;  // of its lines read, up to a damaged tail
};

// Reads the journal at path; when file is not 0 it is held open on *file
// (read and write, shared for reading only) if readable. A JournalState.
int ReadJournal(const char* path, JournalRecord* record, HANDLE* file);

// Reads the journal through a handle open for reading. A JournalState.
int ReadHeldJournal(HANDLE file, JournalRecord* record);

void FreeJournalRecord(JournalRecord* record);

// Whether the record holds a run that did not end and was not put right.
int IsUnfinished(const JournalRecord* record);

// Whether the record holds what undo acts on: the run runId, ended and not
// put right, that placed a file; or a stopped undo with files left.
int IsUndoable(const JournalRecord* record, unsigned long long runId);

// IsUndoable for the journal at path.
int CanUndoLastRun(const char* path, unsigned long long runId);

// The run id of the readable journal at path, or 0.
unsigned long long JournalRunId(const char* path);

// Notes after the lines read of the held journal, in place of a damaged
// tail, that its run has been put right.
int MarkRecovered(HANDLE file, const JournalRecord* record);
