#include "rename/run_recovery.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/mbcs_text.h"
#include "core/prompt.h"
#include "rename/file_moves.h"
#include "rename/run_failures.h"

static const char kRecoveryTitle[] = "前回の改名の復旧";

enum {
    kReportLineSize = 2 * 1024 + 16,  // two paths of a run and an arrow
};

// Lines of a report: the first kFailureLinesShown kept, the rest counted.
struct ReportLines {
    char* text;
    size_t used;
    int total;
};

static void AddReportLine(ReportLines* lines, const char* line)
{
    if (lines->total++ >= kFailureLinesShown || !lines->text) return;
    enum { kSize = kFailureLinesShown * (kReportLineSize + 2) };
    if (lines->used) lines->used += CopyTextCut(lines->text + lines->used, kSize - lines->used, "\r\n");
    lines->used += CopyTextCut(lines->text + lines->used, kSize - lines->used, line);
}

static void AppendReportLines(char* text, size_t size, size_t* used, const ReportLines* lines)
{
    if (lines->text) *used += CopyTextCut(text + *used, size - *used, lines->text);
    if (lines->total > kFailureLinesShown) {
        char more[48];
        snprintf(more, sizeof more, "\r\nほか %d 件", lines->total - kFailureLinesShown);
        *used += CopyTextCut(text + *used, size - *used, more);
    }
}

struct Recovery {
    const JournalRecord* record;
    RunTable table;
    int* chain;
    ReportLines moves;    // every file moved or removed
    ReportLines folders;  // folders that could not be reached
    RunFailures failures;
    char lastFolder[kReportLineSize];
};

static void NoteMove(Recovery* rc, const char* from, const char* to)
{
    char line[kReportLineSize];
    snprintf(line, sizeof line, "%s → %s", from, to);
    AddReportLine(&rc->moves, line);
}

static void NoteUnreachable(Recovery* rc, const char* folder)
{
    if (strcmp(folder, rc->lastFolder) == 0) return;
    CopyTextCut(rc->lastFolder, sizeof rc->lastFolder, folder);
    AddReportLine(&rc->folders, folder);
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
    } else if ((GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) &&
               FinishExchange(rc, index, entry->newPath) && MoveFileExA(temp, entry->newPath, 0)) {
        where = entry->newPath;
    } else if (MoveFileExA(temp, entry->source, 0)) {
        where = entry->source;
    }
    if (!where) {
        AddRunFailure(&rc->failures, temp, GetLastError());
        return;
    }
    entry->state = EntryHandled;
    NoteMove(rc, temp, where);
}

// A copy cut short stands under a temporary name in the new path's folder;
// it goes while its source still stands, else it stays and is listed.
static void RemoveCopy(Recovery* rc, int index, const char* temp)
{
    const RunEntry* entry = &rc->table.entries[index];
    if (!IsFileOf(entry->source, &entry->identity) || IsSameFile(entry->source, temp)) {
        AddRunFailure(&rc->failures, temp, kReasonCopyKept);
    } else if (RemoveFile(temp)) {
        NoteMove(rc, temp, "削除");
    } else {
        AddRunFailure(&rc->failures, temp, GetLastError());
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
        } else if (entry->identity.index &&
                   (rc->record->operation == RenameCopy || found.volume != entry->identity.volume)) {
            RemoveCopy(rc, index, temps[k]);
        } else {
            AddRunFailure(&rc->failures, temps[k], kReasonNotRunsFile);
        }
    }
}

static void ShowReport(HWND owner, Recovery* rc)
{
    // The count, the moves, the failures and the folders, each at their longest.
    enum {
        kTextSize = 1024 + 2 * kFailureLinesShown * (kReportLineSize + 2) +
                    kFailureLinesShown * (MAX_PATH + 8 + kFailureReasonSize),
    };
    char* text = (char*)malloc(kTextSize);
    if (!text) {
        TellOutOfMemory(owner);
        return;
    }
    size_t used =
        (size_t)snprintf(text, kTextSize, "復旧のために動かした、または削除したファイル: %d 件\r\n", rc->moves.total);
    AppendReportLines(text, kTextSize, &used, &rc->moves);
    if (rc->failures.total > 0) {
        used += CopyTextCut(text + used, kTextSize - used, "\r\n\r\n");
        used += BuildFailureText(&rc->failures, "戻せなかったファイル:\r\n", text + used, kTextSize - used);
    }
    if (rc->folders.total > 0) {
        used += CopyTextCut(text + used, kTextSize - used,
                            "\r\n\r\n次のフォルダに届かないため、復旧を終えていません。"
                            "次に起動したときに、もう一度復旧します。\r\n");
        AppendReportLines(text, kTextSize, &used, &rc->folders);
    }
    int trouble = rc->failures.total > 0 || rc->folders.total > 0;
    Prompt(owner, text, kRecoveryTitle, MB_OK, trouble ? MB_ICONERROR : MB_ICONINFORMATION);
    free(text);
}

