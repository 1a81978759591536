// Answers BrowseForFolder from a script and records what each pick was
// asked with, so that tests need not click the shell's folder picker.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

struct AskedPick {
    HWND owner;
    char* buffer;        // the caller's path buffer
    std::string before;  // its text on entry: the folder to preselect
    std::string title;
};

// While alive, each pick takes the next answer: a folder path is written into
// the buffer and the pick succeeds; an empty answer, or none left, cancels.
class FolderPickScript {
public:
    explicit FolderPickScript(std::initializer_list<std::string> answers = {});
    ~FolderPickScript();
    FolderPickScript(const FolderPickScript&) = delete;
    FolderPickScript& operator=(const FolderPickScript&) = delete;

    void Answer(const std::string& folder) { answers_.push_back(folder); }
    const std::vector<AskedPick>& Asked() const { return asked_; }

private:
    static int Handle(HWND owner, char* path, const char* title);

    std::deque<std::string> answers_;
    std::vector<AskedPick> asked_;
};
