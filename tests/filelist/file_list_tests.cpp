// The file list of the real main window: the move, remove and sort commands, and the buttons and the context menu
// that follow the entries and selection.
#include <stdio.h>

#include "res/file_list_menu_res.h"
#include "support/tovik_test.h"

const std::vector<int> kListButtons = {IDC_START, IDC_REMOVE_ALL, IDC_REMOVE_SELECTED, IDC_MOVE_UP, IDC_MOVE_DOWN,
                                       IDC_MOVE_TO_TOP, IDC_MOVE_TO_END};
const std::vector<int> kListed = {IDC_START, IDC_REMOVE_ALL};
const std::vector<int> kSelected = {IDC_START, IDC_REMOVE_ALL, IDC_REMOVE_SELECTED};

class FileList : public TovikTest {
protected:
    FileList()
    {
        Open();
        ShowWindow(window, SW_SHOWNOACTIVATE);  // shown, for its menu
    }
    void Fill(int count, const std::vector<int>& selected)
    {
        SendMessageA(Control(IDC_FILE_LIST), LB_RESETCONTENT, 0, 0);
        for (int i = 0; i < count; i++) {
            SendMessageA(Control(IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)std::string(1, 'a' + i).c_str());
        }
        for (int i : selected) SendMessageA(Control(IDC_FILE_LIST), LB_SETSEL, TRUE, i);
    }
    // The entries one letter each, and the selected positions.
    std::string Order() const
    {
        std::string order;
        for (const std::string& entry : Entries()) order += entry;
        return order;
    }
    std::vector<int> Selection() const
    {
        std::vector<int> selected;
        for (int i = 0; i < (int)Entries().size(); i++) {
            if (SendMessageA(Control(IDC_FILE_LIST), LB_GETSEL, i, 0) > 0) selected.push_back(i);
        }
        return selected;
    }
    std::vector<int> Enabled() const
    {
        std::vector<int> enabled;
        for (int id : kListButtons) {
            if (IsWindowEnabled(Control(id))) enabled.push_back(id);
        }
        return enabled;
    }
    // A right click on the list; the grayed items of the menu it opens, then the keys pressed in it.
    std::vector<bool> RightClick(const std::vector<UINT>& keys = {})
    {
        std::vector<bool> grayed;
        HWND list = Control(IDC_FILE_LIST);
        auto answer = [&](HWND popup) {
            HMENU items = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
            for (int i = 0; i < GetMenuItemCount(items); i++) {
                grayed.push_back((GetMenuState(items, i, MF_BYPOSITION) & MF_GRAYED) != 0);
            }
            if (keys.empty()) EndMenu();
            for (UINT key : keys) PostMessageA(popup, WM_KEYDOWN, key, 0);
        };
        auto click = [&] {
            SendMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
            SendMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(20, 30));
        };
        EXPECT_TRUE(WhileShowing("#32768", answer, click));
        Pump();
        return grayed;
    }
};

