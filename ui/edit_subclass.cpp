#include "ui/edit_subclass.h"

#include <string.h>

#include "core/app_state.h"
#include "core/mbcs_text.h"
#include "ui/name_inputs.h"

enum { kNameTextLimit = kPrefixSize - 1 };  // bytes of the prefix and of the suffix
static_assert(kPrefixSize == kSuffixSize, "one limit serves both edits");

// The bytes the edit holds outside its selection. Windows counts an ANSI
// edit's positions in bytes, Wine in characters; the line length, counted
// the same way, tells which.
static size_t BytesOutsideSelection(HWND edit)
{
    WCHAR text[1024];
    int length = GetWindowTextW(edit, text, 1024);
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, NULL, 0, NULL, NULL);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    bool inBytes = SendMessageA(edit, EM_LINELENGTH, 0, 0) != length;
    DWORD last = (DWORD)(inBytes ? bytes : length);
    if (end > last) end = last;
    if (start > end) start = end;
    if (inBytes) return (size_t)bytes - (end - start);
    int before = WideCharToMultiByte(CP_ACP, 0, text, (int)start, NULL, 0, NULL, NULL);
    int after = WideCharToMultiByte(CP_ACP, 0, text + end, length - (int)end, NULL, 0, NULL, NULL);
    return (size_t)(before + after);
}

// Puts as much of text (length bytes) in place of the selection as fits,
// never half a character, and beeps when some of it was not taken. A text
// of which nothing fits leaves the selection standing.
static void ReplaceSelectionLimited(HWND edit, WNDPROC original, WPARAM canUndo, const char* text,
                                    size_t length)
{
    size_t outside = BytesOutsideSelection(edit);
    size_t room = outside < kNameTextLimit ? kNameTextLimit - outside : 0;
    char fitting[kNameTextLimit + 1];
    size_t taken = CopyTextCut(fitting, (length < room ? length : room) + 1, text);
    if (taken < length) MessageBeep(MB_OK);
    if (taken == 0 && length > 0) return;
    CallWindowProcA(original, edit, EM_REPLACESEL, canUndo, (LPARAM)fitting);
}

// The clipboard's text up to its first line end, as a one-line edit pastes it.
static void PasteLimited(HWND edit, WNDPROC original)
{
    if (!OpenClipboard(edit)) return;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? (const char*)GlobalLock(data) : NULL;
    if (text) {
        ReplaceSelectionLimited(edit, original, TRUE, text, strcspn(text, "\r\n"));
        GlobalUnlock(data);
    }
    CloseClipboard();
}

// The first byte of a double-byte character typed, until its second comes.
static char g_leadByte;

static LRESULT NameTextEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC original)
{
    char typed[3] = {};
    switch (message) {
    case WM_CHAR:
        if (wParam == 0x16) {  // Ctrl+V
            PasteLimited(edit, original);
            return 0;
        }
        if (wParam < 0x20 || wParam == 0x7F) {  // Backspace and the other control keys
            g_leadByte = 0;
            break;
        }
        if (!g_leadByte && IsDBCSLeadByte((BYTE)wParam)) {
            g_leadByte = (char)wParam;
            return 0;
        }
        typed[0] = g_leadByte ? g_leadByte : (char)wParam;
        typed[1] = g_leadByte ? (char)wParam : 0;
        g_leadByte = 0;
        ReplaceSelectionLimited(edit, original, TRUE, typed, strlen(typed));
        return 0;
    case WM_IME_CHAR:  // a double-byte character's lead byte comes in the high byte
        typed[0] = (wParam >> 8 & 0xFF) ? (char)(wParam >> 8) : (char)wParam;
        typed[1] = (wParam >> 8 & 0xFF) ? (char)wParam : 0;
        ReplaceSelectionLimited(edit, original, TRUE, typed, strlen(typed));
        return 0;
    case EM_REPLACESEL:
        if (!lParam) break;
        ReplaceSelectionLimited(edit, original, wParam, (const char*)lParam, strlen((const char*)lParam));
        return 0;
    case WM_PASTE:
        PasteLimited(edit, original);
        return 0;
    case WM_KEYDOWN:  // Shift+Insert pastes without a WM_PASTE
        if (wParam != VK_INSERT || GetKeyState(VK_SHIFT) >= 0 || GetKeyState(VK_CONTROL) < 0) break;
        PasteLimited(edit, original);
        return 0;
    }
    return CallWindowProcA(original, edit, message, wParam, lParam);
}

LRESULT CALLBACK PrefixEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    return NameTextEditProc(edit, message, wParam, lParam, GetAppState()->prefixEditProc);
}

LRESULT CALLBACK SuffixEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    return NameTextEditProc(edit, message, wParam, lParam, GetAppState()->suffixEditProc);
}

static void OnStartNumberKillFocus(HWND edit)
{
    if (GetWindowTextLengthA(edit) > 0) return;
    SetWindowTextA(edit, "0");
    UpdatePreview();
}

LRESULT CALLBACK StartNumberEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KILLFOCUS:
        OnStartNumberKillFocus(edit);
        break;
    }
    return CallWindowProcA(GetAppState()->startNumberEditProc, edit, message, wParam, lParam);
}
