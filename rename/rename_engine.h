// The rename run's work over plain data: the sources in list order and the
// naming pattern. It owns no window and shows nothing: the caller answers its
// questions and hears of what it does through the hooks, and gets the files
// it could not rename as data.
#pragma once

#include <windows.h>

#include "rename/name_compose.h"
#include "rename/run_failures.h"
#include "rename/run_journal.h"
#include "rename/run_table.h"

// The answers to a question about overwriting.
enum RunAnswer {
    AnswerYes,     // overwrite the file
    AnswerNo,      // leave it, and the entry where it is
    AnswerCancel,  // end the run here
};

// What a run is given besides its files.
struct RunHooks {
    // Called between two files, inside an exchange of names and while a copy
    // goes on: handled of total entries are done with; next is the source of
    // the entry at hand (empty at the end). Returns 0 to stop the run between
    // files, as Cancel at a question does; inside an exchange of names, which
    // is renamed whole, and inside a copy, the answer waits for their end.
    int (*between)(void* context, int handled, int total, const char* next);
    // Called as the file of entry index moves from one path to another: from
    // its source to its new path, or back when an exchange of names is
    // undone.
    void (*moved)(void* context, int index, const char* from, const char* to);
    // A file stands at the new path of source, outside the run or put there
    // by it: a RunAnswer.
    int (*askOverwrite)(void* context, const char* source, const char* newPath);
    // A folder stands at the new path: the entry is left where it is.
    void (*folderInTheWay)(void* context, const char* newPath);
    void* context;
    // The journal, opened for the run (and put right) by the caller, or 0 for
    // none. The run writes its plan there before the first file moves, and
    // closes it.
    JournalWriter* journal;
    unsigned long long runId;  // written into the journal
};

enum RunResult {
    RunNotStarted = -1,  // nothing moved: the journal could not be written, or memory ran out
    RunStopped = 0,      // by the hooks, a Cancel or the end of the session
    RunCompleted = 1,    // every entry was handled
};

struct RunSummary {
    int result;               // RunResult
    DWORD reason;             // why it did not start (a system code or a RunReason)
    int renamed;              // files put at their new paths
    int remaining;            // entries not reached
    int journalIncomplete;    // what followed the plan could not all be written: no undo
};

// Gives every source its new path by the pattern, in list order: chains of
// files taking each other's places are ordered, exchanges of names go
// through temporary names, copies (and moves across drives) are written
// under a temporary name first, and nothing is overwritten without the
// question being answered Yes. The output folder of a move or copy is used
// as one full path. Files not renamed for a reason other than No or a folder
// in the way are added to failures. hooks may be 0: a question is then
// answered No, and there is no journal.
// Returns summary->result.
int RenameFiles(const char* const* sources, int count, const NamePattern* pattern, const RunHooks* hooks,
                RunFailures* failures, RunSummary* summary);

// What RenameFiles would do with the sources as the disk stands now: the
// plan (PlanRun) over the same output folder, looked up on disk. 1, or 0
// without memory.
int PlanRenameFiles(RunTable* plan, const char* const* sources, int count, const NamePattern* pattern);

// Moves each file at sources[i] back to targets[i], in the same careful way
// but asking nothing, and only while it is the file of identities[i] when
// its turn comes: one put in its place since stays, as does a file whose
// target another file has taken. What stays is added to failures, those not
// reached when the run was stopped too. The journal records the run as an
// undo. Returns summary->result.
int MoveFilesBack(const char* const* sources, const char* const* targets, const FileIdentity* identities, int count,
                  const RunHooks* hooks, RunFailures* failures, RunSummary* summary);

// Called while the session ends, from a message handled during a run: the
// exchange of names at hand is finished and a copy at hand is abandoned and
// removed, so that no file stands under a temporary name once it returns;
// the run then stops. Nothing when no run is going on.
void SettleRunForSessionEnd();

// What stands at path on disk: a PathState (run_plan.h), for plans.
int LookUpPath(void* context, const char* path);
