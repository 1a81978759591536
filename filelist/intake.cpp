#include "filelist/intake.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/heap.h"
#include "core/app_state.h"
#include "core/prompt.h"
#include "filelist/file_list.h"
#include "filelist/folder_files.h"
#include "filelist/list_memory.h"
#include "filelist/path_buffer.h"

static const char kFolderCommandTitle[] =
    "指定したフォルダ以下のファイルを改名（リネーム）ファイルリストに登録します。";

// A path cut to fit the list, or converted by best fit or without a final
// dot or space, could name another file, which the run would then rename;
// such paths stay out, and the user hears once per intake how many there
// were.
static void ReportLeftOut(const LeftOutCounts* leftOut)
{
    HWND owner = GetAppState()->mainWindow;
    char text[256];
    if (leftOut->tooLong > 0) {
        snprintf(text, sizeof text,
                 "パス名が259バイトを超えるため、%d 件を改名（リネーム）ファイルリストに登録しませんでした。",
                 leftOut->tooLong);
        Prompt(owner, text, "パス名の長さ超過", MB_OK, MB_ICONERROR);
    }
    if (leftOut->unusable > 0) {
        snprintf(text, sizeof text,
                 "ファイル名にシフトJIS（コードページ932）で表せない文字があるか、名前の末尾がピリオドか空白のため、%d 件を改名（リネーム）ファイルリストに登録しませんでした。",
                 leftOut->unusable);
        Prompt(owner, text, "使えないファイル名", MB_OK, MB_ICONERROR);
    }
}

int ExpandFolder(const char* folder, LeftOutCounts* leftOut)
{
    // Apart from PathBuffer, which the drop is still walking.
    PathBuffer paths = {0, 0, 0};
    int collected = CollectFolderFiles(folder, &paths, leftOut);
    SortPaths(paths.entries, paths.count);
    int added = AppendListPaths(paths.entries, paths.count);
    for (int i = 0; i < paths.count; i++) free(paths.entries[i]);
    free(paths.entries);
    return collected && added;
}

// Asks whether a dropped folder's files should be taken in, with the main
// window on top of every other window while the question is open.
static int AskToExpand(const char* folder)
{
    HWND mainWindow = GetAppState()->mainWindow;
    char text[128 + kPathSize];
    snprintf(text, sizeof text,
             "「 %s 」はフォルダです＾＾；\r\n\r\nフォルダ配下のファイルを展開しますか？\r\n", folder);
    SetWindowPos(mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    int answer = Prompt(mainWindow, text, "ファイル展開確認", MB_YESNO, MB_ICONQUESTION);
    SetWindowPos(mainWindow, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return answer == IDYES;
}

// Reads entry index of the drop, in wide characters, into path (2 x
// kPathSize bytes) as the list holds it. 0 for an empty entry, which names
// nothing, and for one the list cannot take, which is counted.
static int ReadDroppedPath(HDROP drop, UINT index, char* path, LeftOutCounts* leftOut)
{
    // Every character takes at least one byte.
    if (DragQueryFileW(drop, index, NULL, 0) > kMaxPathLength) {
        leftOut->tooLong++;
        return 0;
    }
    wchar_t wide[kPathSize] = L"";
    DragQueryFileW(drop, index, wide, kPathSize);
    if (!wide[0]) return 0;
    if (HasTrimmedName(wide) || !WideToExactAnsi(wide, path, 2 * kPathSize)) {
        leftOut->unusable++;
        return 0;
    }
    if (strlen(path) > kMaxPathLength) {
        leftOut->tooLong++;
        return 0;
    }
    return 1;
}

// Copies the dropped paths into a new PathBuffer batch. 0 after telling the
// user that memory ran out; the copies made so far are the batch.
static int ReadDroppedPaths(HDROP drop, int count, LeftOutCounts* leftOut)
{
    if (!BeginPathBatch(count)) {
        ReportOutOfMemory();
        return 0;
    }
    PathBuffer* buffer = GetPathBuffer();
    for (int d = 0; d < count; d++) {
        char path[2 * kPathSize];
        if (!ReadDroppedPath(drop, (UINT)d, path, leftOut)) continue;
        char* copy = CopyTextToHeap(path);
        if (!copy) {
            ReportOutOfMemory();
            return 0;
        }
        buffer->entries[buffer->count++] = copy;
    }
    return 1;
}

// Files go in at their sorted place; each folder in between is asked about
// and, on Yes, replaced by its files. Stops where memory runs out.
static void AddDroppedBatch(LeftOutCounts* leftOut)
{
    PathBuffer* buffer = GetPathBuffer();
    SortPaths(buffer->entries, buffer->count);
    int runStart = 0;
    for (int i = 0; i < buffer->count; i++) {
        const char* path = buffer->entries[i];
        if (!PathExists(path, Directory)) continue;
        if (!AppendListPaths(buffer->entries + runStart, i - runStart)) return;
        runStart = i + 1;
        if (AskToExpand(path) && !ExpandFolder(path, leftOut)) return;
    }
    AppendListPaths(buffer->entries + runStart, buffer->count - runStart);
}

void AddDroppedFiles(HDROP drop)
{
    UINT dropped = DragQueryFileW(drop, 0xFFFFFFFF, NULL, 0);
    int count = dropped > INT_MAX ? INT_MAX : (int)dropped;
    LeftOutCounts leftOut = {0, 0};
    if (ReadDroppedPaths(drop, count, &leftOut)) AddDroppedBatch(&leftOut);
    DragFinish(drop);
    // What the list took before memory ran out stays, so the extent and the
    // buttons follow it either way.
    FitListExtent(GetAppState()->fileList);
    UpdateButtonStates();
    ReportLeftOut(&leftOut);
}

void AddPickedFolder()
{
    AppState* state = GetAppState();
    if (BrowseForFolder(state->mainWindow, state->settings.outputFolder, kFolderCommandTitle) != 1) return;
    // The walk grows the array as the folder's files come.
    BeginPathBatch(0);
    PathBuffer* buffer = GetPathBuffer();
    LeftOutCounts leftOut = {0, 0};
    CollectFolderFiles(state->settings.outputFolder, buffer, &leftOut);
    SortPaths(buffer->entries, buffer->count);
    // What was stored before memory ran out goes in, and what the list took
    // before a refusal stays, so the buttons follow it either way.
    AppendListPaths(buffer->entries, buffer->count);
    UpdateButtonStates();
    ReportLeftOut(&leftOut);
}
