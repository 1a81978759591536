// The main window as WinMain makes it, without the message loop: the tests
// drive it with messages, and keys go through the loop's own handling
// (dialog navigation first), as the user's keys would.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the main window (hidden) the way WinMain does.
    HWND Open();
    HWND Window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    bool IsOpen() const { return window_ && IsWindow(window_); }

    // Handles every waiting message the way the program's loop does.
    void Pump();
    // A key pressed in target and released, through the loop.
    void PressKey(HWND target, UINT key);
    // The command a control sends to the main window.
    LRESULT Command(int id, WORD code = 0);
    // Picks entry index of a drop-down list with the keys, which the combo
    // confirms at each step (CBN_SELENDOK).
    void Choose(int comboId, int index);

    std::string IniPath() const;
    // The quit code that the window's destruction posted, or -1 for none.
    int TakeQuitCode();

private:
    HWND window_ = NULL;
};

std::string ReadText(HWND window);
