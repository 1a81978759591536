#include "core/settings.h"

#include <stdio.h>
#include <string.h>

#include <windows.h>

#include "core/file_paths.h"
#include "core/mbcs_text.h"

static const char kSection[] = "SYSTEM";
static const int kDefaultDigitCountIndex = 3;  // four digits
static const char kDefaultPrefix[] = "Sample";

// The start-number edit holds at most 8 characters, and the names use what
// it holds; a stored number beyond them is brought within.
static const int kLowestStartNumber = -9999999;
static const int kHighestStartNumber = 99999999;

int ModuleFilePath(const char* extension, char* path, size_t size)
{
    // The ANSI name of a path outside code page 932 would name another file.
    wchar_t wide[MAX_PATH + 1];
    char module[2 * MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, wide, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !WideToExactAnsi(wide, module, sizeof module) ||
        strlen(module) >= MAX_PATH)
        return 0;
    PathParts parts;
    // A cut piece would name a file in another folder.
    if (!SplitPath(module, &parts)) return 0;
    int written = snprintf(path, size, "%s%s%s%s", parts.drive, parts.directory, parts.fileName,
                           extension);
    return written > 0 && (size_t)written < size;
}

int SettingsPath(char* path, size_t size)
{
    return ModuleFilePath(".ini", path, size);
}

// Reads a text key into a field; the text is cut to the field by whole
// characters, so a long value never leaves half a character behind.
static void ReadTextKey(const char* key, const char* fallback, char* field, size_t size,
                        const char* file)
{
    char value[1024];
    GetPrivateProfileStringA(kSection, key, fallback, value, sizeof value, file);
    CopyTextCut(field, size, value);
}

void LoadSettings(Settings* settings)
{
    memset(settings, 0, sizeof *settings);
    char file[MAX_PATH * 2];
    long long start = 1;
    settings->digitCountIndex = kDefaultDigitCountIndex;
    if (!SettingsPath(file, sizeof file)) {
        snprintf(settings->startNumber, sizeof settings->startNumber, "%lld", start);
        CopyTextCut(settings->prefix, sizeof settings->prefix, kDefaultPrefix);
        return;
    }
    // Read as text: a number too large for an int would come back wrapped.
    char number[64];
    GetPrivateProfileStringA(kSection, "START_NUM", "1", number, sizeof number, file);
    start = ReadDecimal(number);
    if (start < kLowestStartNumber) start = kLowestStartNumber;
    if (start > kHighestStartNumber) start = kHighestStartNumber;
    snprintf(settings->startNumber, sizeof settings->startNumber, "%lld", start);
    settings->digitCountIndex =
        (int)GetPrivateProfileIntA(kSection, "FIGURE_FORMAT", kDefaultDigitCountIndex, file);
    ReadTextKey("FILENAME_PREFIX", kDefaultPrefix, settings->prefix, sizeof settings->prefix, file);
    ReadTextKey("FILENAME_SUFFIX", "", settings->suffix, sizeof settings->suffix, file);
    ReadTextKey("OUTPUT_FOLDER", "", settings->outputFolder, sizeof settings->outputFolder, file);
}

void SaveSettings(const Settings* settings)
{
    char file[MAX_PATH * 2];
    if (!SettingsPath(file, sizeof file)) return;
    char index[16];
    snprintf(index, sizeof index, "%d", settings->digitCountIndex);
    WritePrivateProfileStringA(kSection, "START_NUM", settings->startNumber, file);
    WritePrivateProfileStringA(kSection, "FILENAME_PREFIX", settings->prefix, file);
    WritePrivateProfileStringA(kSection, "FILENAME_SUFFIX", settings->suffix, file);
    WritePrivateProfileStringA(kSection, "FIGURE_FORMAT", index, file);
    WritePrivateProfileStringA(kSection, "OUTPUT_FOLDER", settings->outputFolder, file);
}
