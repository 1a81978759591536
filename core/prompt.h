// Every message box of the program goes through Prompt, so that a test can
// answer the questions and read exactly what was asked.
#pragma once

#include <windows.h>

#include "core/seams.h"

// buttons: MB_OK, MB_YESNO or MB_YESNOCANCEL; icon: MB_ICONERROR,
// MB_ICONQUESTION, MB_ICONWARNING, MB_ICONINFORMATION or 0. Returns IDOK,
// IDYES, IDNO or IDCANCEL.
int Prompt(HWND owner, const char* text, const char* title, UINT buttons, UINT icon);

// The title of the messages about memory that ran out.
extern const char kSystemErrorTitle[];

// Tells the user, owned by owner, that memory ran out.
void TellOutOfMemory(HWND owner);
