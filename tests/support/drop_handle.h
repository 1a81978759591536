// Drop handles as the shell hands them over: a movable global block holding a
// DROPFILES header and the paths, each NUL-terminated, with a final NUL; ANSI
// paths, or wide ones (fWide) as the shell sends them. DragQueryFile reads
// them and DragFinish frees them.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

HDROP MakeDrop(const std::vector<std::string>& paths);
HDROP MakeDrop(const std::vector<std::wstring>& paths);
