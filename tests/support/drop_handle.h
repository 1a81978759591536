// Drop handles as the shell hands them over: a movable global block holding a
// DROPFILES header and the ANSI paths, each NUL-terminated, with a final NUL.
// DragQueryFileA reads them and DragFinish frees them.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

HDROP MakeDrop(const std::vector<std::string>& paths);
