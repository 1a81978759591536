// The about box run modally from the help button: every way of closing it, its links and its hand cursor.
#include "core/app_state.h"
#include "res/about_box_res.h"
#include "support/tovik_test.h"
#include "ui/about_box.h"

// Each way of closing deletes the opening's font (GetGuiResources counts nothing under Wine; the handle is asked
// instead) and gives the main window its input back; a double-click on a link opens it once and the box stays; the
// labels are painted blue and show the hand.
TEST_F(TovikTest, EachWayOfClosingTheAboutBoxDeletesItsFontAndEachLinkOpensOnce) {
    Open();
    ShowWindow(window, SW_SHOWNORMAL);
    enum Way { OkButton, EnterKey, EscapeKey, CloseBox };
    for (int way = OkButton; way <= CloseBox; ++way) {
        SCOPED_TRACE(way);
        HFONT font = NULL;
        bool mainEnabled = true;
        bool stillOpen = false;
        auto answer = [&](HWND box) {
            font = GetLinkFont();
            mainEnabled = IsWindowEnabled(window) != FALSE;
            HWND label = GetDlgItem(box, way == OkButton ? IDC_WEB_LINK : IDC_MAIL_LINK);
            for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
                if (way <= EnterKey) SendMessageA(label, message, 0, MAKELPARAM(3, 3));
            }
            stillOpen = IsWindowVisible(box) != FALSE;
            SetCursor(NULL);
            SendMessageA(label, WM_SETCURSOR, (WPARAM)label, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(GetAppState()->handCursor, GetCursor());
            RedrawWindow(label, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            HDC dc = GetDC(label);
            EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, 1, 1));
            EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 2, 12)) << "underlined in blue";
            ReleaseDC(label, dc);
            HWND focus = GetFocus() ? GetFocus() : box;
            if (way == OkButton) PostMessageA(box, WM_COMMAND, IDOK, (LPARAM)GetDlgItem(box, IDOK));
            if (way == EnterKey) PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 1);
            if (way == EscapeKey) PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 1);
            if (way == CloseBox) PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        };
        auto help = [&] { SendMessageA(window, WM_COMMAND, IDC_HELP_BUTTON, (LPARAM)Control(IDC_HELP_BUTTON)); };
        ASSERT_TRUE(WhileShowing("#32770", answer, help));
        EXPECT_FALSE(mainEnabled);
        EXPECT_TRUE(stillOpen);
        EXPECT_TRUE(font && GetObjectType(font) == 0) << "the font deleted";
        EXPECT_FALSE(GetLinkFont());
        EXPECT_TRUE(IsWindowEnabled(window));
    }
    EXPECT_EQ(Strings({"https://tovik.example.org/", "mailto:tovik@example.org"}), links);
}
