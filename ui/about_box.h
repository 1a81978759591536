// The about box (template 105): the program's icon, name and version, and two
// labels drawn as links to the project's web page and mail address.
#pragma once

#include <windows.h>

// The box's dialog procedure; the main window runs it modally.
INT_PTR CALLBACK AboutDialogProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

// The window procedure of both link labels while the box is open.
LRESULT CALLBACK LinkLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);

// The underlined font the labels are painted with: made when the box opens,
// deleted when it closes (0 while no box is open).
HFONT GetLinkFont();
