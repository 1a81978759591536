// Drops built as real drop handles onto a real window, with real files and
// folders: sorting, folder questions, long paths and running out of memory.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/prompt.h"
#include "failing_memory.h"
#include "filelist/path_buffer.h"
#include "support/drop_handle.h"
#include "support/file_list_window.h"
#include "support/prompt_script.h"
#include "support/temp_folder.h"

namespace {

const char kLeftOutTitle[] = "パス名の長さ超過";

std::string Question(const std::string& folder)
{
    return "「 " + folder + " 」はフォルダです＾＾；\r\n\r\nフォルダ配下のファイルを展開しますか？\r\n";
}

std::string LeftOutText(int count)
{
    return "パス名が259バイトを超えるため、" + std::to_string(count) +
           " 件を改名（リネーム）ファイルリストに登録しませんでした。";
}

int TextWidth(HWND list, const std::string& text)
{
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(list, WM_GETFONT, 0, 0));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return size.cx;
}

class Drop : public ::testing::Test {
protected:
    // Drops the paths on the window as the shell does.
    void DropPaths(const std::vector<std::string>& paths)
    {
        HDROP drop = MakeDrop(paths);
        ASSERT_NE(nullptr, drop);
        EXPECT_EQ(0, SendMessageA(window_.Window(), WM_DROPFILES, (WPARAM)drop, 0));
        EXPECT_EQ(0u, GlobalSize(drop)) << "the drop is released";
    }
    std::vector<std::string> Entries() const { return ListTexts(window_.List()); }
    LRESULT Extent() const { return SendMessageA(window_.List(), LB_GETHORIZONTALEXTENT, 0, 0); }
    void MakeFolderB()
    {
        ASSERT_TRUE(CreateDirectoryA((temp_ / "b").c_str(), NULL));
        ASSERT_TRUE(WriteFileText(temp_ / "b\\z.txt", "z"));
        ASSERT_TRUE(WriteFileText(temp_ / "b\\Y.txt", "y"));
        ASSERT_TRUE(WriteFileText(temp_ / "b\\README", "no extension"));
        ASSERT_TRUE(CreateDirectoryA((temp_ / "b\\sub.d").c_str(), NULL));
    }

    FileListWindow window_;
    TempFolder temp_;
};

TEST_F(Drop, AddsFilesSortedCaseInsensitivelyWithoutAQuestion)
{
    for (const char* name : {"c.txt", "a.txt", "B.txt"}) ASSERT_TRUE(WriteFileText(temp_ / name, name));
    PromptScript prompts;
    DropPaths({temp_ / "c.txt", temp_ / "a.txt", temp_ / "B.txt"});
    EXPECT_EQ((std::vector<std::string>{temp_ / "a.txt", temp_ / "B.txt", temp_ / "c.txt"}), Entries());
    EXPECT_EQ(0u, prompts.Count());
}

TEST_F(Drop, AppendsAfterTheEntriesThereAndAddsADuplicateAgain)
{
    ASSERT_TRUE(WriteFileText(temp_ / "a.txt", "a"));
    ASSERT_TRUE(WriteFileText(temp_ / "b.txt", "b"));
    FillList(window_.List(), {temp_ / "z.txt", temp_ / "a.txt"});
    DropPaths({temp_ / "b.txt", temp_ / "a.txt"});
    EXPECT_EQ((std::vector<std::string>{temp_ / "z.txt", temp_ / "a.txt", temp_ / "a.txt", temp_ / "b.txt"}),
              Entries());
}

TEST_F(Drop, RefitsTheExtentAndRefreshesTheButtons)
{
    ASSERT_TRUE(WriteFileText(temp_ / "a.txt", "a"));
    ASSERT_TRUE(WriteFileText(temp_ / "longer-name.txt", "b"));
    FillList(window_.List(), {"C:\\x.txt"});
    for (int id : {1019, 1010}) EnableWindow(GetDlgItem(window_.Window(), id), FALSE);
    DropPaths({temp_ / "a.txt", temp_ / "longer-name.txt"});
    EXPECT_EQ(TextWidth(window_.List(), temp_ / "longer-name.txt") + GetSystemMetrics(SM_CXVSCROLL), Extent());
    EXPECT_TRUE(window_.Enabled(1019));
    EXPECT_TRUE(window_.Enabled(1010));
    EXPECT_FALSE(window_.Enabled(1007)) << "nothing is selected";
}

