// The rename run's work over plain data: the sources in list order, the
// naming pattern and the window that owns the questions. It owns no window
// and reads no control, so it can be handed its inputs directly.
#pragma once

#include <windows.h>

#include "rename/name_compose.h"

// What a run is given besides its files: where it reports how far it has
// come, and where it keeps its journal.
struct RunHooks {
    // Called between two files and while a long copy goes on: handled of
    // total entries are done with; next is the source of the entry at hand
    // (empty at the end). Returns 0 to stop the run between files, as Cancel
    // at a question does; inside an exchange of names, which is renamed
    // whole, and inside a copy, the answer waits for their end. May be 0.
    int (*between)(void* context, int handled, int total, const char* next);
    void* context;
    const char* journalPath;  // the journal (run_journal.h), or 0 for none
};

// Gives every source its new path by the pattern, in list order: chains of
// files taking each other's places are ordered, exchanges of names go
// through temporary names, and nothing is overwritten without the owner's
// question being answered Yes. The output folder of a move or copy is used as
// one full path. Files not renamed for a reason other than No are listed in
// one message at the end. 1 when every entry was handled, 0 when the user
// cancelled, the hooks stopped the run, or memory ran out (the user is told).
// hooks may be 0.
int RenameFiles(HWND owner, const char* const* sources, int count, const NamePattern* pattern,
                const RunHooks* hooks);

struct RunFailures;

// Moves each file at sources[i] back to targets[i], in the same careful way
// but asking nothing: a target taken by another file leaves its file where it
// is. What stays is added to failures. The journal records the run as an
// undo. 1, or 0 when stopped.
int MoveFilesBack(HWND owner, const char* const* sources, const char* const* targets, int count,
                  const RunHooks* hooks, RunFailures* failures);
