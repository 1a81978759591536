#include "rename/run_journal.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/heap.h"
#include "core/settings.h"
#include "rename/file_moves.h"
#include "rename/run_failures.h"

enum {
    kJournalBufferSize = 1 << 16,
    kLargestJournal = 256 << 20,  // a run of many thousand files takes a few MB
    kFieldsAtMost = 6,            // of a PLAN line
};

static const char kHeader[] = "Tovik journal 2";
static const char kHeaderStart[] = "Tovik journal ";  // of every version's
static const char* const kKindNames[] = {"rename", "undo"};

int JournalPath(char* path, size_t size)
{
    return ModuleFilePath(".jnl", path, size);
}

unsigned long long NewRunId()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long time = ((unsigned long long)now.dwHighDateTime << 32) | now.dwLowDateTime;
    return time ^ ((unsigned long long)GetCurrentProcessId() << 44) ^ GetTickCount();
}

// ---- Writing -------------------------------------------------------------------

static void WriteOut(JournalWriter* journal)
{
    DWORD written = 0;
    if (journal->used && (!WriteFile(journal->file, journal->buffer, (DWORD)journal->used, &written, NULL) ||
                          written != journal->used))
        journal->failed = 1;
    journal->used = 0;
}

// Appends text of any length.
static void Append(JournalWriter* journal, const char* text)
{
    for (size_t length = strlen(text); length > 0;) {
        if (journal->used == kJournalBufferSize) WriteOut(journal);
        size_t room = kJournalBufferSize - journal->used;
        size_t piece = length < room ? length : room;
        memcpy(journal->buffer + journal->used, text, piece);
        journal->used += piece;
        text += piece;
        length -= piece;
    }
}

static void AppendIdentity(JournalWriter* journal, const FileIdentity* identity)
{
    char text[48] = "";
    if (identity->volume || identity->index)
        snprintf(text, sizeof text, "%lx:%llx", identity->volume, identity->index);
    Append(journal, text);
}

int OpenJournal(JournalWriter* journal, const char* path, DWORD* error)
{
    memset(journal, 0, sizeof *journal);
    journal->file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (journal->file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        if (*error == ERROR_SHARING_VIOLATION) *error = kReasonJournalInUse;
        journal->file = NULL;
        return 0;
    }
    return 1;
}

int BeginJournal(JournalWriter* journal, int kind, int operation, unsigned tag, unsigned long long runId,
                 const RunTable* table, DWORD* error)
{
    journal->buffer = (char*)AllocateMemory(kJournalBufferSize);
    if (!journal->buffer) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return 0;
    }
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(journal->file, start, NULL, FILE_BEGIN) || !SetEndOfFile(journal->file)) {
        *error = GetLastError();
        return 0;
    }
    char line[160];
    snprintf(line, sizeof line, "%s\r\nRUN\t%s\t%d\t%d\t%016llx\r\n", kHeader, kKindNames[kind], operation,
             table->count, runId);
    Append(journal, line);
    for (int i = 0; i < table->count; i++) {
        const RunEntry* entry = &table->entries[i];
        char temp[MAX_PATH];
        DWORD ignored;
        snprintf(line, sizeof line, "PLAN\t%d\t", i);
        Append(journal, line);
        Append(journal, entry->source);
        Append(journal, "\t");
        Append(journal, entry->newPath);
        Append(journal, "\t");
        if (TemporaryName(entry->source, tag, i, temp, sizeof temp, &ignored)) Append(journal, strrchr(temp, '\\') + 1);
        Append(journal, "\t");
        AppendIdentity(journal, &entry->identity);
        Append(journal, "\r\n");
    }
    WriteOut(journal);
    // On disk before the first file moves.
    if (journal->failed || !FlushFileBuffers(journal->file)) {
        *error = GetLastError();
        if (*error == 0) *error = ERROR_WRITE_FAULT;
        return 0;
    }
    return 1;
}

void JournalPlaced(JournalWriter* journal, int index, const FileIdentity* identity, int how)
{
    if (!journal || !journal->file) return;
    char line[32];
    snprintf(line, sizeof line, "DONE\t%d\t", index);
    Append(journal, line);
    AppendIdentity(journal, identity);
    snprintf(line, sizeof line, "\t%d\r\n", how);
    Append(journal, line);
}

void JournalCopying(JournalWriter* journal, int index, const FileIdentity* identity)
{
    if (!journal || !journal->file) return;
    char line[32];
    snprintf(line, sizeof line, "COPY\t%d\t", index);
    Append(journal, line);
    AppendIdentity(journal, identity);
    Append(journal, "\r\n");
    WriteOut(journal);
}

void CloseJournal(JournalWriter* journal)
{
    if (journal->file) CloseHandle(journal->file);
    free(journal->buffer);
    memset(journal, 0, sizeof *journal);
}

int EndJournal(JournalWriter* journal, int stopped)
{
    if (!journal->file) return 0;
    if (stopped) Append(journal, "STOPPED\r\n");
    Append(journal, "END\r\n");
    WriteOut(journal);
    int written = !journal->failed && FlushFileBuffers(journal->file);
    CloseJournal(journal);
    return written;
}

