// The entries of one rename run: each list entry's source and new path, what
// has become of it, and lookups by path that fold ASCII letter case the way
// the file system does. Platform-neutral.
#pragma once

#include "rename/name_compose.h"

// A file's identity: its volume's serial number and its index there. A rename
// keeps it; a copy is a new file with a new one.
struct FileIdentity {
    unsigned long volume;
    unsigned long long index;  // 0 with volume 0: not known
};

// Whether both identities are known and name the same file.
int IsSameIdentity(const FileIdentity* a, const FileIdentity* b);

enum RunEntryState {
    EntryPending,  // not handled yet
    EntryInChain,  // waiting for the entries whose places it takes
    EntryHandled,  // renamed, skipped or failed
};

struct RunEntry {
    char* source;   // the list entry's text
    char* newPath;  // empty when it could not be composed
    int composed;   // ComposeNewName gave a whole path
    FileIdentity identity;  // of the file at source before the run moved it
    int state;      // RunEntryState
    int produced;   // the run has put this entry's file at newPath, where it stood not before
    int vacated;    // this entry's file no longer stands at source
    int replaced;   // it was put there over a file the user let go
    int kind;       // PlanKind (run_plan.h)
    unsigned long reason;  // why a refused entry is refused (run_reasons.h)
    int copied;     // what stands at newPath is a copy, a file of its own
    int sourceKept;  // a move left the file at source too, beside its copy
    int nextBySource;   // next entry in the same source bucket, -1 at the end
    int nextByNewPath;  // the same for the new-path buckets
    unsigned sourceHash;   // of the source, folded as the lookups compare
    unsigned newPathHash;  // the same of the new path
    size_t newPathRoom;    // bytes the new path's block holds
    size_t newPathLength;
    size_t sourceLength;
};

struct RunTable {
    RunEntry* entries;
    int count;
    int* sourceBuckets;
    int* newPathBuckets;
    unsigned bucketMask;
};

// Makes room for count entries, all pending with no paths yet. 1, or 0
// without memory (the table is then empty and may be freed).
int CreateRunTable(RunTable* table, int count);

// Stores a copy of the source of entry index and composes its new path with
// the pattern. 1, or 0 without memory.
int SetRunEntry(RunTable* table, int index, const char* source, const NamePattern* pattern);

// Stores copies of a source and of the new path it is to get. 1, or 0
// without memory.
int SetRunEntryPaths(RunTable* table, int index, const char* source, const char* newPath);

// Composes the new path of entry index anew from its source. 1, or 0
// without memory (the entry then has no new path and must not be looked up).
int RecomposeRunEntry(RunTable* table, int index, const NamePattern* pattern);

// Builds the path lookups once every entry is set.
void IndexRunTable(RunTable* table);

// Builds the new-path lookup anew, after the new paths changed.
void IndexNewPaths(RunTable* table);

void FreeRunTable(RunTable* table);

// Whether the entry's file is to go somewhere else: its new path names
// another file than its source.
int EntryWillMove(const RunEntry* entry);

// The lowest entry other than except whose source is path and which has not
// been handled (pending or in a chain), or -1.
int FindUnhandledSource(const RunTable* table, const char* path, int except);

// The first entry, in list order, of those that may have path as their new
// path; the others follow through nextByNewPath, in list order. -1 for none.
int FirstWithNewPath(const RunTable* table, const char* path);

// The lowest entry other than except whose source is path, whatever its
// state, or -1.
int FindSource(const RunTable* table, const char* path, int except);

// FindSource for the new path of entry index, whose hash the table keeps.
int FindSourceOfNewPath(const RunTable* table, int index, int except);

// Whether entries a and b have the same new path.
int IsSameNewPath(const RunTable* table, int a, int b);

// Whether the run has put a file at path.
int IsProducedPath(const RunTable* table, const char* path);

// The lowest entry other than except whose file still stands at its source
// path, which is path, or -1. Where one entry of that source has left it, the
// file there is no longer any entry's own.
int FindStayingSource(const RunTable* table, const char* path, int except);
