// Template 101, the main window, and its controls.
#pragma once

#define IDD_MAIN_WINDOW 101

#define IDC_EXIT 1                  // "終了"; also the Enter key
#define IDC_CANCEL 2                // the Escape key and the close box
#define IDC_FILE_LIST 1003
#define IDC_MOVE_UP 1005            // "▲"
#define IDC_MOVE_DOWN 1006          // "▼"
#define IDC_REMOVE_SELECTED 1007    // "解除"
#define IDC_MOVE_TO_TOP 1008        // "先頭"
#define IDC_MOVE_TO_END 1009        // "一番後ろ"
#define IDC_REMOVE_ALL 1010         // "全解除"
#define IDC_OUTPUT_FOLDER_EDIT 1011
#define IDC_BROWSE_BUTTON 1012      // "検索"
#define IDC_PREFIX_EDIT 1013
#define IDC_DIGIT_COUNT_COMBO 1014
#define IDC_START_NUMBER_EDIT 1015
#define IDC_PREVIEW_EDIT 1017
#define IDC_SUFFIX_EDIT 1018
#define IDC_START 1019              // "変換開始"
#define IDC_HELP_BUTTON 1020        // "ヘルプ"
#define IDC_EXTENSION_EDIT 1021
#define IDC_ADD_FOLDER 1022         // "フォルダ指定"
#define IDC_OPERATION_COMBO 1027
#define IDC_EXTENSION_COMBO 1028
#define IDC_UNDO_LAST_RUN 1030      // the list's menu and Ctrl+Z
