// The main window made as WinMain makes it and driven with messages: the
// first start, the enabling that follows the file operation, the live
// preview, and every way out with the settings it saves.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "dialog_template.h"
#include "filelist/intake.h"
#include "main_window_harness.h"
#include "res/main_window_res.h"
#include "support/prompt_script.h"
#include "support/temp_folder.h"
#include "ui/main_window.h"

namespace {

const char kDefaultPreview[] =
    "ファイル命名前置詞 + 連番書式 + ファイル命名後置詞 + .拡張子(例 hoge001.jpg)\r\n\r\n"
    "変換書式 ==> Sample0001.拡張子";

std::string PreviewLine(HWND window)
{
    std::string text = ReadText(GetDlgItem(window, IDC_PREVIEW_EDIT));
    size_t at = text.rfind("\r\n");
    return at == std::string::npos ? text : text.substr(at + 2);
}

std::string ComboText(HWND combo)
{
    int index = (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return "<none>";
    char text[64] = "";
    SendMessageA(combo, CB_GETLBTEXT, (WPARAM)index, (LPARAM)text);
    return text;
}

std::vector<std::string> ComboEntries(HWND combo)
{
    std::vector<std::string> entries;
    int count = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[64] = "";
        SendMessageA(combo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
        entries.push_back(text);
    }
    return entries;
}

// ---- creation --------------------------------------------------------------------

TEST_F(MainWindowTest, FirstStartWithoutASettingsFileShowsTheDefaults)
{
    ASSERT_FALSE(FileExists(IniPath()));
    HWND window = Open();
    ASSERT_TRUE(window);
    EXPECT_FALSE(IsWindowVisible(window)) << "WinMain shows it, not its creation";
    EXPECT_EQ("Tovik Ver 1.03", ReadText(window));

    EXPECT_EQ("リネームのみ", ComboText(Control(IDC_OPERATION_COMBO)));
    EXPECT_EQ("変更しない", ComboText(Control(IDC_EXTENSION_COMBO)));
    EXPECT_EQ("４桁", ComboText(Control(IDC_DIGIT_COUNT_COMBO)));
    EXPECT_EQ("1", ReadText(Control(IDC_START_NUMBER_EDIT)));
    EXPECT_EQ("Sample", ReadText(Control(IDC_PREFIX_EDIT)));
    EXPECT_EQ("", ReadText(Control(IDC_SUFFIX_EDIT)));
    EXPECT_EQ("", ReadText(Control(IDC_OUTPUT_FOLDER_EDIT)));
    EXPECT_EQ("", ReadText(Control(IDC_EXTENSION_EDIT)));
    EXPECT_EQ(kDefaultPreview, ReadText(Control(IDC_PREVIEW_EDIT)));
    EXPECT_EQ(0, SendMessageA(Control(IDC_FILE_LIST), LB_GETCOUNT, 0, 0));

    const int enabled[] = {IDC_PREFIX_EDIT, IDC_START_NUMBER_EDIT, IDC_DIGIT_COUNT_COMBO,
                           IDC_SUFFIX_EDIT, IDC_OPERATION_COMBO,   IDC_EXTENSION_COMBO,
                           IDC_FILE_LIST,   IDC_HELP_BUTTON,       IDC_EXIT,
                           IDC_ADD_FOLDER,  IDC_PREVIEW_EDIT};
    for (int id : enabled) EXPECT_TRUE(IsWindowEnabled(Control(id))) << id;
    // The list buttons and the start button wait for files.
    const int disabled[] = {IDC_OUTPUT_FOLDER_EDIT, IDC_BROWSE_BUTTON,   IDC_EXTENSION_EDIT,
                            IDC_START,              IDC_REMOVE_ALL,      IDC_REMOVE_SELECTED,
                            IDC_MOVE_UP,            IDC_MOVE_DOWN,       IDC_MOVE_TO_TOP,
                            IDC_MOVE_TO_END};
    for (int id : disabled) EXPECT_FALSE(IsWindowEnabled(Control(id))) << id;

    AppState* state = GetAppState();
    EXPECT_EQ(window, state->mainWindow);
    EXPECT_EQ(GetModuleHandleA(NULL), state->instance);
    EXPECT_EQ(RenameOnly, state->fileOperation);
    EXPECT_EQ(Keep, state->extensionMode);
    EXPECT_TRUE(state->handCursor);
    EXPECT_FALSE(FileExists(IniPath())) << "nothing is saved before the window is left";
}

TEST_F(MainWindowTest, SettingsFileFillsTheControls)
{
    WriteFileText(IniPath(),
                  "[SYSTEM]\r\nSTART_NUM=-7\r\nFIGURE_FORMAT=1\r\nFILENAME_PREFIX=写真_表\r\n"
                  "FILENAME_SUFFIX=_ソ\r\nOUTPUT_FOLDER=C:\\出力\r\n");
    ASSERT_TRUE(Open());
    EXPECT_EQ("-7", ReadText(Control(IDC_START_NUMBER_EDIT)));
    EXPECT_EQ("２桁", ComboText(Control(IDC_DIGIT_COUNT_COMBO)));
    EXPECT_EQ("写真_表", ReadText(Control(IDC_PREFIX_EDIT)));
    EXPECT_EQ("_ソ", ReadText(Control(IDC_SUFFIX_EDIT)));
    EXPECT_EQ("C:\\出力", ReadText(Control(IDC_OUTPUT_FOLDER_EDIT)));
    EXPECT_EQ("変換書式 ==> 写真_表-7_ソ.拡張子", PreviewLine(Window()));
}

TEST_F(MainWindowTest, CombosHoldTheirEntriesInValueOrder)
{
    ASSERT_TRUE(Open());
    EXPECT_EQ((std::vector<std::string>{"１桁", "２桁", "３桁", "４桁", "５桁", "６桁", "７桁",
                                        "８桁"}),
              ComboEntries(Control(IDC_DIGIT_COUNT_COMBO)));
    EXPECT_EQ((std::vector<std::string>{"リネームのみ", "リネーム＋移動", "リネーム＋コピー",
                                        "拡張子のみ変更"}),
              ComboEntries(Control(IDC_OPERATION_COMBO)));
    EXPECT_EQ((std::vector<std::string>{"変更しない", "小文字で統一", "大文字で統一", "指定"}),
              ComboEntries(Control(IDC_EXTENSION_COMBO)));
}

TEST_F(MainWindowTest, WindowBelongsToTovikClass)
{
    HWND window = Open();
    ASSERT_TRUE(window);
    char name[64];
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ("TovikClass", name);
    EXPECT_EQ(DLGWINDOWEXTRA, (int)GetClassLongPtrA(window, GCL_CBWNDEXTRA));
    EXPECT_EQ(0, (int)GetClassLongPtrA(window, GCL_STYLE));
    EXPECT_EQ(COLOR_BTNFACE + 1, (int)GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
    EXPECT_TRUE(GetClassLongPtrA(window, GCLP_HICON));
    EXPECT_TRUE(GetClassLongPtrA(window, GCLP_HICONSM));
    EXPECT_EQ((LONG_PTR)LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
              (LONG_PTR)GetClassLongPtrA(window, GCLP_HCURSOR));

    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_FALSE(GetWindow(window, GW_OWNER));
    EXPECT_FALSE(GetMenu(window));
    // The dialog manager's data lives in the window; the loop's dialog
    // navigation needs it.
    EXPECT_TRUE(GetWindowLongPtrA(window, DWLP_DLGPROC));
}

TEST_F(MainWindowTest, ControlsStandAsTheTemplateListsThemInTabOrder)
{
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(IDD_MAIN_WINDOW, &dialog));
    HWND window = Open();
    ASSERT_TRUE(window);
    RECT client;
    GetClientRect(window, &client);
    RECT size = {0, 0, dialog.cx, dialog.cy};
    MapDialogRect(window, &size);
    EXPECT_EQ(size.right, client.right);
    EXPECT_EQ(size.bottom, client.bottom);

    HWND child = GetWindow(window, GW_CHILD);
    for (const TemplateItem& item : dialog.items) {
        SCOPED_TRACE(item.id == -1 ? item.text : std::to_string(item.id));
        ASSERT_TRUE(child) << "a control is missing";
        EXPECT_EQ(item.id, GetDlgCtrlID(child));
        char name[64];
        GetClassNameA(child, name, sizeof name);
        EXPECT_STRCASEEQ(item.className.c_str(), name);
        // The dialog manager maps position and size each on its own.
        RECT place = {item.x, item.y, item.cx, item.cy};
        MapDialogRect(window, &place);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(NULL, window, (POINT*)&actual, 2);
        EXPECT_EQ(place.left, actual.left);
        EXPECT_EQ(place.top, actual.top);
        EXPECT_EQ(place.right, actual.right - actual.left);
        if (item.className != "ComboBox") {  // a combo box is as high as its closed field
            EXPECT_EQ(place.bottom, actual.bottom - actual.top);
        }
        EXPECT_TRUE(IsWindowVisible(child) || !IsWindowVisible(window));
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_FALSE(child) << "a control more than the template's";

    // Tab goes through the tab stops in template order, skipping disabled
    // controls and the preview.
    const int tabOrder[] = {IDC_FILE_LIST,       IDC_HELP_BUTTON,     IDC_EXIT,
                            IDC_ADD_FOLDER,      IDC_OPERATION_COMBO, IDC_EXTENSION_COMBO,
                            IDC_PREFIX_EDIT,     IDC_START_NUMBER_EDIT, IDC_DIGIT_COUNT_COMBO,
                            IDC_SUFFIX_EDIT,     IDC_FILE_LIST};
    SetFocus(Control(tabOrder[0]));
    for (size_t i = 1; i < sizeof tabOrder / sizeof tabOrder[0]; ++i) {
        PressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(tabOrder[i], GetDlgCtrlID(GetFocus())) << "after " << tabOrder[i - 1];
    }
    // No default push button: Enter comes as the exit command.
    EXPECT_EQ(0, HIWORD(SendMessageA(window, DM_GETDEFID, 0, 0)));
}

// ---- operation and extension ----------------------------------------------------

struct Enabling {
    const char* extensionCombo;
    bool extensionEdit;
    bool outputFolder;  // edit and browse button
    bool naming;        // prefix, suffix, start number, digit count
};

void ExpectEnabling(HWND window, const Enabling& e)
{
    auto enabled = [&](int id) { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; };
    EXPECT_EQ(e.extensionCombo, ComboText(GetDlgItem(window, IDC_EXTENSION_COMBO)));
    EXPECT_EQ(e.extensionEdit, enabled(IDC_EXTENSION_EDIT));
    EXPECT_EQ(e.outputFolder, enabled(IDC_OUTPUT_FOLDER_EDIT));
    EXPECT_EQ(e.outputFolder, enabled(IDC_BROWSE_BUTTON));
    for (int id : {IDC_PREFIX_EDIT, IDC_SUFFIX_EDIT, IDC_START_NUMBER_EDIT, IDC_DIGIT_COUNT_COMBO})
        EXPECT_EQ(e.naming, enabled(id)) << id;
    EXPECT_TRUE(enabled(IDC_OPERATION_COMBO));
    EXPECT_TRUE(enabled(IDC_EXTENSION_COMBO));
}

struct OperationCase {
    int operation;
    int extensionBefore;  // the treatment chosen before the operation
    Enabling after;
    int extensionMode;
};

TEST_F(MainWindowTest, EachOperationEnablesItsControlsAndResetsTheExtension)
{
    const OperationCase cases[] = {
        {ExtensionOnly, Keep, {"指定", true, false, false}, Specified},
        {RenameOnly, Specified, {"変更しない", false, false, true}, Keep},
        {RenameMove, Lower, {"変更しない", false, true, true}, Keep},
        // Rename + copy while upper case was chosen: the treatment goes back to Keep.
        {RenameCopy, Upper, {"変更しない", false, true, true}, Keep},
        {ExtensionOnly, Upper, {"指定", true, false, false}, Specified},
        {RenameOnly, Lower, {"変更しない", false, false, true}, Keep},
    };
    ASSERT_TRUE(Open());
    AppState* state = GetAppState();
    for (const OperationCase& c : cases) {
        SCOPED_TRACE(c.operation);
        Choose(IDC_EXTENSION_COMBO, c.extensionBefore);
        ASSERT_EQ(c.extensionBefore, state->extensionMode);
        Choose(IDC_OPERATION_COMBO, c.operation);
        EXPECT_EQ(c.operation, state->fileOperation);
        EXPECT_EQ(c.extensionMode, state->extensionMode);
        ExpectEnabling(Window(), c.after);
    }
}

TEST_F(MainWindowTest, ExtensionComboSwitchesOnlyTheExtensionEdit)
{
    ASSERT_TRUE(Open());
    AppState* state = GetAppState();
    Choose(IDC_OPERATION_COMBO, ExtensionOnly);
    Choose(IDC_EXTENSION_COMBO, Lower);
    EXPECT_EQ(ExtensionOnly, state->fileOperation) << "the operation stays";
    EXPECT_EQ(Lower, state->extensionMode);
    ExpectEnabling(Window(), {"小文字で統一", false, false, false});
    Choose(IDC_EXTENSION_COMBO, Specified);
    ExpectEnabling(Window(), {"指定", true, false, false});

    Choose(IDC_OPERATION_COMBO, RenameMove);
    Choose(IDC_EXTENSION_COMBO, Specified);
    EXPECT_EQ(RenameMove, state->fileOperation);
    ExpectEnabling(Window(), {"指定", true, true, true});
}

TEST_F(MainWindowTest, CombosActOnlyOnAConfirmedSelection)
{
    ASSERT_TRUE(Open());
    AppState* state = GetAppState();
    const WORD others[] = {CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_DROPDOWN,
                           CBN_SETFOCUS};
    SendMessageA(Control(IDC_OPERATION_COMBO), CB_SETCURSEL, ExtensionOnly, 0);
    SendMessageA(Control(IDC_EXTENSION_COMBO), CB_SETCURSEL, Upper, 0);
    SendMessageA(Control(IDC_DIGIT_COUNT_COMBO), CB_SETCURSEL, 0, 0);
    for (WORD code : others) {
        EXPECT_EQ(0, Command(IDC_OPERATION_COMBO, code));
        EXPECT_EQ(0, Command(IDC_EXTENSION_COMBO, code));
        EXPECT_EQ(0, Command(IDC_DIGIT_COUNT_COMBO, code));
    }
    EXPECT_EQ(RenameOnly, state->fileOperation);
    EXPECT_EQ(Keep, state->extensionMode);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_EXTENSION_EDIT)));
    EXPECT_EQ("変換書式 ==> Sample0001.拡張子", PreviewLine(Window()));

