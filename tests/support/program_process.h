// Tovik.exe as its own process, seen from outside: started beside a prepared Tovik.ini, its windows found, read and
// answered with messages, then closed or killed.
#pragma once

#include "support/tovik_test.h"

// Waits, up to patience milliseconds, until done() holds; returns whether it did.
bool WaitFor(const std::function<bool()>& done, DWORD patience = 20000);

struct ProgramProcess {
    ~ProgramProcess() { Kill(); }
    // Copies exe (a Unix path is taken on drive Z:) into folder, which may hold any character, beside a Tovik.ini of
    // that text, and starts it.
    bool Start(const std::string& exe, const std::wstring& folder, const std::string& ini);
    // A visible window of the process by class ("TovikClass", a dialog "#32770") and title (any if NULL), waited for.
    HWND Find(const char* className, const char* title = NULL) const;
    // A button's click, as the dialog manager sends it.
    static void Press(HWND window, int id) { PostMessageA(window, WM_COMMAND, id, (LPARAM)GetDlgItem(window, id)); }
    // A control's text, read in UTF-16 across processes.
    static std::string Text(HWND control);
    DWORD Close(DWORD patience = 20000);  // the close box; the exit code, or STILL_ACTIVE
    void Kill();

    PROCESS_INFORMATION info = {};
};
