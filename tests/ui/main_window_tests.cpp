// The main window made as WinMain makes it, keys going through the program's own loop: the first start, the enabling
// that follows the file operation, the start number, the 32 bytes of the prefix and suffix, and every
// way out with the settings it saves.
#include "core/app_state.h"
#include "support/tovik_test.h"
#include "ui/message_loop.h"

#include <commctrl.h>  // after windows.h

class MainWindow : public TovikTest {
protected:
    MainWindow() { SettingsPath(ini, sizeof ini); }
    // What a control shows: a combo its selected entry, a list its count, others their text.
    std::string Shows(int id) const
    {
        char name[16] = "";
        char text[256] = "<none>";
        GetClassNameA(Control(id), name, sizeof name);
        if (lstrcmpiA(name, "ListBox") == 0) return std::to_string(SendMessageA(Control(id), LB_GETCOUNT, 0, 0));
        if (lstrcmpiA(name, "ComboBox") != 0) return ControlText(id);
        LRESULT selected = SendMessageA(Control(id), CB_GETCURSEL, 0, 0);
        SendMessageA(Control(id), CB_GETLBTEXT, selected, (LPARAM)text);  // none: CB_ERR
        return text;
    }
    std::string PreviewLine() const
    {
        std::string preview = ControlText(IDC_PREVIEW_EDIT);
        return preview.substr(preview.rfind('\n') + 1);
    }
    // A key pressed and released through the loop; the release goes where the focus is by then.
    void Press(HWND target, UINT key)
    {
        LPARAM scan = (LPARAM)MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16;
        MSG message = {target, WM_KEYDOWN, key, 1 | scan, 0, {0, 0}};
        DeliverLoopMessage(window, &message);
        Pump();
        message.hwnd = GetFocus();
        if (!message.hwnd) return;
        message.message = WM_KEYUP;
        message.lParam = 1 | scan | (LPARAM)0xC0000000;
        DeliverLoopMessage(window, &message);
        Pump();
    }
    void Choose(int comboId, int index)  // by the keys, which the combo confirms at each step
    {
        for (int i = -1; i < index; ++i) {
            SetFocus(Control(comboId));
            Press(Control(comboId), i < 0 ? VK_HOME : VK_DOWN);
        }
    }
    int Saved(const char* key) { return (int)GetPrivateProfileIntA("SYSTEM", key, 99, ini); }
    void Reopen()  // as the next start of the program
    {
        MSG quit;
        PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
        UnregisterClassA("TovikClass", GetModuleHandleA(NULL));
        Open();
    }
    char ini[MAX_PATH * 2];
};

// Every control with an identifier in template order, which is the tab order; the preview, last, is no tab stop.
const struct {
    int id;
    const char* shows;
    bool enabled;
} kAtStart[] = {
    {IDC_FILE_LIST, "0", true},
    {IDC_MOVE_TO_TOP, "先頭", false},
    {IDC_MOVE_UP, "▲", false},
    {IDC_MOVE_DOWN, "▼", false},
    {IDC_REMOVE_SELECTED, "解除", false},
    {IDC_MOVE_TO_END, "一番後ろ", false},
    {IDC_START, "変換開始", false},
    {IDC_HELP_BUTTON, "ヘルプ", true},
    {IDC_REMOVE_ALL, "全解除", false},
    {IDC_EXIT, "終了", true},
    {IDC_ADD_FOLDER, "フォルダ指定", true},
    {IDC_OPERATION_COMBO, "リネームのみ", true},
    {IDC_EXTENSION_COMBO, "変更しない", true},
    {IDC_EXTENSION_EDIT, "", false},
    {IDC_OUTPUT_FOLDER_EDIT, "", false},
    {IDC_BROWSE_BUTTON, "検索", false},
    {IDC_PREFIX_EDIT, "Sample", true},
    {IDC_START_NUMBER_EDIT, "1", true},
    {IDC_DIGIT_COUNT_COMBO, "４桁", true},
    {IDC_SUFFIX_EDIT, "", true},
    {IDC_PREVIEW_EDIT,
     "ファイル命名前置詞 + 連番書式 + ファイル命名後置詞 + .拡張子(例 hoge001.jpg)\r\n\r\n"
     "変換書式 ==> Sample0001.拡張子",
     true},
};
const int kTabStops = sizeof kAtStart / sizeof kAtStart[0] - 1;

