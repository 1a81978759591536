// Template 107, the window shown while a run renames the files.
#pragma once

#define IDD_PLEASE_WAIT 107
#define IDC_RUN_PROGRESS 1101  // the progress bar
#define IDC_RUN_STATUS 1102    // "n / N" and the file at hand
// The stop button "中止" is IDCANCEL, so that Escape presses it too.
