// Runs and undos from the real main window, with the journal beside the test program removed before and after.
#pragma once

#include "rename/run_journal.h"
#include "support/tovik_test.h"

const char kWaitCaption[] = "Now Renaming !!";

class RunWindow : public TovikTest {
protected:
    RunWindow()
    {
        JournalPath(journal, sizeof journal);
        DeleteFileA(journal);
        Open();
    }
    ~RunWindow() override { DeleteFileA(journal); }
    void Set(int id, const std::string& text) { SetWindowTextA(Control(id), text.c_str()); }  // a paste, no key
    void Choose(int comboId, int index)
    {
        SendMessageA(Control(comboId), CB_SETCURSEL, (WPARAM)index, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELENDOK), 0);
    }
    void Fill(const Strings& names)
    {
        SendMessageA(Control(IDC_FILE_LIST), LB_RESETCONTENT, 0, 0);
        for (const std::string& name : names) {
            SendMessageA(Control(IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)Path(name).c_str());
        }
    }
    void Command(int id) { SendMessageA(window, WM_COMMAND, id, 0); }
    // The start button over the names; the confirmation answered Yes, then the given answers.
    void Start(int operation, const Strings& names, std::vector<int> more = {})
    {
        Choose(IDC_OPERATION_COMBO, operation);
        Set(IDC_OUTPUT_FOLDER_EDIT, Path("out"));
        Set(IDC_EXTENSION_EDIT, "png");
        Fill(names);
        answers = {IDYES};
        answers.insert(answers.end(), more.begin(), more.end());
        Command(IDC_START);
    }
    void Undo(std::vector<int> given = {IDYES})
    {
        shown.clear();
        answers = given;
        Command(IDC_UNDO_LAST_RUN);
    }
    void Clear()
    {
        RemoveTree(work);
        CreateDirectoryA(work.c_str(), NULL);
        shown.clear();
    }
    char journal[MAX_PATH * 2];
};

// The identity the journal records for the file at path: "volume:index" in hexadecimal, "" when there is none.
std::string IdentityOf(const std::string& path);

// The boxes of the recovery: its warning, then its report of the moves ("from → to"), what it left ("path : reason")
// and the folders it could not reach.
std::vector<Shown> Recovery(HWND owner, const Strings& moves, const Strings& left = {}, const Strings& folders = {});
