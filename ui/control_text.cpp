#include "ui/control_text.h"

#include <stdlib.h>

#include "core/heap.h"
#include "core/mbcs_text.h"

size_t ReadControlText(HWND control, char* text, size_t size)
{
    // A short buffer given to GetWindowTextA could end in half a character,
    // so the whole text is read first and cut by characters afterwards.
    char local[1024];
    char* whole = local;
    int wholeSize = (int)sizeof local;
    int length = GetWindowTextLengthA(control);
    if (length >= wholeSize) {
        char* heap = (char*)AllocateMemory((size_t)length + 1);
        if (heap) {
            whole = heap;
            wholeSize = length + 1;
        }
    }
    whole[0] = 0;
    GetWindowTextA(control, whole, wholeSize);
    size_t kept = CopyTextCut(text, size, whole);
    if (whole != local) free(whole);
    return kept;
}

int ComboSelection(HWND combo)
{
    return (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
}
