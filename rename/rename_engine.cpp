#include "rename/rename_engine.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/file_paths.h"
#include "core/heap.h"
#include "core/mbcs_text.h"
#include "rename/file_moves.h"
#include "rename/output_folder.h"
#include "rename/run_plan.h"
#include "rename/run_table.h"

enum Outcome {
    OutcomeDone,       // the file is under its new path (or already was)
    OutcomeSkipped,    // the user said No, or was told of a folder in the way
    OutcomeFailed,     // the reason is to be reported
    OutcomeCancelled,  // the user ended the run
};

enum {
    kCopyWaitMilliseconds = 50,  // between two calls of the hooks while a copy goes on
};

// The exchange of names in progress: the members, the next to move (from
// the last to the first, which moves from its temporary name), -1 when the
// exchange is settled, whole or undone.
struct RingState {
    const int* members;
    int count;
    int next;
    int failedAt;
    DWORD failure;
    char temp[MAX_PATH];
};

// A copy made on a thread of its own, so that the run can settle it from a
// message handled meanwhile.
struct CopyJob {
    const char* from;
    const char* to;
    BOOL cancel;
    BOOL copied;
    DWORD error;
    HANDLE thread;
};

struct RenameRun {
    RunTable table;
    RunFailures* failures;
    JournalWriter* journal;
    int* chain;  // the entries of one turn, each followed by the one in its way
    int move;    // the operation moves files (every one but RenameCopy)
    int ask;     // a taken new path is asked about; else the entry stays
    int proven;  // an undo: each file moves only while it has the identity it was given
    char reindexing[26];  // per drive letter: 0 not asked yet, 1 keeps a file's index on rename, 2 may not
    unsigned tag;  // tells this run's temporary names from another run's
    const RunHooks* hooks;
    const char* current;  // the source of the entry at hand
    int handled;  // entries done with, for the hooks
    int stop;     // the hooks asked to stop
    int settled;  // the session is ending: nothing more moves
    RingState ring;
    CopyJob* copy;  // the copy in progress, or 0
};

// The run in progress, which the end of the session settles.
static RenameRun* g_running;

// Tells the hooks how far the run is. 0 when the run is to stop.
static int GoOn(RenameRun* run, const char* next)
{
    const RunHooks* hooks = run->hooks;
    run->current = next ? next : "";
    if (hooks && hooks->between && !hooks->between(hooks->context, run->handled, run->table.count, run->current))
        run->stop = 1;
    return !run->stop;
}

static void MarkHandled(RenameRun* run, RunEntry* entry)
{
    if (entry->state != EntryHandled) run->handled++;
    entry->state = EntryHandled;
}