    Command(IDC_DIGIT_COUNT_COMBO, CBN_SELENDOK);
    EXPECT_EQ("変換書式 ==> Sample1.拡張子", PreviewLine(Window()));
    Command(IDC_EXTENSION_COMBO, CBN_SELENDOK);
    EXPECT_EQ(Upper, state->extensionMode);
    Command(IDC_OPERATION_COMBO, CBN_SELENDOK);
    EXPECT_EQ(ExtensionOnly, state->fileOperation);
    EXPECT_EQ(Specified, state->extensionMode);
}

// ---- the preview ----------------------------------------------------------------

TEST_F(MainWindowTest, PreviewFollowsTheKeysInTheNameEdits)
{
    ASSERT_TRUE(Open());
    HWND prefix = Control(IDC_PREFIX_EDIT);
    SetFocus(prefix);
    SendMessageA(prefix, EM_SETSEL, 6, 6);
    Type(prefix, "x");
    EXPECT_EQ("Samplex", ReadText(prefix));
    EXPECT_EQ("変換書式 ==> Samplex0001.拡張子", PreviewLine(Window()));

    HWND suffix = Control(IDC_SUFFIX_EDIT);
    SetFocus(suffix);
    Type(suffix, "-b");
    EXPECT_EQ("変換書式 ==> Samplex0001-b.拡張子", PreviewLine(Window()));

    // A change without a key release shows at the next release in that edit.
    SetWindowTextA(suffix, "_z");
    EXPECT_EQ("変換書式 ==> Samplex0001-b.拡張子", PreviewLine(Window()));
    PressKey(suffix, VK_RIGHT);
    EXPECT_EQ("変換書式 ==> Samplex0001_z.拡張子", PreviewLine(Window()));

    Choose(IDC_DIGIT_COUNT_COMBO, 1);
    EXPECT_EQ("変換書式 ==> Samplex01_z.拡張子", PreviewLine(Window()));
}

