#include "filelist/date_taken_file.h"

#include <windows.h>

#include "core/date_taken.h"

int ReadFileDateTaken(const char* path, long long* key)
{
    *key = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    // On the stack: a sort reads thousands of files, none needs a heap block of its own.
    unsigned char start[kDateTakenReadSize];
    DWORD got = 0;
    BOOL read = ReadFile(file, start, sizeof start, &got, NULL);
    CloseHandle(file);
    return read && ReadDateTaken(start, got, key);
}
