// After the program has moved files (a run stopped part-way or failing, an
// undo), the list's entries that name them follow them, so that nothing is
// later taken for the file that now stands at an old path. Held drops
// follow each move as it happens (held_drops.h).
#pragma once

// Where the files of a run's entries stand, as the run reports its moves.
struct MovedEntries {
    const char* const* sources;  // the run's entries
    char** newPaths;             // where each file stands now; 0 while at its source
};

// A run's hook for its moves (rename_engine.h), context a MovedEntries: notes
// where the entry's file now stands, and the held drops follow it.
void NoteMovedEntry(void* context, int index, const char* from, const char* to);

// List entry i now reads newPaths[i] wherever that is not 0: the run's
// entries are the list's, in order.
void FollowMovedEntries(const char* const* newPaths, int count);

// Every list entry that names from[i] (letter case aside) names to[i]
// instead, where to[i] is not 0.
void FollowMovedPaths(const char* const* from, const char* const* to, int count);
