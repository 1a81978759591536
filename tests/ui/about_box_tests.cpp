// The about box run modally from the help button: its links, how they look and take the mouse, and that each
// opening's font goes with its closing.
#include <algorithm>
#include <functional>

#include "core/app_state.h"
#include "res/about_box_res.h"
#include "res/main_window_res.h"
#include "support/tovik_test.h"
#include "ui/about_box.h"

class AboutBox : public TovikTest {
protected:
    AboutBox() { Open(), ShowWindow(window, SW_SHOWNORMAL); }
    // Runs the box from the help button; scenario runs in its modal loop as soon as it is up and must end it.
    bool Run(const std::function<void(HWND box)>& scenario)
    {
        return WhileShowing("#32770", scenario, [&] { SendMessageA(window, WM_COMMAND, IDC_HELP_BUTTON, (LPARAM)Control(IDC_HELP_BUTTON)); });
    }
};

// Every way of closing deletes the opening's font (GetGuiResources counts nothing under Wine; the handle is asked
// instead) and gives the main window its input back; a double-click on a link opens it once and the box stays.
TEST_F(AboutBox, EachWayOfClosingDeletesItsFontAndEachLinkOpensOnceOnADoubleClick) {
    for (int way = 0; way < 4; ++way) {
        HFONT font = NULL;
        bool mainEnabled = true, stillOpen = false;
        ASSERT_TRUE(Run([&](HWND box) {
            font = GetLinkFont();
            mainEnabled = IsWindowEnabled(window) != FALSE;
            for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                if (way < 2) SendMessageA(GetDlgItem(box, way ? IDC_MAIL_LINK : IDC_WEB_LINK), message, 0, MAKELPARAM(3, 3));
            stillOpen = IsWindowVisible(box) != FALSE;
            if (way == 0) PostMessageA(box, WM_COMMAND, IDOK, (LPARAM)GetDlgItem(box, IDOK));
            if (way == 3) PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            if (way == 1 || way == 2) PostMessageA(GetFocus() ? GetFocus() : box, WM_KEYDOWN, way == 1 ? VK_RETURN : VK_ESCAPE, 1);
        })) << way;
        EXPECT_TRUE(!mainEnabled && stillOpen && font && GetObjectType(font) == 0 && !GetLinkFont() && IsWindowEnabled(window)) << way;
    }
    EXPECT_EQ(Strings({"https://tovik.example.org/", "mailto:tovik@example.org"}), links);
}

// The right-most column a label paints blue; *other counts the pixels neither blue nor the button face.
static int LastBlueColumn(HWND label, int* other)
{
    RedrawWindow(label, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(label, &client);
    HDC dc = GetDC(label);
    int last = -1;
    *other = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) {
            COLORREF pixel = GetPixel(dc, x, y);
            last = pixel == RGB(0, 0, 255) ? std::max(last, x) : last, *other += pixel != RGB(0, 0, 255) && pixel != GetSysColor(COLOR_BTNFACE);
        }
    ReleaseDC(label, dc);
    return last;
}

// Blue and underlined on the button face, the hand over either label, the text cut at 127 bytes: 70 double-byte
// characters would cut the 64th, so 63 are painted.
TEST_F(AboutBox, LinksArePaintedBlueAndUnderlinedCutAt127BytesAndShowTheHand) {
    std::string text;
    for (int i = 0; i < 70; ++i) text += "表";
    ASSERT_TRUE(Run([&](HWND box) {
        HWND web = GetDlgItem(box, IDC_WEB_LINK), mail = GetDlgItem(box, IDC_MAIL_LINK);
        int other[2];
        EXPECT_TRUE(LastBlueColumn(web, &other[0]) > 0 && LastBlueColumn(mail, &other[1]) > 0 && other[0] + other[1] == 0);
        for (HWND place : {web, mail, box}) {
            SetCursor(NULL);
            SendMessageA(place, WM_SETCURSOR, (WPARAM)place, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(place == box ? LoadCursorA(NULL, (LPCSTR)IDC_ARROW) : GetAppState()->handCursor, GetCursor());
        }
        LOGFONTA link = {};
        GetObjectA(GetLinkFont(), sizeof link, &link);
        EXPECT_TRUE(link.lfUnderline && strcmp(link.lfFaceName, "ＭＳ Ｐゴシック") == 0);
        MoveWindow(box, 0, 0, 1200, 200, FALSE), MoveWindow(web, 0, 0, 1150, 40, FALSE);
        SetWindowTextA(web, text.c_str());
        SIZE whole63 = {};
        HDC dc = GetDC(web);
        SelectObject(dc, GetLinkFont());
        GetTextExtentPoint32A(dc, text.c_str(), 126, &whole63);
        ReleaseDC(web, dc);
        int cut = LastBlueColumn(web, other);
        EXPECT_TRUE(cut < whole63.cx && cut > whole63.cx - 16) << cut;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }));
}
