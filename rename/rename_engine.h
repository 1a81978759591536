// The rename run's work over plain data: the sources in list order, the
// naming pattern and the window that owns the questions. It owns no window
// and reads no control, so it can be handed its inputs directly.
#pragma once

#include <windows.h>

#include "rename/name_compose.h"

// Between two files the run tells how far it has come and learns whether to
// go on.
struct RunWatch {
    // handled of total entries are done with; next is the source of the
    // entry taken next (empty at the end). Returns 0 to stop the run between
    // files, as Cancel at a question does; inside an exchange of names,
    // which is renamed whole, the answer waits for its end.
    int (*between)(void* context, int handled, int total, const char* next);
    void* context;
};

// Gives every source its new path by the pattern, in list order: chains of
// files taking each other's places are ordered, exchanges of names go
// through temporary names, and nothing is overwritten without the owner's
// question being answered Yes. The output folder of a move or copy is used as
// one full path. Files not renamed for a reason other than No are listed in
// one message at the end. 1 when every entry was handled, 0 when the user
// cancelled, the watch stopped the run, or memory ran out (the user is told).
// watch may be 0.
int RenameFiles(HWND owner, const char* const* sources, int count, const NamePattern* pattern,
                const RunWatch* watch);
