#include "rename/run_failures.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/mbcs_text.h"
#include "core/prompt.h"

static const char kFailureHeader[] = "次のファイルは改名（リネーム）できませんでした。\r\n\r\n";
static const char kFailureTitle[] = "改名（リネーム）できなかったファイル";

void AddRunFailure(RunFailures* failures, const char* path, DWORD error)
{
    failures->total++;
    if (failures->stored == failures->capacity) {
        int capacity = failures->capacity ? failures->capacity * 2 : 16;
        RunFailure* items =
            (RunFailure*)realloc(failures->items, (size_t)capacity * sizeof *items);
        if (!items) return;  // still counted in "ほか %d 件"
        failures->items = items;
        failures->capacity = capacity;
    }
    char* copy = CopyTextToHeap(path);
    if (!copy) return;
    failures->items[failures->stored].path = copy;
    failures->items[failures->stored].error = error;
    failures->stored++;
}

void FreeRunFailures(RunFailures* failures)
{
    for (int i = 0; i < failures->stored; i++) free(failures->items[i].path);
    free(failures->items);
    memset(failures, 0, sizeof *failures);
}

static const char* const kReasonTexts[] = {
    "新しい名前は、今回の改名で元の名前のまま残る別のファイルが使っています。",
    "元の名前の場所には、今回の改名で別のファイルが置かれています。",
    "名前を入れ替え合うほかのファイルが改名できなかったため、元の名前のままです。",
    "ファイルをそれ自身の上にコピーすることはできません。",
    "一時ファイル TOVIK.DAT を別の Tovik が使用中です。",
    "改名の後に移動、削除または別のファイルに置き換えられています。",
    "元の名前には別のファイルがあります。",
    "新しい名前にコピーしましたが、元のファイルを削除できませんでした。",
    "前回の改名で動かしたファイルではありません。",
    "元のファイルが見つからないため、途中までのコピーを残しました。",
    "取り消しを中止したため、元に戻していません。",
    "改名の記録を別の Tovik が使用中です。",
    "前回の改名の復旧が済んでいません。",
    "改名の記録を読めず、別の名前にもできません。",
};

size_t FailureReason(DWORD error, char* text, size_t size)
{
    if (size == 0) return 0;
    DWORD own = error - kReasonNameHeldByRun;
    if (own < sizeof kReasonTexts / sizeof kReasonTexts[0]) return CopyTextCut(text, size, kReasonTexts[own]);
    char reason[kFailureReasonSize];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                  error, 0, reason, sizeof reason, NULL);
    if (length == 0 || length >= sizeof reason) {
        snprintf(reason, sizeof reason, "エラー %lu", (unsigned long)error);
    } else {
        reason[length] = 0;
        // One line: the system's text ends with a line break, and a long one
        // may hold more.
        for (char* p = reason; *p; p += CharLength(p)) {
            if (*p == '\r' || *p == '\n') *p = ' ';
        }
        size_t end = strlen(reason);
        while (end > 0 && reason[end - 1] == ' ') reason[--end] = 0;
    }
    return CopyTextCut(text, size, reason);
}

// Appends text at *used, cut by whole characters when it does not fit.
static void Append(char* text, size_t size, size_t* used, const char* piece)
{
    *used += CopyTextCut(text + *used, size - *used, piece);
}

size_t BuildFailureText(const RunFailures* failures, const char* header, char* text, size_t size)
{
    if (size == 0) return 0;
    size_t used = 0;
    text[0] = 0;
    Append(text, size, &used, header);
    int shown = failures->stored < kFailureLinesShown ? failures->stored : kFailureLinesShown;
    for (int i = 0; i < shown; i++) {
        if (i > 0) Append(text, size, &used, "\r\n");
        char reason[kFailureReasonSize];
        FailureReason(failures->items[i].error, reason, sizeof reason);
        Append(text, size, &used, failures->items[i].path);
        Append(text, size, &used, " : ");
        Append(text, size, &used, reason);
    }
    int rest = failures->total - shown;
    if (rest > 0) {
        char more[64];
        snprintf(more, sizeof more, "%sほか %d 件", shown > 0 ? "\r\n" : "", rest);
        Append(text, size, &used, more);
    }
    return used;
}

void ShowFailureMessage(const RunFailures* failures, HWND owner, const char* header, const char* title, UINT icon)
{
    // Room for the header, every line at its longest and the count.
    enum { kTextSize = 512 + kFailureLinesShown * (MAX_PATH + 8 + kFailureReasonSize) };
    char* text = (char*)malloc(kTextSize);
    if (!text) {
        Prompt(owner, header, title, MB_OK, icon);
        return;
    }
    BuildFailureText(failures, header, text, kTextSize);
    Prompt(owner, text, title, MB_OK, icon);
    free(text);
}

void ShowFailureList(const RunFailures* failures, HWND owner, const char* header, const char* title)
{
    if (failures->total > 0) ShowFailureMessage(failures, owner, header, title, MB_ICONERROR);
}

void ShowRunFailures(const RunFailures* failures, HWND owner)
{
    ShowFailureList(failures, owner, kFailureHeader, kFailureTitle);
}