static DWORD CALLBACK CancelWhenAsked(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                                      HANDLE, HANDLE, LPVOID data)
{
    return ((CopyJob*)data)->cancel ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

static DWORD WINAPI RunCopyJob(void* data)
{
    CopyJob* job = (CopyJob*)data;
    // Over the empty file made for it.
    job->copied = CopyFileExA(job->from, job->to, CancelWhenAsked, job, &job->cancel, 0);
    job->error = job->copied ? 0 : GetLastError();
    return 0;
}

// Copies from to the temporary name temp while the hooks keep the program
// answering. 1, or 0 with the reason (ERROR_CANCELLED once settled).
static int CopyAside(RenameRun* run, const char* from, const char* temp, DWORD* error)
{
    CopyJob job = {from, temp, FALSE, FALSE, 0, NULL};
    job.thread = CreateThread(NULL, 0, RunCopyJob, &job, 0, NULL);
    if (!job.thread) {
        RunCopyJob(&job);
    } else {
        run->copy = &job;
        for (;;) {
            DWORD woke = MsgWaitForMultipleObjects(1, &job.thread, FALSE, kCopyWaitMilliseconds, QS_ALLINPUT);
            if (woke == WAIT_OBJECT_0) break;
            if (woke == WAIT_FAILED) WaitForSingleObject(job.thread, INFINITE);
            GoOn(run, run->current);
        }
        run->copy = 0;
        CloseHandle(job.thread);
    }
    if (run->settled) {
        *error = ERROR_CANCELLED;
        return 0;
    }
    *error = job.error;
    return job.copied;
}

// Copies the file to a temporary name in the new path's folder and gives it
// the new path only once complete, so that no file cut short ever stands
// under a new name. The file the copy goes into is made first and noted in
// the journal, so that a recovery removes that file and no other. 1, or 0
// with the reason.
static int CopyThroughTemporaryName(RenameRun* run, int index, const char* from, const char* to, int replace,
                                    DWORD* error)
{
    char temp[MAX_PATH];
    FileIdentity copy;
    if (!TemporaryName(to, run->tag, index, temp, sizeof temp, error)) return 0;
    if (!CreateEmptyFile(temp, &copy, error)) {
        // A name of this run's already there is no sign that the new path is taken.
        if (IsExistsError(*error)) *error = ERROR_CANNOT_MAKE;
        return 0;
    }
    JournalCopying(run->journal, index, &copy);
    if (!CopyAside(run, from, temp, error)) {
        if (IsFileOf(temp, &copy)) RemoveFile(temp);
        return 0;
    }
    if (MoveFileExA(temp, to, replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
        run->table.entries[index].copied = 1;
        return 1;
    }
    *error = GetLastError();
    RemoveFile(temp);
    return 0;
}

// One attempt to put the file of entry index at to; replace allows an
// existing file there to be overwritten. A move is a rename within a volume
// and a copy, then the removal of the source, across volumes. 1, or 0 with
// the reason.
static int TryPlace(RenameRun* run, int index, const char* from, const char* to, int replace, DWORD* error)
{
    RunEntry* entry = &run->table.entries[index];
    if (run->move) {
        if (MoveFileExA(from, to, replace ? MOVEFILE_REPLACE_EXISTING : 0)) return 1;
        *error = GetLastError();
        if (*error != ERROR_NOT_SAME_DEVICE || !CopyThroughTemporaryName(run, index, from, to, replace, error))
            return 0;
        if (!DeleteFileA(from)) {
            // Both stand: the copy under the new path, the file under its old.
            entry->sourceKept = 1;
            *error = kReasonSourceNotRemoved;
            return 0;
        }
        return 1;
    }
    return CopyThroughTemporaryName(run, index, from, to, replace, error);
}

// Moves a file back from its temporary name; what cannot go back is reported
// by the path it is left under. 1 when it went back.
static int PutBack(RenameRun* run, const char* temp, const char* path)
{
    if (MoveFileExA(temp, path, 0)) return 1;
    AddRunFailure(run->failures, temp, GetLastError());
    return 0;
}

// Whether from names a file (not a folder) that can be moved as the entry's,
// proven by its identity in an undo; if not, why.
static int IsMovableFile(const RenameRun* run, const RunEntry* entry, const char* from, DWORD* error)
{
    DWORD attributes = GetFileAttributesA(from);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        *error = GetLastError();
        return 0;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        *error = ERROR_ACCESS_DENIED;
        return 0;
    }
    if (run->proven && !IsFileOf(from, &entry->identity)) {
        *error = kReasonChangedSince;
        return 0;
    }
    return 1;
}

// Moves the file of entry index aside to its temporary name. 1, or 0 with
// the reason and nothing moved.
static int MoveAside(RenameRun* run, int index, char* temp, size_t size, DWORD* error)
{
    const char* source = run->table.entries[index].source;
    if (!TemporaryName(source, run->tag, index, temp, size, error)) return 0;
    if (MoveFileExA(source, temp, 0)) return 1;
    *error = GetLastError();
    return 0;
}

static void NoteMoved(RenameRun* run, const RunEntry* entry, const char* from, const char* to)
{
    const RunHooks* hooks = run->hooks;
    if (hooks && hooks->moved) hooks->moved(hooks->context, (int)(entry - run->table.entries), from, to);
}

// Whether a rename on the volume of path may give a file another index: on
// FAT and exFAT a file's ID is the place of its entry in the folder, which a
// longer name can move. Asked once per drive; a network path may.
static int MayReindex(RenameRun* run, const char* path)
{
    int drive = (path[0] | 0x20) - 'a';
    if (path[1] != ':' || drive < 0 || drive >= 26) return 1;
    if (!run->reindexing[drive]) {
        char root[] = "?:\\";
        char system[16] = "";
        root[0] = path[0];
        int fat = !GetVolumeInformationA(root, NULL, 0, NULL, NULL, NULL, system, sizeof system) ||
                  strncmp(system, "FAT", 3) == 0 || strcmp(system, "exFAT") == 0;
        run->reindexing[drive] = fat ? 2 : 1;
    }
    return run->reindexing[drive] == 2;
}

// Notes in the journal that the entry's file stands at its new path, as the
// file found there where it may be another than the one planned: a copy is a
// file of its own, and a rename may give a file another index.
static void NotePlaced(RenameRun* run, int index)
{
    if (!run->journal) return;
    const RunEntry* entry = &run->table.entries[index];
    FileIdentity identity = entry->identity;
    DWORD ignored;
    if (entry->copied || MayReindex(run, entry->newPath)) ReadFileIdentity(entry->newPath, &identity, &ignored);
    int how = (entry->replaced ? PlacedOver : 0) | (entry->sourceKept || !run->move ? PlacedCopy : 0);
    JournalPlaced(run->journal, index, &identity, how);
}

// The new path names the source file itself. A copy cannot be made onto it;
// a rename that changes only letter case keeps the old name on some file
// systems, so it goes through a temporary name in the same folder.
static int RenameItself(RenameRun* run, int index, DWORD* error)
{
    RunEntry* entry = &run->table.entries[index];
    if (!IsMovableFile(run, entry, entry->source, error)) return OutcomeFailed;
    if (!run->move) {
        *error = kReasonCopyOntoItself;
        return OutcomeFailed;
    }
    if (strcmp(entry->source, entry->newPath) == 0 || CompareNoCase(entry->source, entry->newPath) != 0)
        return OutcomeDone;
    char temp[MAX_PATH];
    if (!MoveAside(run, index, temp, sizeof temp, error)) return OutcomeFailed;
    if (MoveFileExA(temp, entry->newPath, 0)) {
        // The file stays where it stands for the run, under its new letter case.
        NotePlaced(run, index);
        NoteMoved(run, entry, entry->source, entry->newPath);
        return OutcomeDone;
    }
    *error = GetLastError();
    PutBack(run, temp, entry->source);
    return OutcomeFailed;
}

static void TellFolderInTheWay(RenameRun* run, const char* newPath)
{
    const RunHooks* hooks = run->hooks;
    if (hooks && hooks->folderInTheWay) hooks->folderInTheWay(hooks->context, newPath);
}

static int AskOverwrite(RenameRun* run, const char* source, const char* newPath)
{
    const RunHooks* hooks = run->hooks;
    int answer = hooks && hooks->askOverwrite ? hooks->askOverwrite(hooks->context, source, newPath) : AnswerNo;
    // The session ended meanwhile: nothing more moves.
    return run->settled ? AnswerCancel : answer;
}

static int Placed(RenameRun* run, RunEntry* entry)
{
    entry->produced = 1;
    if (run->move) entry->vacated = 1;
    if (run->move) NoteMoved(run, entry, entry->source, entry->newPath);
    return OutcomeDone;
}

// A failed attempt; a move across drives that could not remove its source
// has still placed a copy.
static int NotPlaced(RunEntry* entry, DWORD error)
{
    if (error == kReasonSourceNotRemoved) entry->produced = 1;
    return OutcomeFailed;
}

// The new path is taken. A file of this run that stays where it is (declined,
// failed or not moved yet) is never offered for overwriting: the entry stays
// and is reported. About a file the run itself put there, and about a file
// outside the run, the user is asked; a run that asks nothing leaves the
// entry where it is.
static int PlaceOverExisting(RenameRun* run, int index, const char* from, DWORD* error)
{
    RunEntry* entry = &run->table.entries[index];
    const char* newPath = entry->newPath;
    if (!run->ask || (!IsProducedPath(&run->table, newPath) && FindStayingSource(&run->table, newPath, index) >= 0)) {
        *error = run->ask ? kReasonNameHeldByRun : kReasonOldNameTaken;
        return OutcomeFailed;
    }
    int answer = AskOverwrite(run, entry->source, newPath);
    if (answer == AnswerCancel) return OutcomeCancelled;
    if (answer != AnswerYes) return OutcomeSkipped;
    entry->replaced = 1;
    if (TryPlace(run, index, from, newPath, 1, error)) return Placed(run, entry);
    if (run->settled) return OutcomeCancelled;
    if (!IsExistsError(*error) && *error != ERROR_ACCESS_DENIED) return NotPlaced(entry, *error);
    int copied = 0;
    int replaced = ReplaceThroughTemporaryFile(from, newPath, run->move, error, &copied);
    entry->produced = entry->copied = copied;
    entry->sourceKept = copied && !replaced && run->move;
    return replaced ? Placed(run, entry) : OutcomeFailed;
}

// Puts the file of entry index, now at from (its source, or the temporary
// name of a ring's first entry), at its new path. Inside a ring nothing is
// asked and an occupied new path fails the entry.
static int PlaceFile(RenameRun* run, int index, const char* from, int inRing, DWORD* error)
{
    RunEntry* entry = &run->table.entries[index];
    const char* newPath = entry->newPath;
    // Refused by the plan: a name Windows would not take, or a copy onto itself.
    if (entry->kind == PlanRefused) {
        *error = entry->reason;
        return OutcomeFailed;
    }
    if (!entry->composed || strlen(newPath) >= MAX_PATH || strlen(entry->source) >= MAX_PATH) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return OutcomeFailed;
    }
    if (from == entry->source) {
        // Another file of this run now stands where this one was: the file
        // the entry named is gone, and the one there belongs to another entry.
        if (IsProducedPath(&run->table, from)) {
            *error = kReasonSourceReplaced;
            return OutcomeFailed;
        }
        if (CompareNoCase(from, newPath) == 0) return RenameItself(run, index, error);
    }
    if (!IsMovableFile(run, entry, from, error)) return OutcomeFailed;

    // The first attempt never overwrites, so a free new path costs no lookup
    // before it and a taken one is found without a race.
    if (TryPlace(run, index, from, newPath, 0, error)) return Placed(run, entry);
    if (run->settled) return OutcomeCancelled;
    if (!IsExistsError(*error) && *error != ERROR_ACCESS_DENIED) return NotPlaced(entry, *error);
    if (inRing) return OutcomeFailed;
    if (PathExists(newPath, Directory)) {
        if (!run->ask) return OutcomeFailed;
        TellFolderInTheWay(run, newPath);
        return OutcomeSkipped;
    }
    if (!IsExistsError(*error)) return OutcomeFailed;
    // The same file under another name (a short name, say).
    if (from == entry->source && IsSameFile(from, newPath)) return RenameItself(run, index, error);
    return PlaceOverExisting(run, index, from, error);
}