TEST_F(Drop, ExpandsAFolderAnsweredYesAtItsSortedPlace)
{
    MakeFolderB();
    ASSERT_TRUE(WriteFileText(temp_ / "a.txt", "a"));
    ASSERT_TRUE(WriteFileText(temp_ / "c.txt", "c"));
    PromptScript prompts({IDYES});
    DropPaths({temp_ / "c.txt", temp_ / "b", temp_ / "a.txt"});
    EXPECT_EQ((std::vector<std::string>{temp_ / "a.txt", temp_ / "b\\Y.txt", temp_ / "b\\z.txt", temp_ / "c.txt"}),
              Entries());
    ASSERT_EQ(1u, prompts.Count());
    const AskedPrompt& asked = prompts.Last();
    EXPECT_EQ(Question(temp_ / "b"), asked.text);
    EXPECT_EQ("ファイル展開確認", asked.title);
    EXPECT_EQ((UINT)MB_YESNO, asked.buttons);
    EXPECT_EQ((UINT)MB_ICONQUESTION, asked.icon);
    EXPECT_EQ(window_.Window(), asked.owner);
}

TEST_F(Drop, LeavesOutAFolderAnsweredNo)
{
    MakeFolderB();
    ASSERT_TRUE(WriteFileText(temp_ / "a.txt", "a"));
    ASSERT_TRUE(WriteFileText(temp_ / "c.txt", "c"));
    PromptScript prompts({IDNO});
    DropPaths({temp_ / "c.txt", temp_ / "b", temp_ / "a.txt"});
    EXPECT_EQ((std::vector<std::string>{temp_ / "a.txt", temp_ / "c.txt"}), Entries());
    EXPECT_EQ(1u, prompts.Count());
}

struct AskedOnTop {
    std::string text;
    bool topmost;
};
std::vector<AskedOnTop> g_onTop;

