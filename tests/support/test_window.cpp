#include "support/test_window.h"

#include "core/app_state.h"

static const char kClassName[] = "TovikTestControls";

static HWND MakeControl(HWND parent, const char* className, int id, DWORD style)
{
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 20, parent,
                           (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
}

ControlsWindow::ControlsWindow()
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    window_ = CreateWindowExA(0, kClassName, "tests", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, NULL,
                              NULL, instance, NULL);

    AppState* state = GetAppState();
    state->mainWindow = window_;
    state->instance = instance;
    state->fileList = MakeControl(window_, "LISTBOX", 1003,
                                  LBS_MULTIPLESEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                                      WS_HSCROLL | WS_BORDER | WS_TABSTOP);
    state->outputFolderEdit = MakeControl(window_, "EDIT", 1011, ES_AUTOHSCROLL | WS_BORDER);
    state->browseButton = MakeControl(window_, "BUTTON", 1012, BS_PUSHBUTTON);
    state->prefixEdit = MakeControl(window_, "EDIT", 1013, ES_AUTOHSCROLL | WS_BORDER);
    state->digitCountCombo = MakeControl(window_, "COMBOBOX", 1014, CBS_DROPDOWNLIST | WS_VSCROLL);
    state->startNumberEdit =
        MakeControl(window_, "EDIT", 1015, ES_NUMBER | ES_RIGHT | ES_AUTOHSCROLL | WS_BORDER);
    state->previewEdit = MakeControl(window_, "EDIT", 1017,
                                     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_BORDER);
    state->suffixEdit = MakeControl(window_, "EDIT", 1018, ES_AUTOHSCROLL | WS_BORDER);
    state->extensionEdit = MakeControl(window_, "EDIT", 1021, ES_AUTOHSCROLL | WS_BORDER);
    state->operationCombo = MakeControl(window_, "COMBOBOX", 1027, CBS_DROPDOWNLIST | WS_VSCROLL);
    state->extensionCombo = MakeControl(window_, "COMBOBOX", 1028, CBS_DROPDOWNLIST | WS_VSCROLL);
}

ControlsWindow::~ControlsWindow()
{
    DestroyWindow(window_);
    AppState* state = GetAppState();
    HWND* handles[] = {&state->mainWindow,      &state->fileList,       &state->outputFolderEdit,
                       &state->browseButton,    &state->prefixEdit,     &state->digitCountCombo,
                       &state->startNumberEdit, &state->previewEdit,    &state->suffixEdit,
                       &state->extensionEdit,   &state->operationCombo, &state->extensionCombo};
    for (HWND* handle : handles) *handle = NULL;
}

void FillCombos()
{
    AppState* state = GetAppState();
    const char* digits[] = {"１桁", "２桁", "３桁", "４桁", "５桁", "６桁", "７桁", "８桁"};
    for (const char* text : digits) SendMessageA(state->digitCountCombo, CB_ADDSTRING, 0, (LPARAM)text);
    const char* operations[] = {"リネームのみ", "リネーム＋移動", "リネーム＋コピー", "拡張子のみ変更"};
    for (const char* text : operations) SendMessageA(state->operationCombo, CB_ADDSTRING, 0, (LPARAM)text);
    const char* modes[] = {"変更しない", "小文字で統一", "大文字で統一", "指定"};
    for (const char* text : modes) SendMessageA(state->extensionCombo, CB_ADDSTRING, 0, (LPARAM)text);
}

std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::string text((size_t)length + 1, '\0');
    int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize((size_t)(got < 0 ? 0 : got));
    return text;
}
