// Feeds arbitrary bytes to the text core and checks what must hold for any
// input: no walk passes a terminator, no piece or cut exceeds its bound or
// splits a character, a new path is either whole or refused, and the date
// taken is a real date or none.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/date_taken.h"
#include "core/mbcs_text.h"
#include "rename/name_compose.h"
#include "rename/name_rules.h"

#define CHECK(condition)                                                   \
    do {                                                                   \
        if (!(condition)) {                                                \
            fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__); \
            abort();                                                       \
        }                                                                  \
    } while (0)

// Offsets of the character starts in a text, by the double-byte rule.
static std::vector<size_t> CharStarts(const char* text)
{
    std::vector<size_t> starts;
    size_t at = 0;
    for (;;) {
        int length = CharLength(text + at);
        if (length == 0) break;
        CHECK(length == 1 || length == 2);
        CHECK(text[at + 1] != 0 || length == 1);
        starts.push_back(at);
        at += (size_t)length;
    }
    CHECK(at == strlen(text));
    return starts;
}

static bool IsCharBoundary(const char* text, size_t offset)
{
    if (offset == strlen(text)) return true;
    for (size_t start : CharStarts(text))
        if (start == offset) return true;
    return false;
}

static void CheckCompare(const char* a, const char* b)
{
    int ab = CompareNoCase(a, b), ba = CompareNoCase(b, a);
    CHECK((ab > 0) == (ba < 0) && (ab == 0) == (ba == 0));
    CHECK(CompareNoCase(a, a) == 0);
    std::string fa = a, fb = b;
    for (char& c : fa) if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    for (char& c : fb) if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    int expected = strcmp(fa.c_str(), fb.c_str());
    CHECK((ab > 0) == (expected > 0) && (ab == 0) == (expected == 0));
}

static void CheckSplit(const char* path)
{
    PathParts parts;
    SplitPath(path, &parts);
    const char* pieces[] = {parts.drive, parts.directory, parts.fileName, parts.extension};
    bool anyFull = false;
    for (const char* piece : pieces) {
        CHECK(strlen(piece) <= 255);
        CharStarts(piece);
        if (strlen(piece) >= 254) anyFull = true;
    }
    if (parts.extension[0]) CHECK(parts.extension[0] == '.');
    if (!anyFull) {
        std::string joined = std::string(parts.drive) + parts.directory + parts.fileName + parts.extension;
        CHECK(joined == path);
        // The directory and the file name end where whole characters end.
        const char* rest = path + strlen(parts.drive);
        CHECK(IsCharBoundary(rest, strlen(parts.directory)));
        CHECK(IsCharBoundary(rest, strlen(parts.directory) + strlen(parts.fileName)));
    }
    for (const char* piece : {parts.fileName, parts.extension}) {
        for (size_t start : CharStarts(piece))
            CHECK(CharLength(piece + start) == 2 || (piece[start] != '\\' && piece[start] != '/'));
    }
}

static void CheckCut(const char* text, size_t size)
{
    char dest[300];
    CHECK(size <= sizeof dest);
    memset(dest, 0x7E, sizeof dest);
    size_t kept = CopyTextCut(dest, size, text);
    if (size == 0) {
        CHECK(kept == 0 && dest[0] == 0x7E);
        return;
    }
    CHECK(kept <= size - 1 && strlen(dest) == kept);
    CHECK(memcmp(dest, text, kept) == 0);
    CHECK(IsCharBoundary(text, kept));
    if (text[kept]) CHECK(kept + (size_t)CharLength(text + kept) > size - 1);
    for (size_t i = size; i < sizeof dest; i++) CHECK(dest[i] == 0x7E);
}

