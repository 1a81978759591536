#include "rename_fixture.h"

#include <stdio.h>

#include <algorithm>

#include "rename/rename_run.h"

static RenameTest* g_test;

RenameTest::RenameTest()
{
    g_test = this;
    SetPauseHandler(&RenameTest::RecordPause);
    FillCombos();
    SetPattern("Sample", "1", 3, "");
    SetOperation(RenameOnly, Keep);
}

RenameTest::~RenameTest()
{
    SetPauseHandler(0);
    g_test = nullptr;
}

void RenameTest::RecordPause(DWORD milliseconds)
{
    g_test->pauses.push_back(milliseconds);
    g_test->DuringPause();
}

void RenameTest::SetPattern(const char* prefix, const char* start, int digitIndex, const char* suffix)
{
    SetWindowTextA(state->prefixEdit, prefix);
    SetWindowTextA(state->startNumberEdit, start);
    SetWindowTextA(state->suffixEdit, suffix);
    SendMessageA(state->digitCountCombo, CB_SETCURSEL, (WPARAM)digitIndex, 0);
}

void RenameTest::SetOperation(int operation, int extensionMode, const std::string& outputFolder,
                              const char* replacement)
{
    state->fileOperation = operation;
    state->extensionMode = extensionMode;
    SendMessageA(state->operationCombo, CB_SETCURSEL, (WPARAM)operation, 0);
    SendMessageA(state->extensionCombo, CB_SETCURSEL, (WPARAM)extensionMode, 0);
    snprintf(state->outputFolder, sizeof state->outputFolder, "%s", outputFolder.c_str());
    SetWindowTextA(state->outputFolderEdit, outputFolder.c_str());
    snprintf(state->replacementExtension, sizeof state->replacementExtension, "%s", replacement);
    SetWindowTextA(state->extensionEdit, replacement);
}

void RenameTest::SetEntries(const Strings& paths)
{
    SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
    for (const std::string& path : paths)
        SendMessageA(state->fileList, LB_ADDSTRING, 0, (LPARAM)path.c_str());
}

Strings RenameTest::ListEntries() const
{
    Strings entries;
    int count = (int)SendMessageA(state->fileList, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char text[1024] = "";
        SendMessageA(state->fileList, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
        entries.push_back(text);
    }
    return entries;
}

HANDLE HoldOpen(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_NE(INVALID_HANDLE_VALUE, file) << path;
    return file;
}

void MakeFiles(const std::string& folder, const Strings& files)
{
    for (const std::string& file : files) {
        size_t equals = file.find('=');
        std::string path = folder + "\\" + file.substr(0, equals);
        EXPECT_TRUE(WriteFileText(path, file.substr(equals + 1))) << path;
    }
}

Strings FolderContents(const std::string& folder)
{
    Strings items;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return items;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        items.push_back(isFolder ? name + "\\" : name + "=" + ReadFileText(folder + "\\" + name));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return Sorted(items);
}

Strings Sorted(Strings items)
{
    std::sort(items.begin(), items.end());
    return items;
}

std::string FailureLine(const std::string& path, DWORD error)
{
    char text[1024];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                  error, 0, text, sizeof text, NULL);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    EXPECT_FALSE(reason.empty()) << "no system text for error " << error;
    return path + " : " + reason;
}

std::string FailureListText(const Strings& lines, int more)
{
    std::string text = "次のファイルは改名（リネーム）できませんでした。\r\n\r\n";
    for (size_t i = 0; i < lines.size(); i++) text += (i ? "\r\n" : "") + lines[i];
    if (more > 0) text += "\r\nほか " + std::to_string(more) + " 件";
    return text;
}
