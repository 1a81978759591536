// Text in the Japanese ANSI code page (932, Shift-JIS): the double-byte
// walking rule, the case-insensitive comparison, the path split and cutting a
// text to a byte bound without leaving half a character. Platform-neutral:
// built into Tovik.exe and, natively, into the sanitizer tests and the fuzzer.
#pragma once

#include <stddef.h>

enum {
    kPathPieceSize = 256,  // a split path's piece: at most 255 bytes + NUL
};

// A byte 0x81-0x9F or 0xE0-0xFC followed by a byte 0x40-0xFC other than 0x7F
// starts a two-byte character. Returns 2 there, 0 at the terminator and 1 for
// every other byte, so a lead byte just before the terminator counts as one
// byte and a walk never steps over the end.
int CharLength(const char* text);

// Where the file name of a path of length bytes begins: after its last
// backslash that is a character of its own (a second byte 0x5C is not), or
// the path itself.
const char* FileNameStart(const char* path, size_t length);

// Byte comparison with A-Z folded to a-z; knows no double-byte characters.
// Negative, zero or positive like strcmp.
int CompareNoCase(const char* a, const char* b);

struct PathParts {
    char drive[kPathPieceSize];      // "C:" or empty
    char directory[kPathPieceSize];  // up to and including the last \ or /
    char fileName[kPathPieceSize];   // between directory and extension
    char extension[kPathPieceSize];  // from the last dot on, dot included
};

// Splits a path into its four pieces; each is cut to 255 bytes, never inside
// a double-byte character. Returns 1 when every piece is whole, 0 when one
// was cut: a path joined from cut pieces names another place.
int SplitPath(const char* path, PathParts* parts);

// Copies as much of source as fits into destSize - 1 bytes without splitting
// a double-byte character, terminates dest and returns the bytes copied.
// destSize 0 writes nothing.
size_t CopyTextCut(char* dest, size_t destSize, const char* source);

// Whether the last character of the text, read by the double-byte rule, is a
// backslash (the trail byte of a character such as 0x95 0x5C is not).
int EndsWithBackslash(const char* text);

// Whether the text ends in a lead byte standing alone, which would take a
// byte joined after it as its second byte.
int EndsWithLoneLeadByte(const char* text);

// Removes a final backslash character, if there is one; returns 1 if it did.
int RemoveTrailingBackslash(char* text);

// The number a text starts with: blanks, a sign, then decimal digits, of
// which at most 18 are read (so it never overflows); no digits give 0.
long long ReadDecimal(const char* text);
