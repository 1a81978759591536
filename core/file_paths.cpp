#include "core/file_paths.h"

#include <windows.h>

#include <stdlib.h>
#include <wchar.h>

#include "core/mbcs_text.h"

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

int WideToExactAnsi(const wchar_t* wide, char* text, size_t size)
{
    BOOL usedDefault = FALSE;
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, text, (int)size, NULL,
                            &usedDefault) <= 0 ||
        usedDefault) {
        return 0;
    }
    wchar_t back[kPathSize];
    return MultiByteToWideChar(CP_ACP, 0, text, -1, back, kPathSize) > 0 && wcscmp(back, wide) == 0;
}

int HasTrimmedName(const wchar_t* path)
{
    for (const wchar_t* p = path; *p; p++) {
        if ((*p == L'.' || *p == L' ') && (p[1] == 0 || p[1] == L'\\' || p[1] == L'/')) return 1;
    }
    return 0;
}
