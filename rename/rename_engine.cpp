#include "rename/rename_engine.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/mbcs_text.h"
#include "core/prompt.h"
#include "filelist/folder_files.h"
#include "rename/file_moves.h"
#include "rename/output_folder.h"
#include "rename/run_failures.h"
#include "rename/run_journal.h"
#include "rename/run_table.h"

enum Outcome {
    OutcomeDone,       // the file is under its new path (or already was)
    OutcomeSkipped,    // the user said No, or was told of a folder in the way
    OutcomeFailed,     // the reason is to be reported
    OutcomeCancelled,  // the user ended the run
};

struct RenameRun {
    RunTable table;
    RunFailures failures;
    JournalWriter journal;
    int* chain;  // the entries of one turn, each followed by the one in its way
    int move;    // the operation moves files (every one but RenameCopy)
    int ask;     // a taken new path is asked about; else the entry stays
    unsigned tag;  // tells this run's temporary names from another run's
    HWND owner;
    const RunHooks* hooks;
    const char* current;  // the source of the entry at hand
    int handled;  // entries done with, for the hooks
    int stop;     // the hooks asked to stop
};

static int IsExistsError(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// Tells the hooks how far the run is. 0 when the run is to stop.
static int GoOn(RenameRun* run, const char* next)
{
    const RunHooks* hooks = run->hooks;
    run->current = next ? next : "";
    if (hooks && hooks->between && !hooks->between(hooks->context, run->handled, run->table.count, run->current))
        run->stop = 1;
    return !run->stop;
}

// A long copy (across volumes, or a copy of a large file) keeps the hooks
// informed, so that the program goes on answering.
static DWORD CALLBACK CopyGoesOn(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE,
                                 HANDLE, LPVOID data)
{
    RenameRun* run = (RenameRun*)data;
    GoOn(run, run->current);
    return PROGRESS_CONTINUE;
}

static void MarkHandled(RenameRun* run, RunEntry* entry)
{
    if (entry->state != EntryHandled) run->handled++;
    entry->state = EntryHandled;
}

// One attempt to put the file at to; replace allows an existing file there to
// be overwritten. A move is a rename within a volume and a copy and delete
// across volumes.
static int TryPlace(RenameRun* run, const char* from, const char* to, int replace)
{
    if (run->move) {
        DWORD flags = MOVEFILE_COPY_ALLOWED | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
        return MoveFileWithProgressA(from, to, CopyGoesOn, run, flags) != 0;
    }
    return CopyFileExA(from, to, CopyGoesOn, run, NULL, replace ? 0 : COPY_FILE_FAIL_IF_EXISTS) != 0;
}

// Moves a file back from its temporary name; what cannot go back is reported
// by the path it is left under. 1 when it went back.
static int PutBack(RenameRun* run, const char* temp, const char* path)
{
    if (MoveFileExA(temp, path, 0)) return 1;
    AddRunFailure(&run->failures, temp, GetLastError());
    return 0;
}

// Whether from names a file (not a folder) that can be moved; if not, why.
static int IsMovableFile(const char* from, DWORD* error)
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

// The new path names the source file itself. A copy cannot be made onto it;
// a rename that changes only letter case keeps the old name on some file
// systems, so it goes through a temporary name in the same folder.
static int RenameItself(RenameRun* run, int index, DWORD* error)
{
    RunEntry* entry = &run->table.entries[index];
    if (!IsMovableFile(entry->source, error)) return OutcomeFailed;
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
        JournalPlaced(&run->journal, index, entry->newPath, 0);
        return OutcomeDone;
    }
    *error = GetLastError();
    PutBack(run, temp, entry->source);
    return OutcomeFailed;
}

static void ShowFolderCollision(RenameRun* run, const char* newPath)
{
    char text[MAX_PATH + 256];
    snprintf(text, sizeof text,
             "コピー先ファイル名[ %s ]は既にフォルダ名として登録されています。\r\n"
             "このファイルの改名（リネーム）を中止して処理を続けます。",
             newPath);
    Prompt(run->owner, text, "フォルダ名重複", MB_OK, MB_ICONERROR);
}

