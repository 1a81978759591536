#include "core/seams.h"

static Seams g_seams;

const Seams* GetSeams()
{
    return &g_seams;
}

PromptHandler SetPromptHandler(PromptHandler handler)
{
    PromptHandler previous = g_seams.prompt;
    g_seams.prompt = handler;
    return previous;
}

FolderPicker SetFolderPicker(FolderPicker picker)
{
    FolderPicker previous = g_seams.folderPicker;
    g_seams.folderPicker = picker;
    return previous;
}

LinkOpener SetLinkOpener(LinkOpener opener)
{
    LinkOpener previous = g_seams.linkOpener;
    g_seams.linkOpener = opener;
    return previous;
}

PauseHandler SetPauseHandler(PauseHandler handler)
{
    PauseHandler previous = g_seams.pause;
    g_seams.pause = handler;
    return previous;
}
