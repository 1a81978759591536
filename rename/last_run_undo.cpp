#include "rename/last_run_undo.h"

#include <stdio.h>
#include <stdlib.h>

#include "core/file_modes.h"
#include "core/prompt.h"
#include "rename/rename_engine.h"
#include "rename/run_failures.h"
#include "rename/run_journal.h"
#include "rename/run_progress.h"

static const char kUndoTitle[] = "改名（リネーム）の取り消し";

// Whether the file at path is as the run left it: same size, same last write.
static int IsAsLeft(const char* path, const JournalPlacement* placement)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow) == placement->size &&
           CompareFileTime(&data.ftLastWriteTime, &placement->lastWrite) == 0;
}

static int AskToUndo(HWND owner, const JournalRecord* record)
{
    int replaced = 0;
    for (int i = 0; i < record->placed; i++) replaced += record->placements[i].replaced;
    char text[512];
    int length = snprintf(text, sizeof text, "直前の改名（リネーム）を元に戻します。よろしいですか？\r\n\r\n対象のファイル: %d 件",
                          record->placed);
    if (replaced > 0)
        snprintf(text + length, sizeof text - length, "\r\n\r\n上書きされたファイル %d 件は元に戻せません。", replaced);
    return Prompt(owner, text, kUndoTitle, MB_YESNO, MB_ICONQUESTION) == IDYES;
}

void UndoLastRun(HWND owner, HINSTANCE instance)
{
    char path[MAX_PATH * 2];
    JournalRecord record;
    if (!JournalPath(path, sizeof path) || !ReadJournal(path, &record, 0)) return;
    if (record.kind != JournalRename || !record.ended || record.recovered || record.placed == 0 ||
        !AskToUndo(owner, &record)) {
        FreeJournalRecord(&record);
        return;
    }
    // The last placed goes back first.
    const char** sources = (const char**)calloc((size_t)record.placed, sizeof *sources);
    const char** targets = (const char**)calloc((size_t)record.placed, sizeof *targets);
    RunFailures failures = {};
    int count = 0;
    for (int i = record.placed - 1; i >= 0 && sources && targets; i--) {
        const JournalEntry* entry = &record.entries[record.placements[i].index];
        if (!IsAsLeft(entry->newPath, &record.placements[i])) {
            AddRunFailure(&failures, entry->newPath, kReasonChangedSince);
        } else if (record.operation != RenameCopy) {
            sources[count] = entry->newPath;
            targets[count++] = entry->oldPath;
        } else if (!DeleteFileA(entry->newPath)) {
            AddRunFailure(&failures, entry->newPath, GetLastError());
        }
    }
    if (!sources || !targets) {
        TellOutOfMemory(owner);
    } else if (OpenProgressWindow(owner, instance)) {
        RunHooks hooks = {ProgressBetweenFiles, 0, path};
        MoveFilesBack(owner, sources, targets, count, &hooks, &failures);
        CloseProgressWindow(owner);
    }
    ShowFailureList(&failures, owner, "次のファイルは元に戻せませんでした。\r\n\r\n", "元に戻せなかったファイル");
    FreeRunFailures(&failures);
    free(sources);
    free(targets);
    FreeJournalRecord(&record);
}
