// Which characters a user-typed name part may not contain. Platform-neutral.
#pragma once

// The one-byte characters refused in a prefix, suffix or replacement
// extension, and the same list as the user is shown it.
extern const char kForbiddenNameChars[];
extern const char kForbiddenNameCharsDisplay[];

// Position of the first forbidden one-byte character in text, walking by the
// double-byte rule (a trail byte 0x5C is not a backslash), or -1 if none.
int FindForbiddenChar(const char* text);
