// The about box run modally from the help button: every way of closing it, its links and its hand cursor.
#include "core/app_state.h"
#include "res/about_box_res.h"
#include "support/tovik_test.h"
#include "ui/about_box.h"

// Each way of closing deletes the opening's font (GetGuiResources counts nothing under Wine; the handle is asked
// instead) and gives the main window its input back; a double-click on a link opens it once and the box stays; the
// labels are painted blue and show the hand.
TEST_F(TovikTest, EachWayOfClosingTheAboutBoxDeletesItsFontAndEachLinkOpensOnce) {
    Open(), ShowWindow(window, SW_SHOWNORMAL);
    for (int way = 0; way < 4; ++way) {
        HFONT font = NULL;
        bool mainEnabled = true, stillOpen = false;
        ASSERT_TRUE(WhileShowing("#32770", [&](HWND box) {
            font = GetLinkFont(), mainEnabled = IsWindowEnabled(window) != FALSE;
            HWND label = GetDlgItem(box, way ? IDC_MAIL_LINK : IDC_WEB_LINK);
            for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                if (way < 2) SendMessageA(label, message, 0, MAKELPARAM(3, 3));
            stillOpen = IsWindowVisible(box) != FALSE;
            SetCursor(NULL);
            SendMessageA(label, WM_SETCURSOR, (WPARAM)label, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(GetAppState()->handCursor, GetCursor());
            RedrawWindow(label, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            HDC dc = GetDC(label);
            EXPECT_TRUE(GetPixel(dc, 1, 1) == GetSysColor(COLOR_BTNFACE) && GetPixel(dc, 2, 12) == RGB(0, 0, 255)) << "underlined in blue";
            ReleaseDC(label, dc);
            if (way == 0) PostMessageA(box, WM_COMMAND, IDOK, (LPARAM)GetDlgItem(box, IDOK));
            if (way == 3) PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            if (way == 1 || way == 2) PostMessageA(GetFocus() ? GetFocus() : box, WM_KEYDOWN, way == 1 ? VK_RETURN : VK_ESCAPE, 1);
        }, [&] { SendMessageA(window, WM_COMMAND, IDC_HELP_BUTTON, (LPARAM)Control(IDC_HELP_BUTTON)); })) << way;
        EXPECT_TRUE(!mainEnabled && stillOpen && font && GetObjectType(font) == 0 && !GetLinkFont() && IsWindowEnabled(window)) << way;
    }
    EXPECT_EQ(Strings({"https://tovik.example.org/", "mailto:tovik@example.org"}), links);
}
