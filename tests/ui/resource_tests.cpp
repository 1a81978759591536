// What the resource compiler made of res/*.rc: the two templates of the main
// window and the about box, the icon and the cursor, the version block and
// the application manifest, all read back from the linked resources.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>

#include <string>
#include <vector>

#include "dialog_template.h"
#include "res/about_box_res.h"
#include "res/icons_res.h"
#include "res/main_window_res.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

struct ExpectedItem {
    int id;
    const char* className;
    const char* text;
    DWORD style;      // every bit that must be set besides WS_CHILD | WS_VISIBLE
    DWORD forbidden;  // bits that must not be set
    short x, y, cx, cy;
};

const DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
const DWORD kNotPush = BS_DEFPUSHBUTTON | BS_GROUPBOX;
const DWORD kLineEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;

// Template 101 in template order, which is the tab order.
const ExpectedItem kMainWindowItems[] = {
    {IDC_FILE_LIST, "ListBox", "",
     LBS_MULTIPLESEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER |
         WS_TABSTOP,
     LBS_SORT | LBS_EXTENDEDSEL, 8, 19, 196, 112},
    {IDC_MOVE_TO_TOP, "Button", "先頭", kPush, kNotPush, 206, 19, 31, 20},
    {IDC_MOVE_UP, "Button", "▲", kPush, kNotPush, 206, 42, 31, 20},
    {IDC_MOVE_DOWN, "Button", "▼", kPush, kNotPush, 206, 65, 31, 20},
    {IDC_REMOVE_SELECTED, "Button", "解除", kPush, kNotPush, 206, 88, 31, 20},
    {IDC_MOVE_TO_END, "Button", "一番後ろ", kPush, kNotPush, 206, 111, 31, 20},
    {IDC_START, "Button", "変換開始", kPush, kNotPush, 240, 19, 31, 43},
    {IDC_HELP_BUTTON, "Button", "ヘルプ", kPush, kNotPush, 240, 65, 31, 20},
    {IDC_REMOVE_ALL, "Button", "全解除", kPush, kNotPush, 240, 88, 31, 20},
    {IDC_EXIT, "Button", "終了", kPush, kNotPush, 240, 111, 31, 20},
    {IDC_ADD_FOLDER, "Button", "フォルダ指定", kPush, kNotPush, 11, 136, 50, 19},
    {IDC_OPERATION_COMBO, "ComboBox", "", kDropList, CBS_SORT, 57, 185, 81, 58},
    {IDC_EXTENSION_COMBO, "ComboBox", "", kDropList, CBS_SORT, 172, 185, 59, 64},
    {IDC_EXTENSION_EDIT, "Edit", "", kLineEdit, ES_MULTILINE, 235, 185, 32, 14},
    {IDC_OUTPUT_FOLDER_EDIT, "Edit", "", kLineEdit, ES_MULTILINE, 57, 208, 173, 13},
    {IDC_BROWSE_BUTTON, "Button", "検索", kPush, kNotPush, 235, 207, 32, 15},
    {IDC_PREFIX_EDIT, "Edit", "", kLineEdit, ES_MULTILINE, 15, 252, 89, 14},
    {IDC_START_NUMBER_EDIT, "Edit", "", kLineEdit | ES_NUMBER | ES_RIGHT, ES_MULTILINE, 106, 252,
     28, 13},
    {IDC_DIGIT_COUNT_COMBO, "ComboBox", "", kDropList, CBS_SORT, 137, 252, 40, 58},
    {IDC_SUFFIX_EDIT, "Edit", "", kLineEdit, ES_MULTILINE, 178, 252, 89, 14},
    {-1, "Button", "■ 改名ファイルリスト", BS_GROUPBOX, WS_TABSTOP, 5, 7, 271, 155},
    {-1, "Static", "※ ↑↑ ここに改名（リネーム)したいファイルをＤ＆Ｄしてください♪", SS_LEFT,
     WS_TABSTOP | SS_TYPEMASK, 68, 138, 199, 17},
    {-1, "Button", "■ 改名設定", BS_GROUPBOX, WS_TABSTOP, 5, 171, 271, 143},
    {-1, "Static", "ファイル操作", SS_RIGHT, WS_TABSTOP | (SS_TYPEMASK & ~SS_RIGHT), 11, 187, 42, 9},
    {-1, "Static", "拡張子", SS_RIGHT, WS_TABSTOP | (SS_TYPEMASK & ~SS_RIGHT), 144, 188, 24, 9},
    {-1, "Static", "展開フォルダ", SS_RIGHT, WS_TABSTOP | (SS_TYPEMASK & ~SS_RIGHT), 9, 210, 44, 9},
    {-1, "Static", "", SS_BLACKFRAME, WS_TABSTOP | (SS_TYPEMASK & ~SS_BLACKFRAME), 14, 231, 251, 1},
    {-1, "Static", "ファイル命名前置詞(32Byte)", SS_LEFT, WS_TABSTOP | SS_TYPEMASK, 15, 241, 83, 8},
    {-1, "Static", "開始番号", SS_LEFT, WS_TABSTOP | SS_TYPEMASK, 107, 241, 30, 8},
    {-1, "Static", "連番桁数", SS_LEFT, WS_TABSTOP | SS_TYPEMASK, 137, 241, 30, 8},
    {-1, "Static", "ファイル命名後置詞(32Byte)", SS_LEFT, WS_TABSTOP | SS_TYPEMASK, 179, 241, 83, 8},
    {IDC_PREVIEW_EDIT, "Edit", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_BORDER,
     WS_TABSTOP, 14, 271, 253, 37},
};