TEST_F(MainWindowTest, StartNumberEmptiedWithBackspaceShowsZeroWhenLeft)
{
    ASSERT_TRUE(Open());
    HWND number = Control(IDC_START_NUMBER_EDIT);
    SetFocus(number);
    SendMessageA(number, EM_SETSEL, 1, 1);
    Type(number, "2");
    EXPECT_EQ("12", ReadText(number));
    EXPECT_EQ("変換書式 ==> Sample0012.拡張子", PreviewLine(Window()));
    PressKey(number, VK_BACK);
    EXPECT_EQ("1", ReadText(number));
    EXPECT_EQ("変換書式 ==> Sample0001.拡張子", PreviewLine(Window()));
    PressKey(number, VK_BACK);
    EXPECT_EQ("", ReadText(number));
    EXPECT_EQ("変換書式 ==> Sample0001.拡張子", PreviewLine(Window()))
        << "an empty edit keeps the previous number";

    // Tab moves the focus on through the dialog navigation.
    PressKey(number, VK_TAB);
    EXPECT_EQ(Control(IDC_DIGIT_COUNT_COMBO), GetFocus());
    EXPECT_EQ("0", ReadText(number));
    EXPECT_EQ("変換書式 ==> Sample0000.拡張子", PreviewLine(Window()));

    // A number left in place is not touched when the focus goes.
    SetFocus(number);
    SetWindowTextA(number, "42");
    SetFocus(Control(IDC_PREFIX_EDIT));
    EXPECT_EQ("42", ReadText(number));
    EXPECT_EQ("変換書式 ==> Sample0000.拡張子", PreviewLine(Window()));
}