TEST_F(MainWindow, FirstStartShowsTheDefaultsAndTabGoesInTemplateOrder) {
    ASSERT_TRUE(Open());
    EXPECT_FALSE(IsWindowVisible(window)) << "WinMain shows it, not its creation";
    for (const auto& c : kAtStart) {
        EXPECT_EQ(c.shows, Shows(c.id)) << c.id;
        EXPECT_EQ(c.enabled, IsWindowEnabled(Control(c.id)) != FALSE) << c.id;
    }
    EXPECT_EQ("<missing>", ReadFileText(ini)) << "nothing is saved before the window is left";
    ShowWindow(window, SW_SHOW);
    EXPECT_EQ(Control(IDC_FILE_LIST), GetFocus()) << "the list has the focus at start";

    // Dialog navigation reaches the window as WM_NEXTDLGCTL, which it acts on itself.
    for (const auto& c : kAtStart) EnableWindow(Control(c.id), TRUE);
    SetFocus(Control(IDC_FILE_LIST));
    for (int step = 1; step <= kTabStops; ++step) {
        Press(GetFocus(), VK_TAB);
        EXPECT_EQ(kAtStart[step % kTabStops].id, GetDlgCtrlID(GetFocus()));
    }
}

TEST_F(MainWindow, EachOperationEnablesItsControlsAndTheExtensionComboFollows) {
    const int op = IDC_OPERATION_COMBO;
    const int ext = IDC_EXTENSION_COMBO;
    const std::vector<int> naming = {IDC_PREFIX_EDIT, IDC_SUFFIX_EDIT, IDC_START_NUMBER_EDIT, IDC_DIGIT_COUNT_COMBO};
    const std::vector<int> folderAndNaming = {IDC_OUTPUT_FOLDER_EDIT, IDC_BROWSE_BUTTON, IDC_PREFIX_EDIT,
                                              IDC_SUFFIX_EDIT, IDC_START_NUMBER_EDIT, IDC_DIGIT_COUNT_COMBO};
    const std::vector<int> extensionEdit = {IDC_EXTENSION_EDIT};
    // A combo's choice; then both combos as they show, and which of the settings controls are enabled.
    const struct {
        int combo;
        int index;
        const char* operation;
        const char* extension;
        std::vector<int> enabled;
    } steps[] = {
        {ext, Upper, "リネームのみ", "大文字で統一", naming},
        {op, RenameCopy, "リネーム＋コピー", "変更しない", folderAndNaming},  // back to Keep
        {op, ExtensionOnly, "拡張子のみ変更", "指定", extensionEdit},
        {ext, Lower, "拡張子のみ変更", "小文字で統一", {}},
        {ext, Specified, "拡張子のみ変更", "指定", extensionEdit},
        {op, RenameMove, "リネーム＋移動", "変更しない", folderAndNaming},
        {op, RenameOnly, "リネームのみ", "変更しない", naming},
    };
    const int settingsControls[] = {IDC_EXTENSION_EDIT, IDC_OUTPUT_FOLDER_EDIT, IDC_BROWSE_BUTTON, IDC_PREFIX_EDIT,
                                    IDC_SUFFIX_EDIT, IDC_START_NUMBER_EDIT, IDC_DIGIT_COUNT_COMBO};
    ASSERT_TRUE(Open());
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.operation) + " " + step.extension);
        Choose(step.combo, step.index);
        EXPECT_EQ(step.operation, Shows(op));
        EXPECT_EQ(step.extension, Shows(ext));
        std::vector<int> enabled;
        for (int id : settingsControls) {
            if (IsWindowEnabled(Control(id))) enabled.push_back(id);
        }
        EXPECT_EQ(step.enabled, enabled);
        EXPECT_EQ(SendMessageA(Control(op), CB_GETCURSEL, 0, 0), GetAppState()->fileOperation);
        EXPECT_EQ(SendMessageA(Control(ext), CB_GETCURSEL, 0, 0), GetAppState()->extensionMode);
    }
}