// Places one entry's file from its source and notes a failure. 0 when the
// user cancelled.
static int PlaceEntry(RenameRun* run, int index)
{
    RunEntry* entry = &run->table.entries[index];
    DWORD error = 0;
    int outcome = PlaceFile(run, index, entry->source, 0, &error);
    // Cancelled at its question, or the session ended: one of the rest.
    if (outcome == OutcomeCancelled) return 0;
    MarkHandled(run, entry);
    if (outcome == OutcomeFailed) AddRunFailure(run->failures, entry->source, error);
    if (entry->produced && (outcome == OutcomeDone || entry->sourceKept)) NotePlaced(run, index);
    return 1;
}

// Places the entries of a chain from its end back to its start, each into
// the place the one after it has left; the hooks may stop the run between
// them. 0 when the run ends here.
static int PlaceChain(RenameRun* run, const int* chain, int length)
{
    for (int k = length - 1; k >= 0; k--) {
        if (!GoOn(run, run->table.entries[chain[k]].source) || !PlaceEntry(run, chain[k])) return 0;
    }
    return 1;
}

static int IsMissingError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Lists every member of a ring that stays; the one at failedAt for its own
// reason, the others because of it.
static void ReportRing(RenameRun* run, const int* members, int count, int failedAt, DWORD failure)
{
    for (int x = 0; x < count; x++) {
        RunEntry* entry = &run->table.entries[members[x]];
        MarkHandled(run, entry);
        if (!entry->produced)
            AddRunFailure(run->failures, entry->source, x == failedAt ? failure : kReasonRingMemberFailed);
    }
}

