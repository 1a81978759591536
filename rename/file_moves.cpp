#include "rename/file_moves.h"

#include <stdio.h>
#include <string.h>

#include "core/mbcs_text.h"

const char kTemporaryFileName[] = "TOVIK.DAT";

int MoveAside(const char* path, char* temp, size_t size, DWORD* error)
{
    PathParts parts;
    SplitPath(path, &parts);
    // One counter for the process, so that names taken in a run are not
    // tried again; a name that exists all the same is skipped.
    static unsigned s_counter;
    if (s_counter == 0) s_counter = (GetCurrentProcessId() & 0xFFFu) << 16;
    for (int attempt = 0; attempt < 100; attempt++) {
        int length = snprintf(temp, size, "%s%s~tovik%lx.tmp", parts.drive, parts.directory,
                              (unsigned long)++s_counter);
        if (length < 0 || (size_t)length >= size || length >= MAX_PATH) {
            *error = ERROR_FILENAME_EXCED_RANGE;
            temp[0] = 0;
            return 0;
        }
        if (MoveFileExA(path, temp, 0)) return 1;
        *error = GetLastError();
        if (*error != ERROR_ALREADY_EXISTS && *error != ERROR_FILE_EXISTS) break;
    }
    temp[0] = 0;
    return 0;
}

static int FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info)
{
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BOOL ok = GetFileInformationByHandle(file, info);
    CloseHandle(file);
    return ok != 0;
}

int IsSameFile(const char* a, const char* b)
{
    BY_HANDLE_FILE_INFORMATION first, second;
    if (!FileIdentity(a, &first) || !FileIdentity(b, &second)) return 0;
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

int ReplaceThroughTemporaryFile(const char* source, const char* target, int move, DWORD* error,
                                int* copied)
{
    *copied = 0;
    // Removing the target would remove the source itself.
    if (IsSameFile(source, target)) {
        *error = ERROR_ALREADY_EXISTS;
        return 0;
    }
    char folder[MAX_PATH + 1];
    DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) {
        *error = length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    char temporary[MAX_PATH + 16];
    snprintf(temporary, sizeof temporary, "%s%s", folder, kTemporaryFileName);
    if (!CopyFileA(source, temporary, FALSE)) {
        *error = GetLastError();
        return 0;
    }
    DeleteFileA(target);
    if (!CopyFileA(temporary, target, FALSE)) {
        *error = GetLastError();
        return 0;
    }
    *copied = 1;
    // The copy stands under the target; only now may a move let go of the
    // source, as a move through a copy does.
    if (move && !DeleteFileA(source)) {
        *error = GetLastError();
        return 0;
    }
    return 1;
}