int MarkRecovered(HANDLE file, const JournalRecord* record)
{
    LARGE_INTEGER end;
    end.QuadPart = (LONGLONG)record->length;
    DWORD written = 0;
    return SetFilePointerEx(file, end, NULL, FILE_BEGIN) && SetEndOfFile(file) &&
           WriteFile(file, "RECOVERED\r\n", 11, &written, NULL) && written == 11 && FlushFileBuffers(file);
}

// ---- Reading -------------------------------------------------------------------

void FreeJournalRecord(JournalRecord* record)
{
    free(record->entries);
    free(record->placements);
    free(record->text);
    memset(record, 0, sizeof *record);
}

// Splits the line at tabs into at most kFieldsAtMost fields; the number found,
// or kFieldsAtMost + 1 for more.
static int SplitFields(char* line, char** fields)
{
    int found = 0;
    for (char* p = line; found < kFieldsAtMost; found++) {
        fields[found] = p;
        p = strchr(p, '\t');
        if (!p) return found + 1;
        *p++ = 0;
    }
    return kFieldsAtMost + 1;
}

static int ReadNumber(const char* text, unsigned long* value)
{
    char* end;
    *value = strtoul(text, &end, 10);
    return end != text && *end == 0 && text[0] != '-';
}

static int ReadHex(const char* text, unsigned long long* value)
{
    char* end;
    *value = strtoull(text, &end, 16);
    return end != text && *end == 0 && text[0] != '-';
}

// "volume:index", or empty for an identity not known.
static int ReadIdentity(const char* text, FileIdentity* identity)
{
    memset(identity, 0, sizeof *identity);
    if (!text[0]) return 1;
    char volume[24];
    const char* colon = strchr(text, ':');
    unsigned long long value;
    if (!colon || colon - text >= (int)sizeof volume) return 0;
    memcpy(volume, text, (size_t)(colon - text));
    volume[colon - text] = 0;
    if (!ReadHex(volume, &value) || value > 0xFFFFFFFFull || !ReadHex(colon + 1, &identity->index)) return 0;
    identity->volume = (unsigned long)value;
    return 1;
}

// The record's lines, one function each; 0 for a line this program never writes there.
static int ParseRun(char** f, int n, JournalRecord* r)
{
    unsigned long operation, count;
    int kind = strcmp(f[1], kKindNames[0]) == 0 ? JournalRename : strcmp(f[1], kKindNames[1]) == 0 ? JournalUndo : -1;
    if (n != 5 || r->entries || kind < 0 || !ReadNumber(f[2], &operation) || operation > 3 ||
        !ReadNumber(f[3], &count) || count > kLargestJournal / 16 || !ReadHex(f[4], &r->runId))
        return 0;
    r->kind = kind;
    r->operation = (int)operation;
    r->count = (int)count;
    r->entries = (JournalEntry*)AllocateZeroed(count + 1, sizeof *r->entries);
    r->placements = (JournalPlacement*)AllocateZeroed(count + 1, sizeof *r->placements);
    r->shortOfMemory = !r->entries || !r->placements;
    return !r->shortOfMemory;
}

static int ParsePlan(char** f, int n, JournalRecord* r, int* planned)
{
    unsigned long index;
    if (n != 6 || !r->entries || !ReadNumber(f[1], &index) || index >= (unsigned long)r->count ||
        r->entries[index].oldPath || !f[2][0])
        return 0;
    JournalEntry* entry = &r->entries[index];
    if (!ReadIdentity(f[5], &entry->identity)) return 0;
    entry->oldPath = f[2];
    entry->newPath = f[3];
    entry->temporaryName = f[4];
    (*planned)++;
    return 1;
}

static int ParseDone(char** f, int n, JournalRecord* r)
{
    unsigned long index, how;
    JournalPlacement* placement = &r->placements[r->placed];
    if (n != 4 || r->ended || !ReadNumber(f[1], &index) || index >= (unsigned long)r->count ||
        r->placed >= r->count || !ReadNumber(f[3], &how) || how > (PlacedOver | PlacedCopy) ||
        !ReadIdentity(f[2], &placement->identity))
        return 0;
    placement->index = (int)index;
    placement->how = (int)how;
    r->placed++;
    return 1;
}

static int ParseCopy(char** f, int n, JournalRecord* r)
{
    unsigned long index;
    if (n != 3 || !ReadNumber(f[1], &index) || index >= (unsigned long)r->count) return 0;
    return ReadIdentity(f[2], &r->entries[index].copyIdentity);
}

// A mark on a line of its own, once.
static int ParseMark(const char* line, const char* name, int* mark)
{
    if (strcmp(line, name) != 0 || *mark) return 0;
    *mark = 1;
    return 1;
}

