// What every test under Wine shares: one fixture that installs the program's seams (core/seams.h), a temporary folder
// of real files, and the real main window made as WinMain makes it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/file_modes.h"
#include "core/settings.h"
#include "rename/run_failures.h"
#include "res/main_window_res.h"

typedef std::vector<std::string> Strings;

// A message box as the program showed it; compared whole.
struct Shown {
    HWND owner;
    std::string text;
    std::string title;
    UINT buttons;
    UINT icon;
    bool operator==(const Shown& other) const;
};
void PrintTo(const Shown& shown, std::ostream* out);

class TovikTest : public ::testing::Test {
public:
    TovikTest();
    // Closes the window and checks that the heap holds what it held before the test.
    void TearDown() override;
    std::string Path(const std::string& name) const { return work + "\\" + name; }
    // "name=content" files and "name\\" folders in the test's folder; MakeWide takes any character and keeps a
    // trailing dot or space.
    void Make(const Strings& items);
    void MakeWide(const std::vector<std::wstring>& items);
    // Everything under a folder of the test's (all by default), sorted: "name=content", "name\\" for a folder.
    Strings Contents(const std::string& folder = "") const;
    HWND Open();  // the real main window, hidden
    HWND Control(int id) const { return GetDlgItem(window, id); }
    std::string ControlText(int id) const;
    void Pump();  // delivers every waiting message as the program's loop does
    Strings Entries() const;  // the file list's entries
    void Drop(const Strings& paths, bool wide = true);  // as the shell drops: wide or ANSI
    void DropWide(const std::vector<std::wstring>& paths);

    std::string work;  // the test's folder, removed afterwards
    HWND window = NULL;
    // Answers to questions in order (then `fallback`; OK boxes get OK); every box shown is recorded, and whileShown
    // runs while it is "open".
    std::vector<int> answers;
    int fallback = IDNO;
    std::vector<Shown> shown;
    std::function<void(const Shown&)> whileShown;
    Strings picks;       // folders the picker returns ("" cancels)
    Strings pickedFrom;  // the folder each opened on
    std::vector<DWORD> pauses;
    std::function<void()> duringPause;
    Strings links;  // targets handed to the shell
    int allocationsLeft = -1;  // heap allocations that succeed (-1 for all)
    int heapBlocks = 0;        // used heap blocks at the start
};

// The program's message boxes by what fills them; a failure list (a run's by default) of "path : reason" lines.
Shown Question(HWND owner, const std::string& text, const std::string& title, UINT buttons = MB_YESNO);
Shown Error(HWND owner, const std::string& text, const std::string& title);
Shown Overwrite(HWND owner, const std::string& source, const std::string& newPath);
const char kRunFailureHeader[] = "次のファイルは改名（リネーム）できませんでした。";
Shown FailureList(HWND owner, const Strings& lines, int more = 0, const std::string& header = kRunFailureHeader,
                  const std::string& title = "改名（リネーム）できなかったファイル");
Shown StopSummary(HWND owner, int renamed, int remaining, const Strings& lines = {});  // a run stopped part-way

// "path : reason": the program's own reasons as their texts read, the system's as the system words them on one line.
std::string FailureLine(const std::string& path, DWORD error);

bool WriteFileText(const std::string& path, const std::string& content);
std::string ReadFileText(const std::string& path);  // "<missing>" when absent
bool RemoveTree(const std::string& path);           // long paths too
std::wstring Wide(const std::string& text);
std::string Fold(std::string path);            // A-Z to a-z, as the file system compares names
std::string Narrow(const std::wstring& wide);  // without best fit: "?" for what 932 lacks
// Runs call; meanwhile, every 50 ms, the first visible window of the class this thread shows ("#32770" a message box
// or the folder picker, "#32768" a menu) goes to answer, once. False when none came.
bool WhileShowing(const char* className, const std::function<void(HWND)>& answer, const std::function<void()>& call);
