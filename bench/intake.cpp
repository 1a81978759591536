// Intake of one big folder: the folder command and a drop of the folder
// answered Yes, each against a bare FindFirstFileA/FindNextFileA walk plus
// sort of the same folder in the same run; and FitListExtent over every
// entry against reading every entry with LB_GETTEXT.
// Usage: intake.exe <folder> [expected file count]
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench/bench_clock.h"
#include "core/app_state.h"
#include "core/mbcs_text.h"
#include "core/prompt.h"
#include "filelist/file_list.h"
#include "filelist/intake.h"
#include "filelist/path_buffer.h"

static char g_folder[MAX_PATH];

static int ComparePointers(const void* a, const void* b)
{
    return CompareNoCase(*(char* const*)a, *(char* const*)b);
}

// The baseline: every entry's full path copied, then sorted. Returns the
// number of files.
static int BareWalkAndSort(const char* folder)
{
    char pattern[MAX_PATH + 8];
    snprintf(pattern, sizeof pattern, "%s\\*.*", folder);
    int capacity = 1024, count = 0;
    char** paths = (char**)malloc((size_t)capacity * sizeof(char*));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            if (count == capacity) {
                capacity *= 2;
                paths = (char**)realloc(paths, (size_t)capacity * sizeof(char*));
            }
            char path[MAX_PATH * 2];
            snprintf(path, sizeof path, "%s\\%s", folder, found.cFileName);
            paths[count++] = strdup(path);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    qsort(paths, (size_t)count, sizeof *paths, ComparePointers);
    for (int i = 0; i < count; i++) free(paths[i]);
    free(paths);
    return count;
}

static int AnswerYes(HWND, const char*, const char*, UINT, UINT)
{
    return IDYES;
}

static int PickTheFolder(HWND, char* path, const char*)
{
    strcpy(path, g_folder);
    return 1;
}

// The shell's DROPFILES header (shlobj.h, whose names clash with the
// program's): the offset of the paths, the drop point, two flags.
struct DropHeader {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};

// A drop handle of one ANSI path, as the shell makes it.
static HDROP DropOf(const char* path)
{
    size_t length = strlen(path);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DropHeader) + length + 2);
    DropHeader* header = (DropHeader*)GlobalLock(block);
    header->pFiles = sizeof(DropHeader);
    memcpy((char*)header + sizeof(DropHeader), path, length + 1);
    GlobalUnlock(block);
    return (HDROP)block;
}

static void ReadEveryEntry(HWND list)
{
    char text[4096];
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
}


int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: intake.exe <folder> [expected file count]\n");
        return 2;
    }
    snprintf(g_folder, sizeof g_folder, "%s", argv[1]);
    int expected = argc > 2 ? atoi(argv[2]) : 0;

    // The list as the main window has it: visible, with the template's styles.
    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "TovikIntakeBench";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "TovikIntakeBench", "intake", WS_POPUP | WS_VISIBLE, 0, 0, 440,
                                  300, NULL, NULL, instance, NULL);
    HWND list = CreateWindowExA(0, "LISTBOX", "",
                                WS_CHILD | WS_VISIBLE | LBS_MULTIPLESEL | LBS_NOTIFY |
                                    LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER |
                                    WS_TABSTOP,
                                12, 28, 294, 182, window, (HMENU)(INT_PTR)1003, instance, NULL);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             "ＭＳ Ｐゴシック");
    SendMessageA(list, WM_SETFONT, (WPARAM)font, FALSE);
    AppState* state = GetAppState();
    state->mainWindow = window;
    state->fileList = list;
    state->instance = instance;
    CreatePathBuffer();
    SetPromptHandler(AnswerYes);
    SetFolderPicker(PickTheFolder);

    int files = BareWalkAndSort(g_folder);  // warms the folder's cache
    if (files <= 0 || (expected && files != expected)) {
        fprintf(stderr, "intake: %s holds %d files, expected %d\n", g_folder, files, expected);
        return 1;
    }

    double walk[kRounds], picked[kRounds], dropped[kRounds], fit[kRounds], read[kRounds];
    for (int round = 0; round < kRounds; round++) {
        double start = Seconds();
        BareWalkAndSort(g_folder);
        walk[round] = Seconds() - start;

        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        start = Seconds();
        AddPickedFolder();
        picked[round] = Seconds() - start;
        int afterPick = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);

        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        HDROP drop = DropOf(g_folder);
        start = Seconds();
        AddDroppedFiles(drop);
        dropped[round] = Seconds() - start;
        int afterDrop = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
        if (afterPick != files || afterDrop != files) {
            fprintf(stderr, "intake: %d files, the folder command took %d, the drop %d\n", files,
                    afterPick, afterDrop);
            return 1;
        }

        start = Seconds();
        FitListExtent(list);
        fit[round] = Seconds() - start;
        start = Seconds();
        ReadEveryEntry(list);
        read[round] = Seconds() - start;
    }

    double bareWalk = Best(walk), bareRead = Best(read);
    printf("files in the folder:                         %d\n", files);
    printf("bare FindFirstFileA/FindNextFileA walk+sort: %8.3f s\n", bareWalk);
    printf("folder command (1022):                       %8.3f s  ratio %5.2f (goal <= 1.5)\n",
           Best(picked), Best(picked) / bareWalk);
    printf("dropped folder answered Yes:                 %8.3f s  ratio %5.2f (goal <= 1.5)\n",
           Best(dropped), Best(dropped) / bareWalk);
    printf("bare LB_GETTEXT of every entry:              %8.3f s\n", bareRead);
    printf("FitListExtent over every entry:              %8.3f s  ratio %5.2f\n", Best(fit),
           Best(fit) / bareRead);
    printf("(best of %d rounds each; the drop includes its FitListExtent)\n", kRounds);

    SetFolderPicker(0);
    SetPromptHandler(0);
    ReleasePathBuffer();
    DestroyWindow(window);
    DeleteObject(font);
    return 0;
}