static int ParseLine(char* line, JournalRecord* r, int* planned)
{
    char* f[kFieldsAtMost];
    if (r->entries && *planned == r->count) {
        if (r->recovered) return 0;
        if (ParseMark(line, "RECOVERED", &r->recovered)) return 1;
        if (r->ended) return 0;
        if (strncmp(line, "DONE\t", 5) == 0) return ParseDone(f, SplitFields(line, f), r);
        if (strncmp(line, "COPY\t", 5) == 0) return ParseCopy(f, SplitFields(line, f), r);
        if (ParseMark(line, "STOPPED", &r->stopped)) return 1;
        return ParseMark(line, "END", &r->ended);
    }
    if (strncmp(line, "RUN\t", 4) == 0) return ParseRun(f, SplitFields(line, f), r);
    return strncmp(line, "PLAN\t", 5) == 0 && ParsePlan(f, SplitFields(line, f), r, planned);
}

// The next line ended by CR LF, terminated in place; 0 at the end, for a
// line not ended and for one holding a NUL byte (what a power cut leaves).
static char* NextLine(char** cursor, char* end)
{
    char* line = *cursor;
    for (char* p = line; p + 1 < end; p++) {
        if (*p == 0) return 0;
        if (p[0] == '\r' && p[1] == '\n') {
            *p = 0;
            *cursor = p + 2;
            return line;
        }
    }
    return 0;
}

// Whether nothing but one line cut short (perhaps with NUL bytes) follows.
static int IsTornEnd(const char* rest, const char* end)
{
    for (const char* p = rest; p + 1 < end; p++) {
        if (p[0] == '\r' && p[1] == '\n') return 0;
    }
    return 1;
}

// A complete plan is enough for recovery, whatever follows it; a plan cut
// short at the end was never acted on.
static int ParseJournal(JournalRecord* r, size_t size)
{
    char* cursor = r->text;
    char* end = r->text + size;
    char* line = NextLine(&cursor, end);
    if (!line || strcmp(line, kHeader) != 0) return JournalDamaged;
    r->length = (size_t)(cursor - r->text);
    int planned = 0;
    int torn = 0;
    for (;;) {
        line = NextLine(&cursor, end);
        if (!line) {
            torn = IsTornEnd(cursor, end);
            break;
        }
        if (!ParseLine(line, r, &planned)) break;
        r->length = (size_t)(cursor - r->text);
    }
    if (r->shortOfMemory) return JournalNoMemory;
    if (r->entries && planned == r->count) return JournalReadable;
    return torn ? JournalNone : JournalDamaged;
}

int ReadHeldJournal(HANDLE file, JournalRecord* record)
{
    memset(record, 0, sizeof *record);
    LARGE_INTEGER size;
    LARGE_INTEGER start = {};
    char first[sizeof kHeaderStart] = "";
    DWORD got = 0;
    if (!SetFilePointerEx(file, start, NULL, FILE_BEGIN) || !GetFileSizeEx(file, &size)) return JournalDamaged;
    // Known by its first words, whatever its version.
    if (!ReadFile(file, first, sizeof first - 1, &got, NULL) || got < sizeof first - 1 ||
        memcmp(first, kHeaderStart, sizeof first - 1) != 0)
        return JournalNone;
    if (size.QuadPart >= kLargestJournal) return JournalDamaged;
    record->text = (char*)AllocateMemory((size_t)size.QuadPart + 1);
    int state = record->text ? JournalDamaged : JournalNoMemory;
    if (record->text && SetFilePointerEx(file, start, NULL, FILE_BEGIN) &&
        ReadFile(file, record->text, (DWORD)size.QuadPart, &got, NULL) && got == (DWORD)size.QuadPart) {
        record->text[got] = 0;
        state = ParseJournal(record, got);
    }
    if (state != JournalReadable) FreeJournalRecord(record);
    return state;
}

int ReadJournal(const char* path, JournalRecord* record, HANDLE* file)
{
    memset(record, 0, sizeof *record);
    // Held, it is shared for reading only, as a running copy holds it.
    DWORD access = file ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    DWORD share = file ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE handle = CreateFileA(path, access, share, NULL, OPEN_EXISTING, 0, NULL);
    if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION ? JournalInUse : JournalNone;
    int state = ReadHeldJournal(handle, record);
    if (state == JournalReadable && file) {
        *file = handle;
    } else {
        CloseHandle(handle);
    }
    return state;
}

int IsUnfinished(const JournalRecord* record)
{
    return !record->ended && !record->recovered;
}

int IsUndoable(const JournalRecord* record, unsigned long long runId)
{
    if (record->runId != runId || !record->ended || record->recovered) return 0;
    if (record->kind == JournalRename) return record->placed > 0;
    return record->stopped && record->placed < record->count;
}

int CanUndoLastRun(const char* path, unsigned long long runId)
{
    JournalRecord record;
    if (ReadJournal(path, &record, 0) != JournalReadable) return 0;
    int can = IsUndoable(&record, runId);
    FreeJournalRecord(&record);
    return can;
}

unsigned long long JournalRunId(const char* path)
{
    JournalRecord record;
    if (ReadJournal(path, &record, 0) != JournalReadable) return 0;
    unsigned long long runId = record.runId;
    FreeJournalRecord(&record);
    return runId;
}
