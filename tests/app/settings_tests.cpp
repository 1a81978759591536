// The code page the tests need, and Tovik.ini as the real main window loads it when made and saves it when left.
#include "core/mbcs_text.h"
#include "support/tovik_test.h"

TEST(Environment, RunsUnderCodePage932AndAgreesWithItsLeadBytes) {
    ASSERT_EQ(932u, GetACP()) << "run Wine with LANG=ja_JP.UTF-8 and LC_ALL=ja_JP.UTF-8";
    for (int c = 1; c < 256; c++) {
        const char text[] = {(char)c, 0x40, 0};
        EXPECT_EQ(IsDBCSLeadByteEx(932, (BYTE)c) ? 2 : 1, CharLength(text)) << "lead byte " << c;
    }
}

class SettingsFile : public TovikTest {
protected:
    std::string Ini() const
    {
        char path[MAX_PATH * 2] = "";
        SettingsPath(path, sizeof path);
        return path;
    }
    // Start number|digit-count index|prefix|suffix|output folder, as the window shows them.
    std::string Loaded() const
    {
        std::string parts = std::to_string(SendMessageA(Control(IDC_DIGIT_COUNT_COMBO), CB_GETCURSEL, 0, 0));
        for (int id : {IDC_PREFIX_EDIT, IDC_SUFFIX_EDIT, IDC_OUTPUT_FOLDER_EDIT}) parts += "|" + ControlText(id);
        return ControlText(IDC_START_NUMBER_EDIT) + "|" + parts;
    }
    // Leaves the window as Escape does; the next Open() is the next start.
    void Close()
    {
        SendMessageA(window, WM_COMMAND, IDC_CANCEL, 0);
        UnregisterClassA("TovikClass", GetModuleHandleA(NULL));
    }
};

TEST_F(SettingsFile, WhatTheFileHoldsIsLoadedWithinTheFieldBounds) {
    const std::string p40(40, 'p');
    const std::string s31(31, 's');
    const std::string f300 = "C:\\" + std::string(297, 'f');
    const struct {
        std::string keys;
        std::string loaded;
        int savedIndex;  // saved as the combo shows it: -1 for none
    } rows[] = {
        {"START_NUM=-7\r\nFIGURE_FORMAT=9", "-7|-1|Sample||", -1},
        {"FIGURE_FORMAT=-1\r\nFILENAME_PREFIX=", "1|-1|||", -1},
        {"START_NUM=abc", "0|3|Sample||", 3},
        {"START_NUM=12345678901234567890", "99999999|3|Sample||", 3},
        {"START_NUM=-123456789", "-9999999|3|Sample||", 3},
        {"FILENAME_PREFIX=" + p40, "1|3|" + p40.substr(8) + "||", 3},
        {"FILENAME_SUFFIX=" + s31 + "表", "1|3|Sample|" + s31 + "|", 3},  // 表 would need bytes 32 and 33
        {"OUTPUT_FOLDER=" + f300, "1|3|Sample||" + f300.substr(0, 260), 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        ASSERT_TRUE(WriteFileText(Ini(), "[SYSTEM]\r\n" + row.keys + "\r\n"));
        ASSERT_TRUE(Open());
        EXPECT_EQ(row.loaded, Loaded());
        Close();
        EXPECT_EQ(row.savedIndex, (int)GetPrivateProfileIntA("SYSTEM", "FIGURE_FORMAT", 99, Ini().c_str()));
    }
}
