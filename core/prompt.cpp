#include "core/prompt.h"

static PromptHandler g_promptHandler;

int Prompt(HWND owner, const char* text, const char* title, UINT buttons, UINT icon)
{
    if (g_promptHandler) return g_promptHandler(owner, text, title, buttons, icon);
    return MessageBoxA(owner, text, title, buttons | icon);
}

PromptHandler SetPromptHandler(PromptHandler handler)
{
    PromptHandler previous = g_promptHandler;
    g_promptHandler = handler;
    return previous;
}

const char kSystemErrorTitle[] = "システムエラー";

void TellOutOfMemory(HWND owner)
{
    Prompt(owner, "メモリーが不足しています。", kSystemErrorTitle, MB_OK, MB_ICONERROR);
}
