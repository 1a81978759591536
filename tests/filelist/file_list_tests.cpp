// The file list on a real list box with real buttons: the button tables, the
// move and remove commands, the context menu and the horizontal extent.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "failing_memory.h"
#include "filelist/file_list.h"
#include "support/file_list_window.h"
#include "support/prompt_script.h"

namespace {

const std::vector<int> kNone, kListOnly = {1019, 1010}, kRemoveToo = {1019, 1010, 1007},
                              kAll = {1019, 1010, 1007, 1005, 1006, 1008, 1009};

std::vector<std::string> Entries(int count)
{
    std::vector<std::string> texts;
    for (int i = 0; i < count; i++) texts.push_back("C:\\files\\" + std::to_string(i) + ".txt");
    return texts;
}

TEST(ButtonStates, FollowTheEntryAndSelectionCounts)
{
    const struct {
        const char* name;
        int entries;
        std::vector<int> selected, enabled;
    } cases[] = {
        {"empty list", 0, {}, kNone},
        {"entries, none selected", 3, {}, kListOnly},
        {"the only entry selected", 1, {0}, kRemoveToo},
        {"one of several selected, at the top", 3, {0}, kAll},
        {"two selected", 3, {0, 2}, kRemoveToo},
    };
    FileListWindow window;
    RECT client;
    GetClientRect(window.List(), &client);
    for (const auto& c : cases) {
        FillList(window.List(), Entries(c.entries), c.selected);
        // The same picture whatever the buttons showed before; a mouse-button
        // release below the entries refreshes them through FileListProc.
        window.SetAllButtons(TRUE);
        SendMessageA(window.List(), WM_LBUTTONUP, 0, MAKELPARAM(10, client.bottom - 4));
        EXPECT_EQ(c.enabled, window.EnabledButtons()) << c.name << ", from all enabled";
        window.SetAllButtons(FALSE);
        UpdateButtonStates();
        EXPECT_EQ(c.enabled, window.EnabledButtons()) << c.name << ", from all disabled";
    }
}

TEST(MoveCommands, MoveTheLowestSelectedEntryAndLeaveItSelected)
{
    const std::vector<int> same = {0, 1, 2, 3, 4};
    const struct {
        const char* name;
        LRESULT (*command)();
        std::vector<int> selected;
        std::vector<int> order;  // former positions, top to bottom
        std::vector<int> after;  // selected positions afterwards
    } cases[] = {
        {"up", OnMoveUp, {2}, {0, 2, 1, 3, 4}, {1}},
        {"to the top", OnMoveToTop, {2}, {2, 0, 1, 3, 4}, {0}},
        {"down", OnMoveDown, {2}, {0, 1, 3, 2, 4}, {3}},
        {"to the end", OnMoveToEnd, {2}, {0, 1, 3, 4, 2}, {4}},
        {"up from the top", OnMoveUp, {0}, same, {0}},
        {"to the top from the top", OnMoveToTop, {0}, same, {0}},
        {"down from the bottom", OnMoveDown, {4}, same, {4}},
        {"to the end from the bottom", OnMoveToEnd, {4}, same, {4}},
        {"up without a selection", OnMoveUp, {}, same, {}},
        {"down without a selection", OnMoveDown, {}, same, {}},
        {"to the end without a selection", OnMoveToEnd, {}, same, {}},
        {"up with two selected", OnMoveUp, {1, 3}, {1, 0, 2, 3, 4}, {0, 3}},
        {"to the end with two selected", OnMoveToEnd, {1, 3}, {0, 2, 3, 4, 1}, {2, 4}},
    };
    // The third entry repeats the first: a move goes by position, not by text.
    std::vector<std::string> texts = {"C:\\a.txt", "C:\\b.txt", "C:\\a.txt", "C:\\d.txt", "C:\\e.txt"};
    FileListWindow window;
    for (const auto& c : cases) {
        FillList(window.List(), texts, c.selected);
        EXPECT_EQ(0, c.command()) << c.name;
        std::vector<std::string> expected;
        for (int position : c.order) expected.push_back(texts[(size_t)position]);
        EXPECT_EQ(expected, ListTexts(window.List())) << c.name;
        EXPECT_EQ(c.after, SelectedPositions(window.List())) << c.name;
    }
}

TEST(RemoveSelected, RemovesFromTheBottomUpAndNothingWithoutMemory)
{
    FileListWindow window;
    std::vector<std::string> texts = Entries(7);
    FillList(window.List(), texts, {1, 3, 4, 6});
    PromptScript prompts;
    {
        FailingMemory memory(0);
        OnRemoveSelected();
    }
    ASSERT_EQ(1u, prompts.Count());
    EXPECT_EQ("メモリーが不足しています。", prompts.Last().text);
    EXPECT_EQ(texts, ListTexts(window.List()));

    EXPECT_EQ(0, OnRemoveSelected());
    EXPECT_EQ((std::vector<std::string>{texts[0], texts[2], texts[5]}), ListTexts(window.List()));
}

// Lets the command a menu posted reach the window.
void DeliverPosted()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

TEST(ContextMenu, GraysWhatCannotActAndRemoveAllActsLikeTheButton)
{
    const struct {
        const char* name;
        int entries;
        std::vector<int> selected;
        SeenMenu shown;
    } cases[] = {
        {"empty list", 0, {}, {{1007, true}, {1010, true}, {0, true}, {1030, true}}},
        {"entries, none selected", 3, {}, {{1007, true}, {1010, false}, {0, true}, {1030, true}}},
        {"one selected", 3, {1}, {{1007, false}, {1010, false}, {0, true}, {1030, true}}},
    };
    FileListWindow window;
    for (const auto& c : cases) {
        FillList(window.List(), Entries(c.entries), c.selected);
        SendMessageA(window.List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
        ASSERT_FALSE(window.Menus().empty()) << c.name;
        EXPECT_EQ(c.shown, window.Menus().back()) << c.name;
    }

    FillList(window.List(), Entries(3), {1});
    window.SetAllButtons(FALSE);
    window.ChooseFromNextMenu(1010);
    SendMessageA(window.List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
    EXPECT_EQ(kAll, window.EnabledButtons()) << "refreshed after the menu, before its command";
    DeliverPosted();
    EXPECT_TRUE(ListTexts(window.List()).empty());
    EXPECT_EQ(kNone, window.EnabledButtons());
}

int TextWidth(HWND list, const std::string& text)
{
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(list, WM_GETFONT, 0, 0));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return size.cx;
}

TEST(FitListExtent, MeasuresTheFirstEntryWithTheMostBytesPlusTheScrollBar)
{
    const struct {
        const char* name;
        std::vector<std::string> entries;
        std::string measured;
    } cases[] = {
        {"equal bytes, the later one wider", {"C:\\iiii.txt", "C:\\WWWW.txt", "C:\\a.txt"}, "C:\\iiii.txt"},
        {"an empty list", {}, ""},
    };
    FileListWindow window;
    ASSERT_LT(TextWidth(window.List(), "C:\\iiii.txt"), TextWidth(window.List(), "C:\\WWWW.txt"));
    for (const auto& c : cases) {
        FillList(window.List(), c.entries);
        EXPECT_EQ(1, FitListExtent(window.List())) << c.name;
        EXPECT_EQ(TextWidth(window.List(), c.measured) + GetSystemMetrics(SM_CXVSCROLL),
                  SendMessageA(window.List(), LB_GETHORIZONTALEXTENT, 0, 0))
            << c.name;
    }
}

}  // namespace
