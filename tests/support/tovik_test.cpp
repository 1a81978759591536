#include "support/tovik_test.h"

#include <malloc.h>
#include <stdio.h>

#include <algorithm>
#include <map>
#include <thread>

#include "core/seams.h"
#include "core/settings.h"
#include "filelist/path_buffer.h"
#include "ui/main_window.h"
#include "ui/message_loop.h"

static TovikTest* g_test;

static int UsedHeapBlocks()
{
    _HEAPINFO heap = {};
    int used = 0;
    while (_heapwalk(&heap) == _HEAPOK) used += heap._useflag == _USEDENTRY;
    return used;
}

bool Shown::operator==(const Shown& o) const
{
    return owner == o.owner && text == o.text && title == o.title && buttons == o.buttons && icon == o.icon;
}

void PrintTo(const Shown& shown, std::ostream* out)
{
    *out << shown.owner << " \"" << shown.text << "\" \"" << shown.title << "\" " << shown.buttons + shown.icon;
}

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], (int)wide.size());
    wide.resize((size_t)length - 1);
    return wide;
}

std::string Fold(std::string path)
{
    for (char& c : path) if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return path;
}

std::string Narrow(const std::wstring& wide)
{
    std::string text(wide.size() * 2 + 1, '\0');
    int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, &text[0], (int)text.size(), "?", NULL);
    text.resize((size_t)length - 1);
    return text;
}

// "\\?\" takes long paths and trailing dots and spaces as they are.
static std::wstring Extended(const std::wstring& path)
{
    return path.compare(0, 2, L"\\\\") ? L"\\\\?\\" + path : path;
}

static bool WriteWide(const std::wstring& path, const std::string& content)
{
    HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, content.data(), (DWORD)content.size(), &written, NULL) && written == content.size();
    CloseHandle(file);
    return ok;
}

static std::string ReadWide(const std::wstring& path)
{
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_READ, share, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content;
    char buffer[65536];
    for (DWORD got = 0; ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0;) content.append(buffer, got);
    CloseHandle(file);
    return content;
}

bool WriteFileText(const std::string& path, const std::string& content) { return WriteWide(Wide(path), content); }

std::string ReadFileText(const std::string& path) { return ReadWide(Wide(path)); }

// Calls visit for everything below folder, a folder's content before the folder.
static void Walk(const std::wstring& folder, const std::function<void(const std::wstring& path, bool isFolder)>& visit)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Extended(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        std::wstring path = folder + L"\\" + name;
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name == L"." || name == L"..") continue;
        if (isFolder) Walk(path, visit);
        visit(path, isFolder);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool RemoveTree(const std::string& path)
{
    Walk(Wide(path), [](const std::wstring& child, bool isFolder) {
        SetFileAttributesW(Extended(child).c_str(), FILE_ATTRIBUTE_NORMAL);
        if (isFolder) {
            RemoveDirectoryW(Extended(child).c_str());
        } else {
            DeleteFileW(Extended(child).c_str());
        }
    });
    return RemoveDirectoryW(Extended(Wide(path)).c_str()) != 0;
}

static void DeleteIni()
{
    char ini[MAX_PATH * 2] = "";
    SettingsPath(ini, sizeof ini);
    DeleteFileA(ini);
}

