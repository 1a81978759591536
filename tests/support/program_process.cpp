#include "support/program_process.h"

bool WaitFor(const std::function<bool()>& done, DWORD patience)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > patience) return false;
    return true;
}

bool ProgramProcess::Start(const std::string& exe, const std::string& folder, const std::string& ini)
{
    std::string copy = folder + "\\Tovik.exe", command = "\"" + copy + "\"";
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    return (CreateDirectoryA(folder.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS) &&
           WriteFileText(folder + "\\Tovik.ini", ini) &&
           CopyFileA((exe[0] == '/' ? "Z:" + exe : exe).c_str(), copy.c_str(), FALSE) &&
           CreateProcessA(copy.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup, &info);
}

HWND ProgramProcess::Find(const char* className, const char* title) const
{
    HWND found = NULL;
    WaitFor([&] {
        for (DWORD owner = 0; (found = FindWindowExA(NULL, found, className, title)) != NULL;)
            if (GetWindowThreadProcessId(found, &owner) && owner == info.dwProcessId && IsWindowVisible(found)) return true;
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
    CloseHandle(info.hProcess), CloseHandle(info.hThread);
    info = {};
}
