// The folder command (1022) through the folder-picker seam, on real folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/mbcs_text.h"
#include "failing_memory.h"
#include "filelist/intake.h"
#include "filelist/path_buffer.h"
#include "support/file_list_window.h"
#include "support/folder_pick_script.h"
#include "support/prompt_script.h"
#include "support/temp_folder.h"

namespace {

const char kTitle[] = "指定したフォルダ以下のファイルを改名（リネーム）ファイルリストに登録します。";

class FolderCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        strcpy(GetAppState()->outputFolder, "C:\\before");
        ASSERT_TRUE(CreateDirectoryA((temp_ / "pick").c_str(), NULL));
        for (const char* name : {"c.txt", "file_1.txt", "fileA.txt", "B.txt", "a.txt", "README"}) {
            ASSERT_TRUE(WriteFileText(temp_ / "pick\\" + name, name));
        }
        ASSERT_TRUE(CreateDirectoryA((temp_ / "pick\\sub").c_str(), NULL));
        ASSERT_TRUE(WriteFileText(temp_ / "pick\\sub\\deep.txt", "not entered"));
    }
    void TearDown() override { GetAppState()->outputFolder[0] = 0; }

    void Command() { EXPECT_EQ(0, SendMessageA(window_.Window(), WM_COMMAND, 1022, 0)); }
    std::vector<std::string> Entries() const { return ListTexts(window_.List()); }
    std::vector<std::string> Picked() const
    {
        std::vector<std::string> paths;
        for (const char* name : {"a.txt", "B.txt", "c.txt", "file_1.txt", "fileA.txt"}) {
            paths.push_back(temp_ / "pick\\" + name);
        }
        return paths;
    }

    FileListWindow window_;
    TempFolder temp_;
};

TEST_F(FolderCommand, AddsTheFolderFilesSortedWithoutAQuestion)
{
    FillList(window_.List(), {"C:\\first.txt"});
    SendMessageA(window_.List(), LB_SETHORIZONTALEXTENT, 777, 0);
    for (int id : {1019, 1010}) EnableWindow(GetDlgItem(window_.Window(), id), FALSE);
    PromptScript prompts;
    FolderPickScript picks({temp_ / "pick"});
    Command();

    std::vector<std::string> expected = {"C:\\first.txt"};
    for (const std::string& path : Picked()) expected.push_back(path);
    EXPECT_EQ(expected, Entries());
    EXPECT_EQ(0u, prompts.Count());
    EXPECT_TRUE(window_.Enabled(1019)) << "buttons refreshed";
    EXPECT_TRUE(window_.Enabled(1010));
    EXPECT_EQ(777, SendMessageA(window_.List(), LB_GETHORIZONTALEXTENT, 0, 0)) << "no refit";

    ASSERT_EQ(1u, picks.Asked().size());
    const AskedPick& asked = picks.Asked()[0];
    EXPECT_EQ(window_.Window(), asked.owner);
    EXPECT_EQ(GetAppState()->outputFolder, asked.buffer);
    EXPECT_EQ("C:\\before", asked.before);
    EXPECT_EQ(kTitle, asked.title);
    EXPECT_EQ(temp_ / "pick", GetAppState()->outputFolder);
    EXPECT_EQ(5, GetPathBuffer()->count);
}

TEST_F(FolderCommand, TheNextPickOpensOnTheFolderTakenIn)
{
    FolderPickScript picks({temp_ / "pick", ""});
    Command();
    Command();
    ASSERT_EQ(2u, picks.Asked().size());
    EXPECT_EQ(temp_ / "pick", picks.Asked()[1].before);
    EXPECT_EQ(Picked(), Entries()) << "a cancelled pick adds nothing";
    EXPECT_EQ(temp_ / "pick", GetAppState()->outputFolder);
}

TEST_F(FolderCommand, ACancelledPickChangesNothing)
{
    FillList(window_.List(), {"C:\\first.txt"});
    window_.EnableAllButtons();
    FolderPickScript picks;
    Command();
    EXPECT_EQ(std::vector<std::string>{"C:\\first.txt"}, Entries());
    EXPECT_TRUE(window_.Enabled(1005)) << "no button refresh";
    EXPECT_STREQ("C:\\before", GetAppState()->outputFolder);
}

