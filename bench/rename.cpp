// How fast a run renames: RunRename over many files in place (RenameOnly)
// against a bare MoveFileA loop over as many files, and RunRename over one
// 1 GiB file against one empty file. bench/rename.sh makes the folders.
// Usage: rename.exe <bare folder> <run folder> <count> <big file> <empty file>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "core/app_state.h"
#include "core/prompt.h"
#include "rename/rename_run.h"

static int g_prompts;

static int CountPrompt(HWND, const char* text, const char*, UINT, UINT)
{
    if (g_prompts++ == 0) fprintf(stderr, "unexpected message: %s\n", text);
    return IDNO;
}

static HWND MakeControl(HWND parent, const char* className, int id, DWORD style)
{
    return CreateWindowExA(0, className, "", WS_CHILD | style, 0, 0, 100, 20, parent,
                           (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
}

// The controls the run reads, in a hidden window, as the main window has them.
static void MakeControls()
{
    AppState* state = GetAppState();
    HINSTANCE instance = GetModuleHandleA(NULL);
    state->instance = instance;
    state->mainWindow = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                        NULL, NULL, instance, NULL);
    state->fileList = MakeControl(state->mainWindow, "LISTBOX", 1003, LBS_MULTIPLESEL | LBS_NOTIFY);
    state->prefixEdit = MakeControl(state->mainWindow, "EDIT", 1013, ES_AUTOHSCROLL);
    state->digitCountCombo = MakeControl(state->mainWindow, "COMBOBOX", 1014, CBS_DROPDOWNLIST);
    state->startNumberEdit = MakeControl(state->mainWindow, "EDIT", 1015, ES_AUTOHSCROLL);
    state->suffixEdit = MakeControl(state->mainWindow, "EDIT", 1018, ES_AUTOHSCROLL);
    const char* digits[] = {"１桁", "２桁", "３桁", "４桁", "５桁", "６桁", "７桁", "８桁"};
    for (const char* text : digits) SendMessageA(state->digitCountCombo, CB_ADDSTRING, 0, (LPARAM)text);
    SetWindowTextA(state->prefixEdit, "Sample");
    SetWindowTextA(state->suffixEdit, "");
    SetWindowTextA(state->startNumberEdit, "1");
    SendMessageA(state->digitCountCombo, CB_SETCURSEL, 4, 0);  // five digits
    state->fileOperation = RenameOnly;
    state->extensionMode = Keep;
}

static void FillList(const std::vector<std::string>& paths)
{
    HWND list = GetAppState()->fileList;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_INITSTORAGE, paths.size(), paths.size() * 64);
    for (const std::string& path : paths) SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)path.c_str());
}

static std::string Numbered(const std::string& folder, const char* prefix, int number)
{
    char name[64];
    snprintf(name, sizeof name, "\\%s%05d.JPG", prefix, number);
    return folder + name;
}

// Median seconds of RunRename over one file, renamed back between runs.
static double OneFileRun(const std::string& path, int repeats)
{
    std::string folder = path.substr(0, path.rfind('\\'));
    std::string renamed = Numbered(folder, "Sample", 1);
    std::vector<double> times;
    for (int i = 0; i < repeats; i++) {
        FillList({path});
        double start = Seconds();
        int completed = RunRename();
        times.push_back(Seconds() - start);
        if (!completed || !MoveFileA(renamed.c_str(), path.c_str())) {
            fprintf(stderr, "the run did not rename %s\n", path.c_str());
            exit(1);
        }
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int main(int argc, char** argv)
{
    if (argc != 6) {
        fprintf(stderr, "usage: rename.exe <bare folder> <run folder> <count> <big file> <empty file>\n");
        return 2;
    }
    std::string bare = argv[1], run = argv[2], big = argv[4], empty = argv[5];
    int count = atoi(argv[3]);
    MakeControls();
    SetPromptHandler(CountPrompt);

    // The bare baseline: one MoveFileA per file, to names not taken yet.
    double start = Seconds();
    for (int i = 1; i <= count; i++) {
        if (!MoveFileA(Numbered(bare, "IMG_", i).c_str(), Numbered(bare, "Sample", i).c_str())) {
            fprintf(stderr, "MoveFileA failed on file %d: %lu\n", i, GetLastError());
            return 1;
        }
    }
    double bareSeconds = Seconds() - start;

    std::vector<std::string> paths;
    for (int i = 1; i <= count; i++) paths.push_back(Numbered(run, "IMG_", i));
    FillList(paths);
    start = Seconds();
    int completed = RunRename();
    double runSeconds = Seconds() - start;
    for (int i = 1; i <= count; i++) {
        if (GetFileAttributesA(Numbered(run, "Sample", i).c_str()) == INVALID_FILE_ATTRIBUTES) {
            fprintf(stderr, "RunRename left file %d unrenamed\n", i);
            return 1;
        }
    }
    if (!completed || g_prompts) {
        fprintf(stderr, "the run did not complete quietly\n");
        return 1;
    }
    printf("rename %d files in place: RunRename %.2f s, bare MoveFileA loop %.2f s, ratio %.2f (goal <= 1.5)\n",
           count, runSeconds, bareSeconds, runSeconds / bareSeconds);

    const int repeats = 21;
    double bigSeconds = OneFileRun(big, repeats);
    double emptySeconds = OneFileRun(empty, repeats);
    printf("rename one 1 GiB file: RunRename %.3f ms, one empty file %.3f ms, ratio %.2f (goal <= 2)\n",
           bigSeconds * 1000, emptySeconds * 1000, bigSeconds / emptySeconds);
    return 0;
}
