// The file list of the real main window: the move and remove commands, and the buttons and the context menu that
// follow the entries and selection.
#include "support/tovik_test.h"

const int kListButtons[] = {IDC_START, IDC_REMOVE_ALL, IDC_REMOVE_SELECTED, IDC_MOVE_UP, IDC_MOVE_DOWN,
                            IDC_MOVE_TO_TOP, IDC_MOVE_TO_END};

class FileList : public TovikTest {
protected:
    FileList() { Open(); ShowWindow(window, SW_SHOWNOACTIVATE); }  // shown, for its menu
    // After a right click: the entries, "*" marking a selected one; the items of its menu ("解除", "全解除", the
    // separator, the undo), "-" where grayed (closed, or the keys pressed); then a 1 for each enabled one of
    // kListButtons.
    std::string State(const std::vector<UINT>& keys = {})
    {
        std::string state, menu;
        EXPECT_TRUE(WhileShowing("#32768", [&](HWND popup) {
            HMENU items = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
            for (int i = 0; i < GetMenuItemCount(items); i++) menu += GetMenuState(items, i, MF_BYPOSITION) & MF_GRAYED ? "-" : "+";
            if (keys.empty()) EndMenu();
            for (UINT key : keys) PostMessageA(popup, WM_KEYDOWN, key, 0);
        }, [&] { SendMessageA(Control(IDC_FILE_LIST), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30)); }));
        Pump();
        for (int i = 0; i < (int)Entries().size(); i++) state += Entries()[i] + (SendMessageA(Control(IDC_FILE_LIST), LB_GETSEL, i, 0) > 0 ? "*" : "");
        state += " " + menu + " ";
        for (int id : kListButtons) state += IsWindowEnabled(Control(id)) ? "1" : "0";
        return state;
    }
};

TEST_F(FileList, MovesTakeTheLowestSelectedEntryAndTheButtonsAndMenuFollowTheSelection) {
    const int up = IDC_MOVE_UP, down = IDC_MOVE_DOWN, top = IDC_MOVE_TO_TOP, end = IDC_MOVE_TO_END;
    const struct { int count; std::vector<int> selected; int command; std::string state; } rows[] = {
        {0, {}, 0, " ---- 0000000"}, {3, {}, 0, "abc -+-- 1100000"}, {1, {0}, 0, "a* ++-- 1110000"}, {3, {0, 2}, 0, "a*bc* ++-- 1110000"},
        {5, {2}, up, "ac*bde ++-- 1111111"}, {5, {2}, top, "c*abde ++-- 1111111"}, {5, {2}, down, "abdc*e ++-- 1111111"},
        {5, {2}, end, "abdec* ++-- 1111111"}, {5, {0}, up, "a*bcde ++-- 1111111"}, {5, {0}, top, "a*bcde ++-- 1111111"},
        {5, {4}, down, "abcde* ++-- 1111111"}, {5, {4}, end, "abcde* ++-- 1111111"}, {5, {}, down, "abcde -+-- 1100000"},
        {5, {}, end, "abcde -+-- 1100000"}, {5, {1, 3}, up, "b*acd*e ++-- 1110000"}, {5, {1, 3}, end, "acd*eb* ++-- 1110000"},
        {5, {1, 3, 4}, IDC_REMOVE_SELECTED, "ac -+-- 1100000"}};  // from the bottom up
    for (const auto& r : rows) {
        SendMessageA(Control(IDC_FILE_LIST), LB_RESETCONTENT, 0, 0);
        for (int i = 0; i < r.count; i++) SendMessageA(Control(IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)std::string(1, 'a' + i).c_str());
        for (int i : r.selected) SendMessageA(Control(IDC_FILE_LIST), LB_SETSEL, TRUE, i);
        SendMessageA(window, WM_COMMAND, r.command, 0);
        // Each button the opposite of what it should show, so that every one has to be set.
        for (int i = 0; i < 7; i++) EnableWindow(Control(kListButtons[i]), r.state[r.state.size() - 7 + i] == '0');
        EXPECT_EQ(r.state, State()) << r.command << " with " << r.count << " entries, " << r.selected.size() << " selected";
    }
    EXPECT_EQ(" -+-- 0000000", State({VK_DOWN, VK_DOWN, VK_RETURN})) << "全解除 from the menu";
    // So does any press, release or double-click of the right or the middle button, after an entry put in from outside.
    SendMessageA(Control(IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)"a");
    for (UINT message : {WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}) {
        EnableWindow(Control(IDC_REMOVE_ALL), FALSE);
        SendMessageA(Control(IDC_FILE_LIST), message, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(Control(IDC_REMOVE_ALL))) << message;
    }
}
