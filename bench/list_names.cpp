// The new-name column with 100,000 entries listed: one key typed into the
// prefix, until the preview and the visible rows are up to date, against
// composing the 100,000 new names and keeping them in memory, in the same
// run.
// Usage: list_names.exe <folder of folders> <folders> <files in each>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench/bench_clock.h"
#include "core/app_state.h"
#include "filelist/file_list.h"
#include "rename/name_compose.h"
#include "ui/main_window.h"
#include "ui/name_inputs.h"



// The baseline: every new name composed and kept, each in a block of its own.
static double ComposeAll(char* const* paths, int count)
{
    NamePattern pattern;
    NameInputTexts texts;
    ReadNamePattern(&pattern, &texts);
    char** names = (char**)malloc((size_t)count * sizeof *names);
    char newPath[kNewPathSize];
    double start = Seconds();
    for (int i = 0; i < count; i++) {
        ComposeNewName(&pattern, paths[i], i, newPath, sizeof newPath);
        names[i] = strdup(newPath);
    }
    double time = Seconds() - start;
    for (int i = 0; i < count; i++) free(names[i]);
    free(names);
    return time;
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: list_names.exe <folder of folders> <folders> <files in each>\n");
        return 2;
    }
    int folders = atoi(argv[2]);
    int each = atoi(argv[3]);
    int count = folders * each;
    char** paths = (char**)malloc((size_t)count * sizeof *paths);
    for (int f = 0; f < folders; f++) {
        for (int i = 0; i < each; i++) {
            char path[MAX_PATH];
            snprintf(path, sizeof path, "%s\\%03d\\IMG_%d.jpg", argv[1], f, i);
            paths[f * each + i] = strdup(path);
        }
    }
    HWND window = CreateMainWindow(GetModuleHandleA(NULL));
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    AppState* state = GetAppState();
    AppendListPaths(paths, count);
    UpdateWindow(state->fileList);
    if ((int)SendMessageA(state->fileList, LB_GETCOUNT, 0, 0) != count) {
        fprintf(stderr, "list_names: the list took fewer than %d entries\n", count);
        return 1;
    }

    double bare[kRounds], typed[kRounds];
    for (int round = 0; round < kRounds; round++) {
        bare[round] = ComposeAll(paths, count);
        SendMessageA(state->prefixEdit, EM_SETSEL, 0, -1);
        double start = Seconds();
        SendMessageA(state->prefixEdit, EM_REPLACESEL, FALSE, (LPARAM)(round % 2 ? "旅行_" : "写真_"));
        UpdateWindow(state->fileList);
        typed[round] = Seconds() - start;
    }
    char first[512] = "";
    SendMessageA(state->fileList, LB_GETTEXT, 0, (LPARAM)first);
    printf("entries listed: %d (%d folders of %d files; first %s)\n", count, folders, each, first);
    printf("bare ComposeNewName of every entry, each kept: %8.4f s\n", Best(bare));
    printf("one key typed into the prefix, preview and visible rows drawn: %8.4f s  ratio %5.2f (goal <= 1.5)\n",
           Best(typed), Best(typed) / Best(bare));
    printf("(best of %d rounds each)\n", kRounds);
    DestroyWindow(window);
    for (int i = 0; i < count; i++) free(paths[i]);
    free(paths);
    return 0;
}
