#include "support/file_list_window.h"

#include <string.h>

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "filelist/file_list.h"
#include "filelist/intake.h"
#include "filelist/path_buffer.h"
#include "support/drop_handle.h"

static const char kClassName[] = "TovikTestFileList";
// In the order of UpdateButtonStates' list-dependent table.
static const int kButtons[] = {1019, 1010, 1007, 1005, 1006, 1008, 1009};

static FileListWindow* g_window;

FileListWindow::FileListWindow()
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &FileListWindow::Proc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    g_window = this;
    // Visible, for the menus and message boxes it owns; without a caption, as
    // Wine waits two seconds for a window manager when a captioned window goes.
    window_ = CreateWindowExA(0, kClassName, "", WS_POPUP, 40, 40, 440, 300, NULL, NULL, instance, NULL);
    list_ = CreateWindowExA(0, "LISTBOX", "",
                            WS_CHILD | WS_VISIBLE | LBS_MULTIPLESEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                                WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP,
                            12, 28, 294, 182, window_, (HMENU)(INT_PTR)1003, instance, NULL);
    // A proportional font, so that equally long texts can differ in width.
    font_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "IPAPGothic");
    SendMessageA(list_, WM_SETFONT, (WPARAM)font_, FALSE);
    for (int i = 0; i < (int)(sizeof kButtons / sizeof *kButtons); i++) {
        CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 310, 28 + 26 * i, 60, 22,
                        window_, (HMENU)(INT_PTR)kButtons[i], instance, NULL);
    }
    AppState* state = GetAppState();
    state->mainWindow = window_;
    state->instance = instance;
    state->fileList = list_;
    DragAcceptFiles(window_, TRUE);
    CreatePathBuffer();
    state->fileListProc = (WNDPROC)SetWindowLongPtrA(list_, GWLP_WNDPROC, (LONG_PTR)&FileListProc);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
}

FileListWindow::~FileListWindow()
{
    AppState* state = GetAppState();
    SetWindowLongPtrA(list_, GWLP_WNDPROC, (LONG_PTR)state->fileListProc);
    ReleasePathBuffer();
    DestroyWindow(window_);
    DeleteObject(font_);
    state->fileListProc = NULL;
    state->mainWindow = NULL;
    state->fileList = NULL;
    g_window = NULL;
}

std::vector<int> FileListWindow::EnabledButtons() const
{
    std::vector<int> enabled;
    for (int id : kButtons) {
        if (IsWindowEnabled(GetDlgItem(window_, id))) enabled.push_back(id);
    }
    return enabled;
}

void FileListWindow::SetAllButtons(BOOL enabled)
{
    for (int id : kButtons) EnableWindow(GetDlgItem(window_, id), enabled);
}

static void SendDrop(HWND window, HDROP drop)
{
    ASSERT_NE(nullptr, drop);
    EXPECT_EQ(0, SendMessageA(window, WM_DROPFILES, (WPARAM)drop, 0));
    EXPECT_EQ(0u, GlobalSize(drop)) << "the drop is released";
}

void FileListWindow::Drop(const std::vector<std::string>& paths)
{
    SendDrop(window_, MakeDrop(paths));
}

void FileListWindow::Drop(const std::vector<std::wstring>& paths)
{
    SendDrop(window_, MakeDrop(paths));
}

void FileListWindow::OnEnterMenuIdle(HWND menuWindow)
{
    int position = -1;
    for (size_t i = 0; choose_ && i < menus_.back().size(); i++) {
        if (menus_.back()[i].first == choose_) position = (int)i;
    }
    choose_ = 0;
    if (position < 0) {
        EndMenu();
        return;
    }
    // The menu loop takes every key message of the thread: from no item
    // selected, each down arrow moves to the next item.
    for (int i = 0; i <= position; i++) PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
}

LRESULT CALLBACK FileListWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    FileListWindow* self = g_window;
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 1005: return OnMoveUp();
        case 1006: return OnMoveDown();
        case 1007: return OnRemoveSelected();
        case 1008: return OnMoveToTop();
        case 1009: return OnMoveToEnd();
        case 1010: return OnRemoveAll();
        case 1022: AddPickedFolder(); return 0;
        }
        break;
    case WM_DROPFILES:
        AddDroppedFiles((HDROP)wParam);
        return 0;
    case WM_INITMENUPOPUP: {
        HMENU menu = (HMENU)wParam;
        SeenMenu seen;
        for (int i = 0; i < GetMenuItemCount(menu); i++) {
            seen.push_back({GetMenuItemID(menu, i), (GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_GRAYED) != 0});
        }
        if (self) self->menus_.push_back(seen);
        return 0;
    }
    case WM_ENTERIDLE:
        if (self && wParam == MSGF_MENU && !self->menus_.empty()) self->OnEnterMenuIdle((HWND)lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<std::string> ListTexts(HWND list)
{
    std::vector<std::string> texts;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        std::string text((size_t)SendMessageA(list, LB_GETTEXTLEN, (WPARAM)i, 0) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)&text[0]);
        text.resize(strlen(text.c_str()));
        texts.push_back(text);
    }
    return texts;
}

std::vector<int> SelectedPositions(HWND list)
{
    std::vector<int> positions;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        if (SendMessageA(list, LB_GETSEL, (WPARAM)i, 0) > 0) positions.push_back(i);
    }
    return positions;
}

void FillList(HWND list, const std::vector<std::string>& texts, const std::vector<int>& selected)
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& text : texts) SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)text.c_str());
    for (int position : selected) SendMessageA(list, LB_SETSEL, TRUE, position);
}
