// The real message box and the real shell folder picker under Wine, answered
// by a thread timer that finds the dialog while its modal loop runs.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "filelist/folder_picker.h"
#include "support/file_list_window.h"
#include "support/prompt_script.h"
#include "support/temp_folder.h"
#include "support/test_window.h"

namespace {

std::function<void(HWND)> g_answer;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    *(HWND*)found = window;
    return FALSE;
}

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, (LPARAM)&dialog);
    if (!dialog || !g_answer) return;
    std::function<void(HWND)> answer = g_answer;
    g_answer = nullptr;
    answer(dialog);
}

// Runs the call while the action waits to read and answer the first dialog
// it opens; false when no dialog came.
bool AnswerDialog(const std::function<void(HWND)>& action, const std::function<void()>& call)
{
    g_answer = action;
    UINT_PTR timer = SetTimer(NULL, 0, 50, LookForDialog);
    call();
    KillTimer(NULL, timer);
    bool answered = !g_answer;
    g_answer = nullptr;
    return answered;
}

void Click(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

TEST(RealMessageBox, TheFolderQuestionIsAskedAndAnsweredYesOnTheRealBox)
{
    FileListWindow window;
    TempFolder temp;
    ASSERT_TRUE(CreateDirectoryA((temp / "b").c_str(), NULL));
    ASSERT_TRUE(WriteFileText(temp / "b\\x.txt", "x"));
    const std::string question =
        "「 " + temp / "b" + " 」はフォルダです＾＾；\r\n\r\nフォルダ配下のファイルを展開しますか？\r\n";
    ASSERT_TRUE(AnswerDialog(
        [&](HWND box) {
            EXPECT_EQ("ファイル展開確認", WindowText(box));
            EXPECT_TRUE(FindWindowExA(box, NULL, "Static", question.c_str()));
            EXPECT_TRUE(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && !GetDlgItem(box, IDCANCEL));
            EXPECT_EQ(window.Window(), GetWindow(box, GW_OWNER));
            EXPECT_TRUE(GetWindowLongA(window.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "on top while asking";
            Click(box, IDYES);
        },
        [&] { window.Drop({temp / "b"}); }));
    EXPECT_FALSE(GetWindowLongA(window.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "and only then";
    EXPECT_EQ(std::vector<std::string>{temp / "b\\x.txt"}, ListTexts(window.List()));
}

// The text of the tree's selected item: the name of the folder the picker stands on.
std::string SelectedFolderName(HWND picker)
{
    HWND tree = FindWindowExA(picker, NULL, WC_TREEVIEWA, NULL);
    char text[MAX_PATH] = "<none>";
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (item.hItem) SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)&item);
    return text;
}

// Wine's picker finds a folder by its item data, last access time included,
// and the first read of a folder changed since its last read moves that
// time: each folder on the way is read once before the picker opens.
void ReadFoldersOnTheWay(const std::wstring& path)
{
    for (size_t end = path.find(L'\\'); end != std::wstring::npos; end = path.find(L'\\', end + 1)) {
        WIN32_FIND_DATAW found;
        FindClose(FindFirstFileW((path.substr(0, end + 1) + L"*").c_str(), &found));
    }
    WIN32_FIND_DATAW found;
    FindClose(FindFirstFileW((path + L"\\*").c_str(), &found));
}

TEST(RealFolderPicker, OpensOnTheGivenFolderAndReturnsTheChosenOneIfItHasAnExactAnsiPath)
{
    TempFolder temp;
    const std::string preselected = temp / "写真";
    ASSERT_TRUE(CreateDirectoryA(preselected.c_str(), NULL));
    ReadFoldersOnTheWay(Wide(preselected));
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    const char title[] = "指定したフォルダ以下のファイルを改名（リネーム）ファイルリストに登録します。";
    const struct {
        std::wstring chosen;
        int result;
        std::vector<std::string> told;
    } cases[] = {
        {L"出力", 1, {}},
        {L"café", 0, {"使えないフォルダ名: 選択したフォルダのパスにはシフトJIS（コードページ932）で表せない文字があるか、名前の末尾がピリオドか空白のため、使えません。"}},
    };
    for (const auto& c : cases) {
        const std::wstring chosen = Wide(temp / "") + c.chosen;
        ASSERT_TRUE(CreateDirectoryW(chosen.c_str(), NULL));
        ReadFoldersOnTheWay(chosen);
        char path[MAX_PATH];
        strcpy(path, preselected.c_str());
        int result = -1;
        PromptScript prompts;
        EXPECT_TRUE(AnswerDialog(
            [&](HWND picker) {
                EXPECT_EQ("写真", SelectedFolderName(picker)) << "opened on the given folder";
                EXPECT_TRUE(FindWindowExA(picker, NULL, "Static", title));
                EXPECT_EQ(owner, GetWindow(picker, GW_OWNER));
                SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, (LPARAM)chosen.c_str());
                Click(picker, IDOK);
            },
            [&] { result = BrowseForFolder(owner, path, title); }));
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.result ? Ansi(chosen) : preselected, std::string(path));
        std::vector<std::string> told;
        for (const AskedPrompt& shown : prompts.Asked()) {
            told.push_back(shown.title + ": " + shown.text);
            EXPECT_TRUE(shown.icon == MB_ICONERROR && shown.owner == owner);
        }
        EXPECT_EQ(c.told, told);
    }
    DestroyWindow(owner);
}

}  // namespace
