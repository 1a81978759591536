#include "core/seams.h"

static Seams g_seams;

const Seams* GetSeams()
{
    return &g_seams;
}

// Puts a handler in its slot and gives back the one it replaces.
template <typename Handler>
static Handler Replace(Handler* slot, Handler handler)
{
    Handler previous = *slot;
    *slot = handler;
    return previous;
}

PromptHandler SetPromptHandler(PromptHandler handler)
{
    return Replace(&g_seams.prompt, handler);
}

FolderPicker SetFolderPicker(FolderPicker picker)
{
    return Replace(&g_seams.folderPicker, picker);
}

LinkOpener SetLinkOpener(LinkOpener opener)
{
    return Replace(&g_seams.linkOpener, opener);
}

PauseHandler SetPauseHandler(PauseHandler handler)
{
    return Replace(&g_seams.pause, handler);
}
