#include "core/settings.h"

#include <stdio.h>

#include "core/app_state.h"
#include "core/control_text.h"
#include "core/mbcs_text.h"

static const char kSection[] = "SYSTEM";
static const int kDefaultStartNumber = 1;
static const int kDefaultDigitCountIndex = 3;  // four digits
static const char kDefaultPrefix[] = "Sample";

int SettingsPath(char* path, size_t size)
{
    char module[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(NULL, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 0;
    PathParts parts;
    SplitPath(module, &parts);
    int written = snprintf(path, size, "%s%s%s.ini", parts.drive, parts.directory, parts.fileName);
    return written > 0 && (size_t)written < size;
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

void LoadSettings()
{
    AppState* state = GetAppState();
    char file[MAX_PATH * 2];
    if (!SettingsPath(file, sizeof file)) {
        state->startNumber = kDefaultStartNumber;
        state->digitCountIndex = kDefaultDigitCountIndex;
        CopyTextCut(state->prefix, sizeof state->prefix, kDefaultPrefix);
        return;
    }
    state->startNumber = (int)GetPrivateProfileIntA(kSection, "START_NUM", kDefaultStartNumber, file);
    state->digitCountIndex =
        (int)GetPrivateProfileIntA(kSection, "FIGURE_FORMAT", kDefaultDigitCountIndex, file);
    ReadTextKey("FILENAME_PREFIX", kDefaultPrefix, state->prefix, sizeof state->prefix, file);
    ReadTextKey("FILENAME_SUFFIX", "", state->suffix, sizeof state->suffix, file);
    ReadTextKey("OUTPUT_FOLDER", "", state->outputFolder, sizeof state->outputFolder, file);
}

void SaveSettings()
{
    AppState* state = GetAppState();
    char file[MAX_PATH * 2];
    if (!SettingsPath(file, sizeof file)) return;

    char text[261];
    ReadControlText(state->startNumberEdit, text, sizeof text);
    WritePrivateProfileStringA(kSection, "START_NUM", text, file);
    ReadControlText(state->prefixEdit, text, sizeof text);
    WritePrivateProfileStringA(kSection, "FILENAME_PREFIX", text, file);
    ReadControlText(state->suffixEdit, text, sizeof text);
    WritePrivateProfileStringA(kSection, "FILENAME_SUFFIX", text, file);
    int index = (int)SendMessageA(state->digitCountCombo, CB_GETCURSEL, 0, 0);
    snprintf(text, sizeof text, "%d", index);
    WritePrivateProfileStringA(kSection, "FIGURE_FORMAT", text, file);
    WritePrivateProfileStringA(kSection, "OUTPUT_FOLDER", state->outputFolder, file);
}