// Undoes the moves of a ring that failed at its member failedAt, in reverse
// order, and puts its first back from the temporary name.
static void RollBackRing(RenameRun* run)
{
    RingState* ring = &run->ring;
    RunTable* table = &run->table;
    for (int y = ring->failedAt + 1; y < ring->count; y++) {
        RunEntry* entry = &table->entries[ring->members[y]];
        // One that cannot go back stays under its new path, not lost.
        if (!MoveFileExA(entry->newPath, entry->source, 0)) continue;
        entry->produced = entry->vacated = 0;
        NoteMoved(run, entry, entry->newPath, entry->source);
    }
    RunEntry* first = &table->entries[ring->members[0]];
    if (PutBack(run, ring->temp, first->source)) first->vacated = 0;
}

// One move of the ring in progress. After its last move, or a failure, the
// ring is settled: whole, or undone.
static void StepRing(RenameRun* run)
{
    RingState* ring = &run->ring;
    int x = ring->next;
    int member = ring->members[x];
    const char* from = x == 0 ? ring->temp : run->table.entries[member].source;
    DWORD error = 0;
    if (PlaceFile(run, member, from, 1, &error) != OutcomeDone) {
        ring->failedAt = x;
        ring->failure = error;
        ring->next = -1;
        RollBackRing(run);
        return;
    }
    ring->next = x - 1;
    for (int k = 0; k < ring->count && x == 0; k++) NotePlaced(run, ring->members[k]);
}

