#include "filelist/folder_files.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/mbcs_text.h"
#include "core/prompt.h"
#include "filelist/list_memory.h"

int PathExists(const char* path, PathKind kind)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    int isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return kind == Directory ? isDirectory : !isDirectory;
}

static int ComparePathPointers(const void* a, const void* b)
{
    return CompareNoCase(*(char* const*)a, *(char* const*)b);
}

void SortPaths(char** paths, int count)
{
    if (count > 1) qsort(paths, (size_t)count, sizeof *paths, ComparePathPointers);
}

// Starts the search of a folder's entries: normalised gets the folder path
// without a final backslash character (a trail byte 0x5C of a double-byte
// character stays), and the pattern is "%s\*.*". INVALID_HANDLE_VALUE when
// nothing is found or the folder is no path the list could hold.
static HANDLE StartFolderSearch(const char* folder, char* normalised, WIN32_FIND_DATAA* found)
{
    if (strlen(folder) > kMaxPathLength) return INVALID_HANDLE_VALUE;
    strcpy(normalised, folder);
    RemoveTrailingBackslash(normalised);
    char pattern[kPathSize + 8];
    snprintf(pattern, sizeof pattern, "%s\\*.*", normalised);
    return FindFirstFileA(pattern, found);
}

static int IsEligibleFile(const WIN32_FIND_DATAA* found)
{
    const char* name = found->cFileName;
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) return 0;
    if (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    // A found name holds no separator, so the split of the name alone gives
    // the extension of the full path.
    PathParts parts;
    SplitPath(name, &parts);
    return parts.extension[0] != 0;
}

void CountFolderFiles(const char* folder, int* count)
{
    char normalised[kPathSize];
    WIN32_FIND_DATAA found;
    HANDLE search = StartFolderSearch(folder, normalised, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (IsEligibleFile(&found)) (*count)++;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

static void ReportCopyFailure(int stored, const char* path)
{
    char text[128 + kPathSize];
    snprintf(text, sizeof text, "メモリーの確保に失敗しました(%d) %s", stored, path);
    Prompt(GetActiveWindow(), text, "システムエラー", MB_OK, 0);
}

void CollectFolderFiles(const char* folder, char** paths, int capacity, int* count, int* leftOut)
{
    char normalised[kPathSize];
    WIN32_FIND_DATAA found;
    HANDLE search = StartFolderSearch(folder, normalised, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    size_t folderLength = strlen(normalised);
    do {
        if (!IsEligibleFile(&found)) continue;
        size_t nameLength = strlen(found.cFileName);
        if (folderLength + 1 + nameLength > kMaxPathLength) {
            // Cut to fit, the path could name another file, which the run
            // would then rename.
            (*leftOut)++;
            continue;
        }
        if (*count >= capacity) break;
        char path[kPathSize];
        memcpy(path, normalised, folderLength);
        path[folderLength] = '\\';
        memcpy(path + folderLength + 1, found.cFileName, nameLength + 1);
        char* copy = CopyListText(path);
        if (!copy) {
            ReportCopyFailure(*count, path);
            break;
        }
        paths[(*count)++] = copy;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
