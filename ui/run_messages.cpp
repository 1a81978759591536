#include "ui/run_messages.h"

#include <stdio.h>
#include <stdlib.h>

#include "core/heap.h"
#include "core/mbcs_text.h"
#include "core/prompt.h"

static const char kRecoveryTitle[] = "前回の改名の復旧";
static const char kFailureHeader[] = "次のファイルは改名（リネーム）できませんでした。\r\n\r\n";
static const char kFailureTitle[] = "改名（リネーム）できなかったファイル";

int AskOverwriteFile(void* owner, const char* source, const char* newPath)
{
    char text[MAX_PATH * 4 + 256];
    snprintf(text, sizeof text,
             "コピー先フォルダには既にファイル[ %s ]が存在します。\r\n上書きしますか？\r\n\r\n"
             "[ YES        ] => 上書き\r\n[ NO         ] => 上書きせずに処理続行\r\n"
             "[ キャンセル ] => 処理中断",
             newPath);
    char title[MAX_PATH * 2 + 64];
    snprintf(title, sizeof title, "ファイルの上書き確認(%s)", source);
    int answer = Prompt((HWND)owner, text, title, MB_YESNOCANCEL, MB_ICONQUESTION);
    return answer == IDYES ? AnswerYes : answer == IDCANCEL ? AnswerCancel : AnswerNo;
}

void TellFolderInTheWay(void* owner, const char* newPath)
{
    char text[MAX_PATH * 4 + 256];
    snprintf(text, sizeof text,
             "コピー先ファイル名[ %s ]は既にフォルダ名として登録されています。\r\n"
             "このファイルの改名（リネーム）を中止して処理を続けます。",
             newPath);
    Prompt((HWND)owner, text, "フォルダ名重複", MB_OK, MB_ICONERROR);
}

void ShowFailureMessage(const RunFailures* failures, HWND owner, const char* header, const char* title, UINT icon)
{
    // Room for the header, every line at its longest and the count.
    enum { kTextSize = 512 + kFailureLinesShown * (MAX_PATH * 4 + 8 + kFailureReasonSize) };
    char* text = (char*)AllocateMemory(kTextSize);
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

void TellNotStarted(HWND owner, const char* journal, DWORD reason)
{
    if (reason == ERROR_NOT_ENOUGH_MEMORY) {
        TellOutOfMemory(owner);
        return;
    }
    char why[kFailureReasonSize];
    FailureReason(reason, why, sizeof why);
    char text[2 * MAX_PATH + kFailureReasonSize + 256];
    snprintf(text, sizeof text,
             "改名の記録 %s を書けないため、改名（リネーム）を始めませんでした。ファイルは動かしていません。\r\n\r\n%s",
             journal, why);
    Prompt(owner, text, "改名（リネーム）を始められません", MB_OK, MB_ICONERROR);
}

void ShowRunResult(HWND owner, const char* journal, const RunSummary* summary, const RunFailures* failures)
{
    if (summary->result == RunNotStarted) {
        TellNotStarted(owner, journal, summary->reason);
    } else if (summary->result == RunStopped) {
        const char* failed = failures->total ? "\r\n\r\n" : "";
        char header[512];
        snprintf(header, sizeof header,
                 "改名（リネーム）を中止しました。\r\n\r\n改名したファイル: %d 件\r\n残りのファイル: %d 件%s%s",
                 summary->renamed, summary->remaining, failed, failures->total ? kFailureHeader : "");
        ShowFailureMessage(failures, owner, header, "改名（リネーム）の中止", MB_ICONWARNING);
    } else {
        ShowFailureList(failures, owner, kFailureHeader, kFailureTitle);
    }
    if (summary->journalIncomplete)
        Prompt(owner, "改名の記録を最後まで書けなかったため、この改名（リネーム）は元に戻せません。",
               "改名（リネーム）の記録", MB_OK, MB_ICONWARNING);
}

static void ShowRecoveryReport(HWND owner, const RecoveryReport* report)
{
    // The count, the moves, the failures and the folders, each at their longest.
    enum {
        kTextSize = 1024 + 2 * kShownLinesSize + kFailureLinesShown * (MAX_PATH * 4 + 8 + kFailureReasonSize),
    };
    char* text = (char*)AllocateMemory(kTextSize);
    if (!text) {
        TellOutOfMemory(owner);
        return;
    }
    size_t used = (size_t)snprintf(text, kTextSize, "復旧のために動かした、または削除したファイル: %d 件\r\n",
                                   report->moves.count);
    AppendShownLines(text, kTextSize, &used, &report->moves);
    if (report->left.total > 0) {
        used += CopyTextCut(text + used, kTextSize - used, "\r\n\r\n");
        used += BuildFailureText(&report->left, "戻せなかったファイル:\r\n", text + used, kTextSize - used);
    }
    if (report->folders.count > 0) {
        used += CopyTextCut(text + used, kTextSize - used,
                            "\r\n\r\n次のフォルダに届かないため、復旧を終えていません。"
                            "次に起動したときに、もう一度復旧します。\r\n");
        AppendShownLines(text, kTextSize, &used, &report->folders);
    }
    int trouble = report->left.total > 0 || report->folders.count > 0;
    Prompt(owner, text, kRecoveryTitle, MB_OK, trouble ? MB_ICONERROR : MB_ICONINFORMATION);
    free(text);
}

// Tells the user of the run that did not end, puts it right and reports. 1
// when it is marked as put right.
static int Recover(HWND owner, const JournalRecord* record, HANDLE file)
{
    Prompt(owner,
           "前回の改名（リネーム）は途中で終わっていました。\r\n"
           "一時的な名前のまま残ったファイルを、予定の名前か元の名前に戻します。",
           kRecoveryTitle, MB_OK, MB_ICONWARNING);
    RecoveryReport report;
    int settled = RecoverRun(record, file, &report);
    if (report.outOfMemory) {
        TellOutOfMemory(owner);
    } else {
        ShowRecoveryReport(owner, &report);
    }
    FreeRecoveryReport(&report);
    return settled;
}

// Tells of a journal of this program that cannot be read and sets it aside.
// 1 when set aside.
static int SetAsideDamaged(HWND owner, const char* path)
{
    char aside[MAX_PATH * 2 + 16];
    int moved = SetAsideDamagedJournal(path, aside, sizeof aside);
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
    if (state == JournalNoMemory) TellOutOfMemory(owner);
    if (state != JournalReadable) return;
    if (IsUnfinished(&record)) Recover(owner, &record, file);
    CloseHandle(file);
    FreeJournalRecord(&record);
}

int SettleJournalForRun(HWND owner, JournalWriter* journal, const char* path, DWORD* error)
{
    JournalRecord record;
    int state = ReadHeldJournal(journal->file, &record);
    // A journal not read for want of memory may hold a run that did not end: it is not written over.
    int settled = state != JournalNoMemory &&
                  (state != JournalReadable || !IsUnfinished(&record) || Recover(owner, &record, journal->file));
    if (state == JournalReadable) FreeJournalRecord(&record);
    if (!settled) *error = state == JournalNoMemory ? (DWORD)ERROR_NOT_ENOUGH_MEMORY : (DWORD)kReasonRunPending;
    if (state == JournalDamaged) {
        CloseJournal(journal);
        settled = SetAsideDamaged(owner, path) && OpenJournal(journal, path, error);
        if (!settled && *error != kReasonJournalInUse) *error = kReasonJournalDamaged;
    }
    if (!settled) CloseJournal(journal);
    return settled;
}
