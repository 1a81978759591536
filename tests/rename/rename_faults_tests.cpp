// What goes wrong on a real disk during a run: each fault leaves every file
// with its content under its old or its new name, is reported or asked
// about, and the run goes on with the next file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "rename/rename_run.h"
#include "rename_fixture.h"
#include "support/prompt_script.h"

namespace {

struct FaultCase {
    const char* name;
    int operation;
};

class FaultMatrixTest : public RenameTest {};

TEST_F(FaultMatrixTest, EachFaultKeepsTheFilesAndIsReportedWhileTheRunGoesOn)
{
    const FaultCase cases[] = {
        {"rename only", RenameOnly},
        {"rename and move", RenameMove},
        {"rename and copy", RenameCopy},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder work;
        std::string source = work / "src";
        ASSERT_TRUE(CreateDirectoryA(source.c_str(), NULL));
        std::string target = source;
        if (c.operation != RenameOnly) {
            target = work / "out";
            ASSERT_TRUE(CreateDirectoryA(target.c_str(), NULL));
        }
        // A source whose name is as long as a path may be, so that its new
        // name (Sample0006 and the same extension) is longer than that.
        std::string longSource = source + "\\l.";
        longSource += std::string(259 - longSource.size(), 'e');
        std::vector<std::string> entries = {
            source + "\\good.txt",    // 1: renamed
            source + "\\missing.txt", // 2: no such file
            source + "\\locked.txt",  // 3: held open without sharing
            source + "\\ro.txt",      // 4: its new name is a read-only file; Yes
            source + "\\dir.txt",     // 5: its new name is a folder
            longSource,               // 6: its new path is too long
            source + "\\last.txt",    // 7: renamed
        };
        const char* contents[] = {"good", "", "locked", "ro", "dir", "long", "last"};
        for (size_t i = 0; i < entries.size(); i++) {
            if (i == 1) continue;
            ASSERT_TRUE(WriteFileText(entries[i], contents[i])) << entries[i];
        }
        std::string readOnly = target + "\\Sample0004.txt";
        ASSERT_TRUE(WriteFileText(readOnly, "read-only"));
        SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
        std::string folderInTheWay = target + "\\Sample0005.txt";
        ASSERT_TRUE(CreateDirectoryA(folderInTheWay.c_str(), NULL));
        std::string longTarget = target + "\\Sample0006." + std::string(longSource.size() - source.size() - 3, 'e');
        ASSERT_GT(longTarget.size(), 259u);
        HANDLE held = CreateFileA(entries[2].c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        AddEntries(entries);
        SetOperation(c.operation, Keep, c.operation == RenameOnly ? "" : target);

        PromptScript script({IDYES});
        EXPECT_EQ(1, RunRename());
        CloseHandle(held);

        bool copies = c.operation == RenameCopy;
        // Renamed files.
        EXPECT_EQ("good", ReadFileText(target + "\\Sample0001.txt"));
        EXPECT_EQ("last", ReadFileText(target + "\\Sample0007.txt"));
        EXPECT_EQ(copies, FileExists(entries[0]));
        EXPECT_EQ(copies, FileExists(entries[6]));
        // The held file, the one before a folder and the long one stay.
        EXPECT_EQ("locked", ReadFileText(entries[2]));
        EXPECT_FALSE(FileExists(target + "\\Sample0003.txt"));
        EXPECT_EQ("dir", ReadFileText(entries[4]));
        EXPECT_TRUE(DirectoryExists(folderInTheWay));
        EXPECT_EQ("long", ReadFileText(entries[5]));

        // The read-only target was asked about and answered Yes. Whether the
        // file system lets it be replaced or not, the source's content is
        // under exactly one of its names (both for a copy), and a refusal is
        // reported.
        std::string roNew = ReadFileText(readOnly);
        bool replaced = roNew == "ro";
        EXPECT_TRUE(replaced || roNew == "read-only") << roNew;
        if (replaced) {
            EXPECT_EQ(copies, FileExists(entries[3]));
        } else {
            EXPECT_EQ("ro", ReadFileText(entries[3]));
        }

        std::vector<std::string> lines = {FailureLine(entries[1], ERROR_FILE_NOT_FOUND),
                                          FailureLine(entries[2], ERROR_SHARING_VIOLATION)};
        // The question, the folder message and the list of failures.
        ASSERT_EQ(3u, script.Count());
        EXPECT_EQ("ファイルの上書き確認(" + entries[3] + ")", script.Asked()[0].title);
        EXPECT_EQ("フォルダ名重複", script.Asked()[1].title);
        const std::string& failures = script.Last().text;
        if (!replaced) {
            size_t at = failures.find(entries[3] + " : ");
            EXPECT_NE(std::string::npos, at) << "a refused overwrite is reported";
            if (at != std::string::npos) {
                lines.push_back(failures.substr(at, failures.find("\r\n", at) - at));
            }
        }
        lines.push_back(FailureLine(entries[5], ERROR_FILENAME_EXCED_RANGE));
        EXPECT_EQ(FailureListText(lines), failures);
        SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(FaultMatrixTest, AnOutputFolderRemovedBeforeTheRunFailsEachFileAndKeepsIt)
{
    const int operations[] = {RenameMove, RenameCopy};
    for (int operation : operations) {
        SCOPED_TRACE(operation);
        TempFolder work;
        std::vector<std::string> files = {work / "a.txt", work / "b.txt"};
        WriteFileText(files[0], "A");
        WriteFileText(files[1], "B");
        std::string output = work / "out";
        ASSERT_TRUE(CreateDirectoryA(output.c_str(), NULL));
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        AddEntries(files);
        SetOperation(operation, Keep, output);
        ASSERT_TRUE(RemoveDirectoryA(output.c_str()));

        PromptScript script;
        EXPECT_EQ(1, RunRename());

        ASSERT_EQ(1u, script.Count());
        EXPECT_EQ(FailureListText({FailureLine(files[0], ERROR_PATH_NOT_FOUND),
                                   FailureLine(files[1], ERROR_PATH_NOT_FOUND)}),
                  script.Last().text);
        EXPECT_EQ("A", ReadFileText(files[0]));
        EXPECT_EQ("B", ReadFileText(files[1]));
    }
}

TEST_F(FaultMatrixTest, AHeldFileInARingLeavesTheWholeRingInPlace)
{
    // Two files swap names; one is held open, so neither can move and both
    // are reported; no temporary name is left.
    std::vector<std::string> files = {MakeFile("Sample0002.txt", "two"), MakeFile("Sample0001.txt", "one")};
    AddEntries(files);
    for (int held = 0; held < 2; held++) {
        SCOPED_TRACE(held);
        HANDLE handle = CreateFileA(files[held].c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);

        PromptScript script;
        EXPECT_EQ(1, RunRename());
        CloseHandle(handle);

        ASSERT_EQ(1u, script.Count());
        std::string text = script.Last().text;
        EXPECT_NE(std::string::npos, text.find(FailureLine(files[held], ERROR_SHARING_VIOLATION)));
        EXPECT_NE(std::string::npos, text.find(files[1 - held] + " : "));
        EXPECT_EQ(std::vector<std::string>({"Sample0001.txt", "Sample0002.txt"}), Names());
        EXPECT_EQ("two", ReadFileText(files[0]));
        EXPECT_EQ("one", ReadFileText(files[1]));
    }
}

TEST_F(FaultMatrixTest, AFailureInsideALongerRingUndoesTheMovesAlreadyMade)
{
    // Four files, each to take the next one's name, the last the first's. The
    // ring moves from its end; a held file in the middle stops it after some
    // moves, which are undone.
    std::vector<std::string> files;
    for (int i = 1; i <= 4; i++) files.push_back(MakeFile("Sample000" + std::to_string(i) + ".txt", std::to_string(i)));
    AddEntries({files[3], files[0], files[1], files[2]});  // 4->1, 1->2, 2->3, 3->4
    HANDLE handle = CreateFileA(files[1].c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);

    PromptScript script;
    EXPECT_EQ(1, RunRename());
    CloseHandle(handle);

    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(std::vector<std::string>({"Sample0001.txt", "Sample0002.txt", "Sample0003.txt",
                                        "Sample0004.txt"}),
              Names());
    for (int i = 0; i < 4; i++) EXPECT_EQ(std::to_string(i + 1), ReadFileText(files[i]));
    EXPECT_NE(std::string::npos, script.Last().text.find(FailureLine(files[1], ERROR_SHARING_VIOLATION)));
}

}  // namespace
