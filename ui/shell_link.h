// Opening a web address or a mail link with the user's browser or mail
// program. Every link the program opens goes through OpenLink, so that a
// test can see which target was handed over without starting a browser.
#pragma once

#include <windows.h>

#include "core/seams.h"

// Hands target to the shell's default action for it; the shell's answer is
// not examined.
void OpenLink(HWND owner, const char* target);

// A test takes the links through SetLinkOpener (core/seams.h).
