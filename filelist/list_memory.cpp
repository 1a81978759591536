#include "filelist/list_memory.h"

#include "core/app_state.h"
#include "core/prompt.h"

void ReportOutOfMemory()
{
    TellOutOfMemory(GetAppState()->mainWindow);
}
