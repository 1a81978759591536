// The preview edit, rebuilt from real edit controls and a real combo box.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <string>

#include "core/app_state.h"
#include "core/control_text.h"
#include "rename/preview.h"
#include "support/test_window.h"

namespace {

const std::string kDescription =
    "ファイル命名前置詞 + 連番書式 + ファイル命名後置詞 + .拡張子(例 hoge001.jpg)";

class Preview : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillCombos();
        SetWindowTextA(state->prefixEdit, "Sample");
        SetWindowTextA(state->suffixEdit, "");
        SetWindowTextA(state->startNumberEdit, "1");
        SendMessageA(state->digitCountCombo, CB_SETCURSEL, 3, 0);
    }

    std::string PreviewFor(const char* prefix, const char* start, int digitIndex, const char* suffix)
    {
        SetWindowTextA(state->prefixEdit, prefix);
        SetWindowTextA(state->startNumberEdit, start);
        SetWindowTextA(state->suffixEdit, suffix);
        SendMessageA(state->digitCountCombo, CB_SETCURSEL, (WPARAM)digitIndex, 0);
        UpdatePreview();
        return WindowText(state->previewEdit);
    }

    ControlsWindow controls;
    AppState* state = GetAppState();
};

TEST_F(Preview, DescriptionIs76Bytes)
{
    EXPECT_EQ(76u, kDescription.size());
}

struct PreviewCase {
    const char* prefix;
    const char* start;
    int digitIndex;
    const char* suffix;
    const char* lastLine;
};

TEST_F(Preview, ShowsThePatternOnItsLastLine)
{
    const PreviewCase cases[] = {
        {"Sample", "1", 3, "", "変換書式 ==> Sample0001.拡張子"},
        {"写真", "12", 1, "_旅", "変換書式 ==> 写真12_旅.拡張子"},
        {"a", "123", 1, "", "変換書式 ==> a123.拡張子"},
        {"Sample", "7", -1, "", "変換書式 ==> Sample7.拡張子"},  // no digit count selected
        {"Sample", "", 3, "", "変換書式 ==> Sample0000.拡張子"},  // empty start number
        {"", "5", 7, "", "変換書式 ==> 00000005.拡張子"},
    };
    for (const PreviewCase& c : cases) {
        EXPECT_EQ(kDescription + "\r\n\r\n" + c.lastLine,
                  PreviewFor(c.prefix, c.start, c.digitIndex, c.suffix))
            << c.prefix << " " << c.start;
    }
}

TEST_F(Preview, LongestPreviewIs172BytesAndShownWhole)
{
    std::string prefix(32, 'p'), suffix(30, 's');
    suffix += "表";  // 32 bytes, ending in a double-byte character
    std::string preview = PreviewFor(prefix.c_str(), "99999999", 7, suffix.c_str());
    EXPECT_EQ(172u, preview.size());
    EXPECT_EQ(kDescription + "\r\n\r\n変換書式 ==> " + prefix + "99999999" + suffix + ".拡張子", preview);
}

TEST_F(Preview, ReadsPrefixAndSuffixUpTo32BytesOfWholeCharacters)
{
    std::string prefix = std::string(31, 'p') + "表" + "tail";
    std::string suffix = std::string(40, 's');
    std::string preview = PreviewFor(prefix.c_str(), "1", 3, suffix.c_str());
    EXPECT_EQ(kDescription + "\r\n\r\n変換書式 ==> " + std::string(31, 'p') + "0001" +
                  std::string(32, 's') + ".拡張子",
              preview);
}

TEST_F(Preview, ReadsAtMostEightCharactersOfTheStartNumber)
{
    // The edit takes digits only, but a pasted or loaded text can be longer.
    std::string preview = PreviewFor("", "1234567890", 0, "");
    EXPECT_EQ(kDescription + "\r\n\r\n変換書式 ==> 12345678.拡張子", preview);
}

TEST(ControlText, CutsALongTextByWholeCharactersWithinTheBound)
{
    ControlsWindow controls;
    HWND edit = GetAppState()->prefixEdit;
    std::string text;
    for (int i = 0; i < 1500; i++) text += "表";  // 3000 bytes, more than the local buffer
    SetWindowTextA(edit, text.c_str());
    char field[33];
    memset(field, 'X', sizeof field);
    EXPECT_EQ(32u, ReadControlText(edit, field, sizeof field));
    EXPECT_EQ(text.substr(0, 32), field);
    char odd[6];
    EXPECT_EQ(4u, ReadControlText(edit, odd, sizeof odd));
    EXPECT_EQ(text.substr(0, 4), odd);
    char large[4000];
    EXPECT_EQ(3000u, ReadControlText(edit, large, sizeof large));
}

}  // namespace
