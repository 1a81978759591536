#include "filelist/folder_files.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "core/heap.h"
#include "core/mbcs_text.h"
#include "core/prompt.h"
#include "filelist/list_memory.h"

// Starts the wide search of a folder's entries: normalised gets the folder
// path without a final backslash character (a trail byte 0x5C of a
// double-byte character stays), *trimmed whether one of its names ends in a
// dot or a space, and the pattern is "%s\*.*". INVALID_HANDLE_VALUE when
// nothing is found or the folder is no path the list could hold.
static HANDLE StartFolderSearch(const char* folder, char* normalised, int* trimmed,
                                WIN32_FIND_DATAW* found)
{
    if (strlen(folder) > kMaxPathLength) return INVALID_HANDLE_VALUE;
    strcpy(normalised, folder);
    RemoveTrailingBackslash(normalised);
    wchar_t wide[kPathSize];
    if (MultiByteToWideChar(CP_ACP, 0, normalised, -1, wide, kPathSize) <= 0) {
        return INVALID_HANDLE_VALUE;
    }
    *trimmed = HasTrimmedName(wide);
    // The \\?\ forms take a pattern past MAX_PATH and keep a folder name's
    // final dot or space, so that the folder searched is the folder named.
    const wchar_t* prefix = L"";
    const wchar_t* rest = wide;
    if (wcslen(wide) + 4 >= MAX_PATH || *trimmed) {
        if (wide[0] == L'\\' && wide[1] == L'\\' && wide[2] != L'?' && wide[2] != L'.') {
            prefix = L"\\\\?\\UNC\\";
            rest = wide + 2;
        } else if (wide[0] != 0 && wide[1] == L':' && wide[2] == L'\\') {
            prefix = L"\\\\?\\";
        }
    }
    wchar_t pattern[8 + kPathSize + 4];
    wcscpy(pattern, prefix);
    wcscat(pattern, rest);
    wcscat(pattern, L"\\*.*");
    return FindFirstFileW(pattern, found);
}

static int IsEligibleFile(const WIN32_FIND_DATAW* found)
{
    const wchar_t* name = found->cFileName;
    if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0) return 0;
    if (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    // The extension runs from the last dot of the name on.
    return wcschr(name, L'.') != NULL;
}

static void ReportCopyFailure(int stored, const char* path)
{
    char text[128 + kPathSize];
    snprintf(text, sizeof text, "メモリーの確保に失敗しました(%d) %s", stored, path);
    Prompt(GetActiveWindow(), text, kSystemErrorTitle, MB_OK, 0);
}

int CollectFolderFiles(const char* folder, PathBuffer* paths, LeftOutCounts* leftOut)
{
    char normalised[kPathSize];
    int trimmed = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = StartFolderSearch(folder, normalised, &trimmed, &found);
    if (search == INVALID_HANDLE_VALUE) return 1;
    int collected = 1;
    size_t folderLength = strlen(normalised);
    do {
        if (!IsEligibleFile(&found)) continue;
        // A found name has at most 259 characters of at most two bytes each.
        char name[2 * kPathSize];
        if (trimmed || HasTrimmedName(found.cFileName) ||
            !WideToExactAnsi(found.cFileName, name, sizeof name)) {
            leftOut->unusable++;
            continue;
        }
        size_t nameLength = strlen(name);
        if (folderLength + 1 + nameLength > kMaxPathLength) {
            // Cut to fit, the path could name another file, which the run
            // would then rename.
            leftOut->tooLong++;
            continue;
        }
        if (!GrowPathBuffer(paths)) {
            ReportOutOfMemory();
            collected = 0;
            break;
        }
        char path[kPathSize];
        memcpy(path, normalised, folderLength);
        path[folderLength] = '\\';
        memcpy(path + folderLength + 1, name, nameLength + 1);
        char* copy = CopyTextToHeap(path);
        if (!copy) {
            ReportCopyFailure(paths->count, path);
            collected = 0;
            break;
        }
        paths->entries[paths->count++] = copy;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return collected;
}
