// A real window for the file list's tests: list box 1003 with the main
// window's styles, the list buttons 1005-1010, the start button 1019 and the
// folder button 1022 as real buttons, the list's procedure replaced by
// FileListProc, drops accepted and PathBuffer created, as the main window
// does. Its procedure hands the list commands, command 1022 and WM_DROPFILES
// to the program's handlers and watches the list's context menu.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What one context menu showed while it was open.
struct SeenMenu {
    std::vector<std::string> texts;  // the items' texts, in order
    std::vector<UINT> ids;           // their command identifiers
    std::vector<bool> grayed;        // whether each was grayed
    RECT rect;                       // the pop-up's screen rectangle
};

class FileListWindow {
public:
    // Stores the window, the list and the instance in AppState.
    FileListWindow();
    // Puts the list's procedure back, releases PathBuffer, destroys the
    // window and clears what it stored in AppState.
    ~FileListWindow();
    FileListWindow(const FileListWindow&) = delete;
    FileListWindow& operator=(const FileListWindow&) = delete;

    HWND Window() const { return window_; }
    HWND List() const { return list_; }
    bool Enabled(int id) const;
    // Enables every list button and the start button, so that a test sees
    // whether something brought them back in line.
    void EnableAllButtons();

    // The next context menu chooses the item with this identifier by the
    // keyboard (down arrow to it, then Enter); by default a menu is closed
    // without a choice.
    void ChooseFromNextMenu(UINT id) { choose_ = id; }
    const std::vector<SeenMenu>& Menus() const { return menus_; }
    // The commands the window received, in order.
    const std::vector<int>& Commands() const { return commands_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitMenuPopup(HMENU menu);
    void OnEnterMenuIdle(HWND menuWindow);

    HWND window_;
    HWND list_;
    HFONT font_;
    UINT choose_ = 0;
    std::vector<SeenMenu> menus_;
    std::vector<int> commands_;
};

// Entries of a list box, top to bottom.
std::vector<std::string> ListTexts(HWND list);
// Positions of the selected entries, ascending.
std::vector<int> SelectedPositions(HWND list);
// Replaces the list's entries.
void FillList(HWND list, const std::vector<std::string>& texts);
