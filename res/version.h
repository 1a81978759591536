// The program's version, set here and nowhere else: the version resource,
// the captions of the main window and the about box, the title of the
// program's error messages and the name of the release zip
// (scripts/package.sh) all come from it. Plain #defines, so that the
// resource compiler and the scripts (through the preprocessor) read this file
// too. res/tovik.manifest is XML, which nothing preprocesses: its version
// follows this one by hand, and the package test checks that they agree.
#pragma once

#define TOVIK_VERSION_MAJOR 1
#define TOVIK_VERSION_MINOR 4

// As the user reads it: the minor number in two digits, "1.03".
#define TOVIK_STRINGIZE_(x) #x
#define TOVIK_STRINGIZE(x) TOVIK_STRINGIZE_(x)
#if TOVIK_VERSION_MINOR < 10
#define TOVIK_VERSION_TEXT TOVIK_STRINGIZE(TOVIK_VERSION_MAJOR) ".0" TOVIK_STRINGIZE(TOVIK_VERSION_MINOR)
#else
#define TOVIK_VERSION_TEXT TOVIK_STRINGIZE(TOVIK_VERSION_MAJOR) "." TOVIK_STRINGIZE(TOVIK_VERSION_MINOR)
#endif

#define TOVIK_PROGRAM_TITLE "Tovik Ver " TOVIK_VERSION_TEXT
