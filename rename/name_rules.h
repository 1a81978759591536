// Which characters a user-typed name part may not contain, and which file
// names Windows refuses. Platform-neutral.
#pragma once

// The one-byte characters refused in a prefix, suffix or replacement
// extension, and the same list as the user is shown it.
extern const char kForbiddenNameChars[];
extern const char kForbiddenNameCharsDisplay[];

// Position of the first forbidden one-byte character in text, walking by the
// double-byte rule (a trail byte 0x5C is not a backslash), or -1 if none.
int FindForbiddenChar(const char* text);

// Why Windows would refuse a file name (without its folder), in the order
// FindNameFault looks for them.
enum NameFault {
    NameFine,
    NameForbiddenChar,       // one of \ / : * ? " < > |
    NameControlChar,         // a byte 0x01-0x1F
    NameEndsInDotOrSpace,    // the system would drop it
    NameDeviceName,          // CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with any extension
};

// The first NameFault of name, walking by the double-byte rule (a trail byte
// 0x5C or 0x7C is not a character of its own).
int FindNameFault(const char* name);
