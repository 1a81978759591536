// The settings file beside the executable, through the real profile functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <string>

#include "core/app_state.h"
#include "core/settings.h"
#include "support/temp_folder.h"
#include "support/test_window.h"

namespace {

std::string IniPath()
{
    char path[MAX_PATH * 2];
    EXPECT_EQ(1, SettingsPath(path, sizeof path));
    return path;
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(IniPath().c_str()); }
    void TearDown() override { DeleteFileA(IniPath().c_str()); }

    // Shows AppState in the controls the way the main window does at start.
    void ShowStateInControls()
    {
        AppState* state = GetAppState();
        FillCombos();
        char number[16];
        snprintf(number, sizeof number, "%d", state->startNumber);
        SetWindowTextA(state->startNumberEdit, number);
        SetWindowTextA(state->prefixEdit, state->prefix);
        SetWindowTextA(state->suffixEdit, state->suffix);
        SetWindowTextA(state->outputFolderEdit, state->outputFolder);
        SendMessageA(state->digitCountCombo, CB_SETCURSEL, (WPARAM)state->digitCountIndex, 0);
    }
};

TEST_F(SettingsFile, PathIsTheExecutablesWithIni)
{
    char module[MAX_PATH];
    GetModuleFileNameA(NULL, module, sizeof module);
    std::string expected = module;
    expected = expected.substr(0, expected.rfind('.')) + ".ini";
    EXPECT_EQ(expected, IniPath());
}

TEST_F(SettingsFile, FirstStartWithoutAFileUsesTheDefaults)
{
    AppState* state = ResetState();
    EXPECT_EQ(1, state->startNumber);
    EXPECT_EQ(3, state->digitCountIndex);
    EXPECT_STREQ("Sample", state->prefix);
    EXPECT_STREQ("", state->suffix);
    EXPECT_STREQ("", state->outputFolder);
    EXPECT_EQ(RenameOnly, state->fileOperation);
    EXPECT_EQ(Keep, state->extensionMode);
    EXPECT_FALSE(FileExists(IniPath())) << "loading must not create the file";
}

TEST_F(SettingsFile, ResetZeroesEverythingTheFileDoesNotFill)
{
    AppState* state = GetAppState();
    memset(state, 0x5A, sizeof *state);
    ResetState();
    EXPECT_EQ(nullptr, (void*)state->prefixEdit);
    EXPECT_EQ(nullptr, (void*)state->fileListProc);
    EXPECT_EQ(nullptr, (void*)state->handCursor);
    EXPECT_EQ(Keep, state->extensionMode);
    EXPECT_STREQ("", state->replacementExtension);
    EXPECT_EQ(state, GetAppState());
}

TEST_F(SettingsFile, FirstSaveWithTheDefaultsWritesExactlyThisFile)
{
    ResetState();
    ControlsWindow controls;
    ShowStateInControls();
    SaveSettings();
    EXPECT_EQ(
        "[SYSTEM]\r\n"
        "START_NUM=1\r\n"
        "FILENAME_PREFIX=Sample\r\n"
        "FILENAME_SUFFIX=\r\n"
        "FIGURE_FORMAT=3\r\n"
        "OUTPUT_FOLDER=\r\n",
        ReadFileText(IniPath()));
}

TEST_F(SettingsFile, SavedValuesComeBackOnTheNextStart)
{
    ResetState();
    {
        ControlsWindow controls;
        ShowStateInControls();
        AppState* state = GetAppState();
        SetWindowTextA(state->startNumberEdit, "120");
        SetWindowTextA(state->prefixEdit, "写真_表");
        SetWindowTextA(state->suffixEdit, "_ソ");
        SendMessageA(state->digitCountCombo, CB_SETCURSEL, 5, 0);
        strcpy(state->outputFolder, "C:\\出力\\表");
        SetWindowTextA(state->outputFolderEdit, "C:\\edit text is not saved");
        SaveSettings();
        SaveSettings();  // the close box saves twice: same file
    }
    AppState* state = ResetState();
    EXPECT_EQ(120, state->startNumber);
    EXPECT_EQ(5, state->digitCountIndex);
    EXPECT_STREQ("写真_表", state->prefix);
    EXPECT_STREQ("_ソ", state->suffix);
    EXPECT_STREQ("C:\\出力\\表", state->outputFolder);
    EXPECT_EQ(RenameOnly, state->fileOperation);
}

