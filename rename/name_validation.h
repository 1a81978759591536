// Checking a name part the user typed before it goes into file names.
#pragma once

// 1 when text holds no forbidden character; otherwise tells the user which
// characters are refused and returns 0.
int ValidateNamePart(const char* text);
