// The program's message loop: the main window's dialog navigation (Tab,
// Enter, Escape) comes first, everything else is translated and dispatched.
#pragma once

#include <windows.h>

// Handles one message as the loop does.
void DeliverLoopMessage(HWND mainWindow, MSG* message);

// Runs until the quit message and returns its code.
int RunMessageLoop(HWND mainWindow);
