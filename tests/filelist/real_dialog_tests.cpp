// The real message box and the real shell folder picker under Wine, answered
// by a timer that finds the dialog and clicks its button.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "filelist/folder_picker.h"
#include "support/drop_handle.h"
#include "support/file_list_window.h"
#include "support/real_dialog.h"
#include "support/temp_folder.h"
#include "support/test_window.h"

namespace {

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(RealMessageBox, TheFolderQuestionIsAskedAndAnsweredYesOnTheRealBox)
{
    FileListWindow window;
    TempFolder temp;
    ASSERT_TRUE(CreateDirectoryA((temp / "b").c_str(), NULL));
    ASSERT_TRUE(WriteFileText(temp / "b\\x.txt", "x"));
    std::string title, owner;
    std::vector<std::string> statics, buttons;
    bool topmost = false;
    HWND boxOwner = NULL;
    RealDialogAnswer answer([&](HWND box) {
        title = WindowText(box);
        statics = ChildTexts(box, "Static");
        buttons = ChildTexts(box, "Button");
        boxOwner = GetWindow(box, GW_OWNER);
        topmost = (GetWindowLongA(window.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        ClickDialogButton(box, IDYES);
    });
    SendMessageA(window.Window(), WM_DROPFILES, (WPARAM)MakeDrop({temp / "b"}), 0);

    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ("ファイル展開確認", title);
    EXPECT_TRUE(Contains(statics, "「 " + temp / "b" +
                                      " 」はフォルダです＾＾；\r\n\r\nフォルダ配下のファイルを展開しますか？\r\n"))
        << (statics.empty() ? "" : statics.back());
    EXPECT_EQ(2u, buttons.size()) << "Yes and No";
    EXPECT_EQ(window.Window(), boxOwner);
    EXPECT_TRUE(topmost) << "the main window is on top while the question is open";
    EXPECT_FALSE(GetWindowLongA(window.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(std::vector<std::string>{temp / "b\\x.txt"}, ListTexts(window.List()));
}

// The text of the tree's selected item: the display name of the folder the
// picker stands on.
std::string SelectedFolderName(HWND picker)
{
    HWND tree = FindChild(picker, "SysTreeView32");
    if (!tree) return "<no tree>";
    HTREEITEM item = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    if (!item) return "<no selection>";
    char text[MAX_PATH] = "";
    TVITEMA data = {};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)&data);
    return text;
}

struct PickerCase {
    const char* name;
    const char* choose;  // the folder to choose instead of the preselected one; 0 keeps it
    int button;
    int result;
    const char* after;  // the buffer afterwards
};

TEST(RealFolderPicker, OpensOnTheGivenFolderAndReturnsTheChosenOne)
{
    const PickerCase cases[] = {
        {"another folder chosen", "出力", IDOK, 1, "出力"},
        {"the preselected folder taken", nullptr, IDOK, 1, "写真"},
        {"cancelled", "出力", IDCANCEL, 0, "写真"},
    };
    TempFolder temp;
    ASSERT_TRUE(CreateDirectoryA((temp / "写真").c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((temp / "出力").c_str(), NULL));
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, NULL,
                                 NULL, NULL, NULL);
    const char title[] = "指定したフォルダ以下のファイルを改名（リネーム）ファイルリストに登録します。";
    for (const PickerCase& c : cases) {
        char path[MAX_PATH];
        strcpy(path, (temp / "写真").c_str());
        std::string openedOn;
        std::vector<std::string> statics;
        HWND pickerOwner = NULL;
        std::string choose = c.choose ? temp / c.choose : "";
        RealDialogAnswer answer([&](HWND picker) {
            openedOn = SelectedFolderName(picker);
            statics = ChildTexts(picker, "Static");
            pickerOwner = GetWindow(picker, GW_OWNER);
            if (!choose.empty()) SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, (LPARAM)choose.c_str());
            ClickDialogButton(picker, c.button);
        });
        int result = BrowseForFolder(owner, path, title);
        ASSERT_TRUE(answer.Answered()) << c.name;
        EXPECT_EQ("写真", openedOn) << c.name;
        EXPECT_TRUE(Contains(statics, title)) << c.name;
        EXPECT_EQ(owner, pickerOwner) << c.name;
        EXPECT_EQ(c.result, result) << c.name;
        EXPECT_EQ(temp / c.after, std::string(path)) << c.name;
    }
    DestroyWindow(owner);
}

}  // namespace
