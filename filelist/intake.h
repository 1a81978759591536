// How paths get into the file list: drops, dropped folders and the folder
// command. The folder picker they and the output-folder button use is in
// folder_picker.h.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "filelist/folder_files.h"
#include "filelist/folder_picker.h"

// WM_DROPFILES: sorted paths appended, dropped folders asked about.
void AddDroppedFiles(HDROP drop);

// Command 1022: every eligible file of a picked folder appended, sorted.
void AddPickedFolder();

// Appends the eligible files of a folder, sorted; those the list cannot take
// are counted in *leftOut. 1, or 0 after telling the user that memory ran
// out; the files found before that are appended all the same.
int ExpandFolder(const char* folder, LeftOutCounts* leftOut);
