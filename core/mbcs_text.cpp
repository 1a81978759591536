#include "core/mbcs_text.h"

#include <string.h>

static int IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

static int IsTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

const char* FileNameStart(const char* path, size_t length)
{
    for (const char* p = path + length; p > path;) {
        if (*--p != '\\') continue;
        // A 0x5C after an odd run of bytes that can lead a character is the
        // second byte of one: the byte before the run begins a character.
        const char* run = p;
        while (run > path && IsLeadByte((unsigned char)run[-1])) run--;
        if ((p - run) % 2 == 0) return p + 1;
    }
    return path;
}

int CharLength(const char* text)
{
    unsigned char first = (unsigned char)text[0];
    if (first == 0) return 0;
    if (IsLeadByte(first) && IsTrailByte((unsigned char)text[1])) return 2;
    return 1;
}

int CompareNoCase(const char* a, const char* b)
{
    for (;; a++, b++) {
        unsigned char ca = (unsigned char)*a;
        unsigned char cb = (unsigned char)*b;
        if (ca >= 'A' && ca <= 'Z') ca = (unsigned char)(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = (unsigned char)(cb - 'A' + 'a');
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

// Copies bytes [begin, end) of a text into a piece, cut like CopyTextCut.
// Returns 1 when the piece is whole.
static int CopyPiece(char* piece, const char* begin, const char* end)
{
    size_t used = 0;
    const char* p = begin;
    while (p < end) {
        int length = CharLength(p);
        if (p + length > end) length = (int)(end - p);
        if (used + (size_t)length > kPathPieceSize - 1) break;
        memcpy(piece + used, p, (size_t)length);
        used += (size_t)length;
        p += length;
    }
    piece[used] = 0;
    return p >= end;
}

int SplitPath(const char* path, PathParts* parts)
{
    const char* rest = path;
    if (path[0] != 0 && path[1] == ':') rest = path + 2;
    int whole = CopyPiece(parts->drive, path, rest);

    // The directory ends after the last separator, the extension begins at
    // the last dot after it; both found by one walk over whole characters.
    const char* directoryEnd = rest;
    const char* lastDot = 0;
    const char* p = rest;
    while (*p) {
        int length = CharLength(p);
        if (length == 1 && (*p == '\\' || *p == '/')) {
            directoryEnd = p + 1;
            lastDot = 0;
        } else if (length == 1 && *p == '.') {
            lastDot = p;
        }
        p += length;
    }
    const char* end = p;
    const char* extension = lastDot ? lastDot : end;
    whole &= CopyPiece(parts->directory, rest, directoryEnd);
    whole &= CopyPiece(parts->fileName, directoryEnd, extension);
    whole &= CopyPiece(parts->extension, extension, end);
    return whole;
}

size_t CopyTextCut(char* dest, size_t destSize, const char* source)
{
    if (destSize == 0) return 0;
    size_t used = 0;
    const char* p = source;
    for (;;) {
        int length = CharLength(p);
        if (length == 0 || used + (size_t)length > destSize - 1) break;
        memcpy(dest + used, p, (size_t)length);
        used += (size_t)length;
        p += length;
    }
    dest[used] = 0;
    return used;
}

static const char* LastChar(const char* text)
{
    const char* last = 0;
    for (const char* p = text; *p; p += CharLength(p)) last = p;
    return last;
}

int EndsWithBackslash(const char* text)
{
    const char* last = LastChar(text);
    return last && last[0] == '\\' && last[1] == 0;
}

int EndsWithLoneLeadByte(const char* text)
{
    const char* last = LastChar(text);
    return last && last[1] == 0 && IsLeadByte((unsigned char)last[0]);
}

int RemoveTrailingBackslash(char* text)
{
    if (!EndsWithBackslash(text)) return 0;
    text[strlen(text) - 1] = 0;
    return 1;
}

long long ReadDecimal(const char* text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') p++;
    int negative = 0;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long value = 0;
    for (int digits = 0; *p >= '0' && *p <= '9' && digits < 18; p++, digits++) value = value * 10 + (*p - '0');
    return negative ? -value : value;
}
