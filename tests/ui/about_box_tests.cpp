// The about box run from the help button, modally, with its two link labels:
// what they show, how they take the mouse, what they hand to the shell, and
// that every opening's font goes with its closing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "main_window_harness.h"
#include "res/about_box_res.h"
#include "ui/about_box.h"
#include "ui/shell_link.h"

namespace {

struct OpenedLink {
    HWND owner;
    std::string target;
};
std::vector<OpenedLink> g_opened;

void RecordLink(HWND owner, const char* target)
{
    g_opened.push_back({owner, target});
}

// Keeps the shell out of the tests: links are recorded instead of opened.
class AboutBoxTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        g_opened.clear();
        previous_ = SetLinkOpener(RecordLink);
        ASSERT_TRUE(Open());
        ShowWindow(Window(), SW_SHOWNORMAL);
        UpdateWindow(Window());
    }
    void TearDown() override
    {
        SetLinkOpener(previous_);
        MainWindowTest::TearDown();
    }

private:
    LinkOpener previous_ = NULL;
};

void Click(HWND label, UINT message)
{
    SendMessageA(label, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(3, 3));
}

void DoubleClick(HWND label)
{
    // The order in which the system delivers a double-click.
    Click(label, WM_LBUTTONDOWN);
    Click(label, WM_LBUTTONUP);
    Click(label, WM_LBUTTONDBLCLK);
    Click(label, WM_LBUTTONUP);
}

TEST_F(AboutBoxTest, ShowsNameVersionAndBothLinks)
{
    std::string caption, webText, mailText, nameText;
    bool ownerEnabled = true;
    HWND focus = NULL, okButton = NULL;
    LONG webStyle = 0, mailStyle = 0;
    ASSERT_TRUE(RunAboutBox(Window(), [&](HWND box) {
        caption = ReadText(box);
        webText = ReadText(GetDlgItem(box, IDC_WEB_LINK));
        mailText = ReadText(GetDlgItem(box, IDC_MAIL_LINK));
        webStyle = GetWindowLongA(GetDlgItem(box, IDC_WEB_LINK), GWL_STYLE);
        mailStyle = GetWindowLongA(GetDlgItem(box, IDC_MAIL_LINK), GWL_STYLE);
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (ReadText(c).rfind("Tovik", 0) == 0) nameText = ReadText(c);
        ownerEnabled = IsWindowEnabled(Window()) != FALSE;
        focus = GetFocus();
        okButton = GetDlgItem(box, IDOK);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }));
    EXPECT_EQ("バージョン情報", caption);
    EXPECT_EQ("Tovik Ver 1.03", nameText);
    EXPECT_EQ("URL : https://tovik.example.org/", webText);
    EXPECT_EQ("Mail : tovik@example.org", mailText);
    EXPECT_TRUE(webStyle & SS_NOTIFY);
    EXPECT_TRUE(mailStyle & SS_NOTIFY);
    EXPECT_FALSE(ownerEnabled) << "the main window takes no input while the box is open";
    EXPECT_EQ(okButton, focus);
    EXPECT_TRUE(IsWindowEnabled(Window()));
}

// Each way of closing: the box goes, the main window is usable again and the
// links' font is deleted.
struct CloseWay {
    const char* name;
    void (*close)(HWND box);
};

const CloseWay kCloseWays[] = {
    {"OK button", [](HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                              (LPARAM)GetDlgItem(box, IDOK)); }},
    {"Enter", [](HWND box) { PostKey(GetFocus() ? GetFocus() : box, VK_RETURN); }},
    {"Escape", [](HWND box) { PostKey(GetFocus() ? GetFocus() : box, VK_ESCAPE); }},
    {"close box", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
};

