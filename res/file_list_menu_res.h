// Menu 119, the file list's context menu. Its items carry the commands of
// the "解除" and "全解除" buttons and the undo of the last run
// (main_window_res.h).
#pragma once

#define IDM_FILE_LIST_MENU 119
