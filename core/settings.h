// The settings file beside the executable: Tovik.exe keeps its naming pattern
// in Tovik.ini, section SYSTEM.
#pragma once

#include <stddef.h>

// The running module's path with its extension replaced by the given one
// (".ini"). Returns 0 when the module path cannot be had whole.
int ModuleFilePath(const char* extension, char* path, size_t size);

// The settings file: ModuleFilePath(".ini").
int SettingsPath(char* path, size_t size);

// Fills the start number (kept within what the 8-character start-number
// edit can show), digit-count index, prefix, suffix and output folder
// of AppState from the file; absent keys (or no file) give the defaults.
void LoadSettings();

// Writes the start-number edit, prefix edit, suffix edit, digit-count combo
// selection and AppState's output folder to the file.
void SaveSettings();