TEST_F(AboutBoxTest, EveryWayOfClosingDeletesTheLinkFont)
{
    for (const CloseWay& way : kCloseWays) {
        SCOPED_TRACE(way.name);
        HFONT font = NULL;
        HWND box = NULL;
        ASSERT_TRUE(RunAboutBox(Window(), [&](HWND opened) {
            box = opened;
            font = GetLinkFont();
            way.close(opened);
        }));
        EXPECT_FALSE(IsWindow(box));
        ASSERT_TRUE(font);
        EXPECT_EQ(0u, GetObjectType(font)) << "the font outlived the box";
        EXPECT_EQ(NULL, GetLinkFont());
        EXPECT_TRUE(IsWindowEnabled(Window()));
        EXPECT_TRUE(IsOpen());
    }
}

TEST_F(AboutBoxTest, OpeningManyTimesLeavesNoFontBehind)
{
    std::vector<HFONT> fonts;
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(RunAboutBox(Window(), [&](HWND box) {
            fonts.push_back(GetLinkFont());
            EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(GetLinkFont()));
            PostKey(GetFocus() ? GetFocus() : box, VK_ESCAPE);
        }));
    }
    ASSERT_EQ(40u, fonts.size());
    for (HFONT font : fonts) EXPECT_EQ(0u, GetObjectType(font));
}

TEST_F(AboutBoxTest, LinkFontIsTheDialogFontUnderlined)
{
    LOGFONTA link = {}, dialog = {};
    ASSERT_TRUE(RunAboutBox(Window(), [&](HWND box) {
        GetObjectA(GetLinkFont(), sizeof link, &link);
        HFONT boxFont = (HFONT)SendMessageA(box, WM_GETFONT, 0, 0);
        GetObjectA(boxFont, sizeof dialog, &dialog);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }));
    EXPECT_TRUE(link.lfUnderline);
    EXPECT_FALSE(dialog.lfUnderline);
    EXPECT_STREQ(dialog.lfFaceName, link.lfFaceName);
    EXPECT_STREQ("ＭＳ Ｐゴシック", link.lfFaceName);
    EXPECT_EQ(dialog.lfHeight, link.lfHeight);
    EXPECT_EQ(dialog.lfWeight, link.lfWeight);
}

struct LinkCase {
    int labelId;
    const char* target;
};

TEST_F(AboutBoxTest, DoubleClickOpensEachLinkOnce)
{
    const LinkCase cases[] = {
        {IDC_WEB_LINK, "https://tovik.example.org/"},
        {IDC_MAIL_LINK, "mailto:tovik@example.org"},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.target);
        g_opened.clear();
        HWND box = NULL;
        bool stillOpen = false;
        ASSERT_TRUE(RunAboutBox(Window(), [&](HWND opened) {
            box = opened;
            DoubleClick(GetDlgItem(opened, c.labelId));
            stillOpen = IsWindowVisible(opened) != FALSE;
            PostMessageA(opened, WM_COMMAND, IDCANCEL, 0);
        }));
        EXPECT_TRUE(stillOpen) << "opening a link leaves the box open";
        ASSERT_EQ(1u, g_opened.size());
        EXPECT_EQ(c.target, g_opened[0].target);
        EXPECT_EQ(box, g_opened[0].owner);
    }
}

