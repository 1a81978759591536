#include "ui/shell_link.h"

#include <shellapi.h>

void OpenLink(HWND owner, const char* target)
{
    if (GetSeams()->linkOpener) {
        GetSeams()->linkOpener(owner, target);
        return;
    }
    ShellExecuteA(owner, NULL, target, NULL, NULL, SW_SHOWNORMAL);
}
