// The main window as WinMain makes it, without the message loop: the tests
// drive it with messages, and keys go through the loop's own handling
// (dialog navigation first), as the user's keys would.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
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
    // A key press and release delivered to target through the loop.
    void PressKey(HWND target, UINT key);
    // Types text (one-byte characters) into target through the loop.
    void Type(HWND target, const char* text);
    // The command a control sends to the main window.
    LRESULT Command(int id, WORD code = 0);
    // Picks entry index of a combo box the way the user does (which the combo
    // confirms with CBN_SELENDOK).
    void Choose(int comboId, int index);

    std::string IniPath() const;
    // The quit code that the window's destruction posted, or -1 for none.
    int TakeQuitCode();

private:
    HWND window_ = NULL;
};

// Runs the about box modally from the main window's help button. As soon as
// the box is up, scenario runs inside its modal loop with the box's handle;
// the scenario must end the box (by a message or a key). Returns false when
// the box never appeared or had to be closed by force.
bool RunAboutBox(HWND mainWindow, const std::function<void(HWND box)>& scenario);

// A key press and release delivered to target through a modal dialog's own
// loop: posted, so that the loop that is running handles them.
void PostKey(HWND target, UINT key);

std::string ReadText(HWND window);