// The start-number edit takes no more characters than the names read; emptied with Backspace the preview keeps the
// last number; left, the edit shows 0.
TEST_F(MainWindow, TheStartNumberShowsWhatTheNamesUse) {
    ASSERT_TRUE(Open());
    HWND number = Control(IDC_START_NUMBER_EDIT);
    SetFocus(number);
    SendMessageA(number, EM_SETSEL, 0, -1);
    for (char key : std::string("1234567890")) SendMessageA(number, WM_CHAR, (WPARAM)key, 1);
    EXPECT_EQ("12345678", ControlText(IDC_START_NUMBER_EDIT));
    SetWindowTextA(Control(IDC_PREFIX_EDIT), "写真_");
    SetWindowTextA(number, "12");
    SendMessageA(number, EM_SETSEL, 2, 2);
    Press(number, VK_BACK);
    Press(number, VK_BACK);
    EXPECT_EQ("変換書式 ==> 写真_0001.拡張子", PreviewLine());
    Press(number, VK_TAB);
    EXPECT_EQ("0", ControlText(IDC_START_NUMBER_EDIT));
    EXPECT_EQ("変換書式 ==> 写真_0000.拡張子", PreviewLine());
}

// The prefix and suffix take at most the 32 bytes the names hold, by whole characters, however the text comes in;
// what stands outside the selection counts, what is selected makes room.
TEST_F(MainWindow, ThePrefixAndSuffixTakeNoMoreThan32BytesOfWholeCharacters) {
    const std::string d14 = "写真写真写真写真写真写真写真";
    const std::string d15 = d14 + "旅";
    const struct {
        int id;
        std::string before;    // the caret after it
        std::string selected;  // follows before, selected
        UINT message;          // EM_REPLACESEL, WM_PASTE from the clipboard, or WM_CHAR for every byte
        std::string added;
        std::string kept;
    } rows[] = {
        {IDC_PREFIX_EDIT, "", "", EM_REPLACESEL, d15 + "表示", d15 + "表"},  // 32 bytes, 16 characters
        {IDC_SUFFIX_EDIT, "a", "", EM_REPLACESEL, d15 + "表", "a" + d15},  // no half character in the odd byte
        {IDC_PREFIX_EDIT, "a" + d14, "", WM_CHAR, "表示b", "a" + d14 + "表b"},
        {IDC_SUFFIX_EDIT, "x", d15 + "表", WM_PASTE, "b" + d15 + "表\r\nc", "xb" + d15},
    };
    ASSERT_TRUE(Open());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.added);
        HWND edit = Control(row.id);
        SetWindowTextA(edit, (row.before + row.selected).c_str());
        SendMessageA(edit, EM_SETSEL, Wide(row.before).size(), -1);
        if (row.message == WM_PASTE) {
            ASSERT_TRUE(OpenClipboard(window));
            EmptyClipboard();
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, row.added.size() + 1);
            memcpy(GlobalLock(memory), row.added.c_str(), row.added.size() + 1);
            GlobalUnlock(memory);
            SetClipboardData(CF_TEXT, memory);
            CloseClipboard();
        }
        if (row.message == WM_CHAR) {
            for (char byte : row.added) SendMessageA(edit, WM_CHAR, (BYTE)byte, 1);
        } else {
            SendMessageA(edit, row.message, TRUE, (LPARAM)row.added.c_str());
        }
        EXPECT_EQ(row.kept, ControlText(row.id));
    }
}

// Enter asks first; Escape and the close box do not, and the close box saves twice, the second time what the controls
// hold then.
TEST_F(MainWindow, EveryWayOutSavesAndEndsWithCodeZero) {
    const char kDefaults[] = "[SYSTEM]\r\nSTART_NUM=1\r\nFILENAME_PREFIX=Sample\r\nFILENAME_SUFFIX=\r\n"
                             "FIGURE_FORMAT=3\r\nOUTPUT_FOLDER=\r\n";
    const struct {
        UINT key;  // 0 for the close box
        size_t questions;
        int startNumber;  // as saved
    } ways[] = {
        {VK_RETURN, 2, 1},
        {VK_ESCAPE, 0, 1},
        {0, 0, 121},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.key);
        DeleteFileA(ini);
        Reopen();
        SetFocus(Control(IDC_PREFIX_EDIT));
        shown.clear();
        answers = {IDNO, IDYES};
        if (way.key) {
            Press(GetFocus(), way.key);
            EXPECT_EQ(way.key == VK_ESCAPE, !IsWindow(window)) << "No leaves everything as it was";
            if (way.key == VK_RETURN) Press(GetFocus(), way.key);
            EXPECT_EQ(kDefaults, ReadFileText(ini));
        } else {
            SendMessageA(window, WM_CLOSE, 0, 0);
            EXPECT_EQ(kDefaults, ReadFileText(ini)) << "saved before the cancel command";
            SetWindowTextA(Control(IDC_START_NUMBER_EDIT), "121");
            Pump();
        }
        EXPECT_EQ(way.questions, shown.size());
        const Shown question = Question(window, "終了してもよろしいですか？", "終了確認");
        for (const Shown& box : shown) EXPECT_EQ(question, box);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(way.startNumber, Saved("START_NUM"));
        MSG quit = {};
        EXPECT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE));
        EXPECT_EQ(0u, quit.wParam);
    }
}

