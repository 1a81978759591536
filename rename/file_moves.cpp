#include "rename/file_moves.h"

#include <shellapi.h>
#include <stdio.h>
#include <string.h>

#include "core/mbcs_text.h"
#include "rename/run_failures.h"

const char kTemporaryFileName[] = "TOVIK.DAT";

static const char kDigits36[] = "0123456789abcdefghijklmnopqrstuvwxyz";

int TemporaryName(const char* path, unsigned tag, int index, char* temp, size_t size, DWORD* error)
{
    PathParts parts;
    char name[16];
    int length = snprintf(name, sizeof name, "~tv%c%c", kDigits36[tag / 36 % 36], kDigits36[tag % 36]);
    char digits[8];
    int count = 0;
    unsigned value = (unsigned)index;
    do {
        digits[count++] = kDigits36[value % 36];
        value /= 36;
    } while (value && count < (int)sizeof digits);
    while (count > 0) name[length++] = digits[--count];
    name[length] = 0;
    if (!SplitPath(path, &parts) ||
        snprintf(temp, size, "%s%s%s", parts.drive, parts.directory, name) >= (int)size ||
        strlen(temp) >= MAX_PATH) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        if (size > 0) temp[0] = 0;
        return 0;
    }
    return 1;
}

static int ReadFileInformation(const char* path, BY_HANDLE_FILE_INFORMATION* info)
{
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BOOL ok = GetFileInformationByHandle(file, info);
    CloseHandle(file);
    return ok != 0;
}

static void TakeIdentity(const BY_HANDLE_FILE_INFORMATION* info, FileIdentity* identity)
{
    identity->volume = info->dwVolumeSerialNumber;
    identity->index = ((unsigned long long)info->nFileIndexHigh << 32) | info->nFileIndexLow;
}

int ReadFileIdentity(const char* path, FileIdentity* identity, DWORD* error)
{
    BY_HANDLE_FILE_INFORMATION info;
    memset(identity, 0, sizeof *identity);
    if (!ReadFileInformation(path, &info)) {
        *error = GetLastError();
        return 0;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        *error = ERROR_DIRECTORY;
        return 0;
    }
    TakeIdentity(&info, identity);
    return 1;
}

int CreateEmptyFile(const char* path, FileIdentity* identity, DWORD* error)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION info;
    int known = GetFileInformationByHandle(file, &info) != 0;
    *error = known ? 0 : GetLastError();
    CloseHandle(file);
    if (!known) {
        DeleteFileA(path);
        return 0;
    }
    TakeIdentity(&info, identity);
    return 1;
}

int IsExistsError(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

int IsFileOf(const char* path, const FileIdentity* identity)
{
    FileIdentity found;
    DWORD error;
    return ReadFileIdentity(path, &found, &error) && IsSameIdentity(&found, identity);
}

int IsAbsent(const char* path)
{
    return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND;
}

int RemoveFile(const char* path)
{
    // A copy takes over its source's read-only attribute, which a removal refuses.
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path) != 0;
}

int RecycleFile(const char* path, DWORD* error)
{
    // The list of paths ends in an empty one.
    char from[MAX_PATH + 2];
    size_t length = strlen(path);
    if (length >= MAX_PATH) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    memcpy(from, path, length);
    from[length] = from[length + 1] = 0;
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from;
    operation.fFlags = FOF_ALLOWUNDO | FOF_NO_UI;
    int result = SHFileOperationA(&operation);
    if (result == 0 && !operation.fAnyOperationsAborted && GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return 1;
    *error = result ? (DWORD)result : ERROR_CANCELLED;
    return 0;
}

int IsSameFile(const char* a, const char* b)
{
    BY_HANDLE_FILE_INFORMATION first, second;
    if (!ReadFileInformation(a, &first) || !ReadFileInformation(b, &second)) return 0;
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

// Copies the rest of one open file into another. 1, or 0 with the reason.
static int CopyContent(HANDLE from, HANDLE to, DWORD* error)
{
    static char buffer[1 << 16];
    for (;;) {
        DWORD got = 0, written = 0;
        if (!ReadFile(from, buffer, sizeof buffer, &got, NULL)) break;
        if (got == 0) return 1;
        if (!WriteFile(to, buffer, got, &written, NULL) || written != got) break;
    }
    *error = GetLastError();
    return 0;
}

// Copies the file at source into the open temporary file. 1, or 0.
static int FillTemporaryFile(const char* source, HANDLE temporary, BY_HANDLE_FILE_INFORMATION* info,
                             DWORD* error)
{
    HANDLE from = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (from == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return 0;
    }
    int ok = GetFileInformationByHandle(from, info) ? CopyContent(from, temporary, error) : 0;
    if (!ok && *error == 0) *error = GetLastError();
    CloseHandle(from);
    return ok;
}

// Writes the temporary file's content under target with the source's
// attributes and last-write time, as a copy does. 1, or 0.
static int WriteTarget(HANDLE temporary, const char* target, const BY_HANDLE_FILE_INFORMATION* info,
                       DWORD* error)
{
    if (SetFilePointer(temporary, 0, NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        *error = GetLastError();
        return 0;
    }
    HANDLE to = CreateFileA(target, GENERIC_WRITE, 0, NULL, CREATE_NEW,
                            info->dwFileAttributes & ~FILE_ATTRIBUTE_DIRECTORY, NULL);
    if (to == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return 0;
    }
    int ok = CopyContent(temporary, to, error);
    if (ok) SetFileTime(to, NULL, NULL, &info->ftLastWriteTime);
    CloseHandle(to);
    return ok;
}

int ReplaceThroughTemporaryFile(const char* source, const char* target, int move, DWORD* error,
                                int* copied)
{
    *copied = 0;
    *error = 0;
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
    char temporaryPath[MAX_PATH + 16];
    snprintf(temporaryPath, sizeof temporaryPath, "%s%s", folder, kTemporaryFileName);
    // Held without sharing and gone when closed: two running copies never
    // trade contents through it, and no copy of the user's file stays behind.
    HANDLE temporary = CreateFileA(temporaryPath, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (temporary == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        if (*error == ERROR_SHARING_VIOLATION) *error = kReasonTemporaryFileInUse;
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION info;
    int ok = FillTemporaryFile(source, temporary, &info, error);
    if (ok) {
        DeleteFileA(target);
        ok = WriteTarget(temporary, target, &info, error);
    }
    CloseHandle(temporary);
    if (!ok) return 0;
    *copied = 1;
    // The copy stands under the target; only now may a move let go of the
    // source, as a move through a copy does.
    if (move && !DeleteFileA(source)) {
        *error = GetLastError();
        return 0;
    }
    return 1;
}
