// A real window for the file list's tests: list box 1003 with the main
// window's styles, the start button 1019 and the list buttons 1005-1010, the
// list's procedure replaced by FileListProc, drops accepted and PathBuffer
// created, as the main window does. Its procedure hands the list commands,
// command 1022 and WM_DROPFILES to the program's handlers and records what
// each context menu showed.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// A context menu as it was shown: each item's command and whether it was grayed.
typedef std::vector<std::pair<UINT, bool>> SeenMenu;

// Stores the window, the list and the instance in AppState while alive.
class FileListWindow {
public:
    FileListWindow();
    ~FileListWindow();
    FileListWindow(const FileListWindow&) = delete;
    FileListWindow& operator=(const FileListWindow&) = delete;

    HWND Window() const { return window_; }
    HWND List() const { return list_; }
    // The enabled ones of 1019, 1010, 1007, 1005, 1006, 1008, 1009, in that order.
    std::vector<int> EnabledButtons() const;
    void SetAllButtons(BOOL enabled);
    // Drops the paths on the window through a real drop handle, ANSI or wide.
    void Drop(const std::vector<std::string>& paths);
    void Drop(const std::vector<std::wstring>& paths);

    // The next context menu chooses the item with this command by the keyboard;
    // by default a menu is closed without a choice.
    void ChooseFromNextMenu(UINT id) { choose_ = id; }
    const std::vector<SeenMenu>& Menus() const { return menus_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnEnterMenuIdle(HWND menuWindow);

    HWND window_;
    HWND list_;
    HFONT font_;
    UINT choose_ = 0;
    std::vector<SeenMenu> menus_;
};

// Entries of a list box, top to bottom.
std::vector<std::string> ListTexts(HWND list);
// Positions of the selected entries, ascending.
std::vector<int> SelectedPositions(HWND list);
// Replaces the list's entries and selects those at the given positions.
void FillList(HWND list, const std::vector<std::string>& texts, const std::vector<int>& selected = {});
