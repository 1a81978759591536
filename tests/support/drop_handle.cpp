#include "support/drop_handle.h"

#include <shlobj.h>
#include <string.h>

HDROP MakeDrop(const std::vector<std::string>& paths)
{
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths) bytes += path.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!block) return NULL;
    DROPFILES* header = (DROPFILES*)GlobalLock(block);
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    char* names = (char*)header + sizeof(DROPFILES);
    for (const std::string& path : paths) {
        memcpy(names, path.c_str(), path.size() + 1);
        names += path.size() + 1;
    }
    *names = 0;
    GlobalUnlock(block);
    return (HDROP)block;
}
