#include "support/program_process.h"

bool WaitFor(const std::function<bool()>& done, DWORD patience)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50)) {
        if (GetTickCount() - start > patience) return false;
    }
    return true;
}

bool ProgramProcess::Start(const std::string& exe, const std::wstring& folder, const std::string& ini)
{
    std::wstring copy = folder + L"\\Tovik.exe";
    std::wstring command = L"\"" + copy + L"\"";
    std::wstring source = Wide(exe[0] == '/' ? "Z:" + exe : exe);
    DWORD written = 0;
    STARTUPINFOW startup;
    GetStartupInfoW(&startup);
    bool ready = (CreateDirectoryW(folder.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS);
    HANDLE settings = CreateFileW((folder + L"\\Tovik.ini").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ready = ready && settings != INVALID_HANDLE_VALUE;
    ready = ready && WriteFile(settings, ini.data(), (DWORD)ini.size(), &written, NULL);
    if (settings != INVALID_HANDLE_VALUE) CloseHandle(settings);
    return ready && CopyFileW(source.c_str(), copy.c_str(), FALSE) &&
           CreateProcessW(copy.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup, &info);
}

HWND ProgramProcess::Find(const char* className, const char* title) const
{
    HWND found = NULL;
    WaitFor([&] {
        DWORD owner = 0;
        while ((found = FindWindowExA(NULL, found, className, title)) != NULL) {
            GetWindowThreadProcessId(found, &owner);
            if (owner == info.dwProcessId && IsWindowVisible(found)) return true;
        }
        return false;
    });
    return found;
}

// Across processes the W message brings the text as the control holds it, in UTF-16.
std::string ProgramProcess::Text(HWND control)
{
    std::wstring text(4096, L'\0');
    SendMessageW(control, WM_GETTEXT, 4096, (LPARAM)&text[0]);
    return Narrow(text.c_str());
}

DWORD ProgramProcess::Close(DWORD patience)
{
    DWORD code = STILL_ACTIVE;
    PostMessageA(Find("TovikClass"), WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(info.hProcess, patience) == WAIT_OBJECT_0;
    return ended && GetExitCodeProcess(info.hProcess, &code) ? code : STILL_ACTIVE;
}

void ProgramProcess::Kill()
{
    if (!info.hProcess) return;
    TerminateProcess(info.hProcess, 99);  // refused once it has ended
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    info = {};
}
