// Template 107, the please-wait window, as stored in the resources and as
// the start command creates it: without owner and without procedure.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "res/icons_res.h"
#include "res/please_wait_res.h"

namespace {

// Reads a DLGTEMPLATE (not the extended form) field by field.
struct TemplateReader {
    const BYTE* p;

    WORD Word()
    {
        WORD value;
        memcpy(&value, p, sizeof value);
        p += sizeof value;
        return value;
    }
    DWORD Dword()
    {
        DWORD value;
        memcpy(&value, p, sizeof value);
        p += sizeof value;
        return value;
    }
    // A NUL-terminated UTF-16 string, or an ordinal (0xFFFF then the value)
    // written as "#value".
    std::wstring Text()
    {
        WORD first = Word();
        if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
        std::wstring text;
        for (WORD c = first; c != 0; c = Word()) text += (wchar_t)c;
        return text;
    }
    void AlignDword(const BYTE* base)
    {
        while ((p - base) % 4) p++;
    }
};

struct Item {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    std::wstring className;
    std::wstring text;
};

TEST(PleaseWaitTemplate, IsTheJapaneseTemplateAsDrawn)
{
    HRSRC found = FindResourceExA(NULL, (LPCSTR)RT_DIALOG, MAKEINTRESOURCEA(IDD_PLEASE_WAIT),
                                  MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE(nullptr, (void*)found);
    const BYTE* base = (const BYTE*)LockResource(LoadResource(NULL, found));
    ASSERT_NE(nullptr, base);
    TemplateReader reader = {base};
    ASSERT_NE(0xFFFF, ((const WORD*)base)[1]) << "a plain DLGTEMPLATE";
    DWORD style = reader.Dword();
    reader.Dword();  // extended style
    WORD items = reader.Word();
    short x = (short)reader.Word(), y = (short)reader.Word();
    short cx = (short)reader.Word(), cy = (short)reader.Word();
    EXPECT_EQ((DWORD)(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER | DS_SETFONT), style);
    EXPECT_EQ(0u, style & WS_SYSMENU) << "no system menu, so no close box";
    EXPECT_EQ(0u, style & WS_VISIBLE);
    EXPECT_EQ(2, items);
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    EXPECT_EQ(207, cx);
    EXPECT_EQ(53, cy);
    EXPECT_EQ(L"", reader.Text()) << "no menu";
    EXPECT_EQ(L"", reader.Text()) << "the standard dialog class";
    EXPECT_EQ(L"Now Renaming !!", reader.Text());
    EXPECT_EQ(9, reader.Word());
    EXPECT_EQ(L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF", reader.Text()) << "ＭＳ Ｐゴシック";

    Item item[2];
    for (Item& it : item) {
        reader.AlignDword(base);
        it.style = reader.Dword();
        reader.Dword();
        it.x = (short)reader.Word();
        it.y = (short)reader.Word();
        it.cx = (short)reader.Word();
        it.cy = (short)reader.Word();
        it.id = reader.Word();
        it.className = reader.Text();
        it.text = reader.Text();
        reader.Word();  // creation data
    }
    // The static class, by its predefined number or by name.
    auto isStatic = [](const std::wstring& name) {
        return name == L"#130" || _wcsicmp(name.c_str(), L"Static") == 0;
    };
    EXPECT_TRUE(isStatic(item[0].className));
    EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT), item[0].style);
    EXPECT_EQ(0xFFFF, item[0].id) << "no identifier";
    EXPECT_EQ(35, item[0].x);
    EXPECT_EQ(20, item[0].y);
    EXPECT_EQ(161, item[0].cx);
    EXPECT_EQ(16, item[0].cy);
    EXPECT_EQ(L"只今、処理をしています。しばらく、お待ちください。。", item[0].text);
    EXPECT_TRUE(isStatic(item[1].className));
    EXPECT_EQ((DWORD)SS_ICON, item[1].style & SS_TYPEMASK);
    EXPECT_EQ(0xFFFF, item[1].id);
    EXPECT_EQ(7, item[1].x);
    EXPECT_EQ(14, item[1].y);
    EXPECT_EQ(20, item[1].cx);
    EXPECT_EQ(20, item[1].cy);
    EXPECT_EQ(L"#" + std::to_wstring(IDI_TOVIK), item[1].text) << "icon resource 106";
}

TEST(PleaseWaitTemplate, MakesAnOwnerlessHiddenWindowCentredOnTheScreen)
{
    HWND window = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_PLEASE_WAIT), NULL,
                                     NULL, 0);
    ASSERT_NE(nullptr, (void*)window);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(NULL, GetWindow(window, GW_OWNER));
    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ("Now Renaming !!", text);
    HWND label = GetWindow(window, GW_CHILD);
    ASSERT_NE(nullptr, (void*)label);
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ("只今、処理をしています。しばらく、お待ちください。。", text);
    RECT units = {0, 0, 207, 53};
    MapDialogRect(window, &units);
    RECT client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    EXPECT_EQ(units.right, client.right);
    EXPECT_EQ(units.bottom, client.bottom);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(screenWidth / 2, (frame.left + frame.right) / 2, 2);
    EXPECT_NEAR(screenHeight / 2, (frame.top + frame.bottom) / 2, 2);
    DestroyWindow(window);
}

}  // namespace
