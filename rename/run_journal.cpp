#include "rename/run_journal.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/mbcs_text.h"
#include "core/prompt.h"
#include "core/settings.h"
#include "rename/file_moves.h"
#include "rename/run_failures.h"

enum {
    kJournalBufferSize = 1 << 16,
    kLargestJournal = 256 << 20,  // a run of many thousand files takes a few MB
};

static const char kHeader[] = "Tovik journal 1";
static const char* const kKindNames[] = {"rename", "undo"};
static const char kRecoveryTitle[] = "前回の改名の復旧";

int JournalPath(char* path, size_t size)
{
    return ModuleFilePath(".jnl", path, size);
}

static void WriteOut(JournalWriter* journal)
{
    DWORD written = 0;
    if (journal->used) WriteFile(journal->file, journal->buffer, (DWORD)journal->used, &written, NULL);
    journal->used = 0;
}

static void Append(JournalWriter* journal, const char* line)
{
    size_t length = strlen(line);
    if (journal->used + length > kJournalBufferSize) WriteOut(journal);
    if (length > kJournalBufferSize) return;  // no line is that long
    memcpy(journal->buffer + journal->used, line, length);
    journal->used += length;
}

int BeginJournal(JournalWriter* journal, const char* path, int kind, int operation, unsigned tag,
                 const RunTable* table)
{
    memset(journal, 0, sizeof *journal);
    journal->buffer = (char*)malloc(kJournalBufferSize);
    if (!journal->buffer) return 0;
    journal->file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (journal->file == INVALID_HANDLE_VALUE) {
        free(journal->buffer);
        memset(journal, 0, sizeof *journal);
        return 0;
    }
    char line[3 * MAX_PATH + 64];
    snprintf(line, sizeof line, "%s\r\nRUN\t%s\t%d\t%d\r\n", kHeader, kKindNames[kind], operation, table->count);
    Append(journal, line);
    for (int i = 0; i < table->count; i++) {
        const RunEntry* entry = &table->entries[i];
        char temp[MAX_PATH];
        DWORD error;
        const char* name = "";
        if (TemporaryName(entry->source, tag, i, temp, sizeof temp, &error)) name = strrchr(temp, '\\') + 1;
        snprintf(line, sizeof line, "PLAN\t%d\t%s\t%s\t%s\r\n", i, entry->source, entry->newPath, name);
        Append(journal, line);
    }
    WriteOut(journal);
    // On disk before the first file moves.
    FlushFileBuffers(journal->file);
    return 1;
}

void JournalPlaced(JournalWriter* journal, int index, const char* newPath, int replaced)
{
    if (!journal->file) return;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(newPath, GetFileExInfoStandard, &data)) memset(&data, 0, sizeof data);
    char line[128];
    snprintf(line, sizeof line, "DONE\t%d\t%lu.%lu\t%lu.%lu\t%d\r\n", index, data.nFileSizeHigh, data.nFileSizeLow,
             data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime, replaced ? 1 : 0);
    Append(journal, line);
}

void EndJournal(JournalWriter* journal)
{
    if (!journal->file) return;
    Append(journal, "END\r\n");
    WriteOut(journal);
    FlushFileBuffers(journal->file);
    CloseHandle(journal->file);
    free(journal->buffer);
    memset(journal, 0, sizeof *journal);
}

void FreeJournalRecord(JournalRecord* record)
{
    free(record->entries);
    free(record->placements);
    free(record->text);
    memset(record, 0, sizeof *record);
}

// Splits the line at tabs into at most count fields; the number found.
static int SplitFields(char* line, char** fields, int count)
{
    int found = 0;
    for (char* p = line; found < count; found++) {
        fields[found] = p;
        p = strchr(p, '\t');
        if (!p) return found + 1;
        *p++ = 0;
    }
    return count + 1;  // more than asked for
}

static int ReadNumber(const char* text, unsigned long* value)
{
    char* end;
    *value = strtoul(text, &end, 10);
    return end != text && *end == 0;
}

// Reads two numbers written "high.low".
static int ReadPair(const char* text, DWORD* high, DWORD* low)
{
    char copy[32];
    if (CopyTextCut(copy, sizeof copy, text) != strlen(text)) return 0;
    char* dot = strchr(copy, '.');
    if (!dot) return 0;
    *dot = 0;
    unsigned long h, l;
    if (!ReadNumber(copy, &h) || !ReadNumber(dot + 1, &l)) return 0;
    *high = h;
    *low = l;
    return 1;
}