// Entries that take each other's places in a ring: each member's new path is
// the next member's source, and the last member's is the first's. The first
// is moved aside to a temporary name, the others move from the last to the
// second into the places just left, and the first moves last. The ring is
// renamed whole or not at all: when a member fails, the moves made are undone
// in reverse order and the first goes back to its place. 0 when the run ends.
static int RunRing(RenameRun* run, const int* members, int count)
{
    RunTable* table = &run->table;
    DWORD error = 0;
    // A ring whose member at x has no file is a chain that starts there.
    for (int x = 0; x < count; x++) {
        const RunEntry* member = &table->entries[members[x]];
        if (!IsMovableFile(run, member, member->source, &error) && IsMissingError(error)) {
            int* rotated = run->chain + table->count;  // spare room after the chain
            for (int k = 0; k < count; k++) rotated[k] = members[(x + 1 + k) % count];
            return PlaceChain(run, rotated, count);
        }
    }
    RingState* ring = &run->ring;
    RunEntry* first = &table->entries[members[0]];
    if (!IsMovableFile(run, first, first->source, &error) ||
        !MoveAside(run, members[0], ring->temp, sizeof ring->temp, &error)) {
        ReportRing(run, members, count, 0, error);
        return GoOn(run, 0);
    }
    first->vacated = 1;
    ring->members = members;
    ring->count = count;
    ring->next = count - 1;
    ring->failedAt = -1;
    while (ring->next >= 0) {
        // The session's end, handled meanwhile, may have settled the ring.
        GoOn(run, table->entries[members[ring->next]].source);
        if (ring->next >= 0) StepRing(run);
    }
    ReportRing(run, members, count, ring->failedAt, ring->failure);
    return GoOn(run, 0);
}