// Template 105.
const ExpectedItem kAboutBoxItems[] = {
    {IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 171, 21, 50, 14},
    {-1, "Static", "#106", SS_ICON, WS_TABSTOP, 14, 18, 20, 20},
    {-1, "Static", "Tovik Ver 1.03", SS_LEFT, WS_TABSTOP | SS_TYPEMASK | SS_NOTIFY, 43, 18, 103, 9},
    {IDC_WEB_LINK, "Static", "URL : https://tovik.example.org/", SS_LEFT | SS_NOTIFY,
     WS_TABSTOP | SS_TYPEMASK, 15, 51, 172, 11},
    {IDC_MAIL_LINK, "Static", "Mail : tovik@example.org", SS_LEFT | SS_NOTIFY,
     WS_TABSTOP | SS_TYPEMASK, 14, 66, 172, 11},
};

void ExpectItems(const DialogTemplate& dialog, const ExpectedItem* expected, size_t count)
{
    ASSERT_EQ(count, dialog.items.size());
    for (size_t i = 0; i < count; ++i) {
        const ExpectedItem& e = expected[i];
        const TemplateItem& item = dialog.items[i];
        SCOPED_TRACE(std::to_string(i) + ": " + e.text);
        EXPECT_EQ(e.id, item.id);
        // The resource compiler may write a class name in capitals; class
        // names are compared without case.
        EXPECT_STRCASEEQ(e.className, item.className.c_str());
        EXPECT_EQ(e.text, item.text);
        DWORD must = e.style | WS_CHILD | WS_VISIBLE;
        EXPECT_EQ(must, item.style & must);
        EXPECT_EQ(0u, item.style & e.forbidden);
        EXPECT_EQ(0u, item.style & WS_DISABLED);
        EXPECT_EQ(e.x, item.x);
        EXPECT_EQ(e.y, item.y);
        EXPECT_EQ(e.cx, item.cx);
        EXPECT_EQ(e.cy, item.cy);
    }
}

TEST(Resources, MainWindowTemplate)
{
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(IDD_MAIN_WINDOW, &dialog)) << "template 101 in Japanese";
    const DWORD must = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER;
    EXPECT_EQ(must, dialog.style & must);
    EXPECT_EQ(0u, dialog.style & (WS_VISIBLE | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD));
    EXPECT_EQ(279, dialog.cx);
    EXPECT_EQ(319, dialog.cy);
    EXPECT_STRCASEEQ("TovikClass", dialog.className.c_str());
    EXPECT_EQ("Tovik Ver 1.03", dialog.caption);
    EXPECT_EQ("", dialog.menu);
    EXPECT_EQ("ＭＳ Ｐゴシック", dialog.fontFace);
    EXPECT_EQ(9, dialog.pointSize);
    EXPECT_EQ(SHIFTJIS_CHARSET, dialog.charset);
    ExpectItems(dialog, kMainWindowItems, sizeof kMainWindowItems / sizeof kMainWindowItems[0]);
}

TEST(Resources, AboutBoxTemplate)
{
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(IDD_ABOUT_BOX, &dialog)) << "template 105 in Japanese";
    const DWORD must = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    EXPECT_EQ(must, dialog.style & must);
    EXPECT_EQ(0u, dialog.style & WS_VISIBLE);
    EXPECT_EQ(234, dialog.cx);
    EXPECT_EQ(87, dialog.cy);
    EXPECT_EQ("", dialog.className) << "the platform's dialog class";
    EXPECT_EQ("バージョン情報", dialog.caption);
    EXPECT_EQ("ＭＳ Ｐゴシック", dialog.fontFace);
    EXPECT_EQ(9, dialog.pointSize);
    ExpectItems(dialog, kAboutBoxItems, sizeof kAboutBoxItems / sizeof kAboutBoxItems[0]);
}