static int AskOverwrite(RenameRun* run, const char* source, const char* newPath)
{
    char text[MAX_PATH + 256];
    snprintf(text, sizeof text,
             "コピー先フォルダには既にファイル[ %s ]が存在します。\r\n上書きしますか？\r\n\r\n"
             "[ YES        ] => 上書き\r\n[ NO         ] => 上書きせずに処理続行\r\n"
             "[ キャンセル ] => 処理中断",
             newPath);
    char title[MAX_PATH + 64];
    snprintf(title, sizeof title, "ファイルの上書き確認(%s)", source);
    return Prompt(run->owner, text, title, MB_YESNOCANCEL, MB_ICONQUESTION);
}

static int Placed(RenameRun* run, RunEntry* entry)
{
    entry->produced = 1;
    if (run->move) entry->vacated = 1;
    return OutcomeDone;
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
    if (answer == IDCANCEL) return OutcomeCancelled;
    if (answer != IDYES) return OutcomeSkipped;
    entry->replaced = 1;
    if (TryPlace(run, from, newPath, 1)) return Placed(run, entry);
    *error = GetLastError();
    if (!IsExistsError(*error)) return OutcomeFailed;
    int copied = 0;
    int replaced = ReplaceThroughTemporaryFile(from, newPath, run->move, error, &copied);
    if (copied) entry->produced = 1;
    if (replaced && run->move) entry->vacated = 1;
    return replaced ? OutcomeDone : OutcomeFailed;
}