static int AnswerPrompt(HWND owner, const char* text, const char* title, UINT buttons, UINT icon)
{
    g_test->shown.push_back({owner, text, title, buttons, icon});
    if (g_test->whileShown) g_test->whileShown(Shown(g_test->shown.back()));
    std::vector<int>& answers = g_test->answers;
    if (buttons == MB_OK) return IDOK;
    if (answers.empty()) return g_test->fallback;
    int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

static int AnswerPick(HWND, char* path, const char*)
{
    g_test->pickedFrom.push_back(path);
    if (g_test->picks.empty()) return 0;
    std::string pick = g_test->picks.front();
    g_test->picks.erase(g_test->picks.begin());
    if (pick.empty() || pick.size() >= MAX_PATH) return 0;
    memcpy(path, pick.c_str(), pick.size() + 1);
    return 1;
}

static void RecordPause(DWORD milliseconds)
{
    g_test->pauses.push_back(milliseconds);
    if (g_test->duringPause) g_test->duringPause();
}

static void* CountedAllocation(size_t size)
{
    int& left = g_test->allocationsLeft;
    if (left == 0) return NULL;
    if (left > 0) left--;
    return malloc(size);
}

static void RecordLink(HWND, const char* target) { g_test->links.push_back(target); }

TovikTest::TovikTest()
{
    g_test = this;
    SetPromptHandler(AnswerPrompt);
    SetFolderPicker(AnswerPick);
    SetPauseHandler(RecordPause);
    SetAllocator(CountedAllocation);
    SetLinkOpener(RecordLink);
    char base[MAX_PATH];
    char name[MAX_PATH + 64];
    GetTempPathA(sizeof base, base);
    static unsigned sequence;
    do {
        snprintf(name, sizeof name, "%stovik-test-%lu-%u", base, GetCurrentProcessId(), ++sequence);
    } while (!CreateDirectoryA(name, NULL) && GetLastError() == ERROR_ALREADY_EXISTS);
    work = name;
    DeleteIni();
    // The runtime keeps the blocks of its first thread and first trace: made before any count.
    static bool runtimeWarm;
    if (!runtimeWarm) {
        std::thread([] {}).join();
        SCOPED_TRACE("");
        runtimeWarm = true;
    }
    heapBlocks = UsedHeapBlocks();
}

void TovikTest::TearDown()
{
    if (window && IsWindow(window)) DestroyWindow(window);
    Pump();
    MSG quit;
    PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
    // Each window registers its class afresh, as a new process would.
    UnregisterClassA("TovikClass", GetModuleHandleA(NULL));
    SetPromptHandler(0);
    SetFolderPicker(0);
    SetPauseHandler(0);
    SetAllocator(0);
    SetPathStartCapacity(0);
    SetLinkOpener(0);
    DeleteIni();
    RemoveTree(work);
    g_test = nullptr;
    // The test's own records go first; what is left on the heap is the program's.
    std::vector<Shown>().swap(shown);
    std::vector<int>().swap(answers);
    std::vector<DWORD>().swap(pauses);
    Strings().swap(picks);
    Strings().swap(pickedFrom);
    Strings().swap(links);
    whileShown = nullptr;
    duringPause = nullptr;
    // A failure's record takes some.
    if (!HasFailure()) {
        EXPECT_EQ(heapBlocks, UsedHeapBlocks()) << "blocks the program took and did not give back";
    }
}

void TovikTest::Make(const Strings& items)
{
    for (const std::string& item : items) MakeWide({Wide(item)});
}

void TovikTest::MakeWide(const std::vector<std::wstring>& items)
{
    for (const std::wstring& item : items) {
        size_t equals = item.find(L'=');
        std::wstring path = Wide(work) + L"\\" + item.substr(0, equals);
        if (equals != std::wstring::npos) {
            ASSERT_TRUE(WriteWide(path, Narrow(item.substr(equals + 1)))) << Narrow(path);
            continue;
        }
        if (path.back() == L'\\') path.pop_back();
        ASSERT_TRUE(CreateDirectoryW(Extended(path).c_str(), NULL)) << Narrow(path);
    }
}

Strings TovikTest::Contents(const std::string& folder) const
{
    Strings items;
    std::wstring root = Wide(folder.empty() ? work : Path(folder));
    Walk(root, [&](const std::wstring& path, bool isFolder) {
        std::string name = Narrow(path.substr(root.size() + 1));
        items.push_back(isFolder ? name + "\\" : name + "=" + ReadWide(path));
    });
    std::sort(items.begin(), items.end());
    return items;
}

HWND TovikTest::Open() { return window = CreateMainWindow(GetModuleHandleA(NULL)); }

std::string TovikTest::ControlText(int id) const
{
    char text[1024] = "";
    GetWindowTextA(Control(id), text, sizeof text);
    return text;
}

void TovikTest::Pump()
{
    for (MSG message; PeekMessageA(&message, NULL, 0, 0, PM_REMOVE);) {
        if (message.message == WM_QUIT) {
            PostQuitMessage((int)message.wParam);  // kept, as the loop would end here
            return;
        }
        DeliverLoopMessage(window, &message);
    }
}

Strings TovikTest::Entries() const
{
    Strings entries;
    char text[1024];  // the list takes no path longer than MAX_PATH
    HWND list = Control(IDC_FILE_LIST);
    for (int i = 0; i < (int)SendMessageA(list, LB_GETCOUNT, 0, 0); i++) {
        text[0] = 0;
        SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
        entries.push_back(text);
    }
    return entries;
}

// A drop as the shell hands it over: a DROPFILES header (shlobj.h), then the names, each ended, an empty one last.
struct DropFiles {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};

static void SendDrop(HWND window, const void* names, size_t size, BOOL wide)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DropFiles) + size + sizeof(wchar_t));
    DropFiles* header = (DropFiles*)GlobalLock(block);
    header->pFiles = sizeof(DropFiles);
    header->fWide = wide;
    memcpy(header + 1, names, size);
    GlobalUnlock(block);
    SendMessageA(window, WM_DROPFILES, (WPARAM)block, 0);
}