// Whether the entry's file is to leave its source: an entry the plan refuses
// stays where it is, and nobody waits for it.
static int WillMove(const RunEntry* entry)
{
    return entry->kind != PlanRefused && EntryWillMove(entry);
}

// The turn of the entry at position start. Where its new path is the source
// of an entry not handled yet that is to move away, that entry goes first,
// and so on down the chain; a chain that comes back on itself is a ring.
// 0 when the run ends here.
static int HandleTurn(RenameRun* run, int start)
{
    RunTable* table = &run->table;
    if (table->entries[start].state != EntryPending) return 1;
    int length = 0;
    int ring = -1;
    int current = start;
    run->chain[length++] = start;
    table->entries[start].state = EntryInChain;
    while (run->move && WillMove(&table->entries[current])) {
        int owner = FindUnhandledSource(table, table->entries[current].newPath, current);
        if (owner < 0 || !WillMove(&table->entries[owner])) break;
        if (table->entries[owner].state == EntryInChain) {
            ring = length - 1;
            while (run->chain[ring] != owner) ring--;
            break;
        }
        run->chain[length++] = owner;
        table->entries[owner].state = EntryInChain;
        current = owner;
    }
    int end = length;
    if (ring >= 0) {
        if (!RunRing(run, run->chain + ring, length - ring)) return 0;
        end = ring;
    }
    return PlaceChain(run, run->chain, end);
}

void SettleRunForSessionEnd()
{
    RenameRun* run = g_running;
    if (!run) return;
    run->stop = run->settled = 1;
    if (run->copy) {
        run->copy->cancel = TRUE;
        WaitForSingleObject(run->copy->thread, INFINITE);
        RemoveFile(run->copy->to);
    }
    while (run->ring.next >= 0) StepRing(run);
    if (run->journal) EndJournal(run->journal, 1);
}

// Runs every entry of the composed table in list order; journal kind tells a
// run from an undo.
static void Run(RenameRun* run, int operation, int kind, RunSummary* summary)
{
    const RunHooks* hooks = run->hooks;
    // The chain, and room after it for a ring turned into a chain.
    run->chain = (int*)AllocateMemory(((size_t)run->table.count * 2 + 1) * sizeof *run->chain);
    if (!run->chain) {
        summary->result = RunNotStarted;
        summary->reason = ERROR_NOT_ENOUGH_MEMORY;
        return;
    }
    run->tag = (GetTickCount() ^ GetCurrentProcessId()) % (36 * 36);
    run->ring.next = -1;
    g_running = run;
    // The identities go into the plan (an undo's were given); the program
    // keeps answering meanwhile, and a stop asked for now ends the run before
    // its first file.
    for (int i = 0; i < run->table.count; i++) {
        DWORD ignored;
        RunEntry* entry = &run->table.entries[i];
        if (!run->proven) ReadFileIdentity(entry->source, &entry->identity, &ignored);
        GoOn(run, entry->source);
    }
    DWORD error = 0;
    JournalWriter* journal = hooks ? hooks->journal : 0;
    if (!run->settled && journal &&
        !BeginJournal(journal, kind, operation, run->tag, hooks->runId, &run->table, &error)) {
        g_running = 0;
        summary->result = RunNotStarted;
        summary->reason = error;
        return;
    }
    // Only a journal begun is ended: until then the file holds the last run's.
    run->journal = run->settled ? 0 : journal;
    int completed = !run->settled;
    for (int i = 0; i < run->table.count && completed; i++) {
        if (run->table.entries[i].state == EntryPending) completed = HandleTurn(run, i);
    }
    if (completed) GoOn(run, 0);
    g_running = 0;
    summary->journalIncomplete = run->journal && !run->settled && !EndJournal(run->journal, !completed);
    summary->result = completed ? RunCompleted : RunStopped;
    for (int i = 0; i < run->table.count; i++) summary->renamed += run->table.entries[i].produced;
    summary->remaining = run->table.count - run->handled;
}

