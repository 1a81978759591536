#include "support/drop_handle.h"

#include <shlobj.h>
#include <string.h>

template <typename Char>
static HDROP MakeDropOf(const std::vector<std::basic_string<Char>>& paths)
{
    size_t bytes = sizeof(DROPFILES) + sizeof(Char);
    for (const auto& path : paths) bytes += (path.size() + 1) * sizeof(Char);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!block) return NULL;
    DROPFILES* header = (DROPFILES*)GlobalLock(block);
    header->pFiles = sizeof(DROPFILES);
    header->fWide = sizeof(Char) > 1;
    Char* names = (Char*)((char*)header + sizeof(DROPFILES));
    for (const auto& path : paths) {
        memcpy(names, path.c_str(), (path.size() + 1) * sizeof(Char));
        names += path.size() + 1;
    }
    *names = 0;
    GlobalUnlock(block);
    return (HDROP)block;
}

HDROP MakeDrop(const std::vector<std::string>& paths)
{
    return MakeDropOf(paths);
}

HDROP MakeDrop(const std::vector<std::wstring>& paths)
{
    return MakeDropOf(paths);
}
