// The main window made as WinMain makes it and driven with messages: the
// first start, the enabling that follows the file operation, the start
// number, the dialog navigation, and every way out with the settings it saves.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdlib.h>

#include <string>

#include "core/app_state.h"
#include "main_window_harness.h"
#include "res/main_window_res.h"
#include "support/drop_handle.h"
#include "support/folder_pick_script.h"
#include "support/prompt_script.h"
#include "support/temp_folder.h"

namespace {

// What a control shows: a combo its selected entry, a list its entry count,
// anything else its text.
std::string Shows(HWND control)
{
    char name[16] = "", text[256] = "";
    GetClassNameA(control, name, sizeof name);
    if (lstrcmpiA(name, "ComboBox") == 0) {
        int index = (int)SendMessageA(control, CB_GETCURSEL, 0, 0);
        if (index < 0) return "<none>";
        SendMessageA(control, CB_GETLBTEXT, (WPARAM)index, (LPARAM)text);
        return text;
    }
    if (lstrcmpiA(name, "ListBox") == 0)
        return std::to_string(SendMessageA(control, LB_GETCOUNT, 0, 0)) + " in the list";
    return ReadText(control);
}

std::string PreviewLine(HWND window)
{
    std::string text = ReadText(GetDlgItem(window, IDC_PREVIEW_EDIT));
    return text.substr(text.rfind('\n') + 1);
}

struct ControlAtStart {
    int id;
    const char* shows;
    bool enabled;
};

// Every control with an identifier in template order, which is the tab order;
// the preview, last, is no tab stop.
const ControlAtStart kControlsAtStart[] = {
    {IDC_FILE_LIST, "0 in the list", true},
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
const int kTabStops = sizeof kControlsAtStart / sizeof kControlsAtStart[0] - 1;

TEST_F(MainWindowTest, FirstStartWithoutASettingsFileShowsTheDefaults)
{
    ASSERT_FALSE(FileExists(IniPath()));
    HWND window = Open();
    ASSERT_TRUE(window);
    EXPECT_FALSE(IsWindowVisible(window)) << "WinMain shows it, not its creation";
    EXPECT_EQ("Tovik Ver 1.03", ReadText(window));
    char name[32];
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ("TovikClass", name);
    for (const ControlAtStart& c : kControlsAtStart) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.shows, Shows(Control(c.id)));
        EXPECT_EQ(c.enabled, IsWindowEnabled(Control(c.id)) != FALSE);
    }
    // The list keeps the order it is given and toggles selections by single
    // clicks, which the list commands rely on.
    EXPECT_EQ(LBS_MULTIPLESEL | LBS_NOTIFY,
              GetWindowLongA(Control(IDC_FILE_LIST), GWL_STYLE) &
                  (LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_SORT));
    LOGFONTA font = {};
    GetObjectA((HFONT)SendMessageA(Control(IDC_PREFIX_EDIT), WM_GETFONT, 0, 0), sizeof font, &font);
    EXPECT_STREQ("ＭＳ Ｐゴシック", font.lfFaceName);
    HDC screen = GetDC(NULL);
    EXPECT_EQ(-MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72), font.lfHeight);
    ReleaseDC(NULL, screen);
    EXPECT_FALSE(FileExists(IniPath())) << "nothing is saved before the window is left";
}

