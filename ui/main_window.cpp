#include "ui/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <stdio.h>

#include "core/app_state.h"
#include "core/prompt.h"
#include "core/settings.h"
#include "filelist/file_list.h"
#include "filelist/held_drops.h"
#include "filelist/intake.h"
#include "filelist/list_box.h"
#include "filelist/list_sort.h"
#include "filelist/path_buffer.h"
#include "rename/rename_engine.h"
#include "rename/run_journal.h"
#include "res/about_box_res.h"
#include "res/file_list_menu_res.h"
#include "res/icons_res.h"
#include "res/main_window_res.h"
#include "res/version.h"
#include "ui/about_box.h"
#include "ui/control_text.h"
#include "ui/edit_subclass.h"
#include "ui/last_run_undo.h"
#include "ui/list_names.h"
#include "ui/name_inputs.h"
#include "ui/run_command.h"

static const char kMainClassName[] = "TovikClass";
static const char kProgramTitle[] = TOVIK_PROGRAM_TITLE;

// The combo boxes' entries; an entry's index is its value.
static const char* const kDigitCountTexts[] = {"１桁", "２桁", "３桁", "４桁",
                                               "５桁", "６桁", "７桁", "８桁"};
static const char* const kOperationTexts[] = {"リネームのみ", "リネーム＋移動",
                                              "リネーム＋コピー", "拡張子のみ変更"};
static const char* const kExtensionModeTexts[] = {"変更しない", "小文字で統一", "大文字で統一",
                                                  "指定"};

int RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;  // the dialog manager's room
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TOVIK));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = kMainClassName;
    if (RegisterClassExA(&windowClass)) return 1;
    Prompt(NULL, "ウインドウクラスを登録できませんでした", kProgramTitle, MB_OK, MB_ICONERROR);
    return 0;
}

HWND CreateMainWindow(HINSTANCE instance)
{
    RegisterMainClass(instance);
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN_WINDOW), NULL,
                                     (DLGPROC)(void*)MainWindowProc, 0);
    if (!window)
        Prompt(NULL, "メインウインドウを作成できませんでした", kProgramTitle, MB_OK, MB_ICONERROR);
    return window;
}

// ---- controls ----------------------------------------------------------------

static HWND Subclass(HWND control, WNDPROC procedure, WNDPROC* saved)
{
    *saved = (WNDPROC)SetWindowLongPtrA(control, GWLP_WNDPROC, (LONG_PTR)procedure);
    return control;
}

static void FillCombo(HWND combo, const char* const* texts, int count, int selection)
{
    for (int i = 0; i < count; ++i) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)texts[i]);
    // An index outside the entries leaves the combo without a selection.
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)selection, 0);
}

void InitMainControls(HWND window)
{
    AppState* state = GetAppState();
    DragAcceptFiles(window, TRUE);
    // Without its first array the buffer makes one at the first intake.
    CreatePathBuffer();

    state->mainWindow = window;
    state->instance = (HINSTANCE)GetWindowLongPtrA(window, GWLP_HINSTANCE);
    state->handCursor = LoadCursorA(state->instance, MAKEINTRESOURCEA(IDC_HAND_CURSOR));

    state->outputFolderEdit = GetDlgItem(window, IDC_OUTPUT_FOLDER_EDIT);
    SetWindowTextA(state->outputFolderEdit, state->settings.outputFolder);

    state->prefixEdit = Subclass(GetDlgItem(window, IDC_PREFIX_EDIT), PrefixEditProc,
                                 &state->prefixEditProc);
    SetWindowTextA(state->prefixEdit, state->settings.prefix);

    state->suffixEdit = Subclass(GetDlgItem(window, IDC_SUFFIX_EDIT), SuffixEditProc,
                                 &state->suffixEditProc);
    SetWindowTextA(state->suffixEdit, state->settings.suffix);

    state->startNumberEdit = Subclass(GetDlgItem(window, IDC_START_NUMBER_EDIT),
                                      StartNumberEditProc, &state->startNumberEditProc);
    // The names use what the edit holds, so it holds no more than they read.
    SendMessageA(state->startNumberEdit, EM_LIMITTEXT, kStartNumberLength, 0);
    SetWindowTextA(state->startNumberEdit, state->settings.startNumber);

    state->previewEdit = GetDlgItem(window, IDC_PREVIEW_EDIT);

    state->digitCountCombo = GetDlgItem(window, IDC_DIGIT_COUNT_COMBO);
    FillCombo(state->digitCountCombo, kDigitCountTexts, 8, state->settings.digitCountIndex);
    state->operationCombo = GetDlgItem(window, IDC_OPERATION_COMBO);
    FillCombo(state->operationCombo, kOperationTexts, 4, state->fileOperation);
    state->extensionCombo = GetDlgItem(window, IDC_EXTENSION_COMBO);
    FillCombo(state->extensionCombo, kExtensionModeTexts, 4, state->extensionMode);

    state->extensionEdit = GetDlgItem(window, IDC_EXTENSION_EDIT);
    SetWindowTextA(state->extensionEdit, "");
    state->browseButton = GetDlgItem(window, IDC_BROWSE_BUTTON);

    UpdatePreview();

    state->fileList =
        Subclass(GetDlgItem(window, IDC_FILE_LIST), FileListProc, &state->fileListProc);
    InitListNames(window, state->fileList);
}

