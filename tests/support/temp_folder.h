// A fresh folder under the user's temporary folder for one test, removed with
// everything in it when the test ends.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, without a trailing backslash.
    const std::string& Path() const { return path_; }
    // Path() + "\\" + name.
    std::string operator/(const std::string& name) const;

private:
    std::string path_;
};

// Writes a file with the given content; true on success.
bool WriteFileText(const std::string& path, const std::string& content);
// The whole content of a file, or "<missing>" when it cannot be opened.
std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Text of the ANSI code page (932) as wide text and back (by best fit).
std::wstring Wide(const std::string& text);
std::string Ansi(const std::wstring& wide);
// Removes a folder with all it holds; true when it is gone.
bool RemoveTree(const std::string& path);