// Parses one line into the record. 0 for a line this program never writes.
static int ParseLine(char* line, JournalRecord* r)
{
    char* f[6];
    int n = SplitFields(line, f, 6);
    unsigned long a, b;
    if (n == 4 && strcmp(f[0], "RUN") == 0 && !r->entries) {
        int kind = strcmp(f[1], kKindNames[0]) == 0 ? JournalRename : strcmp(f[1], kKindNames[1]) == 0 ? JournalUndo : -1;
        if (kind < 0 || !ReadNumber(f[2], &a) || a > 3 || !ReadNumber(f[3], &b) || b > kLargestJournal / 16) return 0;
        r->kind = kind;
        r->operation = (int)a;
        r->count = (int)b;
        r->entries = (JournalEntry*)calloc(b + 1, sizeof *r->entries);
        r->placements = (JournalPlacement*)calloc(b + 1, sizeof *r->placements);
        return r->entries && r->placements;
    }
    if (!r->entries || r->ended) return n == 1 && strcmp(f[0], "RECOVERED") == 0 && !r->recovered && (r->recovered = 1);
    if (n == 5 && strcmp(f[0], "PLAN") == 0 && ReadNumber(f[1], &a) && a < (unsigned long)r->count &&
        !r->entries[a].oldPath && f[2][0] && f[3][0]) {
        r->entries[a] = {f[2], f[3], f[4]};
        return 1;
    }
    if (n == 5 && strcmp(f[0], "DONE") == 0 && ReadNumber(f[1], &a) && a < (unsigned long)r->count &&
        r->placed < r->count && (strcmp(f[4], "0") == 0 || strcmp(f[4], "1") == 0)) {
        JournalPlacement* placement = &r->placements[r->placed];
        DWORD high, low;
        if (!ReadPair(f[2], &high, &low) ||
            !ReadPair(f[3], &placement->lastWrite.dwHighDateTime, &placement->lastWrite.dwLowDateTime))
            return 0;
        placement->index = (int)a;
        placement->size = ((ULONGLONG)high << 32) | low;
        placement->replaced = f[4][0] == '1';
        r->placed++;
        return 1;
    }
    if (n == 1 && strcmp(f[0], "END") == 0) return r->ended = 1;
    return n == 1 && strcmp(f[0], "RECOVERED") == 0 && !r->recovered && (r->recovered = 1);
}

static int ParseJournal(JournalRecord* r)
{
    char* line = r->text;
    int first = 1;
    while (*line) {
        char* end = strstr(line, "\r\n");
        if (!end) return 0;  // a last line cut short
        *end = 0;
        if (first ? strcmp(line, kHeader) != 0 : !ParseLine(line, r)) return 0;
        first = 0;
        line = end + 2;
    }
    if (!r->entries) return 0;
    // A plan cut short was never acted on.
    for (int i = 0; i < r->count; i++)
        if (!r->entries[i].oldPath) return 0;
    return 1;
}

int ReadJournal(const char* path, JournalRecord* record, HANDLE* file)
{
    memset(record, 0, sizeof *record);
    HANDLE handle = file ? CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL)
                         : CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (handle == INVALID_HANDLE_VALUE) return 0;
    LARGE_INTEGER size;
    DWORD got = 0;
    int ok = GetFileSizeEx(handle, &size) && size.QuadPart < kLargestJournal &&
             (record->text = (char*)malloc((size_t)size.QuadPart + 1)) != NULL &&
             ReadFile(handle, record->text, (DWORD)size.QuadPart, &got, NULL) && got == (DWORD)size.QuadPart;
    if (ok) {
        record->text[got] = 0;
        ok = strlen(record->text) == got && ParseJournal(record);
    }
    if (!ok) FreeJournalRecord(record);
    if (ok && file) *file = handle;
    else CloseHandle(handle);
    return ok;
}

int CanUndoLastRun(const char* path)
{
    JournalRecord record;
    if (!ReadJournal(path, &record, 0)) return 0;
    int can = record.kind == JournalRename && record.ended && !record.recovered && record.placed > 0;
    FreeJournalRecord(&record);
    return can;
}

// ---- Recovery ------------------------------------------------------------------

