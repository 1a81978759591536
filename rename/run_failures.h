// The files a run could not handle, collected while it goes, and the texts
// that list them at its end.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "rename/run_reasons.h"

enum {
    kFailureLinesShown = 20,  // lines in a message; the rest are counted
    kFailureReasonSize = 512,
};

struct RunFailure {
    char* path;
    DWORD error;  // a RunReason, or the system's error code explained by FormatMessageA
};

struct RunFailures {
    RunFailure* items;
    int stored;    // items holding a path
    int capacity;
    int total;     // every failure, also those no memory was left to store
};

// Notes that path could not be handled, for the reason error.
void AddRunFailure(RunFailures* failures, const char* path, DWORD error);

// Adds every failure of from to failures.
void AddRunFailures(RunFailures* failures, const RunFailures* from);

void FreeRunFailures(RunFailures* failures);

// The fixed text of a RunReason, or the system's text for an error code on
// one line, or "エラー %lu" when the system has none. Returns the length
// written.
size_t FailureReason(DWORD error, char* text, size_t size);

// Appends line to the text (size bytes) at *used, after a line break unless
// the text was empty at start; counted, and kept only while fewer than
// kFailureLinesShown lines stand there. Every list of a message grows so.
void AppendShownLine(char* text, size_t size, size_t* used, size_t start, int* count, const char* line);

// Appends "ほか rest 件" for lines not shown, on a line of its own unless the
// text was empty at start; nothing when rest is 0.
void AppendMoreLine(char* text, size_t size, size_t* used, size_t start, int rest);

// The lines of count that AppendShownLine did not keep.
int LinesNotShown(int count);

// Lines of a report gathered as they come: the first kFailureLinesShown kept,
// the rest counted.
struct ShownLines {
    char* text;
    size_t used;
    int count;
};

enum { kShownLinesSize = kFailureLinesShown * (2 * 1024 + 32) };  // lines of two paths each

// 1, or 0 without memory.
int StartShownLines(ShownLines* lines);
void AddShownLine(ShownLines* lines, const char* line);
void FreeShownLines(ShownLines* lines);

// Appends the kept lines, then "ほか n 件" for the rest.
void AppendShownLines(char* text, size_t size, size_t* used, const ShownLines* lines);

// The header, then "path : reason" for at most kFailureLinesShown files,
// then "ほか %d 件" for the rest. Returns the length written.
size_t BuildFailureText(const RunFailures* failures, const char* header, char* text, size_t size);