// The texts a WM_DRAWITEM of a list row draws, read from a metafile that records the drawing.
static Strings DrawnTexts(HWND window, HWND list, int row)
{
    HDC metafile = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = IDC_FILE_LIST;
    item.itemID = (UINT)row;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = list;
    item.hDC = metafile;
    item.rcItem = {0, 0, 600, 16};
    SendMessageA(window, WM_DRAWITEM, IDC_FILE_LIST, (LPARAM)&item);
    HENHMETAFILE drawn = CloseEnhMetaFile(metafile);
    Strings texts;
    EnumEnhMetaFile(NULL, drawn, [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM found) {
        if (record->iType != EMR_EXTTEXTOUTW) return 1;
        const EMREXTTEXTOUTW* text = (const EMREXTTEXTOUTW*)record;
        const wchar_t* characters = (const wchar_t*)((const BYTE*)text + text->emrtext.offString);
        ((Strings*)found)->push_back(Narrow(std::wstring(characters, text->emrtext.nChars)));
        return 1;
    }, &texts, NULL);
    DeleteEnhMetaFile(drawn);
    return texts;
}

// Each row draws the new name the run will give its file, a mark where the run will ask or refuse, then the path;
// its tip tells why.
TEST_F(MainWindow, EachRowOfTheListShowsTheNewNameAndTheMarkOfWhatTheRunWillDo) {
    ASSERT_TRUE(Open());
    Make({"IMG_1.jpg=1", "IMG_10.jpg=10", "IMG_2.jpg=2", "x.jpg=x", "旅行_003.jpg=outside"});
    Drop({Path("IMG_1.jpg"), Path("IMG_10.jpg"), Path("IMG_2.jpg"), Path("x.jpg")});
    DeleteFileA(Path("x.jpg").c_str());
    SetWindowTextA(Control(IDC_PREFIX_EDIT), "旅行_");
    Choose(IDC_DIGIT_COUNT_COMBO, 2);
    const std::string folder = work + "\\";
    const struct {
        int row;
        Strings drawn;
        std::string reason;
    } rows[] = {
        {0, {"旅行_001.jpg", folder, "IMG_1.jpg"}, ""},
        {1, {"旅行_002.jpg", folder, "IMG_10.jpg"}, ""},
        {2, {"？", "旅行_003.jpg", folder, "IMG_2.jpg"},
         "新しい名前のファイルがすでにあります。"
         "改名のときに、上書きするかをたずねます。"},
        {3, {"×", "旅行_004.jpg", folder, "x.jpg"}, "ファイルが見つかりません。"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        EXPECT_EQ(row.drawn, DrawnTexts(window, Control(IDC_FILE_LIST), row.row));
        // The tip asked for with the pointer over the row.
        RECT item;
        SendMessageA(Control(IDC_FILE_LIST), LB_GETITEMRECT, (WPARAM)row.row, (LPARAM)&item);
        POINT at = {item.left + 2, item.top + 2};
        ClientToScreen(Control(IDC_FILE_LIST), &at);
        SetCursorPos(at.x, at.y);
        NMTTDISPINFOA tip = {};
        tip.hdr.code = TTN_GETDISPINFOA;
        SendMessageA(window, WM_NOTIFY, 0, (LPARAM)&tip);
        EXPECT_STREQ(row.reason.c_str(), tip.lpszText);
    }
    Choose(IDC_OPERATION_COMBO, 3);
    EXPECT_EQ(Strings({"IMG_1", folder, "IMG_1.jpg"}), DrawnTexts(window, Control(IDC_FILE_LIST), 0));
}
