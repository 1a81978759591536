#include "rename/output_folder.h"

#include <windows.h>

#include <string.h>

#include "core/mbcs_text.h"

// Whether a name of the path ends in a dot or a space ("." and ".." aside):
// the system drops them, so "memo." would name the folder "memo".
static int HasTrimmedName(const char* path)
{
    const char* name = path;
    for (const char* p = path;; p++) {
        if (*p == '\\' || *p == '/' || *p == 0) {
            size_t length = (size_t)(p - name);
            int dots = strspn(name, ".") == length && length <= 2;
            if (length > 0 && !dots && (p[-1] == '.' || p[-1] == ' ')) return 1;
            if (*p == 0) return 0;
            name = p + 1;
        }
    }
}

int ResolveOutputFolder(const char* folder, char* full, size_t size)
{
    // A pattern would name whichever folder matches first.
    if (!folder[0] || strpbrk(folder, "*?") || HasTrimmedName(folder)) return 0;
    char absolute[MAX_PATH];
    DWORD length = GetFullPathNameA(folder, sizeof absolute, absolute, NULL);
    if (length == 0 || length >= sizeof absolute) return 0;
    // "E:/out", "E:\out\." and a short name all become the one long path.
    char resolved[MAX_PATH];
    length = GetLongPathNameA(absolute, resolved, sizeof resolved);
    if (length == 0 || length >= sizeof resolved) return 0;
    DWORD attributes = GetFileAttributesA(resolved);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    // A drive root keeps its backslash: "E:" alone is the drive's current folder.
    if (!(strlen(resolved) == 3 && resolved[1] == ':')) RemoveTrailingBackslash(resolved);
    if (strlen(resolved) + 1 > size) return 0;
    memcpy(full, resolved, strlen(resolved) + 1);
    return 1;
}
