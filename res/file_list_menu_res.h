// Menu 119, the file list's context menu. Its items carry the commands of
// the "解除" and "全解除" buttons and the undo of the last run
// (main_window_res.h), and the sort commands of its "並べ替え" submenu.
#pragma once

#define IDM_FILE_LIST_MENU 119

#define IDC_SORT_BY_NAME 1031        // "名前順（数字は数の大きさで）"
#define IDC_SORT_BY_WRITE_TIME 1032  // "更新日時順"
#define IDC_SORT_BY_DATE_TAKEN 1033  // "撮影日時順"
#define IDC_REVERSE_ORDER 1034       // "逆順"
