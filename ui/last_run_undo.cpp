#include "ui/last_run_undo.h"

#include <stdio.h>
#include <stdlib.h>

#include "core/app_state.h"
#include "core/file_modes.h"
#include "core/heap.h"
#include "core/prompt.h"
#include "filelist/moved_files.h"
#include "rename/file_moves.h"
#include "rename/rename_engine.h"
#include "rename/run_journal.h"
#include "ui/run_messages.h"
#include "ui/run_progress.h"

static const char kUndoTitle[] = "改名（リネーム）の取り消し";

// What undo will do: the moves back (from the run's new paths to its old
// ones), the copies to remove, and what it leaves alone.
struct UndoPlan {
    const char** sources;
    const char** targets;
    FileIdentity* identities;  // of the files to move back
    int moves;
    int* copies;  // placements of copies to remove
    int copyCount;
    RunFailures failures;
    char* done;  // of a stopped undo: which entries it moved back
};

static void AddMove(UndoPlan* plan, const char* from, const char* to, const FileIdentity* identity)
{
    plan->sources[plan->moves] = from;
    plan->identities[plan->moves] = *identity;
    plan->targets[plan->moves++] = to;
}

// A rename run: every file it placed, the last placed first, goes back if it
// is still the file the run placed there. A copy is removed while its
// original still stands as the run found it, else it takes the original's
// place if that is free.
static void PlanUndoOfRun(const JournalRecord* record, UndoPlan* plan)
{
    for (int i = record->placed - 1; i >= 0; i--) {
        const JournalPlacement* placement = &record->placements[i];
        const JournalEntry* entry = &record->entries[placement->index];
        if (!IsFileOf(entry->newPath, &placement->identity)) {
            AddRunFailure(&plan->failures, entry->newPath, kReasonChangedSince);
        } else if (!(placement->how & PlacedCopy)) {
            AddMove(plan, entry->newPath, entry->oldPath, &placement->identity);
        } else if (IsFileOf(entry->oldPath, &entry->identity)) {
            plan->copies[plan->copyCount++] = i;
        } else if (IsAbsent(entry->oldPath)) {
            AddMove(plan, entry->newPath, entry->oldPath, &placement->identity);
        } else {
            AddRunFailure(&plan->failures, entry->newPath, kReasonOldNameTaken);
        }
    }
}

// A stopped undo: the files it did not move back go now.
static void PlanRestOfUndo(const JournalRecord* record, UndoPlan* plan)
{
    char* done = plan->done;
    for (int i = 0; i < record->placed; i++) done[record->placements[i].index] = 1;
    for (int i = 0; i < record->count; i++) {
        const JournalEntry* entry = &record->entries[i];
        if (done[i]) continue;
        if (IsFileOf(entry->oldPath, &entry->identity)) {
            AddMove(plan, entry->oldPath, entry->newPath, &entry->identity);
        } else {
            AddRunFailure(&plan->failures, entry->oldPath, kReasonChangedSince);
        }
    }
}

static int AskToUndo(HWND owner, const JournalRecord* record)
{
    int replaced = 0;
    int copies = 0;
    int count = record->kind == JournalRename ? record->placed : record->count - record->placed;
    for (int i = 0; i < record->placed && record->kind == JournalRename; i++) {
        replaced += (record->placements[i].how & PlacedOver) != 0;
        copies += (record->placements[i].how & PlacedCopy) != 0;
    }
    char text[512];
    int length = snprintf(text, sizeof text, "直前の改名（リネーム）を元に戻します。よろしいですか？\r\n\r\n対象のファイル: %d 件",
                          count);
    if (copies > 0)
        length += snprintf(text + length, sizeof text - length,
                           "\r\n\r\nコピーしたファイル %d 件は削除して、ごみ箱に移します"
                           "（元のファイルがなくなっているコピーは、元の名前に戻します）。", copies);
    if (replaced > 0)
        snprintf(text + length, sizeof text - length, "\r\n\r\n上書きされたファイル %d 件は元に戻せません。", replaced);
    return Prompt(owner, text, kUndoTitle, MB_YESNO, MB_ICONQUESTION) == IDYES;
}

