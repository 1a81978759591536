#include "ui/shell_link.h"

#include <shellapi.h>

static LinkOpener g_linkOpener;

void OpenLink(HWND owner, const char* target)
{
    if (g_linkOpener) {
        g_linkOpener(owner, target);
        return;
    }
    ShellExecuteA(owner, NULL, target, NULL, NULL, SW_SHOWNORMAL);
}

LinkOpener SetLinkOpener(LinkOpener opener)
{
    LinkOpener previous = g_linkOpener;
    g_linkOpener = opener;
    return previous;
}