// Dialog navigation reaches the window as WM_NEXTDLGCTL, which only the
// default dialog procedure acts on; the window moves the focus itself.
TEST_F(MainWindowTest, TabAndShiftTabGoThroughTheTabStopsInTemplateOrder)
{
    ASSERT_TRUE(Open());
    for (const ControlAtStart& c : kControlsAtStart) EnableWindow(Control(c.id), TRUE);
    BYTE keys[256];
    for (int shift = 0; shift <= 1; ++shift) {
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        SetFocus(Control(IDC_FILE_LIST));
        for (int step = 1; step <= kTabStops; ++step) {
            PressKey(GetFocus(), VK_TAB);
            int expected = kControlsAtStart[(shift ? kTabStops - step : step) % kTabStops].id;
            EXPECT_EQ(expected, GetDlgCtrlID(GetFocus())) << (shift ? "Shift+" : "") << step;
        }
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

struct Step {
    int combo;
    int index;
    const char* chosen;          // the entry the combo shows afterwards
    const char* extensionCombo;  // what the extension combo shows then
    bool extensionEdit;
    bool outputFolder;  // edit and browse button
    bool naming;        // prefix, suffix, start number, digit count
    int operation, extensionMode;
};

TEST_F(MainWindowTest, EachOperationEnablesItsControlsAndTheExtensionComboFollows)
{
    const int op = IDC_OPERATION_COMBO, ext = IDC_EXTENSION_COMBO;
    const Step steps[] = {
        {ext, Upper, "大文字で統一", "大文字で統一", false, false, true, RenameOnly, Upper},
        // Copying while upper case is chosen: the treatment goes back to Keep.
        {op, RenameCopy, "リネーム＋コピー", "変更しない", false, true, true, RenameCopy, Keep},
        {op, ExtensionOnly, "拡張子のみ変更", "指定", true, false, false, ExtensionOnly, Specified},
        // The operation stays; only the extension edit follows.
        {ext, Lower, "小文字で統一", "小文字で統一", false, false, false, ExtensionOnly, Lower},
        {ext, Specified, "指定", "指定", true, false, false, ExtensionOnly, Specified},
        {op, RenameMove, "リネーム＋移動", "変更しない", false, true, true, RenameMove, Keep},
        {ext, Specified, "指定", "指定", true, true, true, RenameMove, Specified},
        {op, RenameOnly, "リネームのみ", "変更しない", false, false, true, RenameOnly, Keep},
    };
    ASSERT_TRUE(Open());
    AppState* state = GetAppState();
    auto enabled = [&](int id) { return IsWindowEnabled(Control(id)) != FALSE; };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.chosen);
        Choose(s.combo, s.index);
        EXPECT_EQ(s.chosen, Shows(Control(s.combo)));
        EXPECT_EQ(s.extensionCombo, Shows(Control(ext)));
        EXPECT_EQ(s.operation, state->fileOperation);
        EXPECT_EQ(s.extensionMode, state->extensionMode);
        EXPECT_EQ(s.extensionEdit, enabled(IDC_EXTENSION_EDIT));
        EXPECT_EQ(s.outputFolder, enabled(IDC_OUTPUT_FOLDER_EDIT));
        EXPECT_EQ(s.outputFolder, enabled(IDC_BROWSE_BUTTON));
        for (int id :
             {IDC_PREFIX_EDIT, IDC_SUFFIX_EDIT, IDC_START_NUMBER_EDIT, IDC_DIGIT_COUNT_COMBO})
            EXPECT_EQ(s.naming, enabled(id)) << id;
        EXPECT_TRUE(enabled(op) && enabled(ext));
    }
}

TEST_F(MainWindowTest, StartNumberEmptiedWithBackspaceShowsZeroWhenLeft)
{
    ASSERT_TRUE(Open());
    HWND number = Control(IDC_START_NUMBER_EDIT);
    SetFocus(number);
    SendMessageA(number, EM_SETSEL, 1, 1);
    PressKey(number, 'A');  // digits only
    PressKey(number, '2');
    EXPECT_EQ("12", ReadText(number));
    EXPECT_EQ("変換書式 ==> Sample0012.拡張子", PreviewLine(Window()));
    PressKey(number, VK_BACK);
    PressKey(number, VK_BACK);
    EXPECT_EQ("", ReadText(number));
    EXPECT_EQ("変換書式 ==> Sample0001.拡張子", PreviewLine(Window()))
        << "an empty edit keeps the previous number";

    PressKey(number, VK_TAB);
    EXPECT_EQ(Control(IDC_DIGIT_COUNT_COMBO), GetFocus());
    EXPECT_EQ("0", ReadText(number));
    EXPECT_EQ("変換書式 ==> Sample0000.拡張子", PreviewLine(Window()));

    // A number left in place is not touched when the focus goes.
    SetFocus(number);
    SetWindowTextA(number, "42");
    SetFocus(Control(IDC_PREFIX_EDIT));
    EXPECT_EQ("42", ReadText(number));
}

struct DigitCountCase {
    const char* saved;
    const char* shows;
    const char* previewLine;
};

