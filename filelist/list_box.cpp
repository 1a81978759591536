#include "filelist/list_box.h"

#include <stdlib.h>

#include "core/heap.h"

int ListCount(HWND list)
{
    return (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
}

int SelectedCount(HWND list)
{
    return (int)SendMessageA(list, LB_GETSELCOUNT, 0, 0);
}

int LowestSelected(HWND list)
{
    int selected = -1;
    if (SendMessageA(list, LB_GETSELITEMS, 1, (LPARAM)&selected) != 1) return -1;
    return selected;
}

int ListText(HWND list, int index, char* text, size_t size)
{
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)index, 0);
    if (length < 0 || (size_t)length >= size) return 0;
    return SendMessageA(list, LB_GETTEXT, (WPARAM)index, (LPARAM)text) >= 0;
}

char* CopyListEntry(HWND list, int index)
{
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)index, 0);
    if (length < 0) return 0;
    char* text = (char*)AllocateMemory((size_t)length + 1);
    if (text && SendMessageA(list, LB_GETTEXT, (WPARAM)index, (LPARAM)text) < 0) text[0] = 0;
    return text;
}

int ListRowAt(HWND list, int y)
{
    RECT client;
    GetClientRect(list, &client);
    int height = (int)SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    if (y < 0 || y >= client.bottom || height <= 0) return -1;
    int row = (int)SendMessageA(list, LB_GETTOPINDEX, 0, 0) + y / height;
    return row < ListCount(list) ? row : -1;
}