TEST_F(MainWindowTest, StartNumberTakesDigitsOnly)
{
    ASSERT_TRUE(Open());
    HWND number = Control(IDC_START_NUMBER_EDIT);
    SetFocus(number);
    SendMessageA(number, EM_SETSEL, 0, -1);
    Type(number, "a7");
    EXPECT_EQ("7", ReadText(number));
    EXPECT_EQ("変換書式 ==> Sample0007.拡張子", PreviewLine(Window()));
}

struct DigitCountCase {
    const char* value;
    const char* previewLine;
};

TEST_F(MainWindowTest, DigitCountOutsideTheCombosEntriesLeavesNoSelection)
{
    const DigitCountCase cases[] = {
        {"8", "変換書式 ==> Sample1.拡張子"},
        {"-1", "変換書式 ==> Sample1.拡張子"},
        {"100", "変換書式 ==> Sample1.拡張子"},
        {"-5", "変換書式 ==> Sample1.拡張子"},
        {"7", "変換書式 ==> Sample00000001.拡張子"},
        {"0", "変換書式 ==> Sample1.拡張子"},
    };
    for (const DigitCountCase& c : cases) {
        SCOPED_TRACE(c.value);
        WriteFileText(IniPath(), std::string("[SYSTEM]\r\nFIGURE_FORMAT=") + c.value + "\r\n");
        ASSERT_TRUE(Open());
        int index = atoi(c.value);
        bool inRange = index >= 0 && index <= 7;
        EXPECT_EQ(inRange ? index : -1,
                  (int)SendMessageA(Control(IDC_DIGIT_COUNT_COMBO), CB_GETCURSEL, 0, 0));
        EXPECT_EQ(c.previewLine, PreviewLine(Window()));
        Command(IDC_CANCEL);
        EXPECT_FALSE(IsOpen());
        EXPECT_EQ(inRange ? index : -1,
                  (int)GetPrivateProfileIntA("SYSTEM", "FIGURE_FORMAT", 99, IniPath().c_str()));
        TearDown();
    }
}