// Puts right the run of the record, whose journal is held open on file. 1
// when it is marked done; 0 while a folder could not be reached.
static int RecoverRun(HWND owner, const JournalRecord* record, HANDLE file)
{
    Prompt(owner,
           "前回の改名（リネーム）は途中で終わっていました。\r\n"
           "一時的な名前のまま残ったファイルを、予定の名前か元の名前に戻します。",
           kRecoveryTitle, MB_OK, MB_ICONWARNING);
    Recovery rc;
    memset(&rc, 0, sizeof rc);
    rc.record = record;
    int ready = CreateRunTable(&rc.table, record->count) &&
                (rc.chain = (int*)malloc(((size_t)record->count + 1) * sizeof *rc.chain)) != NULL &&
                (rc.moves.text = (char*)malloc(kFailureLinesShown * (kReportLineSize + 2))) != NULL &&
                (rc.folders.text = (char*)malloc(kFailureLinesShown * (kReportLineSize + 2))) != NULL;
    for (int i = 0; i < record->count && ready; i++) {
        ready = SetRunEntryPaths(&rc.table, i, record->entries[i].oldPath, record->entries[i].newPath);
        rc.table.entries[i].identity = record->entries[i].identity;
    }
    int settled = 0;
    if (ready) {
        rc.moves.text[0] = rc.folders.text[0] = 0;
        IndexRunTable(&rc.table);
        for (int i = 0; i < record->count; i++) RecoverEntry(&rc, i);
        settled = rc.folders.total == 0 && MarkRecovered(file, record);
        ShowReport(owner, &rc);
    } else {
        TellOutOfMemory(owner);
    }
    FreeRunFailures(&rc.failures);
    FreeRunTable(&rc.table);
    free(rc.chain);
    free(rc.moves.text);
    free(rc.folders.text);
    return settled;
}

// Tells of a journal of this program that cannot be read, and keeps it under
// another name, so that a new run does not replace it. 1 when set aside.
static int SetAsideDamaged(HWND owner, const char* path)
{
    char aside[MAX_PATH * 2 + 16];
    snprintf(aside, sizeof aside, "%s.damaged", path);
    int moved = MoveFileExA(path, aside, MOVEFILE_REPLACE_EXISTING) != 0;
    char text[sizeof aside * 2 + 512];
    snprintf(text, sizeof text,
             "改名の記録 %s を読めません。%s%s\r\n"
             "一時的な名前（~tv で始まる名前）のまま残ったファイルがあれば、この記録を見て元に戻してください。",
             path, moved ? "\r\n記録は次の名前で残しました: " : "", moved ? aside : "");
    Prompt(owner, text, kRecoveryTitle, MB_OK, MB_ICONWARNING);
    return moved;
}

void RecoverInterruptedRun(HWND owner, const char* path)
{
    JournalRecord record;
    HANDLE file = NULL;
    int state = ReadJournal(path, &record, &file);
    if (state == JournalDamaged) SetAsideDamaged(owner, path);
    if (state != JournalReadable) return;
    if (IsUnfinished(&record)) RecoverRun(owner, &record, file);
    CloseHandle(file);
    FreeJournalRecord(&record);
}

int SettleJournalForRun(HWND owner, JournalWriter* journal, const char* path, DWORD* error)
{
    JournalRecord record;
    int state = ReadHeldJournal(journal->file, &record);
    int settled = state != JournalReadable || !IsUnfinished(&record) || RecoverRun(owner, &record, journal->file);
    if (state == JournalReadable) FreeJournalRecord(&record);
    if (!settled) *error = kReasonRunPending;
    if (state == JournalDamaged) {
        CloseJournal(journal);
        settled = SetAsideDamaged(owner, path) && OpenJournal(journal, path, error);
        if (!settled && *error != kReasonJournalInUse) *error = kReasonJournalDamaged;
    }
    if (!settled) CloseJournal(journal);
    return settled;
}
