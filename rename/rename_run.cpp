#include "rename/rename_run.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/app_state.h"
#include "core/control_text.h"
#include "core/mbcs_text.h"
#include "core/prompt.h"
#include "filelist/file_list.h"
#include "filelist/moved_files.h"
#include "rename/name_inputs.h"
#include "rename/name_validation.h"
#include "rename/output_folder.h"
#include "rename/preview.h"
#include "rename/rename_engine.h"
#include "rename/run_journal.h"
#include "rename/run_progress.h"

enum {
    kConfirmationSize = 388 + 1,  // the confirmation text, terminator included
    kPauseMilliseconds = 3000,    // the please-wait window stays after a run
};

static const char kConfirmationHeader[] =
    "以下の条件で、改名（リネーム）を開始します。よろしいですか？\r\n\r\n";

// ---- The pause after a completed run ----------------------------------------

static PauseHandler g_pauseHandler;

PauseHandler SetPauseHandler(PauseHandler handler)
{
    PauseHandler previous = g_pauseHandler;
    g_pauseHandler = handler;
    return previous;
}

static void Pause(DWORD milliseconds)
{
    if (g_pauseHandler) {
        g_pauseHandler(milliseconds);
    } else {
        WaitAnswering(milliseconds);
    }
}

// ---- One run ----------------------------------------------------------------

// Reads every list entry into a heap array (count strings). 0 without memory.
static char** ReadListEntries(HWND list, int count)
{
    char** entries = (char**)calloc((size_t)count + 1, sizeof *entries);
    if (!entries) return 0;
    for (int i = 0; i < count; i++) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)i, 0);
        entries[i] = (char*)malloc((size_t)(length < 0 ? 0 : length) + 1);
        if (!entries[i]) return entries;
        entries[i][0] = 0;
        SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)entries[i]);
    }
    return entries;
}

static void FreeListEntries(char** entries, int count)
{
    if (!entries) return;
    for (int i = 0; i < count; i++) free(entries[i]);
    free(entries);
}

static void TellJournalPathMissing(HWND owner)
{
    Prompt(owner,
           "プログラムのフォルダのパスを使えないため、改名の記録を書けません。改名（リネーム）を始めませんでした。"
           "ファイルは動かしていません。\r\n\r\n"
           "パスが長すぎるか、シフトJIS（コードページ932）で表せない文字を含んでいます。",
           "改名（リネーム）を始められません", MB_OK, MB_ICONERROR);
}

int RunRename()
{
    AppState* state = GetAppState();
    int count = (int)SendMessageA(state->fileList, LB_GETCOUNT, 0, 0);
    if (count < 0) count = 0;
    NamePattern pattern;
    NameInputTexts texts;
    ReadNamePattern(&pattern, &texts);
    char journal[MAX_PATH * 2];
    if (!JournalPath(journal, sizeof journal)) {
        TellJournalPathMissing(state->mainWindow);
        return 0;
    }
    char** sources = ReadListEntries(state->fileList, count);
    char** newPaths = (char**)calloc((size_t)count + 1, sizeof *newPaths);
    if (!sources || (count > 0 && !sources[count - 1]) || !newPaths) {
        FreeListEntries(sources, count);
        free(newPaths);
        TellOutOfMemory(state->mainWindow);
        return 0;
    }
    // A run that cannot write its journal leaves nothing for undo, not even the run before it.
    state->lastRunId = NewRunId();
    MovedEntries moved = {sources, newPaths};
    RunHooks hooks = {ProgressBetweenFiles, NoteMovedEntry, &moved, journal, state->lastRunId};
    int completed = RenameFiles(state->mainWindow, sources, count, &pattern, &hooks);
    // The list of a completed run is emptied; otherwise its entries follow
    // their files, so that a second start goes on where this one stopped.
    if (!completed) FollowMovedEntries(newPaths, count);
    FreeListEntries(newPaths, count);
    FreeListEntries(sources, count);
    return completed;
}

// ---- The start command ------------------------------------------------------

// Focuses an edit and selects all of its text, as after a refused input.
static void FocusAndSelect(HWND edit)
{
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

// The checks of the start command in their order; 1 when the run may start.
static int CheckRunInputs(AppState* state)
{
    ReadControlText(state->outputFolderEdit, state->outputFolder, sizeof state->outputFolder);
    int toFolder = state->fileOperation == RenameMove || state->fileOperation == RenameCopy;
    char folder[MAX_PATH];
    if (toFolder && !ResolveOutputFolder(state->outputFolder, folder, sizeof folder)) {
        Prompt(state->mainWindow,
               "システムで有効なフォルダを選択してください。\n\n"
               "｢リネーム＋移動｣ 、｢リネーム＋コピー｣の場合は、フォルダを指定する必要があります。",
               "無効なフォルダを選択しています。", MB_OK, MB_ICONERROR);
        FocusAndSelect(state->outputFolderEdit);
        return 0;
    }
    if ((int)SendMessageA(state->fileList, LB_GETCOUNT, 0, 0) <= 0) {
        SetFocus(state->fileList);
        Prompt(state->mainWindow,
               "改名（リネーム）するファイルをファイルリストにドラッグ＆ドロップしてください♪",
               "改名ファイルリストが空です。", MB_OK, MB_ICONERROR);
        return 0;
    }
    if (state->extensionMode == Specified) {
        ReadControlText(state->extensionEdit, state->replacementExtension,
                        sizeof state->replacementExtension);
        if (!ValidateNamePart(state->replacementExtension)) {
            FocusAndSelect(state->extensionEdit);
            return 0;
        }
    }
    ReadControlText(state->prefixEdit, state->prefix, sizeof state->prefix);
    if (!ValidateNamePart(state->prefix)) {
        FocusAndSelect(state->prefixEdit);
        return 0;
    }
    ReadControlText(state->suffixEdit, state->suffix, sizeof state->suffix);
    if (!ValidateNamePart(state->suffix)) {
        FocusAndSelect(state->suffixEdit);
        return 0;
    }
    return 1;
}

// The confirmation shows the preview of the pattern the run will use.
static int ConfirmStart(AppState* state)
{
    UpdatePreview();
    char text[kConfirmationSize];
    size_t used = CopyTextCut(text, sizeof text, kConfirmationHeader);
    ReadControlText(state->previewEdit, text + used, sizeof text - used);
    return Prompt(state->mainWindow, text, "改名（リネーム）の開始確認", MB_YESNO,
                  MB_ICONQUESTION) == IDYES;
}

void StartRename()
{
    AppState* state = GetAppState();
    if (!CheckRunInputs(state)) return;
    if (!ConfirmStart(state)) return;

    HCURSOR previous = GetCursor();
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    HWND wait = OpenProgressWindow(state->mainWindow, state->instance);
    if (!wait) {
        SetCursor(previous);
        TellProgressWindowMissing(state->mainWindow);
        return;
    }

    if (RunRename()) {
        EnableWindow(GetDlgItem(wait, IDCANCEL), FALSE);
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        UpdateButtonStates();
        Pause(kPauseMilliseconds);
    }
    CloseProgressWindow(state->mainWindow);
    SetCursor(previous);
}
