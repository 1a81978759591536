#include "rename/run_failures.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/heap.h"
#include "core/mbcs_text.h"

void AddRunFailure(RunFailures* failures, const char* path, DWORD error)
{
    failures->total++;
    if (failures->stored == failures->capacity) {
        int capacity = failures->capacity ? failures->capacity * 2 : 16;
        RunFailure* items = (RunFailure*)AllocateMemory((size_t)capacity * sizeof *items);
        if (!items) return;  // still counted in "ほか %d 件"
        if (failures->stored) memcpy(items, failures->items, (size_t)failures->stored * sizeof *items);
        free(failures->items);
        failures->items = items;
        failures->capacity = capacity;
    }
    char* copy = CopyTextToHeap(path);
    if (!copy) return;
    failures->items[failures->stored].path = copy;
    failures->items[failures->stored].error = error;
    failures->stored++;
}

void AddRunFailures(RunFailures* failures, const RunFailures* from)
{
    for (int i = 0; i < from->stored; i++) AddRunFailure(failures, from->items[i].path, from->items[i].error);
    failures->total += from->total - from->stored;
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
    "新しい名前と同じ名前のフォルダがあります。",
    "新しい名前に、ファイル名に使えない文字（\" など）が含まれています。",
    "新しい名前に制御文字が含まれています。",
    "新しい名前がピリオドか空白で終わっています。",
    "新しい名前は、Windows が装置に使う名前（NUL、COM1 など）です。",
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

void AppendShownLine(char* text, size_t size, size_t* used, size_t start, int* count, const char* line)
{
    if ((*count)++ >= kFailureLinesShown) return;
    if (*used > start) *used += CopyTextCut(text + *used, size - *used, "\r\n");
    *used += CopyTextCut(text + *used, size - *used, line);
}

void AppendMoreLine(char* text, size_t size, size_t* used, size_t start, int rest)
{
    if (rest <= 0) return;
    char more[48];
    snprintf(more, sizeof more, "%sほか %d 件", *used > start ? "\r\n" : "", rest);
    *used += CopyTextCut(text + *used, size - *used, more);
}

int LinesNotShown(int count)
{
    return count > kFailureLinesShown ? count - kFailureLinesShown : 0;
}

int StartShownLines(ShownLines* lines)
{
    lines->used = 0;
    lines->count = 0;
    lines->text = (char*)AllocateMemory(kShownLinesSize);
    if (lines->text) lines->text[0] = 0;
    return lines->text != 0;
}

void AddShownLine(ShownLines* lines, const char* line)
{
    if (lines->text) AppendShownLine(lines->text, kShownLinesSize, &lines->used, 0, &lines->count, line);
}

void FreeShownLines(ShownLines* lines)
{
    free(lines->text);
    lines->text = 0;
}

void AppendShownLines(char* text, size_t size, size_t* used, const ShownLines* lines)
{
    size_t start = *used;
    if (lines->text) *used += CopyTextCut(text + *used, size - *used, lines->text);
    AppendMoreLine(text, size, used, start, LinesNotShown(lines->count));
}

size_t BuildFailureText(const RunFailures* failures, const char* header, char* text, size_t size)
{
    if (size == 0) return 0;
    text[0] = 0;
    size_t used = CopyTextCut(text, size, header);
    size_t start = used;
    int count = 0;
    for (int i = 0; i < failures->stored; i++) {
        char line[MAX_PATH * 4 + kFailureReasonSize];
        size_t length = CopyTextCut(line, sizeof line, failures->items[i].path);
        length += CopyTextCut(line + length, sizeof line - length, " : ");
        FailureReason(failures->items[i].error, line + length, sizeof line - length);
        AppendShownLine(text, size, &used, start, &count, line);
    }
    // Failures no memory was left to store are counted too.
    AppendMoreLine(text, size, &used, start, failures->total - (count - LinesNotShown(count)));
    return used;
}
