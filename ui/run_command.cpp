#include "ui/run_command.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/app_state.h"
#include "core/heap.h"
#include "core/mbcs_text.h"
#include "core/prompt.h"
#include "core/seams.h"
#include "filelist/file_list.h"
#include "filelist/list_box.h"
#include "filelist/moved_files.h"
#include "rename/name_rules.h"
#include "rename/name_validation.h"
#include "rename/output_folder.h"
#include "rename/preview.h"
#include "rename/rename_engine.h"
#include "rename/run_journal.h"
#include "rename/run_plan.h"
#include "ui/name_inputs.h"
#include "ui/run_messages.h"
#include "ui/run_progress.h"

static const char kConfirmationHeader[] =
    "以下の条件で、改名（リネーム）を開始します。よろしいですか？\r\n\r\n";

enum {
    kPlanLineSize = MAX_PATH + 3 + kFailureReasonSize,  // "path : reason", terminator included
    kCountLineSize = 48,  // "\r\n上書きを確認するファイル: n 件" (at most 42 bytes), "\r\nほか n 件"
    // The header, the longest preview, a blank line, three counts, the files
    // not renamed and "ほか n 件"; terminator included.
    kConfirmationSize = sizeof kConfirmationHeader - 1 + kPreviewSize - 1 + 2 + 3 * kCountLineSize +
                        kFailureLinesShown * (2 + kPlanLineSize) + kCountLineSize + 1,
    kPauseMilliseconds = 3000,  // the please-wait window stays after a run
};
static_assert(sizeof kConfirmationHeader - 1 + kPreviewSize <= kConfirmationSize, "the whole preview is confirmed");

static void Pause(DWORD milliseconds)
{
    PauseHandler pause = GetSeams()->pause;
    if (pause) {
        pause(milliseconds);
    } else {
        WaitAnswering(milliseconds);
    }
}

// ---- One run ----------------------------------------------------------------

// Every list entry as a heap copy, in an array of count + 1. 0 without memory.
static char** ReadListEntries(HWND list, int count)
{
    char** entries = (char**)AllocateZeroed((size_t)count + 1, sizeof *entries);
    for (int i = 0; i < count && entries; i++) {
        if ((entries[i] = CopyListEntry(list, i)) != 0) continue;
        for (int k = 0; k < i; k++) free(entries[k]);
        free(entries);
        entries = 0;
    }
    return entries;
}

static void FreeListEntries(char** entries, int count)
{
    if (!entries) return;
    for (int i = 0; i < count; i++) free(entries[i]);
    free(entries);
}

// What the run's hooks are handed: the owner of its questions and where its
// files went.
struct RunContext {
    HWND owner;
    MovedEntries moved;
};

static void OnMoved(void* context, int index, const char* from, const char* to)
{
    NoteMovedEntry(&((RunContext*)context)->moved, index, from, to);
}

static int OnAskOverwrite(void* context, const char* source, const char* newPath)
{
    return AskOverwriteFile(((RunContext*)context)->owner, source, newPath);
}

static void OnFolderInTheWay(void* context, const char* newPath)
{
    TellFolderInTheWay(((RunContext*)context)->owner, newPath);
}

static void TellJournalPathMissing(HWND owner)
{
    Prompt(owner,
           "プログラムのフォルダのパスを使えないため、改名の記録を書けません。改名（リネーム）を始めませんでした。"
           "ファイルは動かしていません。\r\n\r\n"
           "パスが長すぎるか、シフトJIS（コードページ932）で表せない文字を含んでいます。",
           "改名（リネーム）を始められません", MB_OK, MB_ICONERROR);
}

// Renames every list entry in list order by the pattern; the journal is
// opened first, and a run it holds that did not end is put right. The list
// of a run that stops keeps its entries, each naming where its file went, so
// that a second start goes on where this one stopped. 1 when it went through
// the whole list; renamed tells how many files it renamed.
static int RunRename(const NamePattern* pattern, int* renamed)
{
    AppState* state = GetAppState();
    int count = ListCount(state->fileList);
    if (count < 0) count = 0;
    char path[MAX_PATH * 2];
    if (!JournalPath(path, sizeof path)) {
        TellJournalPathMissing(state->mainWindow);
        return 0;
    }
    char** sources = ReadListEntries(state->fileList, count);
    char** newPaths = (char**)AllocateZeroed((size_t)count + 1, sizeof *newPaths);
    if (!sources || !newPaths) {
        FreeListEntries(sources, count);
        free(newPaths);
        TellOutOfMemory(state->mainWindow);
        return 0;
    }
    // A run that cannot write its journal leaves nothing for undo, not even the run before it.
    state->lastRunId = NewRunId();
    JournalWriter journal;
    DWORD error = 0;
    RunSummary summary = {RunNotStarted, 0, 0, 0, 0};
    RunFailures failures = {};
    if (OpenJournal(&journal, path, &error) && SettleJournalForRun(state->mainWindow, &journal, path, &error)) {
        RunContext context = {state->mainWindow, {sources, newPaths}};
        RunHooks hooks = {ProgressBetweenFiles, OnMoved, OnAskOverwrite, OnFolderInTheWay, &context, &journal,
                          state->lastRunId};
        RenameFiles(sources, count, pattern, &hooks, &failures, &summary);
        CloseJournal(&journal);
        ShowRunResult(state->mainWindow, path, &summary, &failures);
    } else {
        TellNotStarted(state->mainWindow, path, error);
    }
    if (summary.result != RunCompleted) FollowMovedEntries(newPaths, count);
    FreeRunFailures(&failures);
    FreeListEntries(newPaths, count);
    FreeListEntries(sources, count);
    *renamed = summary.renamed;
    return summary.result == RunCompleted;
}

