#include "filelist/folder_picker.h"

#include <shlobj.h>

#include <string.h>

#include "filelist/folder_files.h"

static FolderPicker g_folderPicker;

int CALLBACK BrowseCallback(HWND picker, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED) SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

int BrowseForFolder(HWND owner, char* path, const char* title)
{
    if (g_folderPicker) return g_folderPicker(owner, path, title);
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
    // Converted aside first, so that an item without a file-system path
    // leaves the caller's folder as it was.
    char chosen[MAX_PATH] = "";
    int result = SHGetPathFromIDListA(item, chosen) && chosen[0] ? 1 : 0;
    if (result) memcpy(path, chosen, strlen(chosen) + 1);
    shellMalloc->Free(item);
    shellMalloc->Release();
    return result;
}

FolderPicker SetFolderPicker(FolderPicker picker)
{
    FolderPicker previous = g_folderPicker;
    g_folderPicker = picker;
    return previous;
}