// Which settings controls each file operation uses.
struct OperationEnabling {
    int extensionMode;     // what the extension combo is set to
    BOOL extensionEdit;    // 1021
    BOOL outputFolder;     // 1011 and the browse button 1012
    BOOL namingControls;   // prefix, suffix, digit count, start number
};

static OperationEnabling EnablingFor(int operation)
{
    switch (operation) {
    case RenameOnly:
        return {Keep, FALSE, FALSE, TRUE};
    case ExtensionOnly:
        return {Specified, TRUE, FALSE, FALSE};
    default:  // RenameMove, RenameCopy
        return {Keep, FALSE, TRUE, TRUE};
    }
}

void ApplyOperationMode()
{
    AppState* state = GetAppState();
    state->fileOperation = ComboSelection(state->operationCombo);
    OperationEnabling enabling = EnablingFor(state->fileOperation);
    SendMessageA(state->extensionCombo, CB_SETCURSEL, (WPARAM)enabling.extensionMode, 0);
    EnableWindow(state->extensionEdit, enabling.extensionEdit);
    EnableWindow(state->outputFolderEdit, enabling.outputFolder);
    EnableWindow(state->browseButton, enabling.outputFolder);
    EnableWindow(state->prefixEdit, enabling.namingControls);
    EnableWindow(state->suffixEdit, enabling.namingControls);
    EnableWindow(state->digitCountCombo, enabling.namingControls);
    EnableWindow(state->startNumberEdit, enabling.namingControls);
}

// ---- messages ----------------------------------------------------------------

// The settings as the controls show them, and the folder last chosen.
static void SaveWindowSettings()
{
    AppState* state = GetAppState();
    Settings settings = state->settings;
    ReadControlText(state->startNumberEdit, settings.startNumber, sizeof settings.startNumber);
    ReadControlText(state->prefixEdit, settings.prefix, sizeof settings.prefix);
    ReadControlText(state->suffixEdit, settings.suffix, sizeof settings.suffix);
    settings.digitCountIndex = ComboSelection(state->digitCountCombo);
    SaveSettings(&settings);
}

static LRESULT OnClose(HWND window);

// Work that runs a modal loop (a question, a picker, a run) lets messages
// through to this window. Meanwhile a drop is held and a close request waits;
// both are taken up, in arrival order, once the work has ended.
static void BeginWork()
{
    GetAppState()->busy++;
}

static void EndWork(HWND window)
{
    AppState* state = GetAppState();
    if (--state->busy > 0) return;
    HDROP drop;
    while (!state->closeRequested && (drop = TakeHeldDrop()) != NULL) {
        state->busy++;
        AddDroppedFiles(drop);
        state->busy--;
    }
    if (state->closeRequested) {
        state->closeRequested = 0;
        OnClose(window);
    }
}

static LRESULT OnInitDialog(HWND window)
{
    ResetState();
    InitMainControls(window);
    ApplyOperationMode();
    UpdateButtonStates();
    return 0;
}

