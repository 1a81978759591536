// The program's one state record: control handles, the window procedures
// that subclassing replaced, the settings and the choices the user makes.
#pragma once

#include <windows.h>

#include "core/file_modes.h"
#include "core/settings.h"

struct AppState {
    WNDPROC prefixEditProc;
    WNDPROC suffixEditProc;
    WNDPROC startNumberEditProc;
    WNDPROC fileListProc;
    HWND mainWindow;
    HINSTANCE instance;
    HWND fileList;
    HWND startNumberEdit;
    HWND digitCountCombo;
    HWND operationCombo;
    HWND extensionCombo;
    HWND extensionEdit;
    HWND browseButton;
    HWND prefixEdit;
    HWND suffixEdit;
    HWND outputFolderEdit;
    HWND previewEdit;
    HCURSOR handCursor;
    HWND lastFocus;       // the control that had the focus when the window was last left
    Settings settings;    // as loaded; the output folder as last chosen
    int fileOperation;    // FileOperation
    int extensionMode;    // ExtensionMode
    // Work that runs a modal loop (a question, a picker, a run) lets other
    // messages through; while any is in progress a drop is held and a close
    // request waits for it to end.
    int busy;            // depth of work in progress
    int closeRequested;  // the window is to close once the work has ended
    int filesMoving;     // a run or an undo is under way: the session's end is held off
    int listGeneration;  // counts the changes of the file list's entries
    unsigned long long lastRunId;  // the run whose journal this program wrote last, or found at its start
};

// The one AppState of the process.
AppState* GetAppState();

// Zeroes the record, loads the settings file and starts with RenameOnly and
// Keep. Returns GetAppState().
AppState* ResetState();
