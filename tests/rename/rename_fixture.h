// What the rename tests share: the main window's controls with the naming
// pattern set as the user sets it, folders of real files described as
// "name=content", and the pause after a run recorded instead of slept.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "support/prompt_script.h"
#include "support/temp_folder.h"
#include "support/test_window.h"

typedef std::vector<std::string> Strings;

class RenameTest : public ::testing::Test {
protected:
    RenameTest();
    ~RenameTest() override;

    // Prefix, start-number text, digit-count index (-1 for none), suffix.
    void SetPattern(const char* prefix, const char* start, int digitIndex, const char* suffix);
    // The combos' choices as their handlers store them; the output folder and
    // the replacement extension in AppState and in their edits.
    void SetOperation(int operation, int extensionMode, const std::string& outputFolder = "",
                      const char* replacement = "");
    // Replaces the file list's entries, as a drop does.
    void SetEntries(const Strings& paths);
    Strings ListEntries() const;
    // Called while the pause after a run lasts.
    virtual void DuringPause() {}

    ControlsWindow controls;
    TempFolder folder;
    AppState* state = GetAppState();
    std::vector<DWORD> pauses;

private:
    static void RecordPause(DWORD milliseconds);
};

// Opens a file for reading without sharing, as another program may.
HANDLE HoldOpen(const std::string& path);
// Makes "name=content" files in a folder.
void MakeFiles(const std::string& folder, const Strings& files);
// Everything in a folder, sorted: "name=content" for a file with its name's
// letter case as stored, "name\\" for a folder.
Strings FolderContents(const std::string& folder);
Strings Sorted(Strings items);

// A line of the failure list, with the system's reason for the error.
std::string FailureLine(const std::string& path, DWORD error);
// The failure list for the given lines and the count of the rest.
std::string FailureListText(const Strings& lines, int more = 0);