TEST_F(FolderCommand, AFolderWithoutEligibleFilesLeavesListBufferAndButtonsButKeepsThePick)
{
    ASSERT_TRUE(CreateDirectoryA((temp_ / "plain").c_str(), NULL));
    ASSERT_TRUE(WriteFileText(temp_ / "plain\\LICENSE", "no extension"));
    ASSERT_EQ(1, BeginPathBatch(1));
    PathBuffer* buffer = GetPathBuffer();
    buffer->entries[buffer->count++] = strdup("C:\\earlier.txt");
    char* earlier = buffer->entries[0];
    FillList(window_.List(), {"C:\\earlier.txt"});
    window_.EnableAllButtons();
    PromptScript prompts;
    FolderPickScript picks({temp_ / "plain"});
    Command();
    EXPECT_EQ(std::vector<std::string>{"C:\\earlier.txt"}, Entries());
    EXPECT_EQ(1, buffer->count);
    EXPECT_EQ(earlier, buffer->entries[0]);
    EXPECT_TRUE(window_.Enabled(1005)) << "no button refresh";
    EXPECT_EQ(0u, prompts.Count());
    EXPECT_EQ(temp_ / "plain", GetAppState()->outputFolder);
}

TEST_F(FolderCommand, AFolderEndingInTrailByte5CIsTakenInUnderItsFullName)
{
    std::string folder = temp_ / "資料表";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    ASSERT_TRUE(WriteFileText(folder + "\\x.txt", "x"));
    ASSERT_TRUE(WriteFileText(temp_ / "資料表a.txt", "beside"));
    FolderPickScript picks({folder, folder + "\\"});
    Command();
    Command();
    EXPECT_EQ((std::vector<std::string>{folder + "\\x.txt", folder + "\\x.txt"}), Entries());
}

TEST_F(FolderCommand, ADriveRootGivesPathsOfTheFormDriveBackslashName)
{
    // C: of the tests' own Wine prefix.
    char name[64];
    snprintf(name, sizeof name, "C:\\tovik-root-%lu.txt", GetCurrentProcessId());
    ASSERT_TRUE(WriteFileText(name, "root"));
    FolderPickScript picks({"C:\\"});
    Command();
    DeleteFileA(name);
    std::vector<std::string> entries = Entries();
    EXPECT_NE(entries.end(), std::find(entries.begin(), entries.end(), std::string(name)));
    for (const std::string& entry : entries) {
        EXPECT_EQ("C:\\", entry.substr(0, 3)) << entry;
        EXPECT_EQ(std::string::npos, entry.find('\\', 3)) << entry;
    }
}

TEST_F(FolderCommand, FilesPast259BytesAreLeftOutAndCountedOnce)
{
    std::string folder = temp_ / std::string(200, 'f');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL)) << folder.size();
    ASSERT_TRUE(WriteFileText(folder + "\\a.txt", "fits"));
    for (const char* name : {"\\long-enough-to-pass-the-limit-1.txt", "\\long-enough-to-pass-the-limit-2.txt"}) {
        std::string path = folder + name;
        ASSERT_GT(path.size(), 259u);
        std::wstring wide(path.begin(), path.end());
        HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
    }
    PromptScript prompts;
    FolderPickScript picks({folder});
    Command();
    EXPECT_EQ(std::vector<std::string>{folder + "\\a.txt"}, Entries());
    ASSERT_EQ(1u, prompts.Count());
    EXPECT_EQ("パス名が259バイトを超えるため、2 件を改名（リネーム）ファイルリストに登録しませんでした。",
              prompts.Last().text);
    EXPECT_EQ("パス名の長さ超過", prompts.Last().title);
    EXPECT_EQ((UINT)MB_ICONERROR, prompts.Last().icon);
    EXPECT_EQ(window_.Window(), prompts.Last().owner);
}

TEST_F(FolderCommand, APathBufferThatCannotGrowEndsTheCommand)
{
    ReleasePathBuffer();  // as if its first array could not be had: no room at all
    PromptScript prompts;
    FolderPickScript picks({temp_ / "pick"});
    {
        FailingMemory memory(0);
        Command();
    }
    ASSERT_EQ(1u, prompts.Count());
    EXPECT_EQ("メモリーが不足しています。", prompts.Last().text);
    EXPECT_EQ("システムエラー", prompts.Last().title);
    EXPECT_EQ((UINT)MB_ICONERROR, prompts.Last().icon);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(FolderCommand, ACopyThatCannotBeAllocatedKeepsWhatWasStored)
{
    PromptScript prompts;
    FolderPickScript picks({temp_ / "pick"});
    {
        FailingMemory memory(2);
        Command();
    }
    ASSERT_EQ(1u, prompts.Count());
    EXPECT_EQ(0u, prompts.Last().text.find("メモリーの確保に失敗しました(2) " + temp_ / "pick\\"));
    std::vector<std::string> entries = Entries();
    ASSERT_EQ(2u, entries.size());
    EXPECT_LT(CompareNoCase(entries[0].c_str(), entries[1].c_str()), 0) << "sorted";
    EXPECT_TRUE(window_.Enabled(1019));
    EXPECT_EQ(2, GetPathBuffer()->count);
}

}  // namespace
