// Tovik.exe as the user runs it: its own process in a folder of its own, with
// a settings file prepared beside it. The test sees only what anyone outside
// the program sees: its windows, answered with messages, and the files on
// disk.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

#ifndef TOVIK_EXE_PATH
#error "TOVIK_EXE_PATH names the built Tovik.exe"
#endif

namespace {

// Control identifiers of the main window, as a user's tool would know them.
enum {
    kExitButton = 1,
    kFileList = 1003,
    kOutputFolderEdit = 1011,
    kPrefixEdit = 1013,
    kDigitCountCombo = 1014,
    kStartNumberEdit = 1015,
    kPreviewEdit = 1017,
    kSuffixEdit = 1018,
    kStartButton = 1019,
    kAddFolderButton = 1022,
    kOperationCombo = 1027,
    kExtensionCombo = 1028,
};

const DWORD kPatience = 20000;  // milliseconds for any one thing to happen

struct WindowSearch {
    DWORD process;
    const char* className;  // or NULL
    const char* title;      // or NULL
    HWND owner;             // or NULL for any
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data)
{
    WindowSearch* search = (WindowSearch*)data;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window)) return TRUE;
    char text[256];
    if (search->className) {
        GetClassNameA(window, text, sizeof text);
        if (strcmp(text, search->className) != 0) return TRUE;
    }
    if (search->title) {
        GetWindowTextA(window, text, sizeof text);
        if (strcmp(text, search->title) != 0) return TRUE;
    }
    if (search->owner && GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    search->found = window;
    return FALSE;
}

// Waits until a visible top-level window of the process matches.
HWND WaitForWindow(DWORD process, const char* className, const char* title, HWND owner = NULL)
{
    DWORD start = GetTickCount();
    do {
        WindowSearch search = {process, className, title, owner, NULL};
        EnumWindows(MatchWindow, (LPARAM)&search);
        if (search.found) return search.found;
        Sleep(50);
    } while (GetTickCount() - start < kPatience);
    return NULL;
}

bool WaitUntilGone(HWND window)
{
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > kPatience) return false;
        Sleep(50);
    }
    return true;
}

std::string Text(HWND window)
{
    char text[1024] = "";
    SendMessageA(window, WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

std::vector<std::string> ListEntries(HWND list)
{
    std::vector<std::string> entries;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        // Read as UTF-16: the list box of another process answers that
        // reliably, and the test turns it into code page 932 itself.
        wchar_t wide[MAX_PATH * 2] = L"";
        SendMessageW(list, LB_GETTEXT, (WPARAM)i, (LPARAM)wide);
        char text[MAX_PATH * 4] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
        entries.push_back(text);
    }
    return entries;
}

// What a user's choice in a drop-down list sends.
void Choose(HWND window, int comboId, int index)
{
    HWND combo = GetDlgItem(window, comboId);
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)index, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELENDOK), (LPARAM)combo);
}

// Typing a new text: the text, then the key release that the edit reacts to.
void Retype(HWND edit, const char* text)
{
    SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)text);
    SendMessageA(edit, WM_KEYUP, VK_END, (LPARAM)0xC0000001);
}

// How deep in the folder picker's tree its selection lies: the desktop is 0,
// My Computer 1, a drive 2, and so on (-1 when nothing is selected).
int PickerSelectionDepth(HWND picker)
{
    HWND tree = FindWindowExA(picker, NULL, "SysTreeView32", NULL);
    LPARAM item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    if (!item) return -1;
    int depth = 0;
    while ((item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, item)) != 0) ++depth;
    return depth;
}

std::string StaticTexts(HWND box)
{
    std::string all;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[32];
        GetClassNameA(c, name, sizeof name);
        if (_stricmp(name, "Static") == 0) all += Text(c);
    }
    return all;
}