TEST_F(SettingsFile, NoKeySelectsTheOperationOrTheExtensionMode)
{
    WriteFileText(IniPath(), "[SYSTEM]\r\nFILE_OPERATION=2\r\nEXTENSION_MODE=3\r\nOPERATION=2\r\n");
    AppState* state = GetAppState();
    state->fileOperation = ExtensionOnly;
    state->extensionMode = Upper;
    ResetState();
    EXPECT_EQ(RenameOnly, state->fileOperation);
    EXPECT_EQ(Keep, state->extensionMode);
}

struct LoadCase {
    const char* fileText;
    int startNumber;
    int digitCountIndex;
    std::string prefix;
    std::string suffix;
};

TEST_F(SettingsFile, LoadsWhatTheFileHoldsWithinTheFieldBounds)
{
    const std::string long40(40, 'p');
    const LoadCase cases[] = {
        {"[SYSTEM]\r\nSTART_NUM=-7\r\nFIGURE_FORMAT=9\r\n", -7, 9, "Sample", ""},
        {"[SYSTEM]\r\nFIGURE_FORMAT=-1\r\nFILENAME_PREFIX=\r\n", 1, -1, "", ""},
        {"[SYSTEM]\r\nSTART_NUM=abc\r\n", 0, 3, "Sample", ""},
        {"[OTHER]\r\nSTART_NUM=5\r\n", 1, 3, "Sample", ""},
        // A prefix over 32 bytes is cut to its first 32 on load.
        {"[SYSTEM]\r\nFILENAME_PREFIX=pppppppppppppppppppppppppppppppppppppppp\r\n", 1, 3,
         std::string(32, 'p'), ""},
        // ... but never through a double-byte character: 31 bytes + 表 would need 33.
        {"[SYSTEM]\r\nFILENAME_SUFFIX=sssssssssssssssssssssssssssssss表\r\n", 1, 3, "Sample",
         std::string(31, 's')},
        {"[SYSTEM]\r\nFILENAME_SUFFIX=ssssssssssssssssssssssssssssss表\r\n", 1, 3, "Sample",
         std::string(30, 's') + "表"},
    };
    for (const LoadCase& c : cases) {
        ASSERT_TRUE(WriteFileText(IniPath(), c.fileText));
        AppState* state = ResetState();
        EXPECT_EQ(c.startNumber, state->startNumber) << c.fileText;
        EXPECT_EQ(c.digitCountIndex, state->digitCountIndex) << c.fileText;
        EXPECT_EQ(c.prefix, state->prefix) << c.fileText;
        EXPECT_EQ(c.suffix, state->suffix) << c.fileText;
    }
}

TEST_F(SettingsFile, OutputFolderIsCutTo260Bytes)
{
    std::string folder = "C:\\" + std::string(297, 'f');
    WriteFileText(IniPath(), "[SYSTEM]\r\nOUTPUT_FOLDER=" + folder + "\r\n");
    AppState* state = ResetState();
    EXPECT_EQ(folder.substr(0, 260), state->outputFolder);
}

TEST_F(SettingsFile, DigitCountOutsideTheCombosRangeIsSavedAsMinusOne)
{
    WriteFileText(IniPath(), "[SYSTEM]\r\nFIGURE_FORMAT=8\r\n");
    ResetState();
    ControlsWindow controls;
    ShowStateInControls();
    EXPECT_EQ(CB_ERR, SendMessageA(GetAppState()->digitCountCombo, CB_GETCURSEL, 0, 0));
    SaveSettings();
    EXPECT_EQ(-1, (int)GetPrivateProfileIntA("SYSTEM", "FIGURE_FORMAT", 99, IniPath().c_str()));
}

TEST_F(SettingsFile, SavesTheEditsAsTheyStand)
{
    ResetState();
    ControlsWindow controls;
    ShowStateInControls();
    AppState* state = GetAppState();
    SetWindowTextA(state->startNumberEdit, "");
    std::string longPrefix = std::string(259, 'x') + "表";  // 261 bytes: 表 does not fit in 260
    SetWindowTextA(state->prefixEdit, longPrefix.c_str());
    SaveSettings();
    char value[512];
    GetPrivateProfileStringA("SYSTEM", "START_NUM", "absent", value, sizeof value, IniPath().c_str());
    EXPECT_STREQ("", value);
    GetPrivateProfileStringA("SYSTEM", "FILENAME_PREFIX", "", value, sizeof value, IniPath().c_str());
    EXPECT_EQ(std::string(259, 'x'), value);
}

}  // namespace
