#include "ui/about_box.h"

#include "core/app_state.h"
#include "ui/control_text.h"
#include "res/about_box_res.h"
#include "ui/project_links.h"
#include "ui/shell_link.h"

enum { kLabelTextSize = 128 };  // a label paints at most 127 bytes

// There is never more than one about box, so its state is the module's.
static HFONT g_linkFont;
static WNDPROC g_webLabelProc;
static WNDPROC g_mailLabelProc;

HFONT GetLinkFont()
{
    return g_linkFont;
}

// Blue, underlined text on the button face, drawn from the label's origin.
static LRESULT PaintLink(HWND label)
{
    char text[kLabelTextSize];
    size_t length = ReadControlText(label, text, sizeof text);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(label, &paint);
    HGDIOBJ oldFont = g_linkFont ? SelectObject(dc, g_linkFont) : NULL;
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, OPAQUE);
    TextOutA(dc, 0, 0, text, (int)length);
    if (oldFont) SelectObject(dc, oldFont);
    EndPaint(label, &paint);
    return 0;
}

LRESULT CALLBACK LinkLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        return PaintLink(label);
    case WM_SETCURSOR:
        SetCursor(GetAppState()->handCursor);
        return 0;
    }
    WNDPROC saved = GetDlgCtrlID(label) == IDC_MAIL_LINK ? g_mailLabelProc : g_webLabelProc;
    return CallWindowProcA(saved, label, message, wParam, lParam);
}

static INT_PTR OnAboutInit(HWND box)
{
    HWND webLabel = GetDlgItem(box, IDC_WEB_LINK);
    HWND mailLabel = GetDlgItem(box, IDC_MAIL_LINK);
    LOGFONTA description;
    HFONT dialogFont = (HFONT)SendMessageA(webLabel, WM_GETFONT, 0, 0);
    if (dialogFont && GetObjectA(dialogFont, sizeof description, &description)) {
        description.lfUnderline = TRUE;
        g_linkFont = CreateFontIndirectA(&description);
    }
    g_webLabelProc = (WNDPROC)SetWindowLongPtrA(webLabel, GWLP_WNDPROC, (LONG_PTR)LinkLabelProc);
    g_mailLabelProc = (WNDPROC)SetWindowLongPtrA(mailLabel, GWLP_WNDPROC, (LONG_PTR)LinkLabelProc);
    return TRUE;  // the focus goes to the first tab stop, OK
}

// A single click opens the link; the second click of a double-click arrives
// as STN_DBLCLK and is ignored, so the target opens once.
static INT_PTR OnLinkClicked(HWND box, WORD code, const char* target)
{
    if (code == STN_CLICKED) OpenLink(box, target);
    return TRUE;
}

static INT_PTR OnAboutCommand(HWND box, WORD id, WORD code)
{
    switch (id) {
    case IDOK:
    case IDCANCEL:
        EndDialog(box, id);
        return TRUE;
    case IDC_WEB_LINK:
        return OnLinkClicked(box, code, TOVIK_WEB_ADDRESS);
    case IDC_MAIL_LINK:
        return OnLinkClicked(box, code, TOVIK_MAIL_LINK);
    }
    return FALSE;
}

static INT_PTR OnAboutDestroy(HWND box)
{
    if (g_webLabelProc)
        SetWindowLongPtrA(GetDlgItem(box, IDC_WEB_LINK), GWLP_WNDPROC, (LONG_PTR)g_webLabelProc);
    if (g_mailLabelProc)
        SetWindowLongPtrA(GetDlgItem(box, IDC_MAIL_LINK), GWLP_WNDPROC, (LONG_PTR)g_mailLabelProc);
    g_webLabelProc = g_mailLabelProc = NULL;
    if (g_linkFont) DeleteObject(g_linkFont);
    g_linkFont = NULL;
    return TRUE;
}

INT_PTR CALLBACK AboutDialogProc(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnAboutInit(box);
    case WM_COMMAND:
        return OnAboutCommand(box, LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY:
        return OnAboutDestroy(box);
    }
    return FALSE;
}
