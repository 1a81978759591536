// The sort by name with 100,000 entries listed: the command as the list's
// menu sends it, reading the entries from the list and putting them back,
// against a bare stable sort of the same strings' wide forms with the same
// comparison, StrCmpLogicalW, in the same run.
// Usage: sort.exe [entries]
#include <windows.h>

#include <shlwapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "bench/bench_clock.h"
#include "core/app_state.h"
#include "filelist/file_list.h"
#include "res/file_list_menu_res.h"
#include "ui/main_window.h"



// The baseline: every path made wide, then an index array sorted.
static double BareSort(char* const* paths, int count, char* first, size_t size)
{
    double start = Seconds();
    wchar_t** wide = (wchar_t**)malloc((size_t)count * sizeof *wide);
    int* order = (int*)malloc((size_t)count * sizeof *order);
    for (int i = 0; i < count; i++) {
        wchar_t text[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, paths[i], -1, text, MAX_PATH);
        wide[i] = _wcsdup(text);
        order[i] = i;
    }
    std::stable_sort(order, order + count, [wide](int a, int b) { return StrCmpLogicalW(wide[a], wide[b]) < 0; });
    double time = Seconds() - start;
    snprintf(first, size, "%s", paths[order[0]]);
    for (int i = 0; i < count; i++) free(wide[i]);
    free(wide);
    free(order);
    return time;
}

int main(int argc, char** argv)
{
    int count = argc > 1 ? atoi(argv[1]) : 100000;
    if (count < 2) return 2;
    // Camera names in a scrambled order, spread over ten folders.
    char** paths = (char**)malloc((size_t)count * sizeof *paths);
    for (int i = 0; i < count; i++) {
        int number = (int)((i * 7919LL) % count);
        char path[MAX_PATH];
        snprintf(path, sizeof path, "C:\\DCIM\\%03dCANON\\IMG_%d.JPG", 100 + number % 10, number);
        paths[i] = strdup(path);
    }
    HWND window = CreateMainWindow(GetModuleHandleA(NULL));
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    AppState* state = GetAppState();

    double bare[kRounds], command[kRounds];
    char bareFirst[MAX_PATH] = "", sortedFirst[MAX_PATH] = "";
    for (int round = 0; round < kRounds; round++) {
        bare[round] = BareSort(paths, count, bareFirst, sizeof bareFirst);
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        AppendListPaths(paths, count);
        if ((int)SendMessageA(state->fileList, LB_GETCOUNT, 0, 0) != count) {
            fprintf(stderr, "sort: the list took fewer than %d entries\n", count);
            return 1;
        }
        double start = Seconds();
        SendMessageA(window, WM_COMMAND, IDC_SORT_BY_NAME, 0);
        command[round] = Seconds() - start;
        SendMessageA(state->fileList, LB_GETTEXT, 0, (LPARAM)sortedFirst);
    }
    if (strcmp(bareFirst, sortedFirst) != 0) {
        fprintf(stderr, "sort: the command put %s first, the bare sort %s\n", sortedFirst, bareFirst);
        return 1;
    }
    printf("entries listed: %d (first after sorting: %s)\n", count, sortedFirst);
    printf("bare stable sort, StrCmpLogicalW on wide forms:     %8.4f s\n", Best(bare));
    printf("sort by name (1031), read from and put back in the list: %8.4f s  ratio %5.2f (goal <= 1.5)\n",
           Best(command), Best(command) / Best(bare));
    printf("(best of %d rounds each)\n", kRounds);
    DestroyWindow(window);
    for (int i = 0; i < count; i++) free(paths[i]);
    free(paths);
    return 0;
}
