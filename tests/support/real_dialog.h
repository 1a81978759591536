// Answers a real modal dialog (a message box, the shell's folder picker) of
// this thread: a thread timer looks for the dialog while its modal loop runs
// and hands it to the test's action once, which reads it and clicks a button.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class RealDialogAnswer {
public:
    explicit RealDialogAnswer(std::function<void(HWND dialog)> action);
    ~RealDialogAnswer();
    RealDialogAnswer(const RealDialogAnswer&) = delete;
    RealDialogAnswer& operator=(const RealDialogAnswer&) = delete;

    bool Answered() const { return answered_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::function<void(HWND)> action_;
    UINT_PTR timer_;
    bool answered_ = false;
};

// The texts of a window's children of one class ("Static", "Button"...).
std::vector<std::string> ChildTexts(HWND window, const char* className);
// The first child of a class, or NULL.
HWND FindChild(HWND window, const char* className);
// Clicks a dialog's button as the user would, through the dialog's loop.
void ClickDialogButton(HWND dialog, int id);