// ---- leaving ----------------------------------------------------------------------

const char kDefaultIni[] =
    "[SYSTEM]\r\n"
    "START_NUM=1\r\n"
    "FILENAME_PREFIX=Sample\r\n"
    "FILENAME_SUFFIX=\r\n"
    "FIGURE_FORMAT=3\r\n"
    "OUTPUT_FOLDER=\r\n";

TEST_F(MainWindowTest, EnterAsksTheExitQuestionFromWhereverTheFocusIs)
{
    const int focusIds[] = {IDC_PREFIX_EDIT, IDC_FILE_LIST, IDC_START_NUMBER_EDIT,
                            IDC_OUTPUT_FOLDER_EDIT};
    for (int id : focusIds) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(Open());
        EnableWindow(Control(id), TRUE);
        SetFocus(Control(id));
        PromptScript prompts({IDNO});
        PressKey(Control(id), VK_RETURN);
        ASSERT_EQ(1u, prompts.Count());
        EXPECT_EQ(Window(), prompts.Last().owner);
        EXPECT_EQ("終了してもよろしいですか？", prompts.Last().text);
        EXPECT_EQ("終了確認", prompts.Last().title);
        EXPECT_EQ((UINT)MB_YESNO, prompts.Last().buttons);
        EXPECT_EQ((UINT)MB_ICONQUESTION, prompts.Last().icon);
        EXPECT_TRUE(IsOpen()) << "No leaves everything as it was";
        EXPECT_FALSE(FileExists(IniPath()));
        EXPECT_EQ(-1, TakeQuitCode());

        prompts.Answer(IDYES);
        PressKey(Control(id), VK_RETURN);
        EXPECT_EQ(2u, prompts.Count());
        EXPECT_FALSE(IsOpen());
        EXPECT_EQ(kDefaultIni, ReadFileText(IniPath()));
        EXPECT_EQ(0, TakeQuitCode());
        TearDown();
    }
}

