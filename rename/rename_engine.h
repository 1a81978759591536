// The rename run's work over plain data: the sources in list order, the
// naming pattern and the window that owns the questions. It owns no window
// and reads no control, so it can be handed its inputs directly.
#pragma once

#include <windows.h>

#include "rename/name_compose.h"

// What a run is given besides its files: where it reports how far it has
// come and which files it moved, and where it keeps its journal.
struct RunHooks {
    // Called between two files, inside an exchange of names and while a copy
    // goes on: handled of total entries are done with; next is the source of
    // the entry at hand (empty at the end). Returns 0 to stop the run between
    // files, as Cancel at a question does; inside an exchange of names, which
    // is renamed whole, and inside a copy, the answer waits for their end.
    // May be 0.
    int (*between)(void* context, int handled, int total, const char* next);
    // Called as the file of entry index moves from one path to another: from
    // its source to its new path, or back when an exchange of names is
    // undone. May be 0.
    void (*moved)(void* context, int index, const char* from, const char* to);
    void* context;
    const char* journalPath;  // the journal (run_journal.h), or 0 for none
    unsigned long long runId;  // written into the journal
};

// Gives every source its new path by the pattern, in list order: chains of
// files taking each other's places are ordered, exchanges of names go
// through temporary names, copies (and moves across drives) are written
// under a temporary name first, and nothing is overwritten without the
// owner's question being answered Yes. The output folder of a move or copy is
// used as one full path. Before the first file moves the plan is on disk in
// the journal; a run whose journal cannot be written moves nothing, and the
// owner is told why. Files not renamed for a reason other than No are listed
// in one message at the end; a run that was stopped says in that message how
// many files it renamed and how many remain. 1 when every entry was handled,
// 0 when the user cancelled, the hooks stopped the run, the journal could
// not be written or memory ran out. hooks may be 0.
int RenameFiles(HWND owner, const char* const* sources, int count, const NamePattern* pattern,
                const RunHooks* hooks);

struct RunFailures;

// Moves each file at sources[i] back to targets[i], in the same careful way
// but asking nothing: a target taken by another file leaves its file where it
// is. What stays is added to failures, those not reached when the run was
// stopped too. The journal records the run as an undo. 1 when every file was
// handled, 0 when stopped, -1 when it did not start (the owner is told why).
int MoveFilesBack(HWND owner, const char* const* sources, const char* const* targets, int count,
                  const RunHooks* hooks, RunFailures* failures);

// Called while the session ends, from a message handled during a run: the
// exchange of names at hand is finished and a copy at hand is abandoned and
// removed, so that no file stands under a temporary name once it returns;
// the run then stops. Nothing when no run is going on.
void SettleRunForSessionEnd();