// A fresh folder right under the system drive's root: the folder picker shows
// every level above it (the user's temporary folder may lie under a hidden
// one), and its place in the picker's tree is known.
class RootFolder {
public:
    RootFolder()
    {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%.2s\\tovik-e2e-%lu", windows, GetCurrentProcessId());
        RemoveTree(name);
        if (CreateDirectoryA(name, NULL)) path_ = name;
    }
    ~RootFolder()
    {
        if (!path_.empty()) RemoveTree(path_);
    }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

struct Program {
    PROCESS_INFORMATION process = {};
    ~Program()
    {
        if (!process.hProcess) return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
};

TEST(EndToEnd, TakesAFolderInRenamesItsFilesAndSavesTheSettings)
{
    RootFolder temp;
    ASSERT_FALSE(temp.Path().empty());
    const std::string app = temp / "app";
    const std::string photos = temp / "写真";
    const std::string out = temp / "出力";
    ASSERT_TRUE(CreateDirectoryA(app.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA(photos.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA(out.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((photos + "\\sub").c_str(), NULL));
    // Taken in: files with an extension, in case-insensitive order.
    ASSERT_TRUE(WriteFileText(photos + "\\c.dat", "third"));
    ASSERT_TRUE(WriteFileText(photos + "\\A.JPG", "first"));
    ASSERT_TRUE(WriteFileText(photos + "\\b.txt", "second"));
    // Left out: no extension, and what lies in a subfolder.
    ASSERT_TRUE(WriteFileText(photos + "\\README", "stays"));
    ASSERT_TRUE(WriteFileText(photos + "\\sub\\d.txt", "stays"));

    const std::string exe = app + "\\Tovik.exe";
    ASSERT_TRUE(CopyFileA(TOVIK_EXE_PATH, exe.c_str(), FALSE)) << TOVIK_EXE_PATH;
    // The folder picker opens on the saved output folder.
    ASSERT_TRUE(WriteFileText(app + "\\Tovik.ini",
                              "[SYSTEM]\r\nSTART_NUM=7\r\nFIGURE_FORMAT=2\r\n"
                              "FILENAME_PREFIX=Sample\r\nFILENAME_SUFFIX=\r\n"
                              "OUTPUT_FOLDER=" + photos + "\r\n"));

    Program program;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                               app.c_str(), &startup, &program.process));
    WaitForInputIdle(program.process.hProcess, kPatience);
    const DWORD pid = program.process.dwProcessId;

    HWND window = WaitForWindow(pid, "TovikClass", "Tovik Ver 1.03");
    ASSERT_TRUE(window) << "no main window";
    EXPECT_EQ("7", Text(GetDlgItem(window, kStartNumberEdit)));
    EXPECT_EQ(photos, Text(GetDlgItem(window, kOutputFolderEdit)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, kStartButton)));

    // The folder command: answer the real picker. It opens on the prepared
    // folder (Desktop > My Computer > C: > tovik-e2e-n > 写真), which it
    // selects just after it shows. Wine's picker does not always find the
    // folder it is asked to select (most often the first time it opens in a
    // process) and then shows no selection at all, where OK would answer the
    // desktop; the test cancels such a picker and gives the command again,
    // as a user would.
    int depth = -1;
    for (int attempt = 0; attempt < 5 && depth != 4; ++attempt) {
        PostMessageA(window, WM_COMMAND, kAddFolderButton,
                     (LPARAM)GetDlgItem(window, kAddFolderButton));
        HWND picker = WaitForWindow(pid, "#32770", NULL, window);
        ASSERT_TRUE(picker) << "no folder picker";
        depth = PickerSelectionDepth(picker);
        for (DWORD start = GetTickCount(); depth != 4 && GetTickCount() - start < 2000;) {
            Sleep(20);
            depth = PickerSelectionDepth(picker);
        }
        if (depth != 4) printf("The folder picker shows no selection (%d); once more.\n", depth);
        PostMessageA(picker, WM_COMMAND, depth == 4 ? IDOK : IDCANCEL, 0);
        ASSERT_TRUE(WaitUntilGone(picker));
    }
    ASSERT_EQ(4, depth) << "the picker did not open on the prepared folder";

    HWND list = GetDlgItem(window, kFileList);
    std::vector<std::string> entries;
    for (DWORD start = GetTickCount(); GetTickCount() - start < kPatience; Sleep(50)) {
        entries = ListEntries(list);
        if (!entries.empty()) break;
    }
    EXPECT_EQ((std::vector<std::string>{photos + "\\A.JPG", photos + "\\b.txt",
                                        photos + "\\c.dat"}),
              entries);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, kStartButton)));

    // The name parts: rename and move into the output folder, lower-case
    // extensions, 写真_007-x and on.
    Choose(window, kOperationCombo, 1);
    Choose(window, kExtensionCombo, 1);
    Retype(GetDlgItem(window, kOutputFolderEdit), out.c_str());
    Retype(GetDlgItem(window, kPrefixEdit), "写真_");
    Retype(GetDlgItem(window, kSuffixEdit), "-x");
    std::string preview = Text(GetDlgItem(window, kPreviewEdit));
    EXPECT_NE(std::string::npos, preview.find("変換書式 ==> 写真_007-x.拡張子")) << preview;

    // Start, and answer the confirmation, which shows the preview.
    PostMessageA(window, WM_COMMAND, kStartButton, (LPARAM)GetDlgItem(window, kStartButton));
    HWND confirmation = WaitForWindow(pid, "#32770", "改名（リネーム）の開始確認");
    ASSERT_TRUE(confirmation) << "no confirmation";
    EXPECT_NE(std::string::npos, StaticTexts(confirmation).find("写真_007-x.拡張子"));
    PostMessageA(confirmation, WM_COMMAND, IDYES, 0);

    // The run ends with the list emptied and the please-wait window gone.
    HWND wait = WaitForWindow(pid, NULL, "Now Renaming !!");
    EXPECT_TRUE(wait) << "no please-wait window";
    EXPECT_TRUE(WaitUntilGone(wait));
    for (DWORD start = GetTickCount(); GetTickCount() - start < kPatience; Sleep(50))
        if (SendMessageA(list, LB_GETCOUNT, 0, 0) == 0) break;
    EXPECT_EQ(0, SendMessageA(list, LB_GETCOUNT, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, kStartButton)));

    EXPECT_EQ("first", ReadFileText(out + "\\写真_007-x.jpg"));
    EXPECT_EQ("second", ReadFileText(out + "\\写真_008-x.txt"));
    EXPECT_EQ("third", ReadFileText(out + "\\写真_009-x.dat"));
    EXPECT_FALSE(FileExists(photos + "\\A.JPG")) << "moved, not copied";
    EXPECT_FALSE(FileExists(photos + "\\b.txt"));
    EXPECT_FALSE(FileExists(photos + "\\c.dat"));
    EXPECT_TRUE(FileExists(photos + "\\README"));
    EXPECT_TRUE(FileExists(photos + "\\sub\\d.txt"));

    // The close box: the program saves and ends with code 0.
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(program.process.hProcess, kPatience));
    DWORD code = 99;
    GetExitCodeProcess(program.process.hProcess, &code);
    EXPECT_EQ(0u, code);
    EXPECT_EQ("[SYSTEM]\r\n"
              "START_NUM=7\r\n"
              "FIGURE_FORMAT=2\r\n"
              "FILENAME_PREFIX=写真_\r\n"
              "FILENAME_SUFFIX=-x\r\n"
              "OUTPUT_FOLDER=" + out + "\r\n",
              ReadFileText(app + "\\Tovik.ini"));
}

}  // namespace