int AnswerYesNotingTopmost(HWND owner, const char* text, const char*, UINT, UINT)
{
    bool topmost = (GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    g_onTop.push_back({text, topmost});
    return IDYES;
}

TEST_F(Drop, AsksAboutTwoFoldersInSortedOrderWithTheWindowOnTopMeanwhile)
{
    for (const char* folder : {"Second", "first"}) {
        ASSERT_TRUE(CreateDirectoryA((temp_ / folder).c_str(), NULL));
        ASSERT_TRUE(WriteFileText(temp_ / folder + "\\in.txt", folder));
    }
    g_onTop.clear();
    SetPromptHandler(AnswerYesNotingTopmost);
    DropPaths({temp_ / "Second", temp_ / "first"});
    SetPromptHandler(0);
    ASSERT_EQ(2u, g_onTop.size());
    EXPECT_EQ(Question(temp_ / "first"), g_onTop[0].text);
    EXPECT_EQ(Question(temp_ / "Second"), g_onTop[1].text);
    EXPECT_TRUE(g_onTop[0].topmost);
    EXPECT_TRUE(g_onTop[1].topmost);
    EXPECT_FALSE(GetWindowLongA(window_.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ((std::vector<std::string>{temp_ / "first\\in.txt", temp_ / "Second\\in.txt"}), Entries());
}

TEST_F(Drop, AFolderWithoutEligibleFilesAddsNothingAndSaysNothingMore)
{
    ASSERT_TRUE(CreateDirectoryA((temp_ / "plain").c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((temp_ / "plain\\sub").c_str(), NULL));
    ASSERT_TRUE(WriteFileText(temp_ / "plain\\sub\\deep.txt", "not entered"));
    ASSERT_TRUE(WriteFileText(temp_ / "plain\\Makefile", "no extension"));
    SendMessageA(window_.List(), LB_SETHORIZONTALEXTENT, 777, 0);
    window_.EnableAllButtons();
    PromptScript prompts({IDYES});
    DropPaths({temp_ / "plain"});
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(1u, prompts.Count());
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), Extent()) << "an empty list still gets refitted";
    EXPECT_FALSE(window_.Enabled(1019));
}

TEST_F(Drop, ADriveRootAndAMissingPathAreAppendedUnchanged)
{
    PromptScript prompts;
    DropPaths({"C:\\", temp_ / "missing.txt"});
    EXPECT_EQ((std::vector<std::string>{"C:\\", temp_ / "missing.txt"}), Entries());
    EXPECT_EQ(0u, prompts.Count());
}

TEST_F(Drop, AFolderEndingInTrailByte5CIsExpandedUnderItsFullName)
{
    std::string folder = temp_ / "資料表";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    ASSERT_TRUE(WriteFileText(folder + "\\x.txt", "x"));
    ASSERT_TRUE(WriteFileText(temp_ / "資料表a.txt", "beside"));
    PromptScript prompts({IDYES});
    DropPaths({folder});
    EXPECT_EQ(std::vector<std::string>{folder + "\\x.txt"}, Entries());
    ASSERT_EQ(1u, prompts.Count());
    EXPECT_EQ(Question(folder), prompts.Last().text);
}

TEST_F(Drop, PathsPast259BytesAreLeftOutAndCountedOnce)
{
    std::string fits = "C:\\" + std::string(259 - 3 - 4, 'k') + ".txt";
    std::string tooLong = "C:\\" + std::string(260 - 3 - 4, 'l') + ".txt";
    std::string farTooLong = "C:\\" + std::string(500, 'm') + ".txt";
    ASSERT_EQ(259u, fits.size());
    ASSERT_EQ(260u, tooLong.size());
    // A folder holding one file too long for the list and one that fits.
    std::string folder = temp_ / std::string(180, 'f');
    ASSERT_TRUE(CreateDirectoryW(std::wstring(folder.begin(), folder.end()).c_str(), NULL));
    std::string inside = folder + "\\" + std::string(254 - folder.size(), 'n') + ".txt";
    ASSERT_EQ(259u, inside.size());
    std::string insideTooLong = folder + "\\" + std::string(100, 'p') + ".txt";
    for (const std::string& path : {inside, insideTooLong}) {
        HANDLE file = CreateFileW(std::wstring(path.begin(), path.end()).c_str(), GENERIC_WRITE, 0, NULL,
                                  CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << path.size();
        CloseHandle(file);
    }
    PromptScript prompts({IDYES});
    DropPaths({farTooLong, tooLong, folder, fits});
    EXPECT_EQ((std::vector<std::string>{fits, inside}), Entries());
    ASSERT_EQ(2u, prompts.Count());
    EXPECT_EQ(Question(folder), prompts.Asked()[0].text);
    const AskedPrompt& told = prompts.Asked()[1];
    EXPECT_EQ(LeftOutText(3), told.text);
    EXPECT_EQ(kLeftOutTitle, told.title);
    EXPECT_EQ((UINT)MB_OK, told.buttons);
    EXPECT_EQ((UINT)MB_ICONERROR, told.icon);
    EXPECT_EQ(window_.Window(), told.owner);
}

TEST_F(Drop, LeavesTheLastBatchInPathBuffer)
{
    ASSERT_TRUE(WriteFileText(temp_ / "b.txt", "b"));
    ASSERT_TRUE(WriteFileText(temp_ / "a.txt", "a"));
    DropPaths({temp_ / "b.txt", temp_ / "a.txt"});
    PathBuffer* buffer = GetPathBuffer();
    ASSERT_EQ(2, buffer->count);
    EXPECT_EQ(temp_ / "a.txt", buffer->entries[0]);
    EXPECT_EQ(temp_ / "b.txt", buffer->entries[1]);
}

void ExpectOutOfMemory(const AskedPrompt& asked, HWND owner)
{
    EXPECT_EQ("メモリーが不足しています。", asked.text);
    EXPECT_EQ("システムエラー", asked.title);
    EXPECT_EQ((UINT)MB_OK, asked.buttons);
    EXPECT_EQ((UINT)MB_ICONERROR, asked.icon);
    EXPECT_EQ(owner, asked.owner);
}

TEST_F(Drop, APathCopyThatCannotBeAllocatedEndsTheDropBeforeAnythingIsAdded)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) ASSERT_TRUE(WriteFileText(temp_ / name, name));
    FillList(window_.List(), {"C:\\before.txt"});
    SendMessageA(window_.List(), LB_SETHORIZONTALEXTENT, 777, 0);
    window_.EnableAllButtons();
    PromptScript prompts;
    {
        FailingMemory memory(1);
        DropPaths({temp_ / "a.txt", temp_ / "b.txt", temp_ / "c.txt"});
        EXPECT_EQ(2, memory.Calls());
    }
    ASSERT_EQ(1u, prompts.Count());
    ExpectOutOfMemory(prompts.Last(), window_.Window());
    EXPECT_EQ(std::vector<std::string>{"C:\\before.txt"}, Entries());
    EXPECT_EQ(777, Extent()) << "no refit";
    EXPECT_TRUE(window_.Enabled(1005)) << "no button refresh";

    DropPaths({temp_ / "c.txt"});
    EXPECT_EQ((std::vector<std::string>{"C:\\before.txt", temp_ / "c.txt"}), Entries());
}

TEST_F(Drop, PathBufferThatCannotGrowEndsTheDrop)
{
    std::vector<std::string> many;
    for (int i = 0; i < 4097; i++) many.push_back(temp_ / ("missing" + std::to_string(i) + ".txt"));
    PromptScript prompts;
    {
        FailingMemory memory(0);
        DropPaths(many);
    }
    ASSERT_EQ(1u, prompts.Count());
    ExpectOutOfMemory(prompts.Last(), window_.Window());
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(4096, GetPathBuffer()->capacity);

    DropPaths(many);
    EXPECT_EQ(4097u, Entries().size());
    EXPECT_EQ(4097 + 2 * 4096, GetPathBuffer()->capacity);
}

TEST_F(Drop, AFolderArrayThatCannotBeAllocatedAbandonsTheRestOfTheDrop)
{
    MakeFolderB();
    ASSERT_TRUE(WriteFileText(temp_ / "a.txt", "a"));
    ASSERT_TRUE(WriteFileText(temp_ / "c.txt", "c"));
    SendMessageA(window_.List(), LB_SETHORIZONTALEXTENT, 777, 0);
    EnableWindow(GetDlgItem(window_.Window(), 1019), FALSE);
    PromptScript prompts({IDYES});
    {
        FailingMemory memory(3);  // the three dropped paths, then the folder's array
        DropPaths({temp_ / "a.txt", temp_ / "b", temp_ / "c.txt"});
    }
    ASSERT_EQ(2u, prompts.Count());
    ExpectOutOfMemory(prompts.Last(), window_.Window());
    EXPECT_EQ(std::vector<std::string>{temp_ / "a.txt"}, Entries());
    EXPECT_EQ(777, Extent()) << "no refit";
    EXPECT_FALSE(window_.Enabled(1019)) << "no button refresh";
}

TEST_F(Drop, AFolderFileCopyThatCannotBeAllocatedKeepsWhatWasStoredAndGoesOn)
{
    MakeFolderB();
    ASSERT_TRUE(WriteFileText(temp_ / "c.txt", "c"));
    PromptScript prompts({IDYES});
    {
        FailingMemory memory(4);  // two dropped paths, the folder's array, one of its files
        DropPaths({temp_ / "b", temp_ / "c.txt"});
    }
    ASSERT_EQ(2u, prompts.Count());
    EXPECT_EQ(0u, prompts.Last().text.find("メモリーの確保に失敗しました(1) " + temp_ / "b\\"));
    EXPECT_EQ(0u, prompts.Last().icon);
    std::vector<std::string> entries = Entries();
    ASSERT_EQ(2u, entries.size());
    EXPECT_TRUE(entries[0] == temp_ / "b\\Y.txt" || entries[0] == temp_ / "b\\z.txt") << entries[0];
    EXPECT_EQ(temp_ / "c.txt", entries[1]);
    EXPECT_TRUE(window_.Enabled(1019)) << "the drop ends normally";
}

}  // namespace
