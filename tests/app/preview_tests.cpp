// The preview in the real main window, following the name parts as they change.
#include "support/tovik_test.h"

using Preview = TovikTest;

TEST_F(Preview, ShowsOnItsLastLineThePatternTheNamesUse) {
    const std::string p31(31, 'p');
    const std::string s40(40, 's');
    const std::string s30(30, 's');
    const struct {
        std::string prefix;
        std::string start;
        int digits;
        std::string suffix;
        std::string shown;
    } rows[] = {
        {"Sample", "1", 3, "", "Sample0001"},
        {"写真", "12", 1, "_旅", "写真12_旅"},
        {"Sample", "7", -1, "", "Sample7"},
        {"", "1234567890", 0, "", "12345678"},                              // what the 8-character edit would hold
        {p31 + "表tail", "1", 3, s40, p31 + "0001" + s40.substr(8)},      // 32 bytes of whole characters
        {p31 + "p", "99999999", 7, s30 + "表", p31 + "p99999999" + s30 + "表"},  // the longest, 172 bytes, whole
    };
    ASSERT_TRUE(Open());
    HWND digits = Control(IDC_DIGIT_COUNT_COMBO);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.prefix);
        SetWindowTextA(Control(IDC_PREFIX_EDIT), row.prefix.c_str());
        SetWindowTextA(Control(IDC_START_NUMBER_EDIT), row.start.c_str());
        SetWindowTextA(Control(IDC_SUFFIX_EDIT), row.suffix.c_str());
        SendMessageA(digits, CB_SETCURSEL, (WPARAM)row.digits, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_DIGIT_COUNT_COMBO, CBN_SELENDOK), (LPARAM)digits);
        std::string preview = ControlText(IDC_PREVIEW_EDIT);
        EXPECT_EQ("変換書式 ==> " + row.shown + ".拡張子", preview.substr(preview.rfind('\n') + 1));
    }
}
