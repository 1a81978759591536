// What every test under Wine shares: one fixture that installs the program's
// seams (message boxes, the folder picker, the shell, the pause after a run,
// the list's allocations), a temporary folder of real files, and the real
// main window made as WinMain makes it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

typedef std::vector<std::string> Strings;

// A message box as the program showed it; compared whole.
struct Shown {
    HWND owner;
    std::string text, title;
    UINT buttons, icon;
    bool operator==(const Shown& other) const;
};
void PrintTo(const Shown& shown, std::ostream* out);

class TovikTest : public ::testing::Test {
public:
    TovikTest();
    ~TovikTest() override;

    // A path in the test's folder.
    std::string Path(const std::string& name) const { return work + "\\" + name; }
    // Makes "name=content" files and "name\\" folders in the test's folder.
    // Names are code page 932; MakeWide takes UTF-16 names (any character,
    // a trailing dot or space kept).
    void Make(const Strings& items);
    void MakeWide(const std::vector<std::wstring>& items);
    // Everything under a folder of the test's (all of it by default), sorted:
    // "name=content" for a file, "name\\" for a folder, subfolders walked.
    Strings Contents(const std::string& folder = "") const;

    // The real main window, created as WinMain creates it (hidden).
    HWND Open();
    HWND Control(int id) const { return GetDlgItem(window, id); }
    std::string ControlText(int id) const;
    // Delivers every waiting message as the program's loop does.
    void Pump();
    // The list box's entries, top to bottom.
    Strings Entries() const;
    // Drops the paths on the main window as the shell does: wide or ANSI.
    void Drop(const Strings& paths, bool wide = true);
    void DropWide(const std::vector<std::wstring>& paths);  // any character

    std::string work;  // the test's folder, removed afterwards
    HWND window = NULL;
    // Answers to questions, in order; OK boxes are answered OK, questions
    // beyond the list get `fallback`. Every box shown is recorded.
    std::vector<int> answers;
    int fallback = IDNO;
    std::vector<Shown> shown;
    std::function<void(const Shown&)> whileShown;  // runs while a box is "open"
    // Folders the picker returns in order ("" or none left: cancelled), and
    // the folder each pick opened on.
    Strings picks, pickedFrom;
    std::vector<DWORD> pauses;
    std::function<void()> duringPause;
    Strings links;            // targets handed to the shell
    int allocationsLeft = -1;  // list allocations that succeed; -1 for all
};

// The expected message boxes of the program, by what fills their texts.
Shown Question(HWND owner, const std::string& text, const std::string& title, UINT buttons = MB_YESNO);
Shown Error(HWND owner, const std::string& text, const std::string& title);
Shown Overwrite(HWND owner, const std::string& source, const std::string& newPath);
// The failure list for "path : reason" lines ([FailureLine]) and a count of
// the rest.
Shown FailureList(HWND owner, const Strings& lines, int more = 0);
std::string FailureLine(const std::string& path, DWORD error);

bool WriteFileText(const std::string& path, const std::string& content);
std::string ReadFileText(const std::string& path);  // "<missing>" when absent
// Removes a folder with all it holds (long paths too).
bool RemoveTree(const std::string& path);
std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& wide);  // without best fit: "?" for what 932 lacks
// Runs call; meanwhile, every 50 ms, the first visible window of the class
// that this thread shows ("#32770" a message box or the folder picker,
// "#32768" a menu) goes to answer, once. False when none came.
bool WhileShowing(const char* className, const std::function<void(HWND)>& answer,
                  const std::function<void()>& call);
