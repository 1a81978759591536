// The preview in the real main window, following the name parts as they change.
#include "support/tovik_test.h"

using Preview = TovikTest;

TEST_F(Preview, ShowsOnItsLastLineThePatternTheNamesUse) {
    const std::string p31(31, 'p');
    const std::string s40(40, 's');
    const std::string s30(30, 's');
    const std::string e256(256, 'e');
    const auto named = [](const std::string& name) { return "変換書式 ==> " + name + ".拡張子"; };
    const struct {
        std::string prefix;
        std::string start;
        int digits;
        std::string suffix;
        std::string shown;
        int operation = RenameOnly;
        int mode = Keep;
        std::string extension = "";  // set last, after the combos
    } rows[] = {
        {"写真", "12", 1, "_旅", named("写真12_旅"), RenameOnly, Upper, "png"},  // the name's own extension
        {"Sample", "7", -1, "", named("Sample7")},
        {"", "1234567890", 0, "", named("12345678")},                           // what the 8-character edit would hold
        {p31 + "表tail", "1", 3, s40, named(p31 + "0001" + s40.substr(8))},   // 32 bytes of whole characters
        {p31 + "p", "99999999", 7, s30 + "表", named(p31 + "p99999999" + s30 + "表")},  // the longest name, whole
        {"", "1", 3, "", "変換書式 ==> 元の名前.png", ExtensionOnly, Specified, "png"},
        {"", "1", 3, "", "拡張子の英字を大文字にします", ExtensionOnly, Upper, ""},
        {"", "1", 3, "", "拡張子の英字を小文字にします", ExtensionOnly, Lower, ""},
        {"", "1", 3, "", "拡張子を取り除きます", ExtensionOnly, Specified, ""},
        {"", "1", 3, "", "拡張子は変更しません", ExtensionOnly, Keep, ""},
        {"", "1", 3, "", "変換書式 ==> 元の名前." + e256, ExtensionOnly, Specified, e256},  // the longest
    };
    ASSERT_TRUE(Open());
    const auto choose = [&](int id, int index) {
        SendMessageA(Control(id), CB_SETCURSEL, (WPARAM)index, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), (LPARAM)Control(id));
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        SetWindowTextA(Control(IDC_PREFIX_EDIT), row.prefix.c_str());
        SetWindowTextA(Control(IDC_START_NUMBER_EDIT), row.start.c_str());
        SetWindowTextA(Control(IDC_SUFFIX_EDIT), row.suffix.c_str());
        choose(IDC_DIGIT_COUNT_COMBO, row.digits);
        choose(IDC_OPERATION_COMBO, row.operation);
        choose(IDC_EXTENSION_COMBO, row.mode);
        SetWindowTextA(Control(IDC_EXTENSION_EDIT), row.extension.c_str());
        std::string preview = ControlText(IDC_PREVIEW_EDIT);
        EXPECT_EQ(row.shown, preview.substr(preview.rfind('\n') + 1));
    }
}