TEST_F(MainWindowTest, ExitButtonAsksFirst)
{
    ASSERT_TRUE(Open());
    SetWindowTextA(Control(IDC_PREFIX_EDIT), "写真");
    PromptScript prompts({IDNO, IDYES});
    Command(IDC_EXIT, BN_CLICKED);
    EXPECT_TRUE(IsOpen());
    EXPECT_FALSE(FileExists(IniPath()));
    Command(IDC_EXIT, BN_CLICKED);
    EXPECT_EQ(2u, prompts.Count());
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(0, TakeQuitCode());
    char prefix[64];
    GetPrivateProfileStringA("SYSTEM", "FILENAME_PREFIX", "", prefix, sizeof prefix,
                             IniPath().c_str());
    EXPECT_STREQ("写真", prefix);
}

TEST_F(MainWindowTest, EscapeClosesWithoutAQuestionAndSaves)
{
    ASSERT_TRUE(Open());
    HWND prefix = Control(IDC_PREFIX_EDIT);
    SetFocus(prefix);
    PromptScript prompts;
    PressKey(prefix, VK_ESCAPE);
    EXPECT_EQ(0u, prompts.Count());
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(kDefaultIni, ReadFileText(IniPath()));
    EXPECT_EQ(0, TakeQuitCode());
}

TEST_F(MainWindowTest, CloseBoxSavesThenLeavesThroughTheCancelCommand)
{
    ASSERT_TRUE(Open());
    AppState* state = GetAppState();
    SetWindowTextA(Control(IDC_START_NUMBER_EDIT), "120");
    SetWindowTextA(Control(IDC_PREFIX_EDIT), "写真_表");
    SetWindowTextA(Control(IDC_SUFFIX_EDIT), "_ソ");
    SendMessageA(Control(IDC_DIGIT_COUNT_COMBO), CB_SETCURSEL, 5, 0);
    lstrcpyA(state->outputFolder, "C:\\出力");
    SetWindowTextA(Control(IDC_OUTPUT_FOLDER_EDIT), "C:\\the edit is not saved");

    PromptScript prompts;
    EXPECT_EQ(0, SendMessageA(Window(), WM_CLOSE, 0, 0));
    EXPECT_TRUE(IsOpen()) << "the posted cancel command closes it";
    const char expected[] =
        "[SYSTEM]\r\n"
        "START_NUM=120\r\n"
        "FILENAME_PREFIX=写真_表\r\n"
        "FILENAME_SUFFIX=_ソ\r\n"
        "FIGURE_FORMAT=5\r\n"
        "OUTPUT_FOLDER=C:\\出力\r\n";
    EXPECT_EQ(expected, ReadFileText(IniPath()));

    // The cancel command saves a second time, with what the controls hold then.
    SetWindowTextA(Control(IDC_START_NUMBER_EDIT), "121");
    Pump();
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(0u, prompts.Count());
    EXPECT_EQ(0, TakeQuitCode());
    char number[16];
    GetPrivateProfileStringA("SYSTEM", "START_NUM", "", number, sizeof number, IniPath().c_str());
    EXPECT_STREQ("121", number);
}

