#include "support/tovik_test.h"

#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "core/prompt.h"
#include "core/settings.h"
#include "filelist/folder_picker.h"
#include "filelist/list_memory.h"
#include "rename/rename_run.h"
#include "rename/run_failures.h"
#include "ui/main_window.h"
#include "ui/message_loop.h"
#include "ui/shell_link.h"

static TovikTest* g_test;

bool Shown::operator==(const Shown& other) const
{
    return owner == other.owner && text == other.text && title == other.title &&
           buttons == other.buttons && icon == other.icon;
}

void PrintTo(const Shown& shown, std::ostream* out)
{
    *out << "{owner " << shown.owner << ", \"" << shown.text << "\", \"" << shown.title << "\", buttons "
         << shown.buttons << ", icon " << shown.icon << "}";
}

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize((size_t)MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    return wide;
}

std::string Narrow(const std::wstring& wide)
{
    std::string text(wide.size() * 2 + 1, '\0');
    text.resize((size_t)WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, &text[0],
                                            (int)text.size(), "?", NULL) - 1);
    return text;
}

// The wide form of a path, "\\?\"-prefixed so that long paths and trailing
// dots and spaces are taken as they are.
static std::wstring Extended(const std::wstring& path)
{
    return path.compare(0, 2, L"\\\\") == 0 ? path : L"\\\\?\\" + path;
}

static int AnswerPrompt(HWND owner, const char* text, const char* title, UINT buttons, UINT icon)
{
    Shown box = {owner, text, title, buttons, icon};
    g_test->shown.push_back(box);
    if (g_test->whileShown) g_test->whileShown(box);
    if (buttons == MB_OK) return IDOK;
    std::vector<int>& answers = g_test->answers;
    if (answers.empty()) return g_test->fallback;
    int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

static int AnswerPick(HWND, char* path, const char*)
{
    g_test->pickedFrom.push_back(path);
    Strings& picks = g_test->picks;
    if (picks.empty()) return 0;
    std::string pick = picks.front();
    picks.erase(picks.begin());
    if (pick.empty() || pick.size() >= MAX_PATH) return 0;
    memcpy(path, pick.c_str(), pick.size() + 1);
    return 1;
}

static void RecordPause(DWORD milliseconds)
{
    g_test->pauses.push_back(milliseconds);
    if (g_test->duringPause) g_test->duringPause();
}

static void* Allocate(size_t size)
{
    int& left = g_test->allocationsLeft;
    if (left == 0) return NULL;
    if (left > 0) left--;
    return malloc(size);
}

static std::string IniPath()
{
    char path[MAX_PATH * 2] = "";
    SettingsPath(path, sizeof path);
    return path;
}

TovikTest::TovikTest()
{
    g_test = this;
    SetPromptHandler(AnswerPrompt);
    SetFolderPicker(AnswerPick);
    SetPauseHandler(RecordPause);
    SetListAllocator(Allocate);
    SetLinkOpener([](HWND, const char* target) { g_test->links.push_back(target); });
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned sequence;
    char name[MAX_PATH + 64];
    do snprintf(name, sizeof name, "%stovik-test-%lu-%u", base, GetCurrentProcessId(), ++sequence);
    while (!CreateDirectoryA(name, NULL) && GetLastError() == ERROR_ALREADY_EXISTS);
    work = name;
    DeleteFileA(IniPath().c_str());
}

TovikTest::~TovikTest()
{
    if (window && IsWindow(window)) DestroyWindow(window);
    Pump();
    MSG quit;
    PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
    // Every window registers the class afresh, as a new process would.
    UnregisterClassA("TovikClass", GetModuleHandleA(NULL));
    SetPromptHandler(0);
    SetFolderPicker(0);
    SetPauseHandler(0);
    SetListAllocator(0);
    SetLinkOpener(0);
    DeleteFileA(IniPath().c_str());
    RemoveTree(work);
    g_test = nullptr;
}

void TovikTest::Make(const Strings& items)
{
    std::vector<std::wstring> wide;
    for (const std::string& item : items) wide.push_back(Wide(item));
    MakeWide(wide);
}

void TovikTest::MakeWide(const std::vector<std::wstring>& items)
{
    for (const std::wstring& item : items) {
        size_t equals = item.find(L'=');
        std::wstring path = Extended(Wide(work) + L"\\" + item.substr(0, equals));
        if (equals == std::wstring::npos) {
            if (path.back() == L'\\') path.pop_back();
            ASSERT_TRUE(CreateDirectoryW(path.c_str(), NULL)) << Narrow(path);
            continue;
        }
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << Narrow(path);
        std::string content = Narrow(item.substr(equals + 1));
        DWORD written = 0;
        WriteFile(file, content.data(), (DWORD)content.size(), &written, NULL);
        CloseHandle(file);
    }
}

static void Walk(const std::wstring& folder, const std::string& prefix, Strings* items)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Extended(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        std::string shown = prefix + Narrow(name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            items->push_back(shown + "\\");
            Walk(folder + L"\\" + name, shown + "\\", items);
            continue;
        }
        std::string content;
        HANDLE file = CreateFileW(Extended(folder + L"\\" + name).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
        char buffer[4096];
        DWORD got = 0;
        while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &got, NULL) && got)
            content.append(buffer, got);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        items->push_back(shown + "=" + content);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

Strings TovikTest::Contents(const std::string& folder) const
{
    Strings items;
    Walk(Wide(folder.empty() ? work : Path(folder)), "", &items);
    std::sort(items.begin(), items.end());
    return items;
}

HWND TovikTest::Open()
{
    window = CreateMainWindow(GetModuleHandleA(NULL));
    return window;
}

std::string TovikTest::ControlText(int id) const
{
    char text[1024] = "";
    GetWindowTextA(Control(id), text, sizeof text);
    return text;
}

void TovikTest::Pump()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
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
    HWND list = Control(1003);
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        std::string text((size_t)SendMessageA(list, LB_GETTEXTLEN, (WPARAM)i, 0) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)&text[0]);
        entries.push_back(text.c_str());
    }
    return entries;
}

