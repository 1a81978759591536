// The file list on a real list box with real buttons: the button tables, the
// move and remove commands, FileListProc's mouse messages and the extent.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "failing_memory.h"
#include "filelist/file_list.h"
#include "filelist/path_buffer.h"
#include "support/file_list_window.h"
#include "support/prompt_script.h"

namespace {

const int kStart = 1019, kRemoveAll = 1010, kRemove = 1007, kUp = 1005, kDown = 1006,
          kTop = 1008, kEnd = 1009;
const int kGoverned[] = {kStart, kRemoveAll, kRemove, kUp, kDown, kTop, kEnd};

std::vector<std::string> Entries(int count)
{
    std::vector<std::string> texts;
    for (int i = 0; i < count; i++) texts.push_back("C:\\files\\" + std::to_string(i) + ".txt");
    return texts;
}

void Select(HWND list, std::initializer_list<int> positions)
{
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    for (int position : positions) SendMessageA(list, LB_SETSEL, TRUE, position);
}

std::vector<int> EnabledOf(const FileListWindow& window)
{
    std::vector<int> enabled;
    for (int id : kGoverned) {
        if (window.Enabled(id)) enabled.push_back(id);
    }
    return enabled;
}

void DisableAllButtons(HWND window)
{
    for (int id : kGoverned) EnableWindow(GetDlgItem(window, id), FALSE);
}

struct ButtonCase {
    const char* name;
    int entries;
    std::initializer_list<int> selected;
    std::vector<int> enabled;
};

TEST(ButtonStates, FollowTheEntryAndSelectionCounts)
{
    const ButtonCase cases[] = {
        {"empty list", 0, {}, {}},
        {"entries, none selected", 3, {}, {kStart, kRemoveAll}},
        {"the only entry selected", 1, {0}, {kStart, kRemoveAll, kRemove}},
        {"one of several selected", 3, {1}, {kStart, kRemoveAll, kRemove, kUp, kDown, kTop, kEnd}},
        {"the top one selected", 3, {0}, {kStart, kRemoveAll, kRemove, kUp, kDown, kTop, kEnd}},
        {"the bottom one selected", 3, {2}, {kStart, kRemoveAll, kRemove, kUp, kDown, kTop, kEnd}},
        {"two selected", 3, {0, 2}, {kStart, kRemoveAll, kRemove}},
        {"all selected", 3, {0, 1, 2}, {kStart, kRemoveAll, kRemove}},
    };
    FileListWindow window;
    for (const ButtonCase& c : cases) {
        FillList(window.List(), Entries(c.entries));
        Select(window.List(), c.selected);
        // The same picture whatever the buttons showed before.
        window.EnableAllButtons();
        UpdateButtonStates();
        EXPECT_EQ(c.enabled, EnabledOf(window)) << c.name << ", from all enabled";
        DisableAllButtons(window.Window());
        UpdateButtonStates();
        EXPECT_EQ(c.enabled, EnabledOf(window)) << c.name << ", from all disabled";
    }
}

TEST(ButtonStates, LeaveTheFolderButtonAlone)
{
    FileListWindow window;
    UpdateButtonStates();
    EXPECT_TRUE(window.Enabled(1022));
    EXPECT_TRUE(EnabledOf(window).empty());
}

struct MoveCase {
    const char* name;
    LRESULT (*command)();
    std::vector<int> order;  // former positions, top to bottom
    int selected;
};

std::vector<std::string> Reordered(const std::vector<std::string>& texts, const std::vector<int>& order)
{
    std::vector<std::string> result;
    for (int position : order) result.push_back(texts[(size_t)position]);
    return result;
}

TEST(MoveCommands, MoveTheThirdOfFiveAndLeaveExactlyItSelected)
{
    const MoveCase cases[] = {
        {"up", OnMoveUp, {0, 2, 1, 3, 4}, 1},
        {"to the top", OnMoveToTop, {2, 0, 1, 3, 4}, 0},
        {"down", OnMoveDown, {0, 1, 3, 2, 4}, 3},
        {"to the end", OnMoveToEnd, {0, 1, 3, 4, 2}, 4},
    };
    FileListWindow window;
    std::vector<std::string> texts = Entries(5);
    for (const MoveCase& c : cases) {
        FillList(window.List(), texts);
        Select(window.List(), {2});
        EXPECT_EQ(0, c.command()) << c.name;
        EXPECT_EQ(Reordered(texts, c.order), ListTexts(window.List())) << c.name;
        EXPECT_EQ(std::vector<int>{c.selected}, SelectedPositions(window.List())) << c.name;
    }
}

struct StayCase {
    const char* name;
    int entries;
    std::initializer_list<int> selected;
    LRESULT (*command)();
};

TEST(MoveCommands, DoNothingWhereTheSelectionCannotMove)
{
    const StayCase cases[] = {
        {"up from the top", 5, {0}, OnMoveUp},
        {"to the top from the top", 5, {0}, OnMoveToTop},
        {"down from the bottom", 5, {4}, OnMoveDown},
        {"to the end from the bottom", 5, {4}, OnMoveToEnd},
        {"up without a selection", 5, {}, OnMoveUp},
        {"down without a selection", 5, {}, OnMoveDown},
        {"to the top without a selection", 5, {}, OnMoveToTop},
        {"to the end without a selection", 5, {}, OnMoveToEnd},
        {"up in a list of one", 1, {0}, OnMoveUp},
        {"down in a list of one", 1, {0}, OnMoveDown},
        {"to the end in an empty list", 0, {}, OnMoveToEnd},
    };
    FileListWindow window;
    for (const StayCase& c : cases) {
        FillList(window.List(), Entries(c.entries));
        Select(window.List(), c.selected);
        EXPECT_EQ(0, c.command()) << c.name;
        EXPECT_EQ(Entries(c.entries), ListTexts(window.List())) << c.name;
        EXPECT_EQ(std::vector<int>(c.selected), SelectedPositions(window.List())) << c.name;
    }
}

TEST(MoveCommands, MoveOnlyTheLowestSelectedEntryAndKeepTheOthersSelected)
{
    FileListWindow window;
    std::vector<std::string> texts = Entries(5);
    FillList(window.List(), texts);
    Select(window.List(), {1, 3});
    OnMoveUp();
    EXPECT_EQ(Reordered(texts, {1, 0, 2, 3, 4}), ListTexts(window.List()));
    EXPECT_EQ((std::vector<int>{0, 3}), SelectedPositions(window.List()));

    FillList(window.List(), texts);
    Select(window.List(), {1, 3});
    OnMoveToEnd();
    EXPECT_EQ(Reordered(texts, {0, 2, 3, 4, 1}), ListTexts(window.List()));
    EXPECT_EQ((std::vector<int>{2, 4}), SelectedPositions(window.List()));
}

TEST(MoveListItem, ShiftsTheSelectionOfTheEntriesItPasses)
{
    FileListWindow window;
    std::vector<std::string> texts = Entries(5);

    FillList(window.List(), texts);
    Select(window.List(), {0, 3});
    MoveListItem(4, 1);  // an unselected entry upwards
    EXPECT_EQ(Reordered(texts, {0, 4, 1, 2, 3}), ListTexts(window.List()));
    EXPECT_EQ((std::vector<int>{0, 1, 4}), SelectedPositions(window.List()));

    FillList(window.List(), texts);
    Select(window.List(), {1, 2});
    MoveListItem(0, 3);  // downwards, past two selected entries
    EXPECT_EQ(Reordered(texts, {1, 2, 3, 0, 4}), ListTexts(window.List()));
    EXPECT_EQ((std::vector<int>{0, 1, 3}), SelectedPositions(window.List()));
}

TEST(MoveListItem, MovesByPositionWhenTheSamePathStandsTwice)
{
    FileListWindow window;
    FillList(window.List(), {"C:\\a.txt", "C:\\b.txt", "C:\\a.txt", "C:\\c.txt"});
    Select(window.List(), {2});
    OnMoveUp();
    EXPECT_EQ((std::vector<std::string>{"C:\\a.txt", "C:\\a.txt", "C:\\b.txt", "C:\\c.txt"}),
              ListTexts(window.List()));
    EXPECT_EQ(std::vector<int>{1}, SelectedPositions(window.List()));
}

TEST(MoveCommands, RefreshNeitherTheButtonsNorTheExtent)
{
    FileListWindow window;
    FillList(window.List(), Entries(5));
    Select(window.List(), {2});
    SendMessageA(window.List(), LB_SETHORIZONTALEXTENT, 777, 0);
    DisableAllButtons(window.Window());
    OnMoveUp();
    OnMoveToEnd();
    EXPECT_TRUE(EnabledOf(window).empty());
    EXPECT_EQ(777, SendMessageA(window.List(), LB_GETHORIZONTALEXTENT, 0, 0));
}

TEST(RemoveSelected, RemovesExactlyTheSelectedEntries)
{
    FileListWindow window;
    std::vector<std::string> texts = Entries(7);
    FillList(window.List(), texts);
    Select(window.List(), {1, 3, 4, 6});
    EXPECT_EQ(0, OnRemoveSelected());
    EXPECT_EQ(Reordered(texts, {0, 2, 5}), ListTexts(window.List()));
    EXPECT_TRUE(SelectedPositions(window.List()).empty());

    Select(window.List(), {});
    OnRemoveSelected();
    EXPECT_EQ(Reordered(texts, {0, 2, 5}), ListTexts(window.List()));
}

TEST(RemoveSelected, LeavesTheButtonsStaleUntilTheNextClick)
{
    FileListWindow window;
    FillList(window.List(), Entries(1));
    Select(window.List(), {0});
    UpdateButtonStates();
    OnRemoveSelected();
    EXPECT_EQ(0, SendMessageA(window.List(), LB_GETCOUNT, 0, 0));
    EXPECT_EQ((std::vector<int>{kStart, kRemoveAll, kRemove}), EnabledOf(window));
    OnRemoveSelected();  // stale "解除" does nothing
    SendMessageA(window.List(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(EnabledOf(window).empty());
}

TEST(RemoveSelected, WithoutMemoryForThePositionsSaysSoAndRemovesNothing)
{
    FileListWindow window;
    std::vector<std::string> texts = Entries(4);
    FillList(window.List(), texts);
    Select(window.List(), {1, 2});
    PromptScript prompts;
    {
        FailingMemory memory(0);
        OnRemoveSelected();
        EXPECT_EQ(1, memory.Calls());
    }
    ASSERT_EQ(1u, prompts.Count());
    EXPECT_EQ("メモリーが不足しています。", prompts.Last().text);
    EXPECT_EQ("システムエラー", prompts.Last().title);
    EXPECT_EQ((UINT)MB_OK, prompts.Last().buttons);
    EXPECT_EQ((UINT)MB_ICONERROR, prompts.Last().icon);
    EXPECT_EQ(window.Window(), prompts.Last().owner);
    EXPECT_EQ(texts, ListTexts(window.List()));
    EXPECT_EQ((std::vector<int>{1, 2}), SelectedPositions(window.List()));
}

TEST(RemoveAll, EmptiesTheListAndRefreshesOnlyTheButtons)
{
    FileListWindow window;
    FillList(window.List(), Entries(3));
    Select(window.List(), {1});
    SendMessageA(window.List(), LB_SETHORIZONTALEXTENT, 777, 0);
    window.EnableAllButtons();
    PathBuffer* buffer = GetPathBuffer();
    ASSERT_EQ(1, BeginPathBatch(1));
    buffer->entries[buffer->count++] = strdup("C:\\kept.txt");
    char* kept = buffer->entries[0];

    EXPECT_EQ(0, OnRemoveAll());
    EXPECT_EQ(0, SendMessageA(window.List(), LB_GETCOUNT, 0, 0));
    EXPECT_TRUE(EnabledOf(window).empty());
    EXPECT_EQ(777, SendMessageA(window.List(), LB_GETHORIZONTALEXTENT, 0, 0));
    EXPECT_EQ(1, buffer->count);
    EXPECT_EQ(kept, buffer->entries[0]);
}

// A point in the list below its entries.
LPARAM EmptyArea(HWND list)
{
    RECT client;
    GetClientRect(list, &client);
    return MAKELPARAM(10, client.bottom - 4);
}

TEST(FileListProc, EachOfTheEightOtherMouseButtonMessagesRefreshesTheButtons)
{
    const UINT messages[] = {WM_LBUTTONDOWN, WM_LBUTTONUP,  WM_LBUTTONDBLCLK, WM_RBUTTONUP,
                             WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP,   WM_MBUTTONDBLCLK};
    for (UINT message : messages) {
        FileListWindow window;
        FillList(window.List(), Entries(3));
        Select(window.List(), {1});
        DisableAllButtons(window.Window());
        SendMessageA(window.List(), message, 0, EmptyArea(window.List()));
        ReleaseCapture();
        EXPECT_EQ((std::vector<int>{kStart, kRemoveAll, kRemove, kUp, kDown, kTop, kEnd}),
                  EnabledOf(window))
            << "message 0x" << std::hex << message;
    }
}

TEST(FileListProc, OtherMessagesLeaveTheButtonsAlone)
{
    const UINT messages[] = {WM_MOUSEMOVE, WM_MOUSEWHEEL, WM_KEYDOWN, WM_CONTEXTMENU, WM_SETFOCUS};
    for (UINT message : messages) {
        FileListWindow window;
        FillList(window.List(), Entries(3));
        Select(window.List(), {1});
        DisableAllButtons(window.Window());
        WPARAM wParam = message == WM_KEYDOWN ? VK_SPACE : 0;
        SendMessageA(window.List(), message, wParam, EmptyArea(window.List()));
        EXPECT_TRUE(EnabledOf(window).empty()) << "message 0x" << std::hex << message;
        EXPECT_TRUE(window.Menus().empty()) << "message 0x" << std::hex << message;
    }
}

TEST(FileListProc, APressShowsTheSelectionBeforeTheClickAndTheReleaseAfterIt)
{
    FileListWindow window;
    FillList(window.List(), Entries(3));
    UpdateButtonStates();
    RECT item;
    SendMessageA(window.List(), LB_GETITEMRECT, 1, (LPARAM)&item);
    LPARAM point = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);

    SendMessageA(window.List(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    EXPECT_EQ(std::vector<int>{1}, SelectedPositions(window.List())) << "the list took the click";
    EXPECT_EQ((std::vector<int>{kStart, kRemoveAll}), EnabledOf(window));
    SendMessageA(window.List(), WM_LBUTTONUP, 0, point);
    EXPECT_EQ((std::vector<int>{kStart, kRemoveAll, kRemove, kUp, kDown, kTop, kEnd}),
              EnabledOf(window));
}

void ClickEntry(HWND list, int position)
{
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, (WPARAM)position, (LPARAM)&item);
    LPARAM point = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
}

TEST(FileListProc, TwoEntriesSelectedByClickingDisableTheMoves)
{
    FileListWindow window;
    FillList(window.List(), Entries(3));
    ClickEntry(window.List(), 0);
    ClickEntry(window.List(), 2);
    EXPECT_EQ((std::vector<int>{0, 2}), SelectedPositions(window.List()));
    EXPECT_EQ((std::vector<int>{kStart, kRemoveAll, kRemove}), EnabledOf(window));
}

TEST(FileListProc, ASelectionByTheSpaceBarLeavesTheButtonsAsTheClickLeftThem)
{
    FileListWindow window;
    std::vector<std::string> texts = Entries(5);
    FillList(window.List(), texts);
    ClickEntry(window.List(), 3);
    SendMessageA(window.List(), WM_KEYDOWN, VK_UP, 0);  // the caret to entry 2
    SendMessageA(window.List(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(window.List(), WM_KEYUP, VK_SPACE, 0);
    ASSERT_EQ((std::vector<int>{2, 3}), SelectedPositions(window.List()));
    EXPECT_EQ((std::vector<int>{kStart, kRemoveAll, kRemove, kUp, kDown, kTop, kEnd}),
              EnabledOf(window))
        << "still the picture of one selected entry";
    OnMoveUp();
    EXPECT_EQ(Reordered(texts, {0, 2, 1, 3, 4}), ListTexts(window.List()));
    EXPECT_EQ((std::vector<int>{1, 3}), SelectedPositions(window.List()));
}

TEST(FileListProc, ReturnsWhatTheListReturns)
{
    FileListWindow window;
    EXPECT_EQ(0, SendMessageA(window.List(), LB_ADDSTRING, 0, (LPARAM)"C:\\a.txt"));
    EXPECT_EQ(1, SendMessageA(window.List(), LB_ADDSTRING, 0, (LPARAM)"C:\\b.txt"));
    EXPECT_EQ(2, SendMessageA(window.List(), LB_GETCOUNT, 0, 0));
    EXPECT_EQ(LB_ERR, SendMessageA(window.List(), LB_GETTEXTLEN, 9, 0));
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

struct ExtentCase {
    const char* name;
    std::vector<std::string> entries;
    std::string measured;
};

TEST(FitListExtent, MeasuresTheFirstEntryWithTheMostBytesInTheListsFont)
{
    const ExtentCase cases[] = {
        {"equal bytes, the later one wider", {"C:\\iiii.txt", "C:\\WWWW.txt"}, "C:\\iiii.txt"},
        {"more bytes but narrower", {"C:\\WWWWWW.txt", "C:\\iiiiiiiiiii.txt", "C:\\x.txt"},
         "C:\\iiiiiiiiiii.txt"},
        {"double-byte names count by bytes", {"C:\\表表表表.txt", "C:\\llllllll.txt"},
         "C:\\表表表表.txt"},
        {"the longest last", {"C:\\a.txt", "C:\\ab.txt", "C:\\abc.txt"}, "C:\\abc.txt"},
    };
    FileListWindow window;
    int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    for (const ExtentCase& c : cases) {
        FillList(window.List(), c.entries);
        for (const std::string& other : c.entries) {
            if (other != c.measured && other.size() == c.measured.size()) {
                ASSERT_NE(TextWidth(window.List(), other), TextWidth(window.List(), c.measured))
                    << c.name << ": the case must tell the entries apart";
            }
        }
        EXPECT_EQ(1, FitListExtent(window.List())) << c.name;
        EXPECT_EQ(TextWidth(window.List(), c.measured) + scrollBar,
                  SendMessageA(window.List(), LB_GETHORIZONTALEXTENT, 0, 0))
            << c.name;
    }
}

TEST(FitListExtent, SelectsTheListsFontIntoTheContext)
{
    FileListWindow window;
    std::string text = "C:\\WWWWWWWWWWWWWWWWWWWW.txt";
    FillList(window.List(), {text});
    HFONT big = CreateFontA(-40, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    SendMessageA(window.List(), WM_SETFONT, (WPARAM)big, FALSE);
    FitListExtent(window.List());
    int measured = (int)SendMessageA(window.List(), LB_GETHORIZONTALEXTENT, 0, 0);
    EXPECT_EQ(TextWidth(window.List(), text) + GetSystemMetrics(SM_CXVSCROLL), measured);
    SendMessageA(window.List(), WM_SETFONT, 0, FALSE);
    DeleteObject(big);
}

TEST(FitListExtent, OfAnEmptyListIsTheScrollBarWidth)
{
    FileListWindow window;
    SendMessageA(window.List(), LB_SETHORIZONTALEXTENT, 777, 0);
    EXPECT_EQ(1, FitListExtent(window.List()));
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), SendMessageA(window.List(), LB_GETHORIZONTALEXTENT, 0, 0));
}

}  // namespace