TEST_F(MainWindowTest, EmptiedStartNumberIsSavedAsItStands)
{
    ASSERT_TRUE(Open());
    SetWindowTextA(Control(IDC_START_NUMBER_EDIT), "");
    Command(IDC_CANCEL);
    char number[16];
    GetPrivateProfileStringA("SYSTEM", "START_NUM", "absent", number, sizeof number,
                             IniPath().c_str());
    EXPECT_STREQ("", number);
}

// Records, for each subclassed control, which window procedure it has when
// its own WM_DESTROY arrives.
struct DestroyWatch {
    HWND controls[4];
    WNDPROC seen[4];
    HHOOK hook;
};
DestroyWatch* g_watch;

LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam)
{
    CWPSTRUCT* call = (CWPSTRUCT*)lParam;
    if (code == HC_ACTION && call->message == WM_DESTROY && g_watch)
        for (int i = 0; i < 4; ++i)
            if (call->hwnd == g_watch->controls[i])
                g_watch->seen[i] = (WNDPROC)GetWindowLongPtrA(call->hwnd, GWLP_WNDPROC);
    return CallNextHookEx(NULL, code, wParam, lParam);
}

TEST_F(MainWindowTest, DestructionPutsTheSubclassedProceduresBack)
{
    ASSERT_TRUE(Open());
    AppState* state = GetAppState();
    DestroyWatch watch = {{state->prefixEdit, state->suffixEdit, state->startNumberEdit,
                           state->fileList},
                          {},
                          NULL};
    WNDPROC original[4] = {state->prefixEditProc, state->suffixEditProc,
                           state->startNumberEditProc, state->fileListProc};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(original[i]);
        EXPECT_NE((LONG_PTR)original[i], GetWindowLongPtrA(watch.controls[i], GWLP_WNDPROC))
            << "subclassed while open: " << i;
    }
    g_watch = &watch;
    watch.hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchDestroy, NULL, GetCurrentThreadId());
    ASSERT_TRUE(watch.hook);
    Command(IDC_CANCEL);
    UnhookWindowsHookEx(watch.hook);
    g_watch = NULL;
    EXPECT_FALSE(IsOpen());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(original[i], watch.seen[i]) << i;
    EXPECT_EQ(0, TakeQuitCode());
}

// ---- the output-folder button -----------------------------------------------------

struct PickerCall {
    HWND owner;
    char* path;
    std::string preselected;
    std::string title;
};
std::vector<PickerCall> g_pickerCalls;
const char* g_pickerAnswer;  // 0: cancelled

int ScriptedPicker(HWND owner, char* path, const char* title)
{
    g_pickerCalls.push_back({owner, path, path, title});
    if (!g_pickerAnswer) return 0;
    lstrcpyA(path, g_pickerAnswer);
    return 1;
}

TEST_F(MainWindowTest, BrowseButtonShowsThePickedFolder)
{
    WriteFileText(IniPath(), "[SYSTEM]\r\nOUTPUT_FOLDER=C:\\前回\r\n");
    ASSERT_TRUE(Open());
    Choose(IDC_OPERATION_COMBO, RenameCopy);
    AppState* state = GetAppState();
    FolderPicker previous = SetFolderPicker(ScriptedPicker);
    g_pickerCalls.clear();

    g_pickerAnswer = NULL;
    Command(IDC_BROWSE_BUTTON, BN_CLICKED);
    EXPECT_EQ("C:\\前回", ReadText(Control(IDC_OUTPUT_FOLDER_EDIT))) << "cancel changes nothing";

    g_pickerAnswer = "D:\\出力\\表";
    Command(IDC_BROWSE_BUTTON, BN_CLICKED);
    SetFolderPicker(previous);
    EXPECT_EQ("D:\\出力\\表", ReadText(Control(IDC_OUTPUT_FOLDER_EDIT)));
    EXPECT_STREQ("D:\\出力\\表", state->outputFolder);

    ASSERT_EQ(2u, g_pickerCalls.size());
    for (const PickerCall& call : g_pickerCalls) {
        EXPECT_EQ(Window(), call.owner);
        EXPECT_EQ(state->outputFolder, call.path);
        EXPECT_EQ("C:\\前回", call.preselected);
        EXPECT_EQ("展開フォルダを指定してください", call.title);
    }
}

// ---- the list, the intake and the start ------------------------------------------

// The shell's DROPFILES header (shlobj.h, which cannot come in beside the
// program's FileOperation).
struct DropHeader {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};

