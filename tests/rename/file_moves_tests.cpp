// Moving a file aside and the route through TOVIK.DAT, on real files.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "rename/file_moves.h"
#include "rename_fixture.h"

namespace {

std::string TemporaryFile()
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "TOVIK.DAT";
}

TEST(MoveAside, TakesAFreeNameInTheSameFolder)
{
    TempFolder work;
    std::vector<std::string> files = {work / "写真ソ.jpg", work / "b.txt"};
    WriteFileText(files[0], "first");
    WriteFileText(files[1], "second");
    char temp[2][MAX_PATH];
    DWORD error = 0;
    ASSERT_EQ(1, MoveAside(files[0].c_str(), temp[0], sizeof temp[0], &error));
    ASSERT_EQ(1, MoveAside(files[1].c_str(), temp[1], sizeof temp[1], &error));
    EXPECT_STRNE(temp[0], temp[1]);
    for (int i = 0; i < 2; i++) {
        std::string path = temp[i];
        EXPECT_EQ(work.Path() + "\\", path.substr(0, path.rfind('\\') + 1));
        EXPECT_FALSE(FileExists(files[i]));
    }
    EXPECT_EQ("first", ReadFileText(temp[0]));
    EXPECT_EQ("second", ReadFileText(temp[1]));
    EXPECT_EQ(2u, FolderNames(work.Path()).size());
}

TEST(MoveAside, MovesNothingWhenTheFileIsMissingOrHeld)
{
    TempFolder work;
    char temp[MAX_PATH];
    DWORD error = 0;
    EXPECT_EQ(0, MoveAside((work / "gone.txt").c_str(), temp, sizeof temp, &error));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, error);
    EXPECT_STREQ("", temp);

    std::string held = work / "held.txt";
    WriteFileText(held, "held");
    HANDLE handle = CreateFileA(held.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_EQ(0, MoveAside(held.c_str(), temp, sizeof temp, &error));
    CloseHandle(handle);
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, error);
    EXPECT_EQ(std::vector<std::string>{"held.txt"}, FolderNames(work.Path()));
}

TEST(IsSameFile, KnowsAFileUnderAnotherLetterCase)
{
    TempFolder work;
    WriteFileText(work / "IMG_7.JPG", "x");
    WriteFileText(work / "other.jpg", "x");
    EXPECT_EQ(1, IsSameFile((work / "IMG_7.JPG").c_str(), (work / "img_7.jpg").c_str()));
    EXPECT_EQ(0, IsSameFile((work / "IMG_7.JPG").c_str(), (work / "other.jpg").c_str()));
    EXPECT_EQ(0, IsSameFile((work / "IMG_7.JPG").c_str(), (work / "gone.jpg").c_str()));
}

struct RouteCase {
    int move;
    bool sourceKept;
};

TEST(ReplaceThroughTemporaryFile, ReplacesTheTargetAndLetsGoOfAMovedSource)
{
    const RouteCase cases[] = {{0, true}, {1, false}};
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(c.move);
        TempFolder work;
        std::string source = work / "a.txt", target = work / "Sample0001.txt";
        WriteFileText(source, "source");
        WriteFileText(target, "target");
        DWORD error = 0;
        int copied = -1;
        EXPECT_EQ(1, ReplaceThroughTemporaryFile(source.c_str(), target.c_str(), c.move, &error, &copied));
        EXPECT_EQ(1, copied);
        EXPECT_EQ("source", ReadFileText(target));
        EXPECT_EQ(c.sourceKept, FileExists(source));
        EXPECT_EQ("source", ReadFileText(TemporaryFile())) << "the copy went through TOVIK.DAT";
    }
}

TEST(ReplaceThroughTemporaryFile, AFailedCopyKeepsTheSourceAndAMissingSourceTheTarget)
{
    TempFolder work;
    std::string source = work / "a.txt", target = work / "Sample0001.txt";
    WriteFileText(source, "source");
    WriteFileText(target, "target");
    DWORD error = 0;
    int copied = -1;
    // The last copy cannot be made: the source stays, also for a move.
    std::string nowhere = work / "missing\\Sample0001.txt";
    EXPECT_EQ(0, ReplaceThroughTemporaryFile(source.c_str(), nowhere.c_str(), 1, &error, &copied));
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, error);
    EXPECT_EQ(0, copied);
    EXPECT_EQ("source", ReadFileText(source));
    // No source: the target is not removed.
    EXPECT_EQ(0, ReplaceThroughTemporaryFile((work / "gone.txt").c_str(), target.c_str(), 1, &error,
                                             &copied));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, error);
    EXPECT_EQ("target", ReadFileText(target));
}

TEST(ReplaceThroughTemporaryFile, NeverRemovesTheSourceAsItsOwnTarget)
{
    TempFolder work;
    std::string source = work / "IMG_7.JPG";
    WriteFileText(source, "only copy");
    DWORD error = 0;
    int copied = -1;
    EXPECT_EQ(0, ReplaceThroughTemporaryFile(source.c_str(), (work / "IMG_7.jpg").c_str(), 1, &error,
                                             &copied));
    EXPECT_EQ(0, copied);
    EXPECT_EQ("only copy", ReadFileText(source));
}

}  // namespace
