#include "rename/rename_run.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/app_state.h"
#include "core/control_text.h"
#include "core/mbcs_text.h"
#include "core/prompt.h"
#include "filelist/file_list.h"
#include "filelist/folder_files.h"
#include "rename/file_moves.h"
#include "rename/name_inputs.h"
#include "rename/name_validation.h"
#include "rename/run_failures.h"
#include "rename/run_table.h"
#include "res/please_wait_res.h"

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
        Sleep(milliseconds);
    }
}

// ---- One run ----------------------------------------------------------------

enum Outcome {
    OutcomeDone,       // the file is under its new path (or already was)
    OutcomeSkipped,    // the user said No, or was told of a folder in the way
    OutcomeFailed,     // the reason is to be reported
    OutcomeCancelled,  // the user ended the run
};

struct RenameRun {
    RunTable table;
    RunFailures failures;
    int* chain;  // the entries of one turn, each followed by the one in its way
    int move;    // the operation moves files (every one but RenameCopy)
    HWND owner;
};

static int IsExistsError(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// One attempt to put the file at to; replace allows an existing file there to
// be overwritten. A move is a rename within a volume and a copy and delete
// across volumes.
static int TryPlace(const char* from, const char* to, int move, int replace)
{
    if (move) {
        DWORD flags = MOVEFILE_COPY_ALLOWED | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
        return MoveFileExA(from, to, flags) != 0;
    }
    return CopyFileA(from, to, replace ? FALSE : TRUE) != 0;
}

// Moves a file back from its temporary name; what cannot go back is reported
// by the path it is left under.
static void PutBack(RenameRun* run, const char* temp, const char* path)
{
    if (!MoveFileExA(temp, path, 0)) AddRunFailure(&run->failures, temp, GetLastError());
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

// The new path names the source itself. A rename that changes only letter
// case keeps the old name on some file systems, so it goes through a
// temporary name in the same folder.
static int ChangeLetterCase(RenameRun* run, RunEntry* entry, DWORD* error)
{
    if (strcmp(entry->source, entry->newPath) == 0) return OutcomeDone;
    if (!IsMovableFile(entry->source, error)) return OutcomeFailed;
    char temp[MAX_PATH];
    if (!MoveAside(entry->source, temp, sizeof temp, error)) return OutcomeFailed;
    if (MoveFileExA(temp, entry->newPath, 0)) return OutcomeDone;
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

// Puts the file of entry index, now at from (its source, or the temporary
// name of a ring's first entry), at its new path. Nothing is overwritten
// without the user's Yes; inside a ring nothing is asked and an occupied new
// path fails the entry.
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
            *error = ERROR_FILE_NOT_FOUND;
            return OutcomeFailed;
        }
        if (CompareNoCase(from, newPath) == 0) return ChangeLetterCase(run, entry, error);
    }
    if (!IsMovableFile(from, error)) return OutcomeFailed;

    // The first attempt never overwrites, so a free new path costs no lookup
    // before it and a taken one is found without a race.
    if (TryPlace(from, newPath, run->move, 0)) {
        entry->produced = 1;
        return OutcomeDone;
    }
    *error = GetLastError();
    if (!IsExistsError(*error) && *error != ERROR_ACCESS_DENIED) return OutcomeFailed;
    if (inRing) return OutcomeFailed;
    if (PathExists(newPath, Directory)) {
        ShowFolderCollision(run, newPath);
        return OutcomeSkipped;
    }
    if (!IsExistsError(*error)) return OutcomeFailed;

    int answer = AskOverwrite(run, entry->source, newPath);
    if (answer == IDCANCEL) return OutcomeCancelled;
    if (answer != IDYES) return OutcomeSkipped;
    if (TryPlace(from, newPath, run->move, 1)) {
        entry->produced = 1;
        return OutcomeDone;
    }
    *error = GetLastError();
    if (!IsExistsError(*error)) return OutcomeFailed;
    int copied = 0;
    int placed = ReplaceThroughTemporaryFile(from, newPath, run->move, error, &copied);
    if (copied) entry->produced = 1;
    return placed ? OutcomeDone : OutcomeFailed;
}

// Places one entry's file from its source and notes a failure. 0 when the
// user cancelled.
static int PlaceEntry(RenameRun* run, int index)
{
    RunEntry* entry = &run->table.entries[index];
    DWORD error = 0;
    int outcome = PlaceFile(run, index, entry->source, 0, &error);
    entry->state = EntryHandled;
    if (outcome == OutcomeFailed) AddRunFailure(&run->failures, entry->source, error);
    return outcome != OutcomeCancelled;
}

// A ring whose member at broken has no file is a chain that starts there:
// each of the others moves into the place the one after it has just left.
static int PlaceBrokenRing(RenameRun* run, const int* members, int count, int broken)
{
    for (int k = 0; k < count; k++) {
        if (!PlaceEntry(run, members[(broken - k + count) % count])) return 0;
    }
    return 1;
}

