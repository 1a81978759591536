// The settings file beside the executable: Tovik.exe keeps its naming pattern
// in Tovik.ini, section SYSTEM, keys START_NUM, FIGURE_FORMAT,
// FILENAME_PREFIX, FILENAME_SUFFIX and OUTPUT_FOLDER.
#pragma once

#include <stddef.h>

enum {
    kStartNumberSize = 16,            // the start-number edit's 8 characters, a sign, NUL
    kPrefixSize = 33,                 // 32 bytes + NUL
    kSuffixSize = 33,
    kOutputFolderSize = 261,          // 260 bytes + NUL
    kReplacementExtensionSize = 257,  // 256 bytes + NUL, without the dot
};

// What the file keeps, as the main window shows it.
struct Settings {
    char startNumber[kStartNumberSize];    // the start-number edit's text
    int digitCountIndex;                   // digit count - 1; -1 for none
    char prefix[kPrefixSize];
    char suffix[kSuffixSize];
    char outputFolder[kOutputFolderSize];  // the folder last chosen
};

// The running module's path with its extension replaced by the given one
// (".ini"). Returns 0 when the module path cannot be had whole, or has no
// exact form in code page 932.
int ModuleFilePath(const char* extension, char* path, size_t size);

// The settings file: ModuleFilePath(".ini").
int SettingsPath(char* path, size_t size);

// Reads the file into settings: the start number kept within what the
// 8-character start-number edit can show, texts cut to their fields by whole
// characters; absent keys (or no file) give the defaults.
void LoadSettings(Settings* settings);

// Writes settings to the file.
void SaveSettings(const Settings* settings);
