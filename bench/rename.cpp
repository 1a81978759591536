// How fast a run renames, started from the real main window's start button
// with the journal, the message handling and the progress display on:
// many files renamed in place and many shifted by one (each taking the next
// one's name), each against a bare MoveFileA loop over as many files; one
// 1 GiB file against one empty file. A thread pings the main window
// throughout and the longest time it went unanswered is printed.
// bench/rename.sh makes the folders.
// Usage: rename.exe <bare folder> <run folder> <shift folder> <count> <big file> <empty file>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_clock.h"
#include "core/app_state.h"
#include "core/prompt.h"
#include "ui/run_command.h"
#include "res/main_window_res.h"
#include "ui/main_window.h"

static int g_unexpected;

// The confirmation is answered Yes; nothing else may be asked.
static int AnswerPrompt(HWND, const char* text, const char* title, UINT buttons, UINT)
{
    if (buttons == MB_YESNO && strstr(title, "開始確認")) return IDYES;
    if (g_unexpected++ == 0) fprintf(stderr, "unexpected message: %s\n", text);
    return IDNO;
}

static void NoPause(DWORD) {}

static std::string Numbered(const std::string& folder, const char* prefix, int number)
{
    char name[64];
    snprintf(name, sizeof name, "\\%s%05d.JPG", prefix, number);
    return folder + name;
}

// Seconds of one run from the start button over the paths, with the start
// number given; the longest silence of the main window meanwhile in *silence.
static double TimedRun(HWND window, const std::vector<std::string>& paths, const char* start, double* silence)
{
    AppState* state = GetAppState();
    SetWindowTextA(state->startNumberEdit, start);
    SendMessageA(state->fileList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(state->fileList, LB_INITSTORAGE, paths.size(), paths.size() * 64);
    for (const std::string& path : paths) SendMessageA(state->fileList, LB_ADDSTRING, 0, (LPARAM)path.c_str());
    SendMessageA(state->fileList, WM_SETREDRAW, TRUE, 0);

    std::atomic<bool> running(true), stopped(false);
    double longest = 0;
    std::thread pinger([&] {
        for (DWORD_PTR result; running; Sleep(5)) {
            double sent = Seconds();
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &result);
            longest = std::max(longest, Seconds() - sent);
        }
        stopped = true;
    });
    double began = Seconds();
    SendMessageA(window, WM_COMMAND, IDC_START, 0);
    double seconds = Seconds() - began;
    running = false;
    // The last ping waits for this thread to answer it.
    for (MSG message; !stopped; Sleep(1))
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    pinger.join();
    if (silence) *silence = longest;
    if (SendMessageA(state->fileList, LB_GETCOUNT, 0, 0) != 0 || g_unexpected) {
        fprintf(stderr, "the run did not complete quietly\n");
        exit(1);
    }
    return seconds;
}

// Renames files first to last of the folder from one prefix to another, each
// to its number plus shift (0 or -1, so that no name in use is taken).
static void RenameAll(const std::string& folder, int first, int last, const char* from, const char* to, int shift)
{
    for (int i = first; i <= last; i++) {
        if (!MoveFileA(Numbered(folder, from, i).c_str(), Numbered(folder, to, i + shift).c_str())) {
            fprintf(stderr, "MoveFileA failed on file %d: %lu\n", i, GetLastError());
            exit(1);
        }
    }
}

static double BareLoop(const std::string& folder, int count)
{
    double start = Seconds();
    RenameAll(folder, 1, count, "IMG_", "Sample", 0);
    return Seconds() - start;
}

// Median seconds of a run over one file, renamed back between runs.
static double OneFileRun(HWND window, const std::string& path, int repeats)
{
    std::string renamed = Numbered(path.substr(0, path.rfind('\\')), "Sample", 1);
    std::vector<double> times;
    for (int i = 0; i < repeats; i++) {
        times.push_back(TimedRun(window, {path}, "1", NULL));
        if (!MoveFileA(renamed.c_str(), path.c_str())) {
            fprintf(stderr, "the run did not rename %s\n", path.c_str());
            exit(1);
        }
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int main(int argc, char** argv)
{
    if (argc != 7) {
        fprintf(stderr, "usage: rename.exe <bare folder> <run folder> <shift folder> <count> <big file> <empty file>\n");
        return 2;
    }
    std::string bare = argv[1], run = argv[2], shift = argv[3], big = argv[5], empty = argv[6];
    int count = atoi(argv[4]);
    SetPromptHandler(AnswerPrompt);
    SetPauseHandler(NoPause);
    HWND window = CreateMainWindow(GetModuleHandleA(NULL));
    ShowWindow(window, SW_SHOW);
    SendMessageA(GetAppState()->digitCountCombo, CB_SETCURSEL, 4, 0);  // five digits

    // Best of three rounds for each figure; between rounds the folders are
    // put back as they were, untimed.
    std::vector<std::string> inPlace;
    std::vector<std::string> shifted;
    for (int i = 1; i <= count; i++) {
        inPlace.push_back(Numbered(run, "IMG_", i));
        shifted.push_back(Numbered(shift, "Sample", i));
    }
    double bareSeconds = 1e9;
    double runSeconds = 1e9;
    double shiftSeconds = 1e9;
    double runSilence = 0;
    double shiftSilence = 0;
    for (int round = 0; round < kRounds; round++) {
        bareSeconds = std::min(bareSeconds, BareLoop(bare, count));
        RenameAll(bare, 1, count, "Sample", "IMG_", 0);
        double silence = 0;
        runSeconds = std::min(runSeconds, TimedRun(window, inPlace, "1", &silence));
        runSilence = std::max(runSilence, silence);
        RenameAll(run, 1, count, "Sample", "IMG_", 0);
        shiftSeconds = std::min(shiftSeconds, TimedRun(window, shifted, "2", &silence));
        shiftSilence = std::max(shiftSilence, silence);
        if (GetFileAttributesA(Numbered(shift, "Sample", count + 1).c_str()) == INVALID_FILE_ATTRIBUTES) {
            fprintf(stderr, "the shift did not reach its end\n");
            return 1;
        }
        RenameAll(shift, 2, count + 1, "Sample", "Sample", -1);
    }
    printf("rename %d files in place: run %.2f s, bare MoveFileA loop %.2f s, ratio %.2f (goal <= 1.1)\n", count,
           runSeconds, bareSeconds, runSeconds / bareSeconds);
    printf("longest silence of the main window during those runs: %.0f ms\n", runSilence * 1000);
    printf("shift %d files by one: run %.2f s, bare MoveFileA loop %.2f s, ratio %.2f (goal <= 1.2)\n", count,
           shiftSeconds, bareSeconds, shiftSeconds / bareSeconds);
    printf("longest silence of the main window during those runs: %.0f ms\n", shiftSilence * 1000);

    const int repeats = 21;
    double bigSeconds = 1e9;
    double emptySeconds = 1e9;
    for (int round = 0; round < kRounds; round++) {
        bigSeconds = std::min(bigSeconds, OneFileRun(window, big, repeats));
        emptySeconds = std::min(emptySeconds, OneFileRun(window, empty, repeats));
    }
    printf("rename one 1 GiB file: run %.3f ms, one empty file %.3f ms, ratio %.2f (goal <= 2)\n",
           bigSeconds * 1000, emptySeconds * 1000, bigSeconds / emptySeconds);
    printf("(best of %d rounds each; a one-file figure is the median of %d runs)\n", kRounds, repeats);
    DestroyWindow(window);
    return 0;
}