static int IsMissingError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Entries that take each other's places in a ring: each member's new path is
// the next member's source, and the last member's is the first's. The first
// is moved aside to a temporary name, the others move from the last to the
// second into the places just left, and the first moves last. The ring is
// renamed whole or not at all: when a member fails, the moves made are undone
// in reverse order and the first goes back to its place. 0 when the user
// cancelled.
static int RunRing(RenameRun* run, const int* members, int count)
{
    RunTable* table = &run->table;
    DWORD error = 0;
    for (int x = 0; x < count; x++) {
        if (!IsMovableFile(table->entries[members[x]].source, &error) && IsMissingError(error))
            return PlaceBrokenRing(run, members, count, x);
    }
    RunEntry* first = &table->entries[members[0]];
    char temp[MAX_PATH];
    if (!IsMovableFile(first->source, &error) || !MoveAside(first->source, temp, sizeof temp, &error)) {
        if (IsMissingError(error)) return PlaceBrokenRing(run, members, count, 0);
        for (int x = 0; x < count; x++) {
            table->entries[members[x]].state = EntryHandled;
            AddRunFailure(&run->failures, table->entries[members[x]].source,
                          x == 0 ? error : ERROR_ALREADY_EXISTS);
        }
        return 1;
    }

    int failedAt = -1;
    DWORD failure = 0;
    for (int x = count - 1; x >= 1 && failedAt < 0; x--) {
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
            if (MoveFileExA(entry->newPath, entry->source, MOVEFILE_COPY_ALLOWED)) entry->produced = 0;
        }
        PutBack(run, temp, first->source);
    }
    for (int x = 0; x < count; x++) {
        RunEntry* entry = &table->entries[members[x]];
        entry->state = EntryHandled;
        if (failedAt >= 0 && !entry->produced)
            AddRunFailure(&run->failures, entry->source, x == failedAt ? failure : ERROR_ALREADY_EXISTS);
    }
    return 1;
}

// The turn of the entry at position start. Where its new path is the source
// of an entry not handled yet that is to move away, that entry goes first,
// and so on down the chain; a chain that comes back on itself is a ring.
// Then the entries are placed from the end of the chain back to start, each
// into the place the one after it has left. 0 when the user cancelled.
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
    for (int k = end - 1; k >= 0; k--) {
        if (!PlaceEntry(run, run->chain[k])) return 0;
    }
    return 1;
}

// Reads every list entry and composes its new path. 1, or 0 without memory.
static int PrepareRun(RenameRun* run, HWND list, int count, const NamePattern* pattern)
{
    if (!CreateRunTable(&run->table, count)) return 0;
    run->chain = (int*)malloc(((size_t)count + 1) * sizeof *run->chain);
    if (!run->chain) return 0;
    char local[MAX_PATH + 1];
    for (int i = 0; i < count; i++) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)i, 0);
        if (length < 0) length = 0;
        char* source = local;
        if ((size_t)length >= sizeof local) {
            source = (char*)malloc((size_t)length + 1);
            if (!source) return 0;
        }
        source[0] = 0;
        SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)source);
        int stored = SetRunEntry(&run->table, i, source, pattern);
        if (source != local) free(source);
        if (!stored) return 0;
    }
    IndexRunTable(&run->table);
    return 1;
}

static void FreeRun(RenameRun* run)
{
    FreeRunTable(&run->table);
    FreeRunFailures(&run->failures);
    free(run->chain);
    run->chain = 0;
}

int RunRename()
{
    AppState* state = GetAppState();
    int count = (int)SendMessageA(state->fileList, LB_GETCOUNT, 0, 0);
    if (count < 0) count = 0;
    NamePattern pattern;
    NameInputTexts texts;
    ReadNamePattern(&pattern, &texts);

    RenameRun run;
    memset(&run, 0, sizeof run);
    run.move = pattern.operation != RenameCopy;
    run.owner = state->mainWindow;
    if (!PrepareRun(&run, state->fileList, count, &pattern)) {
        FreeRun(&run);
        Prompt(state->mainWindow, "メモリーが不足しています。", "システムエラー", MB_OK, MB_ICONERROR);
        return 0;
    }
    int completed = 1;
    for (int i = 0; i < count && completed; i++) completed = HandleTurn(&run, i);
    ShowRunFailures(&run.failures, run.owner);
    FreeRun(&run);
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
    if (toFolder && !PathExists(state->outputFolder, Directory)) {
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

// The confirmation shows the preview edit as it stands.
static int ConfirmStart(AppState* state)
{
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

    // No owner and no procedure: the window only has to stand while the
    // run holds the thread.
    HWND wait = CreateDialogParamA(state->instance, MAKEINTRESOURCEA(IDD_PLEASE_WAIT), NULL, NULL, 0);
    if (!wait) return;
    HCURSOR previous = GetCursor();
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    ShowWindow(wait, SW_SHOW);
    UpdateWindow(wait);

    if (RunRename()) {
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        UpdateButtonStates();
        Pause(kPauseMilliseconds);
    }
    DestroyWindow(wait);
    SetCursor(previous);
}