static void SendDrop(HWND window, std::string names, bool wide)
{
    names.append(wide ? sizeof(wchar_t) : 1, '\0');
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    DROPFILES* header = (DROPFILES*)GlobalLock(block);
    header->pFiles = sizeof(DROPFILES);
    header->fWide = wide;
    memcpy(header + 1, names.data(), names.size());
    GlobalUnlock(block);
    SendMessageA(window, WM_DROPFILES, (WPARAM)block, 0);
}

void TovikTest::Drop(const Strings& paths, bool wide)
{
    if (wide) {
        std::vector<std::wstring> widePaths;
        for (const std::string& path : paths) widePaths.push_back(Wide(path));
        DropWide(widePaths);
        return;
    }
    std::string names;
    for (const std::string& path : paths) names.append(path.c_str(), path.size() + 1);
    SendDrop(window, names, false);
}

void TovikTest::DropWide(const std::vector<std::wstring>& paths)
{
    std::string names;
    for (const std::wstring& path : paths)
        names.append((const char*)path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    SendDrop(window, names, true);
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
    std::function<void(HWND)> answer;
    answer.swap(g_answer);
    answer(found);
}

bool WhileShowing(const char* className, const std::function<void(HWND)>& answer,
                  const std::function<void()>& call)
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
                    "コピー先フォルダには既にファイル[ " + newPath +
                        " ]が存在します。\r\n上書きしますか？\r\n\r\n[ YES        ] => 上書き\r\n"
                        "[ NO         ] => 上書きせずに処理続行\r\n[ キャンセル ] => 処理中断",
                    "ファイルの上書き確認(" + source + ")", MB_YESNOCANCEL);
}

Shown FailureList(HWND owner, const Strings& lines, int more)
{
    std::string text = "次のファイルは改名（リネーム）できませんでした。\r\n\r\n";
    for (size_t i = 0; i < lines.size(); i++) text += (i ? "\r\n" : "") + lines[i];
    if (more > 0) text += "\r\nほか " + std::to_string(more) + " 件";
    return Error(owner, text, "改名（リネーム）できなかったファイル");
}

std::string FailureLine(const std::string& path, DWORD error)
{
    char reason[1024];
    FailureReason(error, reason, sizeof reason);
    return path + " : " + reason;
}

bool WriteFileText(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileW(Extended(Wide(path)).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, content.data(), (DWORD)content.size(), &written, NULL);
    CloseHandle(file);
    return ok && written == content.size();
}

std::string ReadFileText(const std::string& path)
{
    HANDLE file = CreateFileW(Extended(Wide(path)).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) content.append(buffer, got);
    CloseHandle(file);
    return content;
}

static bool RemoveWide(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveWide(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(path.c_str()) != 0;
}

bool RemoveTree(const std::string& path)
{
    return RemoveWide(Extended(Wide(path)));
}