static void CheckTransform(const char* extension, const char* replacement, int mode)
{
    char text[kExtensionSize + 300];
    size_t length = strlen(extension);
    if (length >= sizeof text) return;
    memcpy(text, extension, length + 1);
    int result = TransformExtension(text, kExtensionSize, mode, replacement);
    if (mode == Specified) {
        if (strlen(replacement) + 2 <= kExtensionSize) {
            CHECK(result == 1);
            CHECK(std::string(text) == (replacement[0] ? std::string(".") + replacement : std::string()));
        } else {
            CHECK(result == 0 && strcmp(text, extension) == 0);
        }
        return;
    }
    CHECK(result == 1 && strlen(text) == length);
    for (size_t start : CharStarts(extension)) {
        char before = extension[start], after = text[start];
        if (CharLength(extension + start) == 2) {
            CHECK(text[start] == extension[start] && text[start + 1] == extension[start + 1]);
        } else if (mode == Lower && before >= 'A' && before <= 'Z') {
            CHECK(after == before - 'A' + 'a');
        } else if (mode == Upper && before >= 'a' && before <= 'z') {
            CHECK(after == before - 'a' + 'A');
        } else {
            CHECK(after == before);
        }
    }
}

static void CheckForbidden(const char* text)
{
    int found = FindForbiddenChar(text);
    for (size_t start : CharStarts(text)) {
        bool forbidden = CharLength(text + start) == 1 && strchr(kForbiddenNameChars, text[start]);
        if ((int)start < found) CHECK(!forbidden);
        if ((int)start == found) CHECK(forbidden);
        if (found < 0) CHECK(!forbidden);
    }
    if (found >= 0) CHECK(IsCharBoundary(text, (size_t)found) && (size_t)found < strlen(text));
}

static void CheckNumber(long long value, int digits)
{
    char text[kNumberTextSize];
    int length = FormatSequenceNumber(value, digits, text, sizeof text);
    CHECK(length == (int)strlen(text));
    CHECK(strtoll(text, NULL, 10) == value);
    int width = digits < 0 ? 0 : digits > kMaxDigitCount ? kMaxDigitCount : digits;
    CHECK(length >= width);
}

// The offset just past the last separator of a path, by whole characters.
static size_t FolderEnd(const std::string& path)
{
    size_t end = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    for (size_t start : CharStarts(path.c_str()))
        if (start >= end && CharLength(path.c_str() + start) == 1 && (path[start] == '\\' || path[start] == '/'))
            end = start + 1;
    return end;
}

static void CheckCompose(const NamePattern& pattern, const char* source, int position, size_t size)
{
    std::vector<char> buffer(kNewPathSize + 16, 0x7E);
    if (size > kNewPathSize) size = kNewPathSize;
    int result = ComposeNewName(&pattern, source, position, buffer.data(), size);

    PathParts parts;
    SplitPath(source, &parts);
    bool whole = std::string(parts.drive) + parts.directory + parts.fileName + parts.extension == source;
    std::string extension = parts.extension;
    if (pattern.extensionMode == Specified) {
        // No replacement, no extension: not even its dot.
        extension = pattern.replacementExtension[0] ? std::string(".") + pattern.replacementExtension : "";
    } else {
        char copy[kExtensionSize];
        strcpy(copy, parts.extension);
        TransformExtension(copy, sizeof copy, pattern.extensionMode, "");
        extension = copy;
    }
    char number[kNumberTextSize];
    FormatSequenceNumber(pattern.startNumber + position, pattern.digitCount, number, sizeof number);
    bool toFolder = pattern.operation == RenameMove || pattern.operation == RenameCopy;
    std::string folder = toFolder ? std::string(pattern.outputFolder) : std::string(source).substr(0, FolderEnd(source));
    if (toFolder && !EndsWithBackslash(pattern.outputFolder)) folder += "\\";
    std::string name = pattern.operation == ExtensionOnly ? std::string(parts.fileName)
                                                          : std::string(pattern.prefix) + number + pattern.suffix;
    std::string expected = folder + name + extension;

    // A lead byte left alone at the folder's end would take the separator.
    std::vector<size_t> starts = CharStarts(pattern.outputFolder);
    unsigned char last = starts.empty() ? 0 : (unsigned char)pattern.outputFolder[starts.back()];
    bool loneLead = !starts.empty() && pattern.outputFolder[starts.back() + 1] == 0 &&
                    ((last >= 0x81 && last <= 0x9F) || (last >= 0xE0 && last <= 0xFC));
    bool fits = whole && expected.size() + 1 <= size && !(toFolder && loneLead) &&
                (pattern.extensionMode != Specified ||
                 strlen(pattern.replacementExtension) + 2 <= kExtensionSize);
    CHECK(result == (fits ? 1 : 0));
    if (result) CHECK(expected == buffer.data());
    else if (size > 0) CHECK(buffer[0] == 0);
    for (size_t i = size; i < buffer.size(); i++) CHECK(buffer[i] == 0x7E);
    // A new path keeps the source's folder, or the output folder, whenever
    // the name parts are ones the start command lets through.
    bool validParts = FindForbiddenChar(pattern.prefix) < 0 && FindForbiddenChar(pattern.suffix) < 0 &&
                      (pattern.extensionMode != Specified || FindForbiddenChar(pattern.replacementExtension) < 0);
    if (result && validParts) CHECK(FolderEnd(buffer.data()) == folder.size() && buffer.data() == folder + name + extension);
}

