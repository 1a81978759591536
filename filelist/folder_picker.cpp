#include "filelist/folder_picker.h"

#include <shlobj.h>

#include <string.h>

#include "core/prompt.h"
#include "filelist/folder_files.h"

int CALLBACK BrowseCallback(HWND picker, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED) SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

// The picker itself, for BrowseForFolder.
static int PickFolder(HWND owner, char* path, const char* title)
{
    IMalloc* shellMalloc = 0;
    if (FAILED(SHGetMalloc(&shellMalloc)) || !shellMalloc) return 0;
    BROWSEINFOA info;
    memset(&info, 0, sizeof info);
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = (LPARAM)path;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (!item) {
        shellMalloc->Release();
        return 0;
    }
    // Read in wide characters, as the ANSI read would put a look-alike in
    // place of a character code page 932 lacks and so name another folder;
    // converted aside first, so that an item without a usable path leaves
    // the caller's folder as it was.
    wchar_t wide[MAX_PATH] = L"";
    char chosen[2 * kPathSize] = "";
    int found = SHGetPathFromIDListW(item, wide) && wide[0];
    int exact = found && !HasTrimmedName(wide) && WideToExactAnsi(wide, chosen, sizeof chosen);
    shellMalloc->Free(item);
    shellMalloc->Release();
    if (found && !exact) {
        Prompt(owner, "選択したフォルダのパスにはシフトJIS（コードページ932）で表せない文字があるか、名前の末尾がピリオドか空白のため、使えません。",
               "使えないフォルダ名", MB_OK, MB_ICONERROR);
    }
    if (!exact || strlen(chosen) > kMaxPathLength) return 0;
    memcpy(path, chosen, strlen(chosen) + 1);
    return 1;
}

int BrowseForFolder(HWND owner, char* path, const char* title)
{
    if (GetSeams()->folderPicker) return GetSeams()->folderPicker(owner, path, title);
    // The picker's shell objects need a single-threaded apartment on this thread.
    HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    int result = PickFolder(owner, path, title);
    if (com == S_OK || com == S_FALSE) CoUninitialize();
    return result;
}
