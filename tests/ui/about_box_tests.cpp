// The about box run from the help button, modally, with its two link labels:
// how they look and take the mouse, what they hand to the shell, and that
// every opening's font goes with its closing.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "main_window_harness.h"
#include "res/about_box_res.h"
#include "res/main_window_res.h"
#include "ui/about_box.h"
#include "ui/shell_link.h"

namespace {

std::vector<std::pair<HWND, std::string>> g_opened;  // owner and target

struct AboutRun {
    HWND owner;
    std::function<void(HWND box)> scenario;
    HWND box;
    int ticksAfter;
    bool forced;
};
AboutRun* g_run;

void CALLBACK AboutTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_run) return;
    if (!g_run->box) {
        HWND box = FindWindowExA(NULL, NULL, "#32770", "バージョン情報");
        if (!box || !IsWindowVisible(box) || GetWindow(box, GW_OWNER) != g_run->owner) return;
        g_run->box = box;
        g_run->scenario(box);
    } else if (IsWindow(g_run->box) && ++g_run->ticksAfter > 50) {
        // The scenario had a second to end the box; a test must not hang.
        g_run->forced = true;
        EndDialog(g_run->box, 0);
    }
}

// Runs the about box from the help button. As soon as the box is up,
// scenario runs inside its modal loop and must end it. false when the box
// never appeared or had to be ended by force.
bool RunAboutBox(HWND owner, const std::function<void(HWND box)>& scenario)
{
    AboutRun run = {owner, scenario, NULL, 0, false};
    g_run = &run;
    UINT_PTR timer = SetTimer(NULL, 0, 20, AboutTick);
    SendMessageA(owner, WM_COMMAND, MAKEWPARAM(IDC_HELP_BUTTON, BN_CLICKED),
                 (LPARAM)GetDlgItem(owner, IDC_HELP_BUTTON));
    KillTimer(NULL, timer);
    g_run = NULL;
    return run.box && !run.forced;
}

// Ends the box in one of the user's ways: 0 the OK button, 1 Enter, 2 Escape,
// 3 the close box. Keys are posted, so that the box's own loop handles them.
void CloseBox(HWND box, int way)
{
    HWND focus = GetFocus() ? GetFocus() : box;
    if (way == 0) {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(box, IDOK));
    } else if (way == 3) {
        PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        UINT key = way == 1 ? VK_RETURN : VK_ESCAPE;
        PostMessageA(focus, WM_KEYDOWN, key, 1);
        PostMessageA(focus, WM_KEYUP, key, (LPARAM)0xC0000001);
    }
}

// Keeps the shell out of the tests: links are recorded instead of opened.
class AboutBoxTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        g_opened.clear();
        SetLinkOpener([](HWND owner, const char* target) { g_opened.push_back({owner, target}); });
        ASSERT_TRUE(Open());
        ShowWindow(Window(), SW_SHOWNORMAL);
        UpdateWindow(Window());
    }
    void TearDown() override
    {
        SetLinkOpener(NULL);
        MainWindowTest::TearDown();
    }
};

// GetGuiResources counts nothing under Wine; each font handle is asked
// whether it is still a font instead.
TEST_F(AboutBoxTest, OpeningAndClosingManyTimesLeavesNoFontBehind)
{
    for (int i = 0; i < 40; ++i) {
        SCOPED_TRACE("closed the way " + std::to_string(i % 4));
        HFONT font = NULL;
        bool ownerEnabled = true;
        ASSERT_TRUE(RunAboutBox(Window(), [&](HWND box) {
            font = GetLinkFont();
            EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(font));
            ownerEnabled = IsWindowEnabled(Window()) != FALSE;
            CloseBox(box, i % 4);
        }));
        EXPECT_FALSE(ownerEnabled) << "the main window takes no input while the box is open";
        ASSERT_TRUE(font);
        EXPECT_EQ(0u, GetObjectType(font)) << "the font outlived the box";
        EXPECT_EQ(NULL, GetLinkFont());
        EXPECT_TRUE(IsWindowEnabled(Window()));
    }
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
            HWND label = GetDlgItem(opened, c.labelId);
            // The order in which the system delivers a double-click.
            for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                SendMessageA(label, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                             MAKELPARAM(3, 3));
            stillOpen = IsWindowVisible(opened) != FALSE;
            PostMessageA(opened, WM_COMMAND, IDCANCEL, 0);
        }));
        EXPECT_TRUE(stillOpen) << "opening a link leaves the box open";
        ASSERT_EQ(1u, g_opened.size());
        EXPECT_EQ(box, g_opened[0].first);
        EXPECT_EQ(c.target, g_opened[0].second);
    }
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
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) {
            COLORREF pixel = GetPixel(dc, x, y);
            if (pixel == RGB(0, 0, 255)) {
                ++painted.blue;
                painted.lastBlueColumn = x > painted.lastBlueColumn ? x : painted.lastBlueColumn;
            } else if (pixel == GetSysColor(COLOR_BTNFACE)) {
                ++painted.face;
            } else {
                ++painted.other;
            }
        }
    ReleaseDC(label, dc);
    return painted;
}

