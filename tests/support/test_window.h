// Real controls for tests that drive the program's code without its main
// window: a hidden top-level window holding the edits, combo boxes and list
// box that AppState refers to, each created with the main window's
// identifier and style.
#pragma once

#include <windows.h>

#include <string>

class ControlsWindow {
public:
    // Creates the window and its controls and stores their handles, the
    // window and the instance in AppState (the rest of AppState is kept).
    ControlsWindow();
    ~ControlsWindow();
    ControlsWindow(const ControlsWindow&) = delete;
    ControlsWindow& operator=(const ControlsWindow&) = delete;

    HWND Window() const { return window_; }

private:
    HWND window_;
};

// Fills the combo boxes with their entries as the main window does.
void FillCombos();
std::string WindowText(HWND window);
