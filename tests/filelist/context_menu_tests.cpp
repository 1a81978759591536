// The list's context menu (menu 119) on a real list: what a right-button
// press shows, where, what is grayed, and that a chosen item acts like its
// button.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "filelist/file_list.h"
#include "support/file_list_window.h"

namespace {

std::vector<std::string> Entries(int count)
{
    std::vector<std::string> texts;
    for (int i = 0; i < count; i++) texts.push_back("C:\\files\\" + std::to_string(i) + ".txt");
    return texts;
}

// Lets the command the menu posted reach the window.
void DeliverPosted()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

struct GrayCase {
    const char* name;
    int entries;
    std::initializer_list<int> selected;
    std::vector<bool> grayed;  // "解除", "全解除"
};

TEST(ContextMenu, ShowsMenu119WithWhatCannotActGrayed)
{
    const GrayCase cases[] = {
        {"empty list", 0, {}, {true, true}},
        {"entries, none selected", 3, {}, {true, false}},
        {"one selected", 3, {1}, {false, false}},
        {"two selected", 3, {0, 2}, {false, false}},
    };
    for (const GrayCase& c : cases) {
        FileListWindow window;
        FillList(window.List(), Entries(c.entries));
        for (int position : c.selected) SendMessageA(window.List(), LB_SETSEL, TRUE, position);
        SendMessageA(window.List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
        ASSERT_EQ(1u, window.Menus().size()) << c.name;
        const SeenMenu& menu = window.Menus()[0];
        EXPECT_EQ((std::vector<std::string>{"解除", "全解除"}), menu.texts) << c.name;
        EXPECT_EQ((std::vector<UINT>{1007, 1010}), menu.ids) << c.name;
        EXPECT_EQ(c.grayed, menu.grayed) << c.name;
        DeliverPosted();
        EXPECT_TRUE(window.Commands().empty()) << c.name << ": closed without a choice";
    }
}

TEST(ContextMenu, OpensAtTheClickInScreenCoordinates)
{
    FileListWindow window;
    FillList(window.List(), Entries(2));
    SendMessageA(window.List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(25, 40));
    ASSERT_EQ(1u, window.Menus().size());
    POINT expected = {25, 40};
    ClientToScreen(window.List(), &expected);
    EXPECT_EQ(expected.x, window.Menus()[0].rect.left);
    EXPECT_EQ(expected.y, window.Menus()[0].rect.top);
}

TEST(ContextMenu, RefreshesTheButtonsAfterTheMenu)
{
    FileListWindow window;
    FillList(window.List(), Entries(3));
    SendMessageA(window.List(), LB_SETSEL, TRUE, 2);
    SendMessageA(window.List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
    ASSERT_EQ(1u, window.Menus().size());
    for (int id : {1019, 1010, 1007, 1005, 1006, 1008, 1009}) EXPECT_TRUE(window.Enabled(id)) << id;
}

TEST(ContextMenu, ChoosingRemoveAllEmptiesTheListLikeTheButton)
{
    FileListWindow window;
    FillList(window.List(), Entries(3));
    window.ChooseFromNextMenu(1010);
    SendMessageA(window.List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
    EXPECT_EQ(3, SendMessageA(window.List(), LB_GETCOUNT, 0, 0)) << "acted on only after the menu";
    DeliverPosted();
    EXPECT_EQ(std::vector<int>{1010}, window.Commands());
    EXPECT_EQ(0, SendMessageA(window.List(), LB_GETCOUNT, 0, 0));
    for (int id : {1019, 1010, 1007, 1005, 1006, 1008, 1009}) EXPECT_FALSE(window.Enabled(id)) << id;
}

TEST(ContextMenu, ChoosingRemoveTakesOutTheSelectedEntries)
{
    FileListWindow window;
    std::vector<std::string> texts = Entries(4);
    FillList(window.List(), texts);
    SendMessageA(window.List(), LB_SETSEL, TRUE, 1);
    SendMessageA(window.List(), LB_SETSEL, TRUE, 3);
    window.ChooseFromNextMenu(1007);
    SendMessageA(window.List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
    DeliverPosted();
    EXPECT_EQ(std::vector<int>{1007}, window.Commands());
    EXPECT_EQ((std::vector<std::string>{texts[0], texts[2]}), ListTexts(window.List()));
}

TEST(ContextMenu, TheContextMenuKeyOpensNothing)
{
    FileListWindow window;
    FillList(window.List(), Entries(3));
    SendMessageA(window.List(), WM_KEYDOWN, VK_APPS, 0);
    SendMessageA(window.List(), WM_KEYUP, VK_APPS, 0);
    SendMessageA(window.List(), WM_CONTEXTMENU, (WPARAM)window.List(), MAKELPARAM(-1, -1));
    DeliverPosted();
    EXPECT_TRUE(window.Menus().empty());
}

}  // namespace