TEST_F(FileList, MovesTakeTheSelectionAsOneBlockAndTheButtonsAndMenuFollowTheSelection) {
    const int up = IDC_MOVE_UP;
    const int down = IDC_MOVE_DOWN;
    const int top = IDC_MOVE_TO_TOP;
    const int end = IDC_MOVE_TO_END;
    // The entries a, b, c... and which are selected, a command; then the order, the selection and the enabled
    // buttons after a right click, and whether the menu's 解除 and 全解除 were grayed.
    const struct {
        int count;
        std::vector<int> selected;
        int command;
        std::string order;
        std::vector<int> selectedAfter;
        std::vector<int> enabled;
        bool removeGrayed;
        bool removeAllGrayed;
    } rows[] = {
        {0, {}, 0, "", {}, {}, true, true},
        {3, {}, 0, "abc", {}, kListed, true, false},
        {1, {0}, 0, "a", {0}, kSelected, false, false},
        {5, {2}, up, "acbde", {1}, kListButtons, false, false},
        {5, {2}, top, "cabde", {0}, kListButtons, false, false},
        {5, {2}, down, "abdce", {3}, kListButtons, false, false},
        {5, {2}, end, "abdec", {4}, kListButtons, false, false},
        {5, {0}, up, "abcde", {0}, kListButtons, false, false},
        {5, {4}, end, "abcde", {4}, kListButtons, false, false},
        {5, {}, down, "abcde", {}, kListed, true, false},
        {5, {1, 3}, up, "bdace", {0, 1}, kListButtons, false, false},  // gathered as one block
        {5, {1, 3}, end, "acebd", {3, 4}, kListButtons, false, false},
        {5, {1, 2}, down, "adbce", {2, 3}, kListButtons, false, false},
        {5, {2, 4}, top, "ceabd", {0, 1}, kListButtons, false, false},
        {2, {0, 1}, up, "ab", {0, 1}, kSelected, false, false},
        {5, {1, 3, 4}, IDC_REMOVE_SELECTED, "ac", {}, kListed, true, false},  // from the bottom up
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.command) + " over " + row.order);
        Fill(row.count, row.selected);
        SendMessageA(window, WM_COMMAND, row.command, 0);
        // Each button the opposite of what it should show, so that every one has to be set.
        for (int id : kListButtons) {
            bool shouldBeEnabled = std::count(row.enabled.begin(), row.enabled.end(), id) > 0;
            EnableWindow(Control(id), !shouldBeEnabled);
        }
        std::vector<bool> grayed = RightClick();
        ASSERT_EQ(6u, grayed.size());
        EXPECT_EQ(row.removeGrayed, grayed[0]);
        EXPECT_EQ(row.removeAllGrayed, grayed[1]);
        EXPECT_EQ(row.count < 2, grayed[3]) << "並べ替え";
        EXPECT_TRUE(grayed[5]) << "no run to undo";
        EXPECT_EQ(row.order, Order());
        EXPECT_EQ(row.selectedAfter, Selection());
        EXPECT_EQ(row.enabled, Enabled());
    }
    Fill(2, {});
    RightClick({VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ("", Order()) << "全解除 from the menu";
    // So does any press, release or double-click of the right or the middle button, after an entry put in from outside.
    SendMessageA(Control(IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)"a");
    for (UINT message : {WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}) {
        EnableWindow(Control(IDC_REMOVE_ALL), FALSE);
        SendMessageA(Control(IDC_FILE_LIST), message, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(Control(IDC_REMOVE_ALL))) << message;
    }
}

// The keyboard drives the list: a selection made by the keys refreshes the buttons, Del removes the selection, and
// Shift+F10 and the menu key open the menu, whose undo item shows its shortcut.
TEST_F(FileList, TheKeyboardSelectsRemovesAndOpensTheMenu) {
    HWND list = Control(IDC_FILE_LIST);
    Fill(3, {});
    EnableWindow(Control(IDC_REMOVE_SELECTED), FALSE);
    SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(std::vector<int>{0}, Selection());
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_REMOVE_SELECTED)));
    SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ("bc", Order());
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_REMOVE_SELECTED)));
    SendMessageA(list, LB_SETSEL, TRUE, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_SELCHANGE), (LPARAM)list);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_REMOVE_SELECTED))) << "the list's notice of a new selection";
    BYTE keys[256];
    GetKeyboardState(keys);
    const struct {
        UINT message;
        UINT key;
        BYTE shift;
    } presses[] = {{WM_KEYDOWN, VK_APPS, 0}, {WM_SYSKEYDOWN, VK_F10, 0x80}};
    for (const auto& press : presses) {
        SCOPED_TRACE(press.key);
        keys[VK_SHIFT] = press.shift;
        SetKeyboardState(keys);
        char undo[64] = "";
        auto answer = [&](HWND popup) {
            HMENU items = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
            GetMenuStringA(items, IDC_UNDO_LAST_RUN, undo, sizeof undo, MF_BYCOMMAND);
            EndMenu();
        };
        EXPECT_TRUE(WhileShowing("#32768", answer, [&] { SendMessageA(list, press.message, press.key, 0); }));
        EXPECT_STREQ("直前の改名を元に戻す\tCtrl+Z", undo);
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

// A JPEG with the date taken in its Exif, or without Exif when date is empty.
static std::string Jpeg(const std::string& date)
{
    using namespace std::string_literals;
    if (date.empty()) return "\xFF\xD8\xFF\xE0\x00\x04xx\xFF\xDA"s;
    return "\xFF\xD8\xFF\xE1\x00\x48" "Exif\0\0" "II*\0\x08\0\0\0" "\x01\0\x69\x87\x04\0\x01\0\0\0\x1A\0\0\0"
           "\0\0\0\0" "\x01\0\x03\x90\x02\0\x14\0\0\0\x2C\0\0\0" "\0\0\0\0"s + date + "\0"s;
}

// Last written at "YYYY:MM:DD hh:mm:ss", local time.
static void SetWritten(const std::string& path, const char* date)
{
    SYSTEMTIME local = {}, utc;
    sscanf(date, "%hu:%hu:%hu %hu:%hu:%hu", &local.wYear, &local.wMonth, &local.wDay, &local.wHour, &local.wMinute,
           &local.wSecond);
    FILETIME written;
    TzSpecificLocalTimeToSystemTime(NULL, &local, &utc);
    SystemTimeToFileTime(&utc, &written);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_TRUE(SetFileTime(file, NULL, NULL, &written)) << path;
    CloseHandle(file);
}

TEST_F(FileList, SortCommandsOrderTheListOrOnlyTheSelectionWithinItsPlaces) {
    const struct { const char* name; const char* taken; const char* written; } files[] = {
        {"IMG_10.jpg", "2024:03:15 14:25:01", "2024:01:01 00:00:00"},
        {"写真_1.jpg", "2023:12:31 23:59:59", "2024:06:01 00:00:00"},
        {"IMG_1.txt", "", "2024:03:15 14:25:01"},  // as late as IMG_10.jpg was taken
        {"IMG_2.jpg", "", "2024:03:15 14:25:00"},
    };
    for (const auto& f : files) {
        ASSERT_TRUE(WriteFileText(Path(f.name), Jpeg(f.taken)));
        SetWritten(Path(f.name), f.written);
    }
    const Strings listed = {"IMG_10.jpg", "写真_1.jpg", "IMG_100.jpg", "IMG_1.txt", "IMG_2.jpg"};  // IMG_100: none
    const int name = IDC_SORT_BY_NAME;
    const int written = IDC_SORT_BY_WRITE_TIME;
    const int taken = IDC_SORT_BY_DATE_TAKEN;
    const int reverse = IDC_REVERSE_ORDER;
    // The list and its selection, a command; then the list and its selection.
    const struct { Strings list; std::vector<int> selected; int command; Strings sorted; std::vector<int> after; }
        rows[] = {
        {listed, {}, name, {"IMG_1.txt", "IMG_2.jpg", "IMG_10.jpg", "IMG_100.jpg", "写真_1.jpg"}, {}},
        {listed, {}, written, {"IMG_10.jpg", "IMG_2.jpg", "IMG_1.txt", "写真_1.jpg", "IMG_100.jpg"}, {}},
        {listed, {}, taken, {"写真_1.jpg", "IMG_2.jpg", "IMG_10.jpg", "IMG_1.txt", "IMG_100.jpg"}, {}},
        {listed, {}, reverse, {"IMG_2.jpg", "IMG_1.txt", "IMG_100.jpg", "写真_1.jpg", "IMG_10.jpg"}, {}},
        {listed, {0}, name, {"IMG_1.txt", "IMG_2.jpg", "IMG_10.jpg", "IMG_100.jpg", "写真_1.jpg"}, {2}},
        {listed, {0, 2, 4}, name, {"IMG_2.jpg", "写真_1.jpg", "IMG_10.jpg", "IMG_1.txt", "IMG_100.jpg"},
         {0, 2, 4}},
        {listed, {1, 3}, reverse, {"IMG_10.jpg", "IMG_1.txt", "IMG_100.jpg", "写真_1.jpg", "IMG_2.jpg"}, {1, 3}},
        {{"p010", "p9", "P0002"}, {}, name, {"P0002", "p9", "p010"}, {}},
        {{"表_10", "表_9", "表_1a"}, {}, name, {"表_1a", "表_9", "表_10"}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.command) + " to " + row.sorted[0]);
        Fill(0, {});
        for (const std::string& name : row.list) {
            SendMessageA(Control(IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)Path(name).c_str());
        }
        for (int i : row.selected) SendMessageA(Control(IDC_FILE_LIST), LB_SETSEL, TRUE, i);
        SendMessageA(window, WM_COMMAND, row.command, 0);
        Strings sorted;
        for (const std::string& entry : Entries()) sorted.push_back(entry.substr(work.size() + 1));
        EXPECT_EQ(row.sorted, sorted);
        EXPECT_EQ(row.after, Selection());
    }
    // Out of memory: told once, the list as it was.
    allocationsLeft = 0;
    SendMessageA(window, WM_COMMAND, IDC_SORT_BY_NAME, 0);
    allocationsLeft = -1;
    const Shown outOfMemory = Error(window, "メモリーが不足しています。", "システムエラー");
    EXPECT_EQ(std::vector<Shown>({outOfMemory}), shown);
    EXPECT_EQ(Path("表_1a"), Entries()[0]);
    // 逆順 chosen from the menu with the keys.
    Fill(3, {});
    RightClick({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_UP, VK_RETURN});
    EXPECT_EQ("cba", Order());
}
