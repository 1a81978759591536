#include "rename/name_compose.h"

#include <stdio.h>
#include <string.h>

#include "core/mbcs_text.h"

// Drive + directory + file name + extension, and output folder + "\\" +
// prefix + number + suffix + extension, each at its bound, plus the NUL.
static_assert(2 + 255 + 255 + (kExtensionSize - 1) + 1 <= kNewPathSize, "piece bounds");
static_assert(260 + 1 + 32 + kNumberTextSize + 32 + kExtensionSize <= kNewPathSize, "piece bounds");

int FormatSequenceNumber(long long value, int digitCount, char* text, size_t size)
{
    if (digitCount < 0) digitCount = 0;
    if (digitCount > kMaxDigitCount) digitCount = kMaxDigitCount;
    char format[16];
    snprintf(format, sizeof format, "%%0%dlld", digitCount);
    int length = snprintf(text, size, format, value);
    return length < 0 ? 0 : length;
}

int TransformExtension(char* extension, size_t size, int mode, const char* replacement)
{
    if (mode == Specified) {
        size_t length = strlen(replacement);
        if (length + 2 > size) return 0;
        // No replacement, no extension: a name ending in its dot is one that
        // Windows trims, so the file would not stand where the run said.
        extension[0] = length ? '.' : 0;
        memcpy(extension + 1, replacement, length + 1);
        return 1;
    }
    if (mode != Lower && mode != Upper) return 1;
    for (char* p = extension; *p;) {
        int length = CharLength(p);
        if (length == 1) {
            if (mode == Lower && *p >= 'A' && *p <= 'Z') *p = (char)(*p - 'A' + 'a');
            if (mode == Upper && *p >= 'a' && *p <= 'z') *p = (char)(*p - 'a' + 'A');
        }
        p += length;
    }
    return 1;
}

// Appends the pieces into newPath, or fails without writing past size.
static int JoinPieces(char* newPath, size_t size, const char* const* pieces, int count)
{
    size_t total = 0;
    for (int i = 0; i < count; i++) total += strlen(pieces[i]);
    if (size == 0) return 0;
    if (total + 1 > size) {
        newPath[0] = 0;
        return 0;
    }
    size_t used = 0;
    for (int i = 0; i < count; i++) {
        size_t length = strlen(pieces[i]);
        memcpy(newPath + used, pieces[i], length);
        used += length;
    }
    newPath[used] = 0;
    return 1;
}

int ComposeNewName(const NamePattern* pattern, const char* source, int position,
                   char* newPath, size_t size)
{
    PathParts parts;
    // Joined from cut pieces the path would name another folder.
    if (!SplitPath(source, &parts)) {
        if (size > 0) newPath[0] = 0;
        return 0;
    }

    char extension[kExtensionSize];
    memcpy(extension, parts.extension, sizeof parts.extension);
    if (!TransformExtension(extension, sizeof extension, pattern->extensionMode,
                            pattern->replacementExtension)) {
        if (size > 0) newPath[0] = 0;
        return 0;
    }

    char number[kNumberTextSize];
    FormatSequenceNumber(pattern->startNumber + position, pattern->digitCount, number, sizeof number);

    switch (pattern->operation) {
    case RenameMove:
    case RenameCopy: {
        // A drive root ("E:\") already ends in the separator; a lone lead
        // byte would swallow it.
        if (EndsWithLoneLeadByte(pattern->outputFolder)) {
            if (size > 0) newPath[0] = 0;
            return 0;
        }
        const char* separator = EndsWithBackslash(pattern->outputFolder) ? "" : "\\";
        const char* pieces[] = {pattern->outputFolder, separator, pattern->prefix, number,
                                pattern->suffix, extension};
        return JoinPieces(newPath, size, pieces, 6);
    }
    case ExtensionOnly: {
        const char* pieces[] = {parts.drive, parts.directory, parts.fileName, extension};
        return JoinPieces(newPath, size, pieces, 4);
    }
    default: {
        const char* pieces[] = {parts.drive, parts.directory, pattern->prefix, number,
                                pattern->suffix, extension};
        return JoinPieces(newPath, size, pieces, 6);
    }
    }
}