// Every way out saves the settings and stops taking drops before the window
// goes. While work is in progress the window waits for it.
static void LeaveMainWindow(HWND window)
{
    AppState* state = GetAppState();
    if (state->busy) {
        state->closeRequested = 1;
        return;
    }
    SaveWindowSettings();
    DragAcceptFiles(window, FALSE);
    DestroyWindow(window);
}

static LRESULT OnExit(HWND window)
{
    if (GetAppState()->busy) return 0;
    BeginWork();
    int answer = Prompt(window, "終了してもよろしいですか？", "終了確認", MB_YESNO, MB_ICONQUESTION);
    EndWork(window);
    if (answer == IDYES) LeaveMainWindow(window);
    return 0;
}

static LRESULT OnBrowseOutputFolder(HWND window)
{
    AppState* state = GetAppState();
    if (state->busy) return 0;
    BeginWork();
    char* folder = state->settings.outputFolder;
    if (BrowseForFolder(window, folder, "展開フォルダを指定してください") == 1)
        SetWindowTextA(state->outputFolderEdit, folder);
    EndWork(window);
    return 0;
}

// A command that may not start while other work is in progress (a start or a
// folder intake posted while a question is open).
static LRESULT RunExclusive(HWND window, void (*work)())
{
    if (GetAppState()->busy) return 0;
    BeginWork();
    work();
    EndWork(window);
    return 0;
}

// A sort that comes while other work is in progress (a question open) is
// dropped: that work may hold the list's order.
static LRESULT OnSortList(HWND window, int order)
{
    if (GetAppState()->busy) return 0;
    BeginWork();
    SortList(order);
    EndWork(window);
    return 0;
}

static void UndoLastRunOfMainWindow()
{
    AppState* state = GetAppState();
    UndoLastRun(state->mainWindow, state->instance);
}

// The preview follows every change of the name parts and of the replacement
// extension, also one made without the keyboard (a paste from an edit's
// menu), so that the confirmation shows the pattern the run uses. An emptied
// start number keeps the last preview until the edit shows "0".
static LRESULT OnNamePartChange(HWND edit)
{
    if (edit != GetAppState()->startNumberEdit || GetWindowTextLengthA(edit) > 0) UpdatePreview();
    RefreshListNames();
    return 0;
}

static LRESULT OnShowAbout(HWND window)
{
    if (GetAppState()->busy) return 0;
    DialogBoxParamA(GetAppState()->instance, MAKEINTRESOURCEA(IDD_ABOUT_BOX), window,
                    AboutDialogProc, 0);
    return 0;
}

static LRESULT OnDigitCountCombo(WORD code)
{
    if (code != CBN_SELENDOK) return 0;
    UpdatePreview();
    RefreshListNames();
    return 0;
}

static LRESULT OnOperationCombo(WORD code)
{
    if (code != CBN_SELENDOK) return 0;
    ApplyOperationMode();
    AppState* state = GetAppState();
    state->extensionMode = ComboSelection(state->extensionCombo);
    UpdatePreview();
    RefreshListNames();
    return 0;
}

static LRESULT OnExtensionCombo(WORD code)
{
    if (code != CBN_SELENDOK) return 0;
    AppState* state = GetAppState();
    state->extensionMode = ComboSelection(state->extensionCombo);
    EnableWindow(state->extensionEdit, state->extensionMode == Specified);
    UpdatePreview();
    RefreshListNames();
    return 0;
}

static LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    WORD code = HIWORD(wParam);
    switch (LOWORD(wParam)) {
    case IDC_EXIT:
        return OnExit(window);
    case IDC_CANCEL:
        LeaveMainWindow(window);
        return 0;
    case IDC_MOVE_UP:
        return OnMoveUp();
    case IDC_MOVE_DOWN:
        return OnMoveDown();
    case IDC_REMOVE_SELECTED:
        return OnRemoveSelected();
    case IDC_MOVE_TO_TOP:
        return OnMoveToTop();
    case IDC_MOVE_TO_END:
        return OnMoveToEnd();
    case IDC_REMOVE_ALL:
        return OnRemoveAll();
    case IDC_BROWSE_BUTTON:
        return OnBrowseOutputFolder(window);
    case IDC_DIGIT_COUNT_COMBO:
        return OnDigitCountCombo(code);
    case IDC_START:
        return RunExclusive(window, StartRename);
    case IDC_HELP_BUTTON:
        return OnShowAbout(window);
    case IDC_ADD_FOLDER:
        return RunExclusive(window, AddPickedFolder);
    case IDC_UNDO_LAST_RUN:
        return RunExclusive(window, UndoLastRunOfMainWindow);
    case IDC_SORT_BY_NAME:
        return OnSortList(window, OrderByName);
    case IDC_SORT_BY_WRITE_TIME:
        return OnSortList(window, OrderByWriteTime);
    case IDC_SORT_BY_DATE_TAKEN:
        return OnSortList(window, OrderByDateTaken);
    case IDC_REVERSE_ORDER:
        return OnSortList(window, OrderReversed);
    case IDC_PREFIX_EDIT:
    case IDC_SUFFIX_EDIT:
    case IDC_START_NUMBER_EDIT:
    case IDC_EXTENSION_EDIT:
        if (code == EN_CHANGE) return OnNamePartChange((HWND)lParam);
        break;
    case IDC_OUTPUT_FOLDER_EDIT:
        if (code == EN_CHANGE) RefreshListNames();
        break;
    case IDC_FILE_LIST:
        if (code == LBN_SELCHANGE) UpdateButtonStates();
        break;
    case IDC_OPERATION_COMBO:
        return OnOperationCombo(code);
    case IDC_EXTENSION_COMBO:
        return OnExtensionCombo(code);
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

static LRESULT OnDropFiles(HWND window, WPARAM wParam)
{
    if (GetAppState()->busy) {
        HoldDrop((HDROP)wParam);
        return 0;
    }
    BeginWork();
    AddDroppedFiles((HDROP)wParam);
    EndWork(window);
    return 0;
}

// The close box, the system menu and Alt+F4 save and then leave through the
// cancel command, which saves once more. During work the request waits.
static LRESULT OnClose(HWND window)
{
    AppState* state = GetAppState();
    if (state->busy) {
        state->closeRequested = 1;
        return 0;
    }
    SaveWindowSettings();
    PostMessageA(window, WM_COMMAND, IDC_CANCEL, 0);
    return 0;
}

// Tab and Shift+Tab reach the window from the dialog navigation as
// WM_NEXTDLGCTL, which only the default dialog procedure acts on; this window
// has the default window procedure, so it moves the focus itself, the way a
// dialog box does.
static LRESULT OnNextDialogControl(HWND window, WPARAM wParam, LPARAM lParam)
{
    HWND next;
    if (LOWORD(lParam)) {
        next = (HWND)wParam;
    } else {
        HWND focus = GetFocus();
        if (!IsChild(window, focus)) focus = NULL;
        next = GetNextDlgTabItem(window, focus, wParam != 0);
    }
    if (!next) return 0;
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(next, EM_SETSEL, 0, -1);
    SetFocus(next);
    return 0;
}

static void Unsubclass(HWND control, WNDPROC saved)
{
    if (control && saved) SetWindowLongPtrA(control, GWLP_WNDPROC, (LONG_PTR)saved);
}

static LRESULT OnDestroy()
{
    AppState* state = GetAppState();
    Unsubclass(state->prefixEdit, state->prefixEditProc);
    Unsubclass(state->suffixEdit, state->suffixEditProc);
    Unsubclass(state->startNumberEdit, state->startNumberEditProc);
    Unsubclass(state->fileList, state->fileListProc);
    FreeListNames();
    ReleasePathBuffer();
    ReleaseHeldDrops();
    PostQuitMessage(0);
    return 0;
}

// While files move the session's end is held off; should it come anyway,
// the run is settled between files before this returns, and the settings
// are saved as at every way out.
static LRESULT OnQueryEndSession()
{
    return GetAppState()->filesMoving ? FALSE : TRUE;
}

static LRESULT OnEndSession(WPARAM ending)
{
    if (!ending) return 0;
    SettleRunForSessionEnd();
    SaveWindowSettings();
    return 0;
}

// Where the menu opens from the keyboard: below the focused entry, or at the
// list's corner when that is out of sight.
static POINT FocusedEntryPoint(HWND list)
{
    RECT client;
    GetClientRect(list, &client);
    RECT entry = {0, 0, 0, 0};
    int focused = (int)SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    if (focused < 0 || SendMessageA(list, LB_GETITEMRECT, (WPARAM)focused, (LPARAM)&entry) == LB_ERR ||
        entry.bottom <= 0 || entry.bottom > client.bottom)
        entry.bottom = 0;
    POINT at = {client.left + 8, entry.bottom};
    ClientToScreen(list, &at);
    return at;
}

// The focus goes back where it was when the window was left; at the first
// activation, to the list.
static LRESULT OnActivate(HWND window, WPARAM wParam)
{
    AppState* state = GetAppState();
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        state->lastFocus = IsChild(window, focus) ? focus : NULL;
    } else if (!HIWORD(wParam)) {
        SetFocus(state->lastFocus && IsWindowEnabled(state->lastFocus) ? state->lastFocus : state->fileList);
    }
    return 0;
}