void TovikTest::Drop(const Strings& paths, bool wide)
{
    std::vector<std::wstring> widePaths;
    std::string names;
    for (const std::string& path : paths) {
        widePaths.push_back(Wide(path));
        names.append(path.c_str(), path.size() + 1);
    }
    if (wide) {
        DropWide(widePaths);
    } else {
        SendDrop(window, names.data(), names.size(), FALSE);
    }
}

void TovikTest::DropWide(const std::vector<std::wstring>& paths)
{
    std::wstring names;
    for (const std::wstring& path : paths) names.append(path.c_str(), path.size() + 1);
    SendDrop(window, names.data(), names.size() * sizeof(wchar_t), TRUE);
}

static const char* g_showingClass;
static std::function<void(HWND)> g_answer;

static BOOL CALLBACK FindShown(HWND window, LPARAM found)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, g_showingClass) != 0 || !IsWindowVisible(window)) return TRUE;
    *(HWND*)found = window;
    return FALSE;
}

static void CALLBACK LookForShown(HWND, UINT, UINT_PTR, DWORD)
{
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindShown, (LPARAM)&found);
    if (!found || !g_answer) return;
    // Taken first: it may show another window of the class.
    std::function<void(HWND)> answer;
    answer.swap(g_answer);
    answer(found);
}

bool WhileShowing(const char* className, const std::function<void(HWND)>& answer, const std::function<void()>& call)
{
    g_showingClass = className;
    g_answer = answer;
    UINT_PTR timer = SetTimer(NULL, 0, 50, LookForShown);
    call();
    KillTimer(NULL, timer);
    bool answered = !g_answer;
    g_answer = nullptr;
    return answered;
}

Shown Question(HWND owner, const std::string& text, const std::string& title, UINT buttons)
{
    return {owner, text, title, buttons, MB_ICONQUESTION};
}

Shown Error(HWND owner, const std::string& text, const std::string& title)
{
    return {owner, text, title, MB_OK, MB_ICONERROR};
}

Shown Overwrite(HWND owner, const std::string& source, const std::string& newPath)
{
    return Question(owner,
                    "コピー先フォルダには既にファイル[ " + newPath + " ]が存在します。\r\n"
                    "上書きしますか？\r\n\r\n"
                    "[ YES        ] => 上書き\r\n"
                    "[ NO         ] => 上書きせずに処理続行\r\n"
                    "[ キャンセル ] => 処理中断",
                    "ファイルの上書き確認(" + source + ")", MB_YESNOCANCEL);
}

Shown FailureList(HWND owner, const Strings& lines, int more, const std::string& header, const std::string& title)
{
    std::string text = header + "\r\n";
    for (const std::string& line : lines) text += "\r\n" + line;
    if (more > 0) text += "\r\nほか " + std::to_string(more) + " 件";
    return Error(owner, text, title);
}

Shown StopSummary(HWND owner, int renamed, int remaining, const Strings& lines)
{
    std::string text = "改名（リネーム）を中止しました。\r\n\r\n"
                       "改名したファイル: " + std::to_string(renamed) +
                       " 件\r\n残りのファイル: " + std::to_string(remaining) + " 件";
    if (!lines.empty()) text += "\r\n\r\n次のファイルは改名（リネーム）できませんでした。\r\n";
    for (const std::string& line : lines) text += "\r\n" + line;
    return {owner, text, "改名（リネーム）の中止", MB_OK, MB_ICONWARNING};
}

// The program's own reasons, as the user reads them.
static const std::map<DWORD, std::string> kOwnReasons = {
    {kReasonChangedSince, "改名の後に移動、"
                          "削除または別のファイルに置き換えられています。"},
    {kReasonOldNameTaken, "元の名前には別のファイルがあります。"},
    {kReasonNotRunsFile, "前回の改名で動かしたファイルではありません。"},
    {kReasonCopyKept, "元のファイルが見つからないため、途中までのコピーを残しました。"},
};

std::string FailureLine(const std::string& path, DWORD error)
{
    auto own = kOwnReasons.find(error);
    if (own != kOwnReasons.end()) return path + " : " + own->second;
    char system[1024] = "";
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    FormatMessageA(flags, NULL, error, 0, system, sizeof system, NULL);
    std::string reason = system;
    std::replace(reason.begin(), reason.end(), '\r', ' ');
    std::replace(reason.begin(), reason.end(), '\n', ' ');
    reason.erase(reason.find_last_not_of(' ') + 1);
    return path + " : " + reason;
}
