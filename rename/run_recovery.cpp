#include "rename/run_recovery.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/heap.h"
#include "core/mbcs_text.h"
#include "rename/file_moves.h"

enum {
    kReportLineSize = 2 * 1024 + 16,  // two paths of a run and an arrow
};

struct Recovery {
    const JournalRecord* record;
    RunTable table;
    int* chain;
    RecoveryReport* report;
    char lastFolder[kReportLineSize];
};

static void NoteMove(Recovery* rc, const char* from, const char* to)
{
    char line[kReportLineSize];
    snprintf(line, sizeof line, "%s → %s", from, to);
    AddShownLine(&rc->report->moves, line);
}

static void NoteUnreachable(Recovery* rc, const char* folder)
{
    if (strcmp(folder, rc->lastFolder) == 0) return;
    CopyTextCut(rc->lastFolder, sizeof rc->lastFolder, folder);
    AddShownLine(&rc->report->folders, folder);
}

// Frees path, the new path of the entry holder whose file is aside, by
// finishing the exchange of names it belongs to: from path on, each place is
// taken by the file of the entry whose source it is, which goes on to its own
// new path, up to a free place; then they move, the last first. Only files
// of the identity the plan recorded move. 1 when path is free then.
static int FinishExchange(Recovery* rc, int holder, const char* path)
{
    RunTable* table = &rc->table;
    int length = 0;
    int reachesFree = 0;
    table->entries[holder].state = EntryInChain;
    for (const char* at = path; !reachesFree && length < table->count;) {
        int owner = FindUnhandledSource(table, at, -1);
        if (owner < 0) break;
        RunEntry* entry = &table->entries[owner];
        if (entry->state == EntryInChain || !EntryWillMove(entry) || !IsFileOf(at, &entry->identity)) break;
        rc->chain[length++] = owner;
        entry->state = EntryInChain;
        at = entry->newPath;
        reachesFree = IsAbsent(at);
    }
    int moved = reachesFree;
    for (int k = length - 1; k >= 0; k--) {
        RunEntry* entry = &table->entries[rc->chain[k]];
        moved = moved && MoveFileExA(entry->source, entry->newPath, 0);
        entry->state = moved ? EntryHandled : EntryPending;
        if (moved) NoteMove(rc, entry->source, entry->newPath);
    }
    table->entries[holder].state = EntryPending;
    return moved;
}

// Puts the file aside at temp of entry index at its new path, else its old.
static void Restore(Recovery* rc, int index, const char* temp)
{
    RunEntry* entry = &rc->table.entries[index];
    const char* where = 0;
    if (MoveFileExA(temp, entry->newPath, 0)) {
        where = entry->newPath;
    } else if (IsExistsError(GetLastError()) &&
               FinishExchange(rc, index, entry->newPath) && MoveFileExA(temp, entry->newPath, 0)) {
        where = entry->newPath;
    } else if (MoveFileExA(temp, entry->source, 0)) {
        where = entry->source;
    }
    if (!where) {
        AddRunFailure(&rc->report->left, temp, GetLastError());
        return;
    }
    entry->state = EntryHandled;
    NoteMove(rc, temp, where);
}

// A copy cut short, the file the journal noted for it, stands under a
// temporary name in the new path's folder; it goes while its source still
// stands, else it stays and is listed.
static void RemoveCopy(Recovery* rc, int index, const char* temp)
{
    const RunEntry* entry = &rc->table.entries[index];
    if (!IsFileOf(entry->source, &entry->identity) || IsSameFile(entry->source, temp)) {
        AddRunFailure(&rc->report->left, temp, kReasonCopyKept);
    } else if (RemoveFile(temp)) {
        NoteMove(rc, temp, "削除");
    } else {
        AddRunFailure(&rc->report->left, temp, GetLastError());
    }
}