// The whole input as the start of a file. libFuzzer hands it over in a block
// of its exact size, so AddressSanitizer stops any read past it.
static void CheckDateTaken(const uint8_t* data, size_t size)
{
    long long key = -1;
    int found = ReadDateTaken(data, size, &key);
    CHECK(found == 0 || found == 1);
    if (!found) {
        CHECK(key == 0);
        return;
    }
    long long year = key / 10000000000LL;
    long long month = key / 100000000 % 100;
    long long day = key / 1000000 % 100;
    CHECK(year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31);
    CHECK(key / 10000 % 100 <= 23 && key / 100 % 100 <= 59 && key % 100 <= 59);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckDateTaken(data, size);
    if (size < 12) return 0;
    int operation = data[0] % 5;  // 4 is out of range and must act as RenameOnly
    int mode = data[1] % 5;
    int digits = (int8_t)data[2];
    int32_t start;
    memcpy(&start, data + 3, 4);
    int position = (data[7] | (data[8] << 8)) & 0x7FFF;
    size_t cutSize = data[9] % 300;
    size_t composeSize = (size_t)(data[10] | (data[11] << 8)) % (kNewPathSize + 1);

    // The rest: up to five NUL-separated texts.
    std::string rest((const char*)data + 12, size - 12);
    std::string texts[5];
    size_t at = 0;
    for (int i = 0; i < 5; i++) {
        size_t end = rest.find('\0', at);
        if (end == std::string::npos) end = rest.size();
        if (at <= rest.size()) texts[i] = rest.substr(at, end - at);
        at = end + 1;
    }
    const char* source = texts[0].c_str();

    for (const std::string& text : texts) {
        CharStarts(text.c_str());
        CheckSplit(text.c_str());
        CheckForbidden(text.c_str());
        char copy[600];
        if (text.size() < sizeof copy) {
            memcpy(copy, text.c_str(), text.size() + 1);
            bool ends = EndsWithBackslash(copy);
            CHECK(RemoveTrailingBackslash(copy) == (ends ? 1 : 0));
            CHECK(strlen(copy) == text.size() - (ends ? 1 : 0));
        }
    }
    CheckCompare(texts[0].c_str(), texts[1].c_str());
    CheckCut(source, cutSize);
    CheckTransform(texts[1].c_str(), texts[2].c_str(), mode);
    CheckNumber((long long)start + position, digits);

    NamePattern pattern;
    pattern.prefix = texts[1].c_str();
    pattern.suffix = texts[2].c_str();
    pattern.outputFolder = texts[3].c_str();
    pattern.replacementExtension = texts[4].c_str();
    pattern.startNumber = start;
    pattern.digitCount = digits;
    pattern.operation = operation;
    pattern.extensionMode = mode;
    CheckCompose(pattern, source, position, kNewPathSize);
    CheckCompose(pattern, source, position, composeSize);
    return 0;
}