TEST_F(MainWindowTest, DigitCountOutsideTheCombosEntriesLeavesNoSelection)
{
    const DigitCountCase cases[] = {
        {"-1", "<none>", "変換書式 ==> Sample1.拡張子"},
        {"0", "１桁", "変換書式 ==> Sample1.拡張子"},
        {"7", "８桁", "変換書式 ==> Sample00000001.拡張子"},
        {"8", "<none>", "変換書式 ==> Sample1.拡張子"},
    };
    for (const DigitCountCase& c : cases) {
        SCOPED_TRACE(c.saved);
        WriteFileText(IniPath(), std::string("[SYSTEM]\r\nFIGURE_FORMAT=") + c.saved + "\r\n");
        ASSERT_TRUE(Open());
        EXPECT_EQ(c.shows, Shows(Control(IDC_DIGIT_COUNT_COMBO)));
        EXPECT_EQ(c.previewLine, PreviewLine(Window()));
        Command(IDC_CANCEL);
        int index = atoi(c.saved);
        EXPECT_EQ(index >= 0 && index <= 7 ? index : -1,
                  (int)GetPrivateProfileIntA("SYSTEM", "FIGURE_FORMAT", 99, IniPath().c_str()));
        TearDown();
    }
}

const char kDefaultIni[] =
    "[SYSTEM]\r\nSTART_NUM=1\r\nFILENAME_PREFIX=Sample\r\nFILENAME_SUFFIX=\r\n"
    "FIGURE_FORMAT=3\r\nOUTPUT_FOLDER=\r\n";

struct WayOut {
    int focusId;
    UINT key;
};

TEST_F(MainWindowTest, EnterAsksTheExitQuestionAndEscapeLeavesWithoutOne)
{
    const WayOut ways[] = {{IDC_PREFIX_EDIT, VK_RETURN}, {IDC_FILE_LIST, VK_RETURN},
                           {IDC_PREFIX_EDIT, VK_ESCAPE}};
    for (const WayOut& w : ways) {
        SCOPED_TRACE(w.focusId);
        ASSERT_TRUE(Open());
        HWND focus = Control(w.focusId);
        SetFocus(focus);
        PromptScript prompts({IDNO, IDYES});
        if (w.key == VK_RETURN) {
            PressKey(focus, VK_RETURN);
            ASSERT_EQ(1u, prompts.Count());
            EXPECT_EQ(Window(), prompts.Last().owner);
            EXPECT_EQ("終了してもよろしいですか？", prompts.Last().text);
            EXPECT_EQ("終了確認", prompts.Last().title);
            EXPECT_EQ((UINT)MB_YESNO, prompts.Last().buttons);
            EXPECT_EQ((UINT)MB_ICONQUESTION, prompts.Last().icon);
            EXPECT_TRUE(IsOpen()) << "No leaves everything as it was";
            EXPECT_FALSE(FileExists(IniPath()));
        }
        PressKey(focus, w.key);
        EXPECT_EQ(w.key == VK_RETURN ? 2u : 0u, prompts.Count());
        EXPECT_FALSE(IsOpen());
        EXPECT_EQ(kDefaultIni, ReadFileText(IniPath()));
        TearDown();
    }
}

TEST_F(MainWindowTest, CloseBoxSavesThenLeavesThroughTheCancelCommandWhichSavesAgain)
{
    ASSERT_TRUE(Open());
    SetWindowTextA(Control(IDC_START_NUMBER_EDIT), "120");
    SetWindowTextA(Control(IDC_PREFIX_EDIT), "写真_表");
    SetWindowTextA(Control(IDC_SUFFIX_EDIT), "_ソ");
    SendMessageA(Control(IDC_DIGIT_COUNT_COMBO), CB_SETCURSEL, 5, 0);
    lstrcpyA(GetAppState()->outputFolder, "C:\\出力");

    PromptScript prompts;
    EXPECT_EQ(0, SendMessageA(Window(), WM_CLOSE, 0, 0));
    EXPECT_TRUE(IsOpen()) << "the posted cancel command closes it";
    EXPECT_EQ("[SYSTEM]\r\nSTART_NUM=120\r\nFILENAME_PREFIX=写真_表\r\nFILENAME_SUFFIX=_ソ\r\n"
              "FIGURE_FORMAT=5\r\nOUTPUT_FOLDER=C:\\出力\r\n",
              ReadFileText(IniPath()));

    // The second save takes what the controls hold then.
    SetWindowTextA(Control(IDC_START_NUMBER_EDIT), "121");
    Pump();
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(0u, prompts.Count());
    EXPECT_EQ(121, (int)GetPrivateProfileIntA("SYSTEM", "START_NUM", 0, IniPath().c_str()));
}

// Which window procedure each subclassed control has when its own
// WM_DESTROY arrives.
HWND g_watched[4];
WNDPROC g_procAtDestroy[4];

LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam)
{
    CWPSTRUCT* call = (CWPSTRUCT*)lParam;
    if (code == HC_ACTION && call->message == WM_DESTROY)
        for (int i = 0; i < 4; ++i)
            if (call->hwnd == g_watched[i])
                g_procAtDestroy[i] = (WNDPROC)GetWindowLongPtrA(call->hwnd, GWLP_WNDPROC);
    return CallNextHookEx(NULL, code, wParam, lParam);
}

TEST_F(MainWindowTest, DestructionPutsTheSubclassedProceduresBackAndQuitsWithZero)
{
    ASSERT_TRUE(Open());
    AppState* state = GetAppState();
    const HWND controls[4] = {state->prefixEdit, state->suffixEdit, state->startNumberEdit,
                              state->fileList};
    const WNDPROC original[4] = {state->prefixEditProc, state->suffixEditProc,
                                 state->startNumberEditProc, state->fileListProc};
    for (int i = 0; i < 4; ++i) {
        g_watched[i] = controls[i];
        g_procAtDestroy[i] = NULL;
        ASSERT_TRUE(original[i]);
        ASSERT_NE((LONG_PTR)original[i], GetWindowLongPtrA(controls[i], GWLP_WNDPROC));
    }
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchDestroy, NULL, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    Command(IDC_CANCEL);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(IsOpen());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(original[i], g_procAtDestroy[i]) << i;
    EXPECT_EQ(0, TakeQuitCode());
}

TEST_F(MainWindowTest, DropsAndTheBrowseButtonReachTheirHandlers)
{
    TempFolder folder;
    ASSERT_TRUE(WriteFileText(folder / "a.txt", "x"));
    WriteFileText(IniPath(), "[SYSTEM]\r\nOUTPUT_FOLDER=C:\\前回\r\n");
    ASSERT_TRUE(Open());
    EXPECT_TRUE(GetWindowLongA(Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(0, SendMessageA(Window(), WM_DROPFILES, (WPARAM)MakeDrop({folder / "a.txt"}), 0));
    EXPECT_EQ("1 in the list", Shows(Control(IDC_FILE_LIST)));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_START))) << "the buttons follow a drop";

    FolderPickScript picks({"", "D:\\出力\\表"});
    SetWindowTextA(Control(IDC_OUTPUT_FOLDER_EDIT), "C:\\手入力");
    Command(IDC_BROWSE_BUTTON, BN_CLICKED);
    EXPECT_EQ("C:\\手入力", ReadText(Control(IDC_OUTPUT_FOLDER_EDIT))) << "cancel changes nothing";
    Command(IDC_BROWSE_BUTTON, BN_CLICKED);
    EXPECT_EQ("D:\\出力\\表", ReadText(Control(IDC_OUTPUT_FOLDER_EDIT)));
    ASSERT_EQ(2u, picks.Asked().size());
    EXPECT_EQ(Window(), picks.Asked()[1].owner);
    EXPECT_EQ("C:\\前回", picks.Asked()[1].before);
    EXPECT_EQ("展開フォルダを指定してください", picks.Asked()[1].title);
}

TEST_F(MainWindowTest, FailedRegistrationAndCreationAreBothTold)
{
    // A class of that name that cannot make windows stands in the way.
    WNDCLASSA blocker = {};
    blocker.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return message == WM_NCCREATE ? FALSE : DefWindowProcA(window, message, wParam, lParam);
    };
    blocker.cbWndExtra = DLGWINDOWEXTRA;
    blocker.hInstance = GetModuleHandleA(NULL);
    blocker.lpszClassName = "TovikClass";
    ASSERT_TRUE(RegisterClassA(&blocker));
    PromptScript prompts;
    EXPECT_EQ(NULL, Open());
    ASSERT_EQ(2u, prompts.Count());
    EXPECT_EQ("ウインドウクラスを登録できませんでした", prompts.Asked()[0].text);
    EXPECT_EQ("メインウインドウを作成できませんでした", prompts.Asked()[1].text);
    for (const AskedPrompt& asked : prompts.Asked()) {
        EXPECT_EQ(NULL, asked.owner);
        EXPECT_EQ("Tovik Ver 1.03", asked.title);
        EXPECT_EQ((UINT)MB_OK, asked.buttons);
        EXPECT_EQ((UINT)MB_ICONERROR, asked.icon);
    }
}

}  // namespace