TEST_F(AboutBoxTest, LinksArePaintedBlueAndUnderlinedAndShowTheHand)
{
    Painted web, mail;
    HCURSOR over[3] = {};  // the web label, the mail label, the box
    LOGFONTA link = {}, dialog = {};
    ASSERT_TRUE(RunAboutBox(Window(), [&](HWND box) {
        HWND places[3] = {GetDlgItem(box, IDC_WEB_LINK), GetDlgItem(box, IDC_MAIL_LINK), box};
        web = PaintedPixels(places[0]);
        mail = PaintedPixels(places[1]);
        for (int i = 0; i < 3; ++i) {
            SetCursor(NULL);
            SendMessageA(places[i], WM_SETCURSOR, (WPARAM)places[i],
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            over[i] = GetCursor();
        }
        GetObjectA(GetLinkFont(), sizeof link, &link);
        GetObjectA((HFONT)SendMessageA(box, WM_GETFONT, 0, 0), sizeof dialog, &dialog);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }));
    for (const Painted& p : {web, mail}) {
        EXPECT_GT(p.blue, 50) << "blue text";
        EXPECT_GT(p.face, p.blue) << "on the button face";
        EXPECT_EQ(0, p.other) << "the font is not smoothed: text or background";
    }
    HCURSOR hand = GetAppState()->handCursor;
    ASSERT_TRUE(hand);
    EXPECT_EQ(hand, over[0]);
    EXPECT_EQ(hand, over[1]);
    EXPECT_EQ(LoadCursorA(NULL, (LPCSTR)IDC_ARROW), over[2]);
    EXPECT_TRUE(link.lfUnderline);
    EXPECT_STREQ("ＭＳ Ｐゴシック", dialog.lfFaceName);
    EXPECT_STREQ(dialog.lfFaceName, link.lfFaceName);
    EXPECT_EQ(dialog.lfHeight, link.lfHeight);
}

TEST_F(AboutBoxTest, LongLabelTextIsCutAt127BytesWithoutHalfACharacter)
{
    // 70 double-byte characters: 127 bytes would cut the 64th in half, so 63
    // whole characters are painted.
    std::string text;
    for (int i = 0; i < 70; ++i) text += "表";
    int painted = -1;
    SIZE whole63 = {}, whole64 = {};
    ASSERT_TRUE(RunAboutBox(Window(), [&](HWND box) {
        HWND label = GetDlgItem(box, IDC_WEB_LINK);
        MoveWindow(box, 0, 0, 1200, 200, FALSE);
        MoveWindow(label, 0, 0, 1150, 40, FALSE);
        SetWindowTextA(label, text.c_str());
        HDC dc = GetDC(label);
        SelectObject(dc, GetLinkFont());
        GetTextExtentPoint32A(dc, text.c_str(), 126, &whole63);
        GetTextExtentPoint32A(dc, text.c_str(), 128, &whole64);
        ReleaseDC(label, dc);
        painted = PaintedPixels(label).lastBlueColumn;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }));
    // The underline runs under the text it belongs to.
    EXPECT_LT(painted, whole63.cx);
    EXPECT_GT(painted, whole63.cx - 16);
    EXPECT_LT(whole63.cx, whole64.cx);
}

}  // namespace