static int IsExistsError(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// Frees the planned new path `path` of an exchange of names by moving the
// file of the entry whose old path it is on to that entry's new path, and so
// on down the exchange until a free place is reached: the exchange is
// finished. 1 when path is free then.
static int FinishExchange(const RunTable* table, const char* path, int from, int depth)
{
    int owner = FindUnhandledSource(table, path, from);
    if (owner < 0 || depth > table->count || !EntryWillMove(&table->entries[owner])) return 0;
    const RunEntry* entry = &table->entries[owner];
    if (MoveFileExA(entry->source, entry->newPath, 0)) return 1;
    if (!IsExistsError(GetLastError()) || !FinishExchange(table, entry->newPath, owner, depth + 1)) return 0;
    return MoveFileExA(entry->source, entry->newPath, 0) != 0;
}

// Puts the file at temp of entry index at its new path, or else its old one.
// The path it went to, or 0 with the reason in *error.
static const char* Restore(const RunTable* table, int index, const char* temp, DWORD* error)
{
    const RunEntry* entry = &table->entries[index];
    if (MoveFileExA(temp, entry->newPath, 0)) return entry->newPath;
    if (IsExistsError(GetLastError()) && FinishExchange(table, entry->newPath, index, 0) &&
        MoveFileExA(temp, entry->newPath, 0))
        return entry->newPath;
    if (MoveFileExA(temp, entry->source, 0)) return entry->source;
    *error = GetLastError();
    return 0;
}

static void AppendLine(char* text, size_t size, size_t* used, const char* line)
{
    *used += CopyTextCut(text + *used, size - *used, line);
}

void RecoverInterruptedRun(HWND owner, const char* path)
{
    JournalRecord record;
    HANDLE file;
    if (!ReadJournal(path, &record, &file)) return;
    RunTable table;
    if (record.ended || record.recovered || !CreateRunTable(&table, record.count)) {
        CloseHandle(file);
        FreeJournalRecord(&record);
        return;
    }
    Prompt(owner,
           "前回の改名（リネーム）は途中で終わっていました。\r\n"
           "一時的な名前のまま残ったファイルを、予定の名前か元の名前に戻します。",
           kRecoveryTitle, MB_OK, MB_ICONWARNING);
    for (int i = 0; i < record.count; i++) SetRunEntryPaths(&table, i, record.entries[i].oldPath, record.entries[i].newPath);
    IndexRunTable(&table);

    enum { kReportSize = 256 + kFailureLinesShown * 2 * (2 * MAX_PATH + 8) };
    static char restored[kReportSize];
    size_t used = 0;
    int restoredCount = 0;
    RunFailures failures;
    memset(&failures, 0, sizeof failures);
    for (int i = 0; i < record.count; i++) {
        const JournalEntry* entry = &record.entries[i];
        PathParts parts;
        char temp[MAX_PATH * 2];
        if (!entry->temporaryName[0] || !SplitPath(entry->oldPath, &parts)) continue;
        snprintf(temp, sizeof temp, "%s%s%s", parts.drive, parts.directory, entry->temporaryName);
        DWORD attributes = GetFileAttributesA(temp);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        DWORD error = 0;
        const char* where = table.entries ? Restore(&table, i, temp, &error) : 0;
        if (!where) {
            AddRunFailure(&failures, temp, error);
        } else if (++restoredCount <= kFailureLinesShown) {
            char line[2 * MAX_PATH + 16];
            snprintf(line, sizeof line, "\r\n%s → %s", temp, where);
            AppendLine(restored, sizeof restored, &used, line);
        }
    }
    LARGE_INTEGER end = {};
    DWORD written = 0;
    SetFilePointerEx(file, end, NULL, FILE_END);
    WriteFile(file, "RECOVERED\r\n", 11, &written, NULL);
    FlushFileBuffers(file);
    CloseHandle(file);

    static char text[kReportSize * 2];
    size_t length = (size_t)snprintf(text, sizeof text, "一時的な名前から戻したファイル: %d 件%s", restoredCount, restored);
    if (restoredCount > kFailureLinesShown)
        length += (size_t)snprintf(text + length, sizeof text - length, "\r\nほか %d 件", restoredCount - kFailureLinesShown);
    if (failures.total > 0) {
        AppendLine(text, sizeof text, &length, "\r\n\r\n");
        BuildFailureText(&failures, "戻せなかったファイル:\r\n", text + length, sizeof text - length);
    }
    Prompt(owner, text, kRecoveryTitle, MB_OK, failures.total ? MB_ICONERROR : MB_ICONINFORMATION);
    FreeRunFailures(&failures);
    FreeRunTable(&table);
    FreeJournalRecord(&record);
}
