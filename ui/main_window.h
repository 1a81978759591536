// The main window: template 101 of the program's own class TovikClass, its
// controls, the enabling that follows the file operation, and the dispatch
// of its messages and commands.
#pragma once

#include <windows.h>

// Registers TovikClass. 1, or 0 after telling the user.
int RegisterMainClass(HINSTANCE instance);

// Everything WinMain does before showing the window: registers the class and
// creates the main window from template 101, hidden, without owner. A failed
// registration is told and then makes the creation fail as well; a window
// that cannot be created is told too, and the result is then 0.
HWND CreateMainWindow(HINSTANCE instance);

// The class's window procedure: receives every message of the main window
// and gives what it does not handle to DefWindowProcA.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Stores the controls in AppState, subclasses the edits and the list, fills
// the combo boxes and shows AppState's naming settings.
void InitMainControls(HWND window);

// Takes the operation combo's selection as the file operation and enables
// the settings controls that it uses; resets the extension combo to fit.
void ApplyOperationMode();
