// Every message box of the program goes through Prompt, so that a test can
// answer the questions and read exactly what was asked.
#pragma once

#include <windows.h>

// buttons: MB_OK, MB_YESNO or MB_YESNOCANCEL; icon: MB_ICONERROR,
// MB_ICONQUESTION, MB_ICONWARNING, MB_ICONINFORMATION or 0. Returns IDOK,
// IDYES, IDNO or IDCANCEL.
typedef int (*PromptHandler)(HWND owner, const char* text, const char* title, UINT buttons,
                             UINT icon);

int Prompt(HWND owner, const char* text, const char* title, UINT buttons, UINT icon);

// Installs a handler in place of the real message box (0 puts the message box
// back) and returns the handler that was installed before.
PromptHandler SetPromptHandler(PromptHandler handler);

// The title of the messages about memory that ran out.
extern const char kSystemErrorTitle[];

// Tells the user, owned by owner, that memory ran out.
void TellOutOfMemory(HWND owner);