// Puts the file of entry index, now at from (its source, or the temporary
// name of a ring's first entry), at its new path. Inside a ring nothing is
// asked and an occupied new path fails the entry.
static int PlaceFile(RenameRun* run, int index, const char* from, int inRing, DWORD* error)
{
    RunEntry* entry = &run->table.entries[index];
    const char* newPath = entry->newPath;
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
    if (!IsMovableFile(from, error)) return OutcomeFailed;

    // The first attempt never overwrites, so a free new path costs no lookup
    // before it and a taken one is found without a race.
    if (TryPlace(run, from, newPath, 0)) return Placed(run, entry);
    *error = GetLastError();
    if (!IsExistsError(*error) && *error != ERROR_ACCESS_DENIED) return OutcomeFailed;
    if (inRing) return OutcomeFailed;
    if (PathExists(newPath, Directory)) {
        if (!run->ask) return OutcomeFailed;
        ShowFolderCollision(run, newPath);
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
    MarkHandled(run, entry);
    if (outcome == OutcomeFailed) AddRunFailure(&run->failures, entry->source, error);
    if (outcome == OutcomeDone && entry->produced) JournalPlaced(&run->journal, index, entry->newPath, entry->replaced);
    return outcome != OutcomeCancelled;
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
            AddRunFailure(&run->failures, entry->source, x == failedAt ? failure : kReasonRingMemberFailed);
    }
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
        if (!IsMovableFile(table->entries[members[x]].source, &error) && IsMissingError(error)) {
            int* rotated = run->chain + table->count;  // spare room after the chain
            for (int k = 0; k < count; k++) rotated[k] = members[(x + 1 + k) % count];
            return PlaceChain(run, rotated, count);
        }
    }
    RunEntry* first = &table->entries[members[0]];
    char temp[MAX_PATH];
    if (!IsMovableFile(first->source, &error) || !MoveAside(run, members[0], temp, sizeof temp, &error)) {
        ReportRing(run, members, count, 0, error);
        return GoOn(run, 0);
    }
    first->vacated = 1;

    int failedAt = -1;
    DWORD failure = 0;
    for (int x = count - 1; x >= 1 && failedAt < 0; x--) {
        GoOn(run, table->entries[members[x]].source);
        if (PlaceFile(run, members[x], table->entries[members[x]].source, 1, &error) != OutcomeDone) {
            failedAt = x;
            failure = error;
        }
    }
    if (failedAt < 0 && PlaceFile(run, members[0], temp, 1, &error) != OutcomeDone) {
        failedAt = 0;
        failure = error;
    }
    if (failedAt >= 0) {
        for (int y = failedAt + 1; y < count; y++) {
            RunEntry* entry = &table->entries[members[y]];
            // One that cannot go back stays under its new path, not lost.
            if (MoveFileExA(entry->newPath, entry->source, MOVEFILE_COPY_ALLOWED))
                entry->produced = entry->vacated = 0;
        }
        if (PutBack(run, temp, first->source)) first->vacated = 0;
    }
    ReportRing(run, members, count, failedAt, failure);
    for (int x = 0; x < count && failedAt < 0; x++)
        JournalPlaced(&run->journal, members[x], table->entries[members[x]].newPath, 0);
    return GoOn(run, 0);
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
    while (run->move && EntryWillMove(&table->entries[current])) {
        int owner = FindUnhandledSource(table, table->entries[current].newPath, current);
        if (owner < 0 || !EntryWillMove(&table->entries[owner])) break;
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

static void FreeRun(RenameRun* run)
{
    FreeRunTable(&run->table);
    FreeRunFailures(&run->failures);
    free(run->chain);
    run->chain = 0;
}

// Runs every entry of the prepared table in list order; journal kind tells a
// run from an undo. 1 when every entry was handled.
static int Run(RenameRun* run, int operation, int kind)
{
    // The chain, and room after it for a ring turned into a chain.
    run->chain = (int*)malloc(((size_t)run->table.count * 2 + 1) * sizeof *run->chain);
    if (!run->chain) {
        TellOutOfMemory(run->owner);
        return 0;
    }
    IndexRunTable(&run->table);
    run->tag = (GetTickCount() ^ GetCurrentProcessId()) % (36 * 36);
    if (run->hooks && run->hooks->journalPath)
        BeginJournal(&run->journal, run->hooks->journalPath, kind, operation, run->tag, &run->table);
    int completed = 1;
    for (int i = 0; i < run->table.count && completed; i++) {
        if (run->table.entries[i].state == EntryPending) completed = HandleTurn(run, i);
    }
    if (completed) GoOn(run, 0);
    EndJournal(&run->journal);
    return completed;
}

static int StartRun(RenameRun* run, HWND owner, int count, const RunHooks* hooks)
{
    memset(run, 0, sizeof *run);
    run->owner = owner;
    run->hooks = hooks;
    return CreateRunTable(&run->table, count < 0 ? 0 : count);
}

int RenameFiles(HWND owner, const char* const* sources, int count, const NamePattern* pattern,
                const RunHooks* hooks)
{
    NamePattern resolved = *pattern;
    char folder[MAX_PATH];
    if ((pattern->operation == RenameMove || pattern->operation == RenameCopy) &&
        ResolveOutputFolder(pattern->outputFolder, folder, sizeof folder))
        resolved.outputFolder = folder;
    RenameRun run;
    int ready = StartRun(&run, owner, count, hooks);
    for (int i = 0; i < count && ready; i++) ready = SetRunEntry(&run.table, i, sources[i], &resolved);
    if (!ready) run.table.count = 0;
    run.move = pattern->operation != RenameCopy;
    run.ask = 1;
    int completed = ready ? Run(&run, pattern->operation, JournalRename) : 0;
    if (!ready) TellOutOfMemory(owner);
    ShowRunFailures(&run.failures, owner);
    FreeRun(&run);
    return completed;
}

int MoveFilesBack(HWND owner, const char* const* sources, const char* const* targets, int count,
                  const RunHooks* hooks, RunFailures* failures)
{
    RenameRun run;
    int ready = StartRun(&run, owner, count, hooks);
    for (int i = 0; i < count && ready; i++) ready = SetRunEntryPaths(&run.table, i, sources[i], targets[i]);
    if (!ready) run.table.count = 0;
    run.move = 1;
    int completed = ready ? Run(&run, RenameOnly, JournalUndo) : 0;
    if (!ready) TellOutOfMemory(owner);
    for (int i = 0; i < run.failures.stored; i++) AddRunFailure(failures, run.failures.items[i].path, run.failures.items[i].error);
    failures->total += run.failures.total - run.failures.stored;
    FreeRun(&run);
    return completed;
}