// A drop of paths as the shell hands it over.
HDROP MakeDrop(const std::vector<std::string>& paths)
{
    size_t size = sizeof(DropHeader) + 1;
    for (const std::string& path : paths) size += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    DropHeader* drop = (DropHeader*)GlobalLock(memory);
    drop->pFiles = sizeof(DropHeader);
    drop->fWide = FALSE;
    char* at = (char*)(drop + 1);
    for (const std::string& path : paths) {
        memcpy(at, path.c_str(), path.size() + 1);
        at += path.size() + 1;
    }
    GlobalUnlock(memory);
    return (HDROP)memory;
}

std::vector<std::string> ListEntries(HWND list)
{
    std::vector<std::string> entries;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[MAX_PATH * 2] = "";
        SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
        entries.push_back(text);
    }
    return entries;
}

TEST_F(MainWindowTest, DropsListCommandsTheFolderCommandAndTheStartArrive)
{
    TempFolder folder;
    const std::string a = folder / "a.txt", b = folder / "B.txt", c = folder / "c.txt";
    for (const std::string& path : {a, b, c}) ASSERT_TRUE(WriteFileText(path, "x"));
    ASSERT_TRUE(Open());
    HWND list = Control(IDC_FILE_LIST);

    EXPECT_EQ(0, SendMessageA(Window(), WM_DROPFILES, (WPARAM)MakeDrop({c, a}), 0));
    EXPECT_EQ((std::vector<std::string>{a, c}), ListEntries(list));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_START))) << "the buttons follow a drop";
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_REMOVE_ALL)));

    SendMessageA(list, LB_SETSEL, TRUE, 1);
    EXPECT_EQ(0, Command(IDC_MOVE_TO_TOP, BN_CLICKED));
    EXPECT_EQ((std::vector<std::string>{c, a}), ListEntries(list));
    EXPECT_EQ(0, Command(IDC_REMOVE_ALL, BN_CLICKED));
    EXPECT_EQ(0, SendMessageA(list, LB_GETCOUNT, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_START)));

    // The folder command takes the picked folder's files in.
    FolderPicker previous = SetFolderPicker(ScriptedPicker);
    g_pickerCalls.clear();
    g_pickerAnswer = folder.Path().c_str();
    EXPECT_EQ(0, Command(IDC_ADD_FOLDER, BN_CLICKED));
    SetFolderPicker(previous);
    ASSERT_EQ(1u, g_pickerCalls.size());
    EXPECT_EQ(Window(), g_pickerCalls[0].owner);
    EXPECT_EQ((std::vector<std::string>{a, b, c}), ListEntries(list));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_START)));

    // The start button asks for confirmation; No leaves the files alone.
    PromptScript prompts({IDNO});
    EXPECT_EQ(0, Command(IDC_START, BN_CLICKED));
    ASSERT_EQ(1u, prompts.Count());
    EXPECT_EQ("改名（リネーム）の開始確認", prompts.Last().title);
    EXPECT_EQ(Window(), prompts.Last().owner);
    EXPECT_TRUE(FileExists(a) && FileExists(b) && FileExists(c));
    EXPECT_EQ(3, SendMessageA(list, LB_GETCOUNT, 0, 0));
}

// ---- failures of the start ----------------------------------------------------------

TEST_F(MainWindowTest, SecondRegistrationIsTold)
{
    ASSERT_TRUE(Open());
    PromptScript prompts;
    EXPECT_EQ(0, RegisterMainClass(GetModuleHandleA(NULL)));
    ASSERT_EQ(1u, prompts.Count());
    EXPECT_EQ(NULL, prompts.Last().owner);
    EXPECT_EQ("ウインドウクラスを登録できませんでした", prompts.Last().text);
    EXPECT_EQ("Tovik Ver 1.03", prompts.Last().title);
    EXPECT_EQ((UINT)MB_OK, prompts.Last().buttons);
    EXPECT_EQ((UINT)MB_ICONERROR, prompts.Last().icon);
}

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) return FALSE;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(MainWindowTest, FailedRegistrationAndCreationAreBothTold)
{
    // A class of that name that cannot make windows stands in the way.
    WNDCLASSA blocker = {};
    blocker.lpfnWndProc = RefuseCreation;
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