// Each copy goes while it and its original are still as planned: the moves
// back may have taken long.
static void RecycleCopies(const JournalRecord* record, UndoPlan* plan)
{
    for (int i = 0; i < plan->copyCount; i++) {
        const JournalPlacement* placement = &record->placements[plan->copies[i]];
        const JournalEntry* entry = &record->entries[placement->index];
        DWORD error = 0;
        if (!IsFileOf(entry->oldPath, &entry->identity)) {
            AddRunFailure(&plan->failures, entry->oldPath, kReasonChangedSince);
        } else if (!IsFileOf(entry->newPath, &placement->identity)) {
            AddRunFailure(&plan->failures, entry->newPath, kReasonChangedSince);
        } else if (!RecycleFile(entry->newPath, &error)) {
            AddRunFailure(&plan->failures, entry->newPath, error);
        }
    }
}

// Moves the planned files back under the please-wait window, the journal
// opened (and put right) first. 1 when every one was handled, 0 when
// stopped, -1 when it did not start (the user was told why).
static int MoveBack(HWND owner, HINSTANCE instance, const char* path, UndoPlan* plan)
{
    MovedEntries moved = {plan->sources, (char**)AllocateZeroed((size_t)plan->moves + 1, sizeof(char*))};
    RunSummary summary = {RunNotStarted, 0, 0, 0, 0};
    JournalWriter journal;
    DWORD error = 0;
    if (!moved.newPaths) {
        TellOutOfMemory(owner);
    } else if (!OpenJournal(&journal, path, &error) || !SettleJournalForRun(owner, &journal, path, &error)) {
        TellNotStarted(owner, path, error);
    } else if (!OpenProgressWindow(owner, instance)) {
        CloseJournal(&journal);
        TellProgressWindowMissing(owner);
    } else {
        RunHooks hooks = {ProgressBetweenFiles, NoteMovedEntry, 0, 0, &moved, &journal, NewRunId()};
        MoveFilesBack(plan->sources, plan->targets, plan->identities, plan->moves, &hooks, &plan->failures, &summary);
        CloseJournal(&journal);
        CloseProgressWindow(owner);
        if (summary.result == RunNotStarted) TellNotStarted(owner, path, summary.reason);
        // Its journal is now the one a second undo reads.
        if (summary.result != RunNotStarted) GetAppState()->lastRunId = hooks.runId;
        FollowMovedPaths(plan->sources, moved.newPaths, plan->moves);
    }
    for (int i = 0; i < plan->moves && moved.newPaths; i++) free(moved.newPaths[i]);
    free(moved.newPaths);
    return summary.result;
}

void UndoLastRun(HWND owner, HINSTANCE instance)
{
    char path[MAX_PATH * 2];
    JournalRecord record;
    if (!JournalPath(path, sizeof path)) return;
    int state = ReadJournal(path, &record, 0);
    if (state == JournalNoMemory) TellOutOfMemory(owner);
    if (state != JournalReadable) return;
    if (!IsUndoable(&record, GetAppState()->lastRunId) || !AskToUndo(owner, &record)) {
        FreeJournalRecord(&record);
        return;
    }
    int stopped = 0;
    size_t slots = (size_t)record.count + 1;
    UndoPlan plan = {(const char**)AllocateZeroed(slots, sizeof(char*)), (const char**)AllocateZeroed(slots, sizeof(char*)),
                     (FileIdentity*)AllocateZeroed(slots, sizeof(FileIdentity)), 0,
                     (int*)AllocateZeroed(slots, sizeof(int)), 0, {}, 0};
    plan.done = (char*)AllocateZeroed(slots, 1);
    // All taken before anything moves: an undo short of memory later would leave a journal of nothing in its place.
    if (!plan.sources || !plan.targets || !plan.identities || !plan.copies || !plan.done) {
        TellOutOfMemory(owner);
    } else {
        if (record.kind == JournalRename) {
            PlanUndoOfRun(&record, &plan);
        } else {
            PlanRestOfUndo(&record, &plan);
        }
        // The copies go only once the undo's journal has taken the run's place.
        int result = MoveBack(owner, instance, path, &plan);
        if (result != RunNotStarted) RecycleCopies(&record, &plan);
        stopped = result == RunStopped;
    }
    ShowFailureList(&plan.failures, owner,
                    stopped ? "元に戻すのを中止しました。もう一度「直前の改名を元に戻す」（Ctrl+Z）で、"
                              "残りのファイルを元に戻します。\r\n\r\n次のファイルは元に戻せませんでした。\r\n\r\n"
                            : "次のファイルは元に戻せませんでした。\r\n\r\n",
                    "元に戻せなかったファイル");
    FreeRunFailures(&plan.failures);
    free(plan.sources);
    free(plan.targets);
    free(plan.identities);
    free(plan.copies);
    free(plan.done);
    FreeJournalRecord(&record);
}