static void StartRun(RenameRun* run, const RunHooks* hooks, RunFailures* failures, RunSummary* summary)
{
    memset(run, 0, sizeof *run);
    memset(summary, 0, sizeof *summary);
    run->hooks = hooks;
    run->failures = failures;
}

static void FreeRun(RenameRun* run)
{
    FreeRunTable(&run->table);
    free(run->chain);
    run->chain = 0;
}

// The pattern with the output folder of a move or copy as one full path,
// kept in folder (MAX_PATH bytes), so that the run knows its own files there.
static NamePattern ResolvePattern(const NamePattern* pattern, char* folder)
{
    NamePattern resolved = *pattern;
    if ((pattern->operation == RenameMove || pattern->operation == RenameCopy) &&
        ResolveOutputFolder(pattern->outputFolder, folder, MAX_PATH))
        resolved.outputFolder = folder;
    return resolved;
}

int PlanRenameFiles(RunTable* plan, const char* const* sources, int count, const NamePattern* pattern)
{
    char folder[MAX_PATH];
    NamePattern resolved = ResolvePattern(pattern, folder);
    return PlanRun(plan, sources, count < 0 ? 0 : count, &resolved, LookUpPath, 0);
}

int RenameFiles(const char* const* sources, int count, const NamePattern* pattern, const RunHooks* hooks,
                RunFailures* failures, RunSummary* summary)
{
    char folder[MAX_PATH];
    NamePattern resolved = ResolvePattern(pattern, folder);
    RenameRun run;
    StartRun(&run, hooks, failures, summary);
    run.move = pattern->operation != RenameCopy;
    run.ask = 1;
    if (ComposePlan(&run.table, sources, count < 0 ? 0 : count, &resolved)) {
        Run(&run, pattern->operation, JournalRename, summary);
    } else {
        summary->result = RunNotStarted;
        summary->reason = ERROR_NOT_ENOUGH_MEMORY;
    }
    FreeRun(&run);
    return summary->result;
}

int MoveFilesBack(const char* const* sources, const char* const* targets, const FileIdentity* identities, int count,
                  const RunHooks* hooks, RunFailures* failures, RunSummary* summary)
{
    RenameRun run;
    StartRun(&run, hooks, failures, summary);
    run.move = 1;
    run.proven = 1;
    int ready = CreateRunTable(&run.table, count < 0 ? 0 : count);
    for (int i = 0; i < count && ready; i++) {
        ready = SetRunEntryPaths(&run.table, i, sources[i], targets[i]);
        run.table.entries[i].identity = identities[i];
    }
    if (ready) {
        IndexRunTable(&run.table);
        Run(&run, RenameOnly, JournalUndo, summary);
    } else {
        summary->result = RunNotStarted;
        summary->reason = ERROR_NOT_ENOUGH_MEMORY;
    }
    for (int i = 0; i < run.table.count && summary->result == RunStopped; i++) {
        const RunEntry* entry = &run.table.entries[i];
        if (entry->state != EntryHandled) AddRunFailure(failures, entry->source, kReasonUndoStopped);
    }
    FreeRun(&run);
    return summary->result;
}

int LookUpPath(void*, const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathAbsent;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathFolder : PathFile;
}
