// The about box run modally from the help button: its links, how they look and take the mouse, and that each
// opening's font goes with its closing.
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
TEST_F(AboutBox, EachWayOfClosingDeletesItsFontAndEachLinkOpensOnceOnADoubleClick)
{
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

// The colours a label is painted in, and its right-most blue column.
struct Painted {
    int blue = 0, face = 0, other = 0, lastBlue = -1;
};

static Painted Paint(HWND label)
{
    RedrawWindow(label, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Painted p;
    RECT client;
    GetClientRect(label, &client);
    HDC dc = GetDC(label);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) {
            COLORREF pixel = GetPixel(dc, x, y);
            pixel == RGB(0, 0, 255) ? (void)(p.blue++, p.lastBlue = x) : pixel == GetSysColor(COLOR_BTNFACE) ? (void)p.face++ : (void)p.other++;
        }
    ReleaseDC(label, dc);
    return p;
}

TEST_F(AboutBox, LinksArePaintedBlueAndUnderlinedCutAt127BytesAndShowTheHand)
{
    Painted web, mail, cut;
    HCURSOR over[3] = {};  // the web label, the mail label, the box
    LOGFONTA link = {}, dialog = {};
    // 70 double-byte characters: 127 bytes would cut the 64th, so 63 are painted.
    std::string text;
    for (int i = 0; i < 70; ++i) text += "表";
    SIZE whole63 = {};
    ASSERT_TRUE(Run([&](HWND box) {
        HWND places[3] = {GetDlgItem(box, IDC_WEB_LINK), GetDlgItem(box, IDC_MAIL_LINK), box};
        web = Paint(places[0]), mail = Paint(places[1]);
        for (int i = 0; i < 3; ++i) {
            SetCursor(NULL);
            SendMessageA(places[i], WM_SETCURSOR, (WPARAM)places[i], MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            over[i] = GetCursor();
        }
        GetObjectA(GetLinkFont(), sizeof link, &link);
        GetObjectA((HFONT)SendMessageA(box, WM_GETFONT, 0, 0), sizeof dialog, &dialog);
        MoveWindow(box, 0, 0, 1200, 200, FALSE), MoveWindow(places[0], 0, 0, 1150, 40, FALSE);
        SetWindowTextA(places[0], text.c_str());
        HDC dc = GetDC(places[0]);
        SelectObject(dc, GetLinkFont());
        GetTextExtentPoint32A(dc, text.c_str(), 126, &whole63);
        ReleaseDC(places[0], dc);
        cut = Paint(places[0]);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }));
    for (const Painted& p : {web, mail}) EXPECT_TRUE(p.blue > 50 && p.face > p.blue && p.other == 0);
    EXPECT_TRUE(cut.lastBlue < whole63.cx && cut.lastBlue > whole63.cx - 16) << cut.lastBlue;
    HCURSOR hand = GetAppState()->handCursor;
    EXPECT_TRUE(hand && over[0] == hand && over[1] == hand && over[2] == LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
    EXPECT_TRUE(link.lfUnderline && link.lfHeight == dialog.lfHeight);
    EXPECT_STREQ(dialog.lfFaceName, link.lfFaceName);
}
