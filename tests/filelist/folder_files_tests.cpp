// PathExists, SortPaths, PathBuffer and the folder walk on real folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "failing_memory.h"
#include "filelist/folder_files.h"
#include "filelist/path_buffer.h"
#include "support/prompt_script.h"
#include "support/temp_folder.h"

namespace {

std::wstring Wide(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, NULL, 0);
    std::wstring wide((size_t)length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize((size_t)length - 1);
    return wide;
}

// Paths past 259 bytes cannot go through the ANSI calls: made by the wide ones.
bool MakeFolder(const std::string& path)
{
    return CreateDirectoryW(Wide(path).c_str(), NULL) != FALSE;
}

bool MakeFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, attributes, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::vector<std::string> Collected(const std::string& folder, int capacity, int* leftOut = nullptr)
{
    std::vector<char*> slots((size_t)capacity + 1, nullptr);
    int count = 0;
    int ignored = 0;
    CollectFolderFiles(folder.c_str(), slots.data(), capacity, &count, leftOut ? leftOut : &ignored);
    EXPECT_EQ(nullptr, slots[(size_t)capacity]) << "stored beyond the capacity";
    std::vector<std::string> paths;
    for (int i = 0; i < count; i++) {
        paths.push_back(slots[(size_t)i]);
        free(slots[(size_t)i]);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

int Counted(const std::string& folder)
{
    int count = 0;
    CountFolderFiles(folder.c_str(), &count);
    return count;
}

struct ExistsCase {
    const char* name;
    std::string path;
    int asFile;
    int asDirectory;
};

TEST(PathExists, TellsFilesFromDirectoriesByTheFirstMatch)
{
    TempFolder temp;
    ASSERT_TRUE(WriteFileText(temp / "a.txt", "a"));
    ASSERT_TRUE(CreateDirectoryA((temp / "sub").c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((temp / "表").c_str(), NULL));
    const ExistsCase cases[] = {
        {"a file", temp / "a.txt", 1, 0},
        {"a file in other letter case", temp / "A.TXT", 1, 0},
        {"a folder", temp / "sub", 0, 1},
        {"a folder ending in 0x5C as a trail byte", temp / "表", 0, 1},
        {"nothing there", temp / "missing.txt", 0, 0},
        {"a folder with a final backslash", temp / "sub\\", 0, 0},
        {"a drive root", "C:\\", 0, 0},
        {"a pattern matching the file", temp / "a*", 1, 0},
    };
    for (const ExistsCase& c : cases) {
        EXPECT_EQ(c.asFile, PathExists(c.path.c_str(), File)) << c.name;
        EXPECT_EQ(c.asDirectory, PathExists(c.path.c_str(), Directory)) << c.name;
    }
}

struct SortCase {
    const char* name;
    std::vector<std::string> input;
    std::vector<std::string> sorted;
};

TEST(SortPaths, SortsByTheCaseInsensitiveComparison)
{
    const SortCase cases[] = {
        {"letter case folded", {"C:\\d\\c.txt", "C:\\d\\a.txt", "C:\\d\\B.txt"},
         {"C:\\d\\a.txt", "C:\\d\\B.txt", "C:\\d\\c.txt"}},
        {"underscore below letters", {"C:\\fileA.txt", "C:\\file_1.txt"},
         {"C:\\file_1.txt", "C:\\fileA.txt"}},
        {"digits before letters", {"C:\\b.txt", "C:\\9.txt", "C:\\A.txt"},
         {"C:\\9.txt", "C:\\A.txt", "C:\\b.txt"}},
        {"bytes unsigned", {"C:\\表.txt", "C:\\z.txt"}, {"C:\\z.txt", "C:\\表.txt"}},
        {"separator by its byte", {"C:\\x\\b.txt", "C:\\x-y\\a.txt"},
         {"C:\\x-y\\a.txt", "C:\\x\\b.txt"}},
        // セ is 83 5A, ゼ is 83 5B: the trail byte Z folds to z (7A), above [ (5B).
        {"trail bytes folded too", {"C:\\セ.txt", "C:\\ゼ.txt"}, {"C:\\ゼ.txt", "C:\\セ.txt"}},
        {"one path", {"C:\\only.txt"}, {"C:\\only.txt"}},
        {"none", {}, {}},
    };
    for (const SortCase& c : cases) {
        std::vector<char*> pointers;
        for (const std::string& path : c.input) pointers.push_back(const_cast<char*>(path.c_str()));
        SortPaths(pointers.data(), (int)pointers.size());
        std::vector<std::string> result(pointers.begin(), pointers.end());
        EXPECT_EQ(c.sorted, result) << c.name;
    }
}

TEST(PathBuffer, StartsWith4096SlotsAndGrowsByTheBatchPlusTwiceTheCapacity)
{
    ASSERT_EQ(1, CreatePathBuffer());
    PathBuffer* buffer = GetPathBuffer();
    EXPECT_NE(nullptr, buffer->entries);
    EXPECT_EQ(0, buffer->count);
    EXPECT_EQ(4096, buffer->capacity);

    ASSERT_EQ(1, BeginPathBatch(3));
    for (int i = 0; i < 3; i++) buffer->entries[buffer->count++] = strdup("C:\\a.txt");
    ASSERT_EQ(1, BeginPathBatch(4096));
    EXPECT_EQ(0, buffer->count) << "the previous batch is freed";
    EXPECT_EQ(4096, buffer->capacity);
    ASSERT_EQ(1, BeginPathBatch(5000));
    EXPECT_EQ(5000 + 2 * 4096, buffer->capacity);
    ASSERT_EQ(1, BeginPathBatch(100));
    EXPECT_EQ(13192, buffer->capacity) << "never shrinks";
    ASSERT_EQ(1, BeginPathBatch(13193));
    EXPECT_EQ(13193 + 2 * 13192, buffer->capacity);

    ReleasePathBuffer();
    EXPECT_EQ(nullptr, buffer->entries);
    EXPECT_EQ(0, buffer->count);
}

TEST(PathBuffer, KeepsItsArrayWhenItCannotGrow)
{
    ASSERT_EQ(1, CreatePathBuffer());
    PathBuffer* buffer = GetPathBuffer();
    buffer->entries[buffer->count++] = strdup("C:\\a.txt");
    char** entries = buffer->entries;
    {
        FailingMemory memory(0);
        EXPECT_EQ(0, BeginPathBatch(4097));
        EXPECT_EQ(1, BeginPathBatch(4096)) << "no allocation needed";
    }
    EXPECT_EQ(entries, buffer->entries);
    EXPECT_EQ(4096, buffer->capacity);
    EXPECT_EQ(0, buffer->count);
    ReleasePathBuffer();
}

TEST(PathBuffer, WithoutItsFirstArrayABatchGetsJustTheRoomItNeeds)
{
    PathBuffer* buffer = GetPathBuffer();
    {
        FailingMemory memory(0);
        EXPECT_EQ(0, CreatePathBuffer());
    }
    EXPECT_EQ(nullptr, buffer->entries);
    EXPECT_EQ(0, buffer->capacity);
    EXPECT_EQ(1, BeginPathBatch(0));
    ASSERT_EQ(1, BeginPathBatch(3));
    EXPECT_NE(nullptr, buffer->entries);
    EXPECT_EQ(3, buffer->capacity);
    ReleasePathBuffer();
}

class FolderWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteFileText(temp_ / "a.txt", "a"));
        ASSERT_TRUE(WriteFileText(temp_ / "B.TXT", "b"));
        ASSERT_TRUE(WriteFileText(temp_ / "README", "no extension"));
        ASSERT_TRUE(WriteFileText(temp_ / ".profile", "only a dot"));
        ASSERT_TRUE(WriteFileText(temp_ / "archive.tar.gz", "two dots"));
        ASSERT_TRUE(MakeFile(temp_ / "hidden.txt", FILE_ATTRIBUTE_HIDDEN));
        ASSERT_TRUE(MakeFile(temp_ / "system.sys", FILE_ATTRIBUTE_SYSTEM));
        ASSERT_TRUE(MakeFile(temp_ / "readonly.txt", FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(CreateDirectoryA((temp_ / "sub").c_str(), NULL));
        ASSERT_TRUE(CreateDirectoryA((temp_ / "folder.d").c_str(), NULL));
        ASSERT_TRUE(WriteFileText(temp_ / "sub\\inner.txt", "not entered"));
    }
    void TearDown() override { SetFileAttributesA((temp_ / "readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL); }

    std::vector<std::string> Eligible() const
    {
        std::vector<std::string> names = {".profile", "B.TXT", "a.txt", "archive.tar.gz",
                                          "hidden.txt", "readonly.txt", "system.sys"};
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(temp_ / name);
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    TempFolder temp_;
};

TEST_F(FolderWalk, TakesEveryFileWithAnExtensionAndNoFolder)
{
    EXPECT_EQ(7, Counted(temp_.Path()));
    EXPECT_EQ(Eligible(), Collected(temp_.Path(), 7));
}

TEST_F(FolderWalk, AFinalBackslashIsRemovedBeforeTheSearch)
{
    EXPECT_EQ(7, Counted(temp_.Path() + "\\"));
    EXPECT_EQ(Eligible(), Collected(temp_.Path() + "\\", 7));
}

TEST_F(FolderWalk, CountAddsToTheCountAndCollectStoresAfterIt)
{
    int count = 5;
    CountFolderFiles(temp_.Path().c_str(), &count);
    EXPECT_EQ(12, count);

    char* slots[10] = {};
    slots[0] = strdup("C:\\first.txt");
    int stored = 1;
    int leftOut = 0;
    CollectFolderFiles(temp_.Path().c_str(), slots, 10, &stored, &leftOut);
    EXPECT_EQ(8, stored);
    EXPECT_STREQ("C:\\first.txt", slots[0]);
    EXPECT_EQ(0, leftOut);
    for (char* slot : slots) free(slot);
}

TEST_F(FolderWalk, NeverStoresMoreThanTheArrayHolds)
{
    std::vector<std::string> stored = Collected(temp_.Path(), 3);
    EXPECT_EQ(3u, stored.size());
    for (const std::string& path : stored) {
        EXPECT_NE(Eligible().end(), std::find(Eligible().begin(), Eligible().end(), path)) << path;
    }
    EXPECT_TRUE(Collected(temp_.Path(), 0).empty());
}

TEST(FolderWalkEdges, AMissingFolderAddsNothing)
{
    TempFolder temp;
    EXPECT_EQ(0, Counted(temp / "missing"));
    EXPECT_TRUE(Collected(temp / "missing", 4).empty());
    ASSERT_TRUE(CreateDirectoryA((temp / "empty").c_str(), NULL));
    EXPECT_EQ(0, Counted(temp / "empty"));
}

TEST(FolderWalkEdges, AFolderEndingInTrailByte5CIsSearchedUnderItsFullName)
{
    TempFolder temp;
    std::string folder = temp / "資料表";  // 表 is 95 5C
    ASSERT_EQ('\x5C', folder.back());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    ASSERT_TRUE(WriteFileText(folder + "\\x.txt", "x"));
    ASSERT_TRUE(WriteFileText(folder + "\\y.txt", "y"));
    // What a search cut after the lead byte would find instead.
    ASSERT_TRUE(WriteFileText(temp / "資料表a.txt", "beside"));
    std::vector<std::string> inside = {folder + "\\x.txt", folder + "\\y.txt"};
    EXPECT_EQ(2, Counted(folder));
    EXPECT_EQ(inside, Collected(folder, 2));
    EXPECT_EQ(2, Counted(folder + "\\"));
    EXPECT_EQ(inside, Collected(folder + "\\", 2));
}

TEST(FolderWalkEdges, FullPathsPast259BytesAreLeftOutAndCounted)
{
    TempFolder temp;
    std::string folder = temp / std::string(150, 'f');
    ASSERT_TRUE(MakeFolder(folder));
    size_t room = 259 - folder.size() - 1;  // bytes left for a name
    std::string fits = std::string(room - 4, 'k') + ".txt";
    std::string tooLong = std::string(room - 3, 'l') + ".txt";
    std::string farTooLong = std::string(100, 'm') + ".txt";
    ASSERT_TRUE(MakeFile(folder + "\\" + fits));
    ASSERT_TRUE(MakeFile(folder + "\\" + tooLong));
    ASSERT_TRUE(MakeFile(folder + "\\" + farTooLong));
    ASSERT_EQ(259u, (folder + "\\" + fits).size());

    EXPECT_EQ(3, Counted(folder));
    int leftOut = 0;
    EXPECT_EQ(std::vector<std::string>{folder + "\\" + fits}, Collected(folder, 3, &leftOut));
    EXPECT_EQ(2, leftOut);
}

TEST(FolderWalkEdges, ACopyThatCannotBeAllocatedStopsTheWalkWithAMessage)
{
    TempFolder temp;
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) ASSERT_TRUE(WriteFileText(temp / name, name));
    PromptScript prompts;
    char* slots[4] = {};
    int stored = 0;
    int leftOut = 0;
    {
        FailingMemory memory(1);
        CollectFolderFiles(temp.Path().c_str(), slots, 4, &stored, &leftOut);
        EXPECT_EQ(2, memory.Calls()) << "the walk stops at the first failure";
    }
    EXPECT_EQ(1, stored);
    ASSERT_EQ(1u, prompts.Count());
    const AskedPrompt& asked = prompts.Last();
    std::string start = "メモリーの確保に失敗しました(1) " + temp.Path() + "\\";
    ASSERT_EQ(start, asked.text.substr(0, start.size()));
    std::string failedName = asked.text.substr(start.size());
    EXPECT_TRUE(failedName == "a.txt" || failedName == "b.txt" || failedName == "c.txt" ||
                failedName == "d.txt")
        << failedName;
    EXPECT_NE(temp / failedName, std::string(slots[0])) << "the path named is the one not stored";
    EXPECT_EQ("システムエラー", asked.title);
    EXPECT_EQ((UINT)MB_OK, asked.buttons);
    EXPECT_EQ(0u, asked.icon);
    EXPECT_EQ(GetActiveWindow(), asked.owner);
    free(slots[0]);
}

}  // namespace