// The list's menu 119 where the list was clicked, with what cannot act
// grayed. The chosen item comes back to this window as a command once the
// menu has closed.
static LRESULT OnContextMenu(HWND window, WPARAM wParam, LPARAM lParam)
{
    AppState* state = GetAppState();
    if ((HWND)wParam != state->fileList) return DefWindowProcA(window, WM_CONTEXTMENU, wParam, lParam);
    HMENU menu = LoadMenuA(state->instance, MAKEINTRESOURCEA(IDM_FILE_LIST_MENU));
    HMENU popup = menu ? GetSubMenu(menu, 0) : NULL;
    if (popup) {
        if (ListCount(state->fileList) <= 0) {
            EnableMenuItem(popup, IDC_REMOVE_ALL, MF_BYCOMMAND | MF_GRAYED);
            EnableMenuItem(popup, IDC_REMOVE_SELECTED, MF_BYCOMMAND | MF_GRAYED);
        } else if (SelectedCount(state->fileList) <= 0) {
            EnableMenuItem(popup, IDC_REMOVE_SELECTED, MF_BYCOMMAND | MF_GRAYED);
        }
        // The sort submenu, the one item with a submenu, has nothing to order in fewer than two entries.
        for (int i = 0; i < GetMenuItemCount(popup) && ListCount(state->fileList) < 2; i++) {
            if (GetSubMenu(popup, i)) EnableMenuItem(popup, (UINT)i, MF_BYPOSITION | MF_GRAYED);
        }
        char journal[MAX_PATH * 2];
        if (!JournalPath(journal, sizeof journal) || !CanUndoLastRun(journal, state->lastRunId))
            EnableMenuItem(popup, IDC_UNDO_LAST_RUN, MF_BYCOMMAND | MF_GRAYED);
        POINT at = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        if (lParam == -1) at = FocusedEntryPoint(state->fileList);
        TrackPopupMenu(popup, 0, at.x, at.y, 0, window, NULL);
    }
    if (menu) DestroyMenu(menu);
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(window);
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_DROPFILES:
        return OnDropFiles(window, wParam);
    case WM_CLOSE:
        return OnClose(window);
    case WM_DESTROY:
        return OnDestroy();
    case WM_NEXTDLGCTL:
        return OnNextDialogControl(window, wParam, lParam);
    case WM_CONTEXTMENU:
        return OnContextMenu(window, wParam, lParam);
    case WM_ACTIVATE:
        return OnActivate(window, wParam);
    case WM_DRAWITEM:
        if (wParam != IDC_FILE_LIST) break;
        return OnDrawListRow((const DRAWITEMSTRUCT*)lParam);
    case WM_NOTIFY:
        if (((NMHDR*)lParam)->code != TTN_GETDISPINFOA) break;
        return OnListTipText((NMTTDISPINFOA*)lParam);
    case kListHoverMessage:
        OnListHoverRow();
        return 0;
    case kListMouseMessage:
        OnListMouse((const MSG*)lParam);
        return 0;
    case WM_QUERYENDSESSION:
        return OnQueryEndSession();
    case WM_ENDSESSION:
        return OnEndSession(wParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
