#include "core/prompt.h"

int Prompt(HWND owner, const char* text, const char* title, UINT buttons, UINT icon)
{
    PromptHandler handler = GetSeams()->prompt;
    if (handler) return handler(owner, text, title, buttons, icon);
    return MessageBoxA(owner, text, title, buttons | icon);
}

const char kSystemErrorTitle[] = "システムエラー";

void TellOutOfMemory(HWND owner)
{
    Prompt(owner, "メモリーが不足しています。", kSystemErrorTitle, MB_OK, MB_ICONERROR);
}