TEST_F(AboutBoxTest, LabelsTakeTheMouseAndShowTheHand)
{
    HCURSOR overWeb = NULL, overMail = NULL, overBox = NULL;
    LRESULT webHit = 0, mailHit = 0;
    ASSERT_TRUE(RunAboutBox(Window(), [&](HWND box) {
        HWND web = GetDlgItem(box, IDC_WEB_LINK);
        HWND mail = GetDlgItem(box, IDC_MAIL_LINK);
        RECT r;
        GetWindowRect(web, &r);
        webHit = SendMessageA(web, WM_NCHITTEST, 0, MAKELPARAM(r.left + 2, r.top + 2));
        GetWindowRect(mail, &r);
        mailHit = SendMessageA(mail, WM_NCHITTEST, 0, MAKELPARAM(r.left + 2, r.top + 2));

        SetCursor(NULL);
        SendMessageA(web, WM_SETCURSOR, (WPARAM)web, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overWeb = GetCursor();
        SetCursor(NULL);
        SendMessageA(mail, WM_SETCURSOR, (WPARAM)mail, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overMail = GetCursor();
        SetCursor(NULL);
        SendMessageA(box, WM_SETCURSOR, (WPARAM)box, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overBox = GetCursor();
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }));
    EXPECT_EQ(HTCLIENT, webHit);
    EXPECT_EQ(HTCLIENT, mailHit);
    HCURSOR hand = GetAppState()->handCursor;
    ASSERT_TRUE(hand);
    EXPECT_EQ(hand, overWeb);
    EXPECT_EQ(hand, overMail);
    EXPECT_EQ(LoadCursorA(NULL, (LPCSTR)IDC_ARROW), overBox);
}

TEST_F(AboutBoxTest, HandCursorIsThePointingHandOfTheResources)
{
    HCURSOR hand = GetAppState()->handCursor;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(6u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(32, mask.bmWidth);
    EXPECT_EQ(64, mask.bmHeight) << "monochrome: the AND and XOR masks in one bitmap";
    EXPECT_EQ(NULL, info.hbmColor);
    DeleteObject(info.hbmMask);
}

// The pixels of a label as painted: the colours it uses and the right-most
// column holding text.
struct Painted {
    int blue = 0;
    int face = 0;
    int other = 0;
    int lastBlueColumn = -1;
};

Painted PaintedPixels(HWND label)
{
    RedrawWindow(label, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Painted painted;
    RECT client;
    GetClientRect(label, &client);
    HDC dc = GetDC(label);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) {
            COLORREF pixel = GetPixel(dc, x, y);
            if (pixel == RGB(0, 0, 255)) {
                ++painted.blue;
                if (x > painted.lastBlueColumn) painted.lastBlueColumn = x;
            } else if (pixel == face) {
                ++painted.face;
            } else {
                ++painted.other;
            }
        }
    ReleaseDC(label, dc);
    return painted;
}

TEST_F(AboutBoxTest, LinksArePaintedBlueOnTheButtonFace)
{
    Painted web, mail;
    ASSERT_TRUE(RunAboutBox(Window(), [&](HWND box) {
        web = PaintedPixels(GetDlgItem(box, IDC_WEB_LINK));
        mail = PaintedPixels(GetDlgItem(box, IDC_MAIL_LINK));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }));
    for (const Painted& p : {web, mail}) {
        EXPECT_GT(p.blue, 50) << "blue text";
        EXPECT_GT(p.face, p.blue) << "on the button face";
        // The font is not smoothed: every pixel is text or background.
        EXPECT_EQ(0, p.other);
    }
}

TEST_F(AboutBoxTest, LongLabelTextIsPaintedUpTo127Bytes)
{
    // 70 double-byte characters: 127 bytes would cut the 64th in half, so 63
    // whole characters are painted.
    std::string text;
    for (int i = 0; i < 70; ++i) text += "表";
    int painted = -1, whole63 = 0, whole64 = 0;
    ASSERT_TRUE(RunAboutBox(Window(), [&](HWND box) {
        HWND label = GetDlgItem(box, IDC_WEB_LINK);
        MoveWindow(box, 0, 0, 1200, 200, FALSE);
        MoveWindow(label, 0, 0, 1150, 40, FALSE);
        SetWindowTextA(label, text.c_str());
        HDC dc = GetDC(label);
        SelectObject(dc, GetLinkFont());
        SIZE size;
        GetTextExtentPoint32A(dc, text.c_str(), 126, &size);
        whole63 = size.cx;
        GetTextExtentPoint32A(dc, text.c_str(), 128, &size);
        whole64 = size.cx;
        ReleaseDC(label, dc);
        painted = PaintedPixels(label).lastBlueColumn;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }));
    // The underline runs under the text it belongs to.
    EXPECT_LT(painted, whole63);
    EXPECT_GT(painted, whole63 - 16);
    EXPECT_LT(whole63, whole64);
}

}  // namespace
