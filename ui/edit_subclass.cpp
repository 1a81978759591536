#include "ui/edit_subclass.h"

#include "core/app_state.h"
#include "ui/name_inputs.h"

LRESULT CALLBACK PrefixEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYUP) {
        UpdatePreview();
        return 0;
    }
    return CallWindowProcA(GetAppState()->prefixEditProc, edit, message, wParam, lParam);
}

LRESULT CALLBACK SuffixEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYUP) {
        UpdatePreview();
        return 0;
    }
    return CallWindowProcA(GetAppState()->suffixEditProc, edit, message, wParam, lParam);
}

static void OnStartNumberKillFocus(HWND edit)
{
    if (GetWindowTextLengthA(edit) > 0) return;
    SetWindowTextA(edit, "0");
    UpdatePreview();
}

// While the edit is empty the preview keeps the last number, so that
// retyping a number does not flash a 0 in between.
static void OnStartNumberKeyUp(HWND edit)
{
    if (GetWindowTextLengthA(edit) > 0) UpdatePreview();
}

LRESULT CALLBACK StartNumberEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KILLFOCUS:
        OnStartNumberKillFocus(edit);
        break;
    case WM_KEYUP:
        OnStartNumberKeyUp(edit);
        return 0;
    }
    return CallWindowProcA(GetAppState()->startNumberEditProc, edit, message, wParam, lParam);
}
