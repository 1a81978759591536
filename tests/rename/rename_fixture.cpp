#include "rename_fixture.h"

#include <stdio.h>

#include <algorithm>

#include "rename/rename_run.h"

static PauseRecorder* g_recorder;

PauseRecorder::PauseRecorder()
{
    g_recorder = this;
    SetPauseHandler(&PauseRecorder::Handle);
}

PauseRecorder::~PauseRecorder()
{
    SetPauseHandler(0);
    g_recorder = nullptr;
}

void PauseRecorder::Handle(DWORD milliseconds)
{
    g_recorder->pauses_.push_back(milliseconds);
    if (g_recorder->during) g_recorder->during(g_recorder->context);
}

RenameTest::RenameTest()
{
    FillCombos();
    SetPattern("Sample", "1", 3, "");
    SetOperation(RenameOnly, Keep);
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

void RenameTest::AddEntries(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        SendMessageA(state->fileList, LB_ADDSTRING, 0, (LPARAM)path.c_str());
}

std::vector<std::string> RenameTest::ListEntries() const
{
    std::vector<std::string> entries;
    int count = (int)SendMessageA(state->fileList, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char text[1024] = "";
        SendMessageA(state->fileList, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
        entries.push_back(text);
    }
    return entries;
}

std::string RenameTest::MakeFile(const std::string& name, const std::string& content)
{
    std::string path = folder / name;
    EXPECT_TRUE(WriteFileText(path, content)) << path;
    return path;
}

std::string RenameTest::MakeFolder(const std::string& name)
{
    std::string path = folder / name;
    EXPECT_TRUE(CreateDirectoryA(path.c_str(), NULL)) << path;
    return path;
}

std::vector<std::string> RenameTest::Names(const std::string& subfolder) const
{
    return FolderNames(subfolder.empty() ? folder.Path() : folder / subfolder);
}

std::vector<std::string> FolderNames(const std::string& base)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) name += "\\";
        names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReasonText(DWORD error)
{
    char text[1024];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                  error, 0, text, sizeof text, NULL);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    EXPECT_FALSE(reason.empty()) << "no system text for error " << error;
    return reason;
}

std::string FailureLine(const std::string& path, DWORD error)
{
    return path + " : " + ReasonText(error);
}

std::string FailureListText(const std::vector<std::string>& lines, int more)
{
    std::string text = "次のファイルは改名（リネーム）できませんでした。\r\n\r\n";
    for (size_t i = 0; i < lines.size(); i++) text += (i ? "\r\n" : "") + lines[i];
    if (more > 0) text += (lines.empty() ? "" : "\r\n") + std::string("ほか ") + std::to_string(more) + " 件";
    return text;
}