// The folder part of path, and the temporary name there. 0 when it does not fit.
static int TemporaryPathIn(const char* path, const char* name, char* folder, char* temp, size_t size)
{
    PathParts parts;
    if (!SplitPath(path, &parts)) return 0;
    int length = snprintf(folder, size, "%s%s", parts.drive, parts.directory);
    return length > 0 && (size_t)length < size && snprintf(temp, size, "%s%s", folder, name) < (int)size;
}

// Whether a run could have copied the entry's file into its new path's
// folder: a copy does, and a move does across volumes.
static int MayHaveCopied(const Recovery* rc, const char* oldFolder, const char* newFolder)
{
    char oldVolume[MAX_PATH];
    char newVolume[MAX_PATH];
    if (CompareNoCase(oldFolder, newFolder) == 0) return 0;
    return rc->record->operation == RenameCopy || !GetVolumePathNameA(oldFolder, oldVolume, MAX_PATH) ||
           !GetVolumePathNameA(newFolder, newVolume, MAX_PATH) || CompareNoCase(oldVolume, newVolume) != 0;
}

// Looks for the entry's temporary name in its old path's folder and, where a
// copy may have been made, in its new path's.
static void RecoverEntry(Recovery* rc, int index)
{
    const JournalEntry* planned = &rc->record->entries[index];
    const RunEntry* entry = &rc->table.entries[index];
    if (!planned->temporaryName[0]) return;
    char folders[2][kReportLineSize];
    char temps[2][kReportLineSize];
    int places = TemporaryPathIn(planned->oldPath, planned->temporaryName, folders[0], temps[0], sizeof temps[0]);
    if (places && planned->newPath[0] &&
        TemporaryPathIn(planned->newPath, planned->temporaryName, folders[1], temps[1], sizeof temps[1]) &&
        MayHaveCopied(rc, folders[0], folders[1]))
        places = 2;
    for (int k = 0; k < places; k++) {
        FileIdentity found;
        DWORD error = 0;
        if (!ReadFileIdentity(temps[k], &found, &error)) {
            // Only a name absent from a folder that answered is done with.
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_DIRECTORY) NoteUnreachable(rc, folders[k]);
            continue;
        }
        if (IsSameIdentity(&found, &entry->identity)) {
            Restore(rc, index, temps[k]);
        } else if (IsSameIdentity(&found, &planned->copyIdentity)) {
            RemoveCopy(rc, index, temps[k]);
        } else {
            AddRunFailure(&rc->report->left, temps[k], kReasonNotRunsFile);
        }
    }
}

int RecoverRun(const JournalRecord* record, HANDLE file, RecoveryReport* report)
{
    memset(report, 0, sizeof *report);
    Recovery rc;
    memset(&rc, 0, sizeof rc);
    rc.record = record;
    rc.report = report;
    int ready = StartShownLines(&report->moves) && StartShownLines(&report->folders) &&
                CreateRunTable(&rc.table, record->count) &&
                (rc.chain = (int*)AllocateMemory(((size_t)record->count + 1) * sizeof *rc.chain)) != NULL;
    for (int i = 0; i < record->count && ready; i++) {
        ready = SetRunEntryPaths(&rc.table, i, record->entries[i].oldPath, record->entries[i].newPath);
        rc.table.entries[i].identity = record->entries[i].identity;
    }
    int settled = 0;
    if (ready) {
        IndexRunTable(&rc.table);
        for (int i = 0; i < record->count; i++) RecoverEntry(&rc, i);
        settled = report->folders.count == 0 && MarkRecovered(file, record);
    }
    report->outOfMemory = !ready;
    FreeRunTable(&rc.table);
    free(rc.chain);
    return settled;
}

void FreeRecoveryReport(RecoveryReport* report)
{
    FreeShownLines(&report->moves);
    FreeShownLines(&report->folders);
    FreeRunFailures(&report->left);
}

int SetAsideDamagedJournal(const char* path, char* aside, size_t size)
{
    snprintf(aside, size, "%s.damaged", path);
    return MoveFileExA(path, aside, MOVEFILE_REPLACE_EXISTING) != 0;
}
