// The please-wait window (template 107) while a run lasts: a progress bar, a
// line "n / N" with the file at hand, and the stop button "中止". Between
// files the program delivers the messages waiting for its windows, so that
// every window repaints and the program keeps answering.
#pragma once

#include <windows.h>

// Creates the window without owner and shows it at once; the main window
// takes no input meanwhile, as under a modal box, and holds off the end of
// the session while files move. 0 when it cannot be made.
HWND OpenProgressWindow(HWND mainWindow, HINSTANCE instance);

// Gives the main window its input back and destroys the progress window.
void CloseProgressWindow(HWND mainWindow);

// Tells the user, owned by the main window, that the run did not start for
// want of the please-wait window.
void TellProgressWindowMissing(HWND mainWindow);

// The run's hook between files: shows the progress at most about ten times a
// second and delivers waiting messages. 0 once "中止" was pressed or the main
// window was asked to close.
int ProgressBetweenFiles(void* context, int handled, int total, const char* next);

// Says on the progress line that the run is done and how many files it
// renamed, for the pause after a completed run.
void ShowRunDone(int renamed);

// Delivers every message waiting for this thread, the progress window's keys
// through its dialog navigation.
void DeliverWaitingMessages();

// Waits the given time, delivering messages meanwhile.
void WaitAnswering(DWORD milliseconds);