TEST(Resources, IconIsOne32By32ImageIn24BitColour)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC group = FindResourceExA(module, (LPCSTR)RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_TOVIK), kJapanese);
    ASSERT_TRUE(group);
    const BYTE* directory = (const BYTE*)LockResource(LoadResource(module, group));
    WORD count;
    memcpy(&count, directory + 4, 2);
    EXPECT_EQ(1, count);
    int iconId = LookupIconIdFromDirectoryEx((PBYTE)directory, TRUE, 32, 32, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceExA(module, (LPCSTR)RT_ICON, MAKEINTRESOURCEA(iconId), kJapanese);
    ASSERT_TRUE(image);
    const BITMAPINFOHEADER* header = (const BITMAPINFOHEADER*)LockResource(LoadResource(module, image));
    EXPECT_EQ(32, header->biWidth);
    EXPECT_EQ(64, header->biHeight) << "the colour image and its mask";
    EXPECT_EQ(24, header->biBitCount);

    HICON icon = (HICON)LoadImageA(module, MAKEINTRESOURCEA(IDI_TOVIK), IMAGE_ICON, 32, 32, 0);
    ASSERT_TRUE(icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    EXPECT_TRUE(info.hbmColor);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

TEST(Resources, CursorIsAMonochromeHandWithTheHotSpotAtTheFingertip)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC group = FindResourceExA(module, (LPCSTR)RT_GROUP_CURSOR, MAKEINTRESOURCEA(IDC_HAND_CURSOR), kJapanese);
    ASSERT_TRUE(group);
    HCURSOR cursor = LoadCursorA(module, MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    ASSERT_TRUE(cursor);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(6u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    EXPECT_EQ(NULL, info.hbmColor) << "monochrome";
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(32, mask.bmWidth);
    EXPECT_EQ(64, mask.bmHeight);

    // The hot spot is drawn: black outline under an opaque mask bit.
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, info.hbmMask);
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 6, 0)) << "AND mask: the fingertip is opaque";
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 0, 0)) << "AND mask: the corner is transparent";
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(info.hbmMask);
}

std::string VersionValue(const std::vector<BYTE>& block, const char* name)
{
    char* value = NULL;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\041104B0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), (void**)&value, &length) || !value)
        return "<missing>";
    return std::string(value, length && value[length - 1] == 0 ? length - 1 : length);
}

TEST(Resources, VersionBlockIsJapanese)
{
    char module[MAX_PATH];
    GetModuleFileNameA(NULL, module, sizeof module);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(module, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(module, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", (void**)&fixed, &length));
    EXPECT_EQ(MAKELONG(3, 1), fixed->dwProductVersionMS) << "1.3";
    EXPECT_EQ(MAKELONG(3, 1), fixed->dwFileVersionMS);
    EXPECT_EQ((DWORD)VFT_APP, fixed->dwFileType);

    struct {
        WORD language;
        WORD codePage;
    }* translation = NULL;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void**)&translation,
                               &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(0x0411, translation->language);
    EXPECT_EQ(1200, translation->codePage);

    EXPECT_EQ("Tovik", VersionValue(block, "ProductName"));
    EXPECT_EQ("1.03", VersionValue(block, "ProductVersion"));
    EXPECT_EQ("1.03", VersionValue(block, "FileVersion"));
    EXPECT_EQ("Tovik.exe", VersionValue(block, "OriginalFilename"));
    EXPECT_EQ("Tovik 連番リネーム", VersionValue(block, "FileDescription"));
}

TEST(Resources, ManifestAsksForTheModernControlsWithoutElevation)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), (LPCSTR)RT_MANIFEST);
    ASSERT_TRUE(found);
    const char* data = (const char*)LockResource(LoadResource(module, found));
    std::string manifest(data, SizeofResource(module, found));
    const char* required[] = {
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "level=\"asInvoker\"",
        "uiAccess=\"false\"",
        ">true</dpiAware>",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
    };
    for (const char* text : required) EXPECT_NE(std::string::npos, manifest.find(text)) << text;

    // The manifest is in force: the common controls come from the side-by-side
    // store, where version 6 lives, not from the system folder.
    HMODULE controls = LoadLibraryA("comctl32.dll");
    ASSERT_TRUE(controls);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(controls, path, sizeof path);
    CharLowerA(path);
    EXPECT_NE(nullptr, strstr(path, "\\winsxs\\")) << path;
    EXPECT_NE(nullptr, strstr(path, "common-controls")) << path;
}

}  // namespace