// ---- The start command ------------------------------------------------------

// Focuses an edit and selects all of its text, as after a refused input.
static void FocusAndSelect(HWND edit)
{
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

// The checks of the start command in their order; 1 when the run may start.
static int CheckRunInputs(AppState* state, const NamePattern* pattern)
{
    int toFolder = pattern->operation == RenameMove || pattern->operation == RenameCopy;
    char folder[MAX_PATH];
    if (toFolder && !ResolveOutputFolder(pattern->outputFolder, folder, sizeof folder)) {
        Prompt(state->mainWindow,
               "システムで有効なフォルダを選択してください。\n\n"
               "｢リネーム＋移動｣ 、｢リネーム＋コピー｣の場合は、フォルダを指定する必要があります。",
               "無効なフォルダを選択しています。", MB_OK, MB_ICONERROR);
        FocusAndSelect(state->outputFolderEdit);
        return 0;
    }
    if (ListCount(state->fileList) <= 0) {
        SetFocus(state->fileList);
        Prompt(state->mainWindow,
               "改名（リネーム）するファイルをファイルリストにドラッグ＆ドロップしてください♪",
               "改名ファイルリストが空です。", MB_OK, MB_ICONERROR);
        return 0;
    }
    int part = FindInvalidNamePart(pattern);
    if (part == PartNone) return 1;
    char message[128];
    snprintf(message, sizeof message, "ファイル名には次の文字は使えません。\r\n%s", kForbiddenNameCharsDisplay);
    // No owner: the edit at fault gets the focus afterwards.
    Prompt(NULL, message, "無効なファイル名", MB_OK, MB_ICONERROR);
    HWND edits[] = {NULL, state->extensionEdit, state->prefixEdit, state->suffixEdit};
    FocusAndSelect(edits[part]);
    return 0;
}

// Appends "\r\n" + label + ": count 件".
static void AppendCount(char* text, size_t size, size_t* used, const char* label, int count)
{
    char line[kCountLineSize];
    snprintf(line, sizeof line, "\r\n%s: %d 件", label, count);
    *used += CopyTextCut(text + *used, size - *used, line);
}

// What the plan of the run says before it starts, below the pattern: the
// number of files, how many a file outside the run stands in the way of, and
// the files it will not rename with their reasons, listed as the failure
// report lists them. 1, or 0 without memory.
static int AppendPlanSummary(AppState* state, const NamePattern* pattern, char* text, size_t size, size_t* used)
{
    int count = ListCount(state->fileList);
    if (count < 0) count = 0;
    char** sources = ReadListEntries(state->fileList, count);
    RunTable plan;
    if (!sources || !PlanRenameFiles(&plan, sources, count, pattern)) {
        FreeListEntries(sources, count);
        return 0;
    }
    int asked = 0;
    int refused = 0;
    for (int i = 0; i < plan.count; i++) {
        asked += plan.entries[i].kind == PlanQuestion;
        refused += plan.entries[i].kind == PlanRefused;
    }
    *used += CopyTextCut(text + *used, size - *used, "\r\n");
    AppendCount(text, size, used, "対象のファイル", count);
    if (asked) AppendCount(text, size, used, "上書きを確認するファイル", asked);
    if (refused) AppendCount(text, size, used, "改名しないファイル", refused);
    int shown = 0;
    for (int i = 0; i < plan.count; i++) {
        const RunEntry* entry = &plan.entries[i];
        if (entry->kind != PlanRefused) continue;
        char line[kPlanLineSize];
        size_t length = CopyTextCut(line, MAX_PATH, entry->source);
        length += CopyTextCut(line + length, sizeof line - length, " : ");
        FailureReason(entry->reason, line + length, sizeof line - length);
        AppendShownLine(text, size, used, 0, &shown, line);
    }
    AppendMoreLine(text, size, used, 0, LinesNotShown(shown));
    FreeRunTable(&plan);
    FreeListEntries(sources, count);
    return 1;
}

// The confirmation shows the preview of the pattern the run will use and
// what its plan says.
static int ConfirmStart(AppState* state, const NamePattern* pattern)
{
    UpdatePreview();
    char text[kConfirmationSize];
    size_t used = CopyTextCut(text, sizeof text, kConfirmationHeader);
    used += GetWindowTextA(state->previewEdit, text + used, (int)(sizeof text - used));
    if (!AppendPlanSummary(state, pattern, text, sizeof text, &used)) {
        TellOutOfMemory(state->mainWindow);
        return 0;
    }
    return Prompt(state->mainWindow, text, "改名（リネーム）の開始確認", MB_YESNO, MB_ICONQUESTION) == IDYES;
}

void StartRename()
{
    AppState* state = GetAppState();
    NamePattern pattern;
    NameInputTexts texts;
    ReadNamePattern(&pattern, &texts);
    // The folder last chosen, as the settings keep it.
    CopyTextCut(state->settings.outputFolder, sizeof state->settings.outputFolder, texts.outputFolder);
    if (!CheckRunInputs(state, &pattern)) return;
    if (!ConfirmStart(state, &pattern)) return;

    HCURSOR previous = GetCursor();
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    HWND wait = OpenProgressWindow(state->mainWindow, state->instance);
    if (!wait) {
        SetCursor(previous);
        TellProgressWindowMissing(state->mainWindow);
        return;
    }

    int renamed = 0;
    if (RunRename(&pattern, &renamed)) {
        EnableWindow(GetDlgItem(wait, IDCANCEL), FALSE);
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        UpdateButtonStates();
        ShowRunDone(renamed);
        Pause(kPauseMilliseconds);
    }
    CloseProgressWindow(state->mainWindow);
    SetCursor(previous);
}
