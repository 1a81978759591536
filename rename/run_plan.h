// What a run will do, entry by entry, worked out before anything moves: each
// entry's new path and what will happen to it. The part in memory (composing
// the names, finding chains and exchanges of names) touches no disk; the
// part on disk looks at sources and new paths through a lookup and changes
// nothing. Platform-neutral.
#pragma once

#include "rename/run_table.h"

enum PlanKind {
    PlanMove,      // to a new path where nothing stands
    PlanChain,     // into the place of an entry of the run whose file moves away first
    PlanExchange,  // one of files that take each other's places in a ring, through a temporary name
    PlanSamePath,  // the new path names the source: nothing moves, though a letter case may change
    PlanQuestion,  // a file stands at the new path (outside the run, or put there by an earlier entry): asked
    PlanRefused,   // not renamed, for the entry's reason
};

// What stands at a path.
enum PathState {
    PathAbsent,
    PathFile,
    PathFolder,
};

// Looks a path up on disk: a PathState.
typedef int (*PathLookup)(void* context, const char* path);

// Fills plan with every source and its new path by the pattern (whose output
// folder is a full path already), and the kinds that memory alone tells:
// names too long, the same path, chains, exchanges (a copy makes neither),
// and a new path an earlier entry takes too. 1, or 0 without memory (the
// table is then empty).
int ComposePlan(RunTable* plan, const char* const* sources, int count, const NamePattern* pattern);

// Composes every new path of a composed plan anew by another pattern and
// tells its kinds again, keeping the sources. 1, or 0 without memory (the
// table is then empty).
int RecomposePlan(RunTable* plan, const NamePattern* pattern);

// What CheckPlanRows finds for row index, leaving the plan as it is.
void CheckPlanRow(const RunTable* plan, int index, PathLookup lookup, void* context, int* kind,
                  unsigned long* reason);

// Looks at the disk for count rows from first of a composed plan: a source
// that is gone or is a folder is refused; at a free new path the entry moves,
// at a folder it is refused, and at a file it is asked about, unless the file
// is one the run leaves where it is.
void CheckPlanRows(RunTable* plan, int first, int count, PathLookup lookup, void* context);

// ComposePlan, then CheckPlanRows for every row. 1, or 0 without memory.
int PlanRun(RunTable* plan, const char* const* sources, int count, const NamePattern* pattern, PathLookup lookup,
            void* context);
