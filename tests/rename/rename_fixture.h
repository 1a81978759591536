// What the rename tests share: the main window's controls, a fresh folder of
// real files, the naming pattern set as the user would set it, and the pause
// after a run recorded instead of slept.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "support/temp_folder.h"
#include "support/test_window.h"

// Records each pause the run asks for while alive; the real pause is back
// afterwards.
class PauseRecorder {
public:
    PauseRecorder();
    ~PauseRecorder();
    PauseRecorder(const PauseRecorder&) = delete;
    PauseRecorder& operator=(const PauseRecorder&) = delete;

    const std::vector<DWORD>& Pauses() const { return pauses_; }
    // Called while the pause lasts, with the please-wait window still up.
    void (*during)(void* context) = nullptr;
    void* context = nullptr;

private:
    static void Handle(DWORD milliseconds);
    std::vector<DWORD> pauses_;
};

class RenameTest : public ::testing::Test {
protected:
    RenameTest();

    // The pattern in the controls: prefix, start-number text, digit-count
    // index (-1 for none) and suffix.
    void SetPattern(const char* prefix, const char* start, int digitIndex, const char* suffix);
    // The operation and extension mode as the combos' handlers store them,
    // the output folder (AppState and edit) and the replacement extension
    // (AppState and edit).
    void SetOperation(int operation, int extensionMode, const std::string& outputFolder = "",
                      const char* replacement = "");
    // Appends entries to the file list, as a drop does.
    void AddEntries(const std::vector<std::string>& paths);
    std::vector<std::string> ListEntries() const;

    // A file in the test folder (or a subfolder path relative to it), made
    // with the given content; returns its full path.
    std::string MakeFile(const std::string& name, const std::string& content);
    std::string MakeFolder(const std::string& name);
    std::string PathOf(const std::string& name) const { return folder / name; }
    // The names in a folder of the test folder ("" for the folder itself),
    // sorted, with their letter case as stored; folders end with "\\".
    std::vector<std::string> Names(const std::string& subfolder = "") const;

    ControlsWindow controls;
    TempFolder folder;
    AppState* state = GetAppState();
};

// The names in a folder, sorted, with their letter case as stored; folders
// end with "\\".
std::vector<std::string> FolderNames(const std::string& path);

// The system's one-line reason for an error code, as the failure list shows it.
std::string ReasonText(DWORD error);
// The failure list's text for the given "path : reason" lines and count.
std::string FailureListText(const std::vector<std::string>& lines, int more = 0);
std::string FailureLine(const std::string& path, DWORD error);
