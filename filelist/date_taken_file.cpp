#include "filelist/date_taken_file.h"

#include <windows.h>

#include "core/date_taken.h"

// Opens the file once for both, since a sort by date taken asks for the
// write time of every file without a date; written may be 0.
static int ReadDates(const char* path, long long* key, unsigned long long* written)
{
    *key = 0;
    if (written) *written = 0;
    // Backup semantics open a folder too, for its write time; reading it fails.
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, written ? FILE_FLAG_BACKUP_SEMANTICS : 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    FILETIME lastWrite = {0, 0};
    int timed = !written || GetFileTime(file, NULL, NULL, &lastWrite);
    // On the stack: a sort reads thousands of files, none needs a heap block of its own.
    unsigned char start[kDateTakenReadSize];
    DWORD got = 0;
    BOOL read = ReadFile(file, start, sizeof start, &got, NULL);
    CloseHandle(file);
    if (!timed) return 0;
    if (written) *written = (unsigned long long)lastWrite.dwHighDateTime << 32 | lastWrite.dwLowDateTime;
    if (read) ReadDateTaken(start, got, key);
    return 1;
}

int ReadFileDateTaken(const char* path, long long* key)
{
    ReadDates(path, key, 0);
    return *key != 0;
}

int ReadFileDates(const char* path, long long* key, unsigned long long* written)
{
    return ReadDates(path, key, written);
}
