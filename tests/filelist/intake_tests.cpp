// File intake on real folders: PathBuffer, the folder walk, drops built as
// real drop handles and the folder command through the picker seam.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "failing_memory.h"
#include "filelist/folder_files.h"
#include "filelist/path_buffer.h"
#include "support/file_list_window.h"
#include "support/folder_pick_script.h"
#include "support/prompt_script.h"
#include "support/temp_folder.h"

namespace {

const char kOutOfMemory[] = "メモリーが不足しています。";

std::string LeftOut(int count)
{
    return "パス名が259バイトを超えるため、" + std::to_string(count) +
           " 件を改名（リネーム）ファイルリストに登録しませんでした。";
}

std::string Refused(int count)
{
    return "ファイル名にシフトJIS（コードページ932）で表せない文字があるか、名前の末尾がピリオドか空白のため、" +
           std::to_string(count) + " 件を改名（リネーム）ファイルリストに登録しませんでした。";
}

class Intake : public ::testing::Test {
protected:
    // Makes files, and folders for names ending in a backslash, under the
    // temporary folder; by the wide calls with the \\?\ prefix, which take
    // paths past 259 bytes and names ending in a dot or a space.
    void Make(const std::vector<std::wstring>& names)
    {
        for (const std::wstring& name : names) {
            std::wstring path = L"\\\\?\\" + Wide(temp_ / "") + name;
            if (path.back() == L'\\') {
                path.pop_back();
                ASSERT_TRUE(CreateDirectoryW(path.c_str(), NULL)) << name;
                continue;
            }
            HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            ASSERT_NE(INVALID_HANDLE_VALUE, file) << name;
            CloseHandle(file);
        }
    }
    void Make(const std::vector<std::string>& names)
    {
        for (const std::string& name : names) Make(std::vector<std::wstring>{Wide(name)});
    }
    std::vector<std::string> Paths(const std::vector<std::string>& names) const
    {
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(temp_ / name);
        return paths;
    }
    std::vector<std::string> Entries() const { return ListTexts(window_.List()); }

    FileListWindow window_;
    TempFolder temp_;
};

TEST_F(Intake, PathBufferGrowsToTheBatchPlusTwiceItsCapacityAndNeverShrinks)
{
    PathBuffer* buffer = GetPathBuffer();
    ASSERT_EQ(1, CreatePathBuffer());
    EXPECT_EQ(4096, buffer->capacity);
    const int batches[][2] = {{4096, 4096}, {5000, 5000 + 2 * 4096}, {100, 13192}, {13193, 13193 + 2 * 13192}};
    for (const auto& batch : batches) {
        ASSERT_EQ(1, BeginPathBatch(batch[0]));
        EXPECT_EQ(batch[1], buffer->capacity) << "a batch of " << batch[0];
    }
}

TEST_F(Intake, CollectFolderFilesStoresNoMoreThanItsArrayHoldsAndStopsAtAFailedCopy)
{
    Make({"a.txt", "b.txt", "c.txt", "d.txt"});
    char* slots[5] = {};
    int stored = 0;
    LeftOutCounts leftOut = {};
    CollectFolderFiles(temp_.Path().c_str(), slots, 3, &stored, &leftOut);
    EXPECT_EQ(3, stored);
    EXPECT_EQ(nullptr, slots[3]) << "stored beyond the array";
    for (char*& slot : slots) {
        free(slot);
        slot = nullptr;
    }

    PromptScript prompts;
    stored = 0;
    {
        FailingMemory memory(1);
        CollectFolderFiles(temp_.Path().c_str(), slots, 4, &stored, &leftOut);
    }
    EXPECT_EQ(1, stored) << "what was stored stays";
    ASSERT_EQ(1u, prompts.Count());
    // The message names the file whose copy failed.
    std::string start = "メモリーの確保に失敗しました(1) " + temp_.Path() + "\\";
    EXPECT_EQ(start, prompts.Last().text.substr(0, start.size()));
    EXPECT_EQ(start.size() + 5, prompts.Last().text.size()) << prompts.Last().text;
    EXPECT_EQ("システムエラー", prompts.Last().title);
    EXPECT_EQ(0u, prompts.Last().icon);
    free(slots[0]);
}

TEST_F(Intake, AFolderEndingInTrailByte5CIsSearchedUnderItsFullName)
{
    // 表 is 95 5C; cut after its lead byte, the search would find what stands beside the folder.
    Make({"資料表\\", "資料表\\x.txt", "資料表\\y.txt", "資料表a.txt"});
    std::string folder = temp_ / "資料表";
    ASSERT_EQ('\x5C', folder.back());
    for (const std::string& path : {folder, folder + "\\"}) {
        int count = 0;
        CountFolderFiles(path.c_str(), &count);
        EXPECT_EQ(2, count) << path;
        char* slots[3] = {};
        int stored = 0;
        LeftOutCounts leftOut = {};
        CollectFolderFiles(path.c_str(), slots, 3, &stored, &leftOut);
        SortPaths(slots, stored);
        EXPECT_EQ(Paths({"資料表\\x.txt", "資料表\\y.txt"}), std::vector<std::string>(slots, slots + stored)) << path;
        for (char* slot : slots) free(slot);
    }
}

TEST_F(Intake, ADropAddsFilesSortedCaseInsensitivelyWithoutAQuestion)
{
    // Letters compare as lower case, so '_' (5F) is below 'a' (61); digits
    // come before letters and double-byte names after them.
    std::vector<std::string> sorted = {"9.txt", "a.txt", "B.txt", "c.txt", "file_1.txt", "fileA.txt", "表.txt"};
    Make(sorted);
    PromptScript prompts;
    window_.Drop(Paths({"c.txt", "fileA.txt", "表.txt", "a.txt", "file_1.txt", "B.txt", "9.txt"}));
    EXPECT_EQ(Paths(sorted), Entries());
    EXPECT_EQ(0u, prompts.Count());
}

TEST_F(Intake, ADroppedFolderIsExpandedAtItsSortedPlaceOnYesAndLeftOutOnNo)
{
    Make({"a.txt", "c.txt", "b\\", "b\\z.txt", "b\\Y.txt", "b\\.profile", "b\\README", "b\\sub.d\\",
          "b\\sub.d\\deep.txt"});
    const struct {
        int answer;
        std::vector<std::string> added;
    } cases[] = {
        {IDYES, {"a.txt", "b\\.profile", "b\\Y.txt", "b\\z.txt", "c.txt"}},
        {IDNO, {"a.txt", "c.txt"}},
    };
    for (const auto& c : cases) {
        FillList(window_.List(), {"C:\\first.txt"});
        PromptScript prompts({c.answer});
        window_.Drop(Paths({"c.txt", "b", "a.txt"}));
        std::vector<std::string> expected = Paths(c.added);
        expected.insert(expected.begin(), "C:\\first.txt");
        EXPECT_EQ(expected, Entries()) << c.answer;
        ASSERT_EQ(1u, prompts.Count());
        EXPECT_EQ("「 " + temp_ / "b" + " 」はフォルダです＾＾；\r\n\r\nフォルダ配下のファイルを展開しますか？\r\n",
                  prompts.Last().text);
        EXPECT_EQ("ファイル展開確認", prompts.Last().title);
        EXPECT_EQ((UINT)MB_YESNO, prompts.Last().buttons);
        EXPECT_EQ((UINT)MB_ICONQUESTION, prompts.Last().icon);
        EXPECT_EQ(window_.Window(), prompts.Last().owner);
    }
}

TEST_F(Intake, ADroppedDriveRootIsAppendedUnchanged)
{
    PromptScript prompts;
    window_.Drop({temp_ / "missing.txt", "C:\\"});
    EXPECT_EQ((std::vector<std::string>{"C:\\", temp_ / "missing.txt"}), Entries());
    EXPECT_EQ(0u, prompts.Count()) << "not taken for a folder";
}

TEST_F(Intake, APathIsListedOnlyWhenItNamesExactlyTheDroppedOrFoundFile)
{
    // Each refused name stands beside the file its best fit or trimmed form would name.
    Make({L"cafe.txt", L"café.txt", L"price\\", L"price\\100.txt", L"price¥100.txt", L"memo", L"memo.",
          L"photo.jpg", L"photo.jpg ", L"good.txt", L"café\\", L"café\\in.txt", L"cafe\\", L"cafe\\in.txt",
          L"dir\\", L"dir\\cafe.txt", L"dir\\café.txt", L"dir\\price¥100.txt", L"dir\\memo.", L"dir\\photo.jpg ",
          L"dir\\表.txt"});
    enum How { AnsiDrop, WideDrop, FolderCommand };
    const struct {
        How how;
        std::vector<std::wstring> given, listed;  // under the temporary folder
        size_t asked;
        int tooLong, refused;
    } cases[] = {
        {WideDrop, {L"café.txt", L"price¥100.txt", L"memo.", std::wstring(300, L'm'), L"photo.jpg ", L"good.txt"},
         {L"good.txt"}, 0, 1, 4},
        {AnsiDrop, {L"memo.", L"photo.jpg ", L"good.txt"}, {L"good.txt"}, 0, 0, 2},
        {WideDrop, {L"café", L"cafe.txt"}, {L"cafe.txt"}, 0, 0, 1},
        {WideDrop, {L"dir"}, {L"dir\\cafe.txt", L"dir\\表.txt"}, 1, 0, 4},
        {FolderCommand, {L"dir"}, {L"dir\\cafe.txt", L"dir\\表.txt"}, 0, 0, 4},
        {WideDrop, {L"", L"good.txt"}, {L"good.txt"}, 0, 0, 0},
        {AnsiDrop, {L"", L"good.txt"}, {L"good.txt"}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const std::string row = std::to_string(&c - cases);
        std::vector<std::wstring> given;
        std::vector<std::string> ansi, listed, told, expected;
        for (const std::wstring& name : c.given) given.push_back(name.empty() ? name : Wide(temp_ / "") + name);
        for (const std::wstring& path : given) ansi.push_back(Ansi(path));
        for (const std::wstring& name : c.listed) listed.push_back(temp_ / Ansi(name));
        FillList(window_.List(), {});
        PromptScript prompts({}, IDYES);
        FolderPickScript picks({ansi[0]});
        if (c.how == AnsiDrop) window_.Drop(ansi);
        if (c.how == WideDrop) window_.Drop(given);
        if (c.how == FolderCommand) SendMessageA(window_.Window(), WM_COMMAND, 1022, 0);
        EXPECT_EQ(listed, Entries()) << row;
        if (c.tooLong) expected.push_back("パス名の長さ超過: " + LeftOut(c.tooLong));
        if (c.refused) expected.push_back("使えないファイル名: " + Refused(c.refused));
        for (const AskedPrompt& shown : prompts.Asked()) {
            if (shown.buttons != MB_OK) continue;
            told.push_back(shown.title + ": " + shown.text);
            EXPECT_EQ((UINT)MB_ICONERROR, shown.icon) << row;
            EXPECT_EQ(window_.Window(), shown.owner) << row;
        }
        EXPECT_EQ(expected, told) << row;
        EXPECT_EQ(c.asked + told.size(), prompts.Count()) << row << ": folders asked about";
    }
}

TEST_F(Intake, PathsPast259BytesAreLeftOutAndCountedOncePerDrop)
{
    std::string fits = "C:\\" + std::string(252, 'k') + ".txt";
    std::string tooLong = "C:\\" + std::string(253, 'l') + ".txt";
    std::string farTooLong = "C:\\" + std::string(500, 'm') + ".txt";
    // A dropped folder with one file whose full path just fits and one whose does not.
    std::string folder(180, 'f');
    std::string inside = folder + "\\" + std::string(254 - (temp_ / folder).size(), 'n') + ".txt";
    // And folders of 256 and 258 bytes: only a two-byte name fits in the first.
    std::string deep = folder + "\\" + std::string(255 - (temp_ / folder).size(), 'g'), deeper = deep + "hh";
    Make({folder + "\\", inside, folder + "\\" + std::string(100, 'p') + ".txt", deep + "\\", deep + "\\.a",
          deep + "\\b.txt", deeper + "\\", deeper + "\\c.txt"});
    ASSERT_EQ(259u, fits.size());
    ASSERT_EQ(259u, (temp_ / inside).size());
    PromptScript prompts({}, IDYES);
    window_.Drop({farTooLong, tooLong, temp_ / folder, fits, temp_ / deep, temp_ / deeper});
    EXPECT_EQ((std::vector<std::string>{fits, temp_ / inside, temp_ / deep + "\\.a"}), Entries());
    ASSERT_EQ(4u, prompts.Count());
    const AskedPrompt& told = prompts.Last();
    EXPECT_EQ(LeftOut(5), told.text);
    EXPECT_EQ("パス名の長さ超過", told.title);
    EXPECT_EQ((UINT)MB_OK, told.buttons);
    EXPECT_EQ((UINT)MB_ICONERROR, told.icon);
    EXPECT_EQ(window_.Window(), told.owner);
}

TEST_F(Intake, AnAllocationFailureEndsTheDropAndKeepsWhatWasAddedBefore)
{
    Make({"a.txt", "c.txt", "b\\", "b\\x.txt"});
    std::vector<std::string> many;  // more than PathBuffer's first 4096 slots
    for (int i = 0; i < 4097; i++) many.push_back(temp_ / ("m" + std::to_string(i) + ".txt"));
    const struct {
        const char* name;
        int successes;  // allocations that succeed before the failing one
        std::vector<std::string> dropped;
        size_t kept;   // of the drop's entries, in sorted order
        size_t whole;  // entries the drop adds when memory suffices
    } cases[] = {
        {"PathBuffer cannot grow", 0, many, 0, 4097},
        {"a path's copy", 1, Paths({"c.txt", "a.txt"}), 0, 2},
        {"a folder's array", 3, Paths({"c.txt", "b", "a.txt"}), 1, 3},  // after the three copies
    };
    for (const auto& c : cases) {
        FillList(window_.List(), {"C:\\before.txt"});
        SendMessageA(window_.List(), LB_SETHORIZONTALEXTENT, 777, 0);
        PromptScript prompts({}, IDYES);
        {
            FailingMemory memory(c.successes);
            window_.Drop(c.dropped);
        }
        ASSERT_LE(1u, prompts.Count()) << c.name;
        EXPECT_EQ(kOutOfMemory, prompts.Last().text) << c.name;
        EXPECT_EQ("システムエラー", prompts.Last().title) << c.name;
        EXPECT_EQ((UINT)MB_ICONERROR, prompts.Last().icon) << c.name;
        EXPECT_EQ(window_.Window(), prompts.Last().owner) << c.name;
        std::vector<std::string> kept = {"C:\\before.txt", temp_ / "a.txt"};
        kept.resize(1 + c.kept);
        EXPECT_EQ(kept, Entries()) << c.name;
        EXPECT_EQ(777, SendMessageA(window_.List(), LB_GETHORIZONTALEXTENT, 0, 0)) << c.name << ": not refitted";
        // Nothing was left half done: the same drop then goes through whole.
        window_.Drop(c.dropped);
        EXPECT_EQ(kept.size() + c.whole, Entries().size()) << c.name;
    }
}

WNDPROC g_listBox;
int g_listRoom;

LRESULT CALLBACK ListWithRoomForOne(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LB_ADDSTRING && g_listRoom-- <= 0) return LB_ERRSPACE;
    return CallWindowProcA(g_listBox, list, message, wParam, lParam);
}

TEST_F(Intake, TheFolderCommandAddsWithoutAQuestionAndKeepsTheChosenFolder)
{
    std::string tooLong = "pick\\" + std::string(240, 'l') + ".txt";
    Make({"pick\\", "pick\\c.txt", "pick\\a.txt", "pick\\B.txt", "pick\\README", "pick\\sub\\", tooLong});
    AppState* state = GetAppState();
    strcpy(state->outputFolder, "C:\\before");
    FolderPickScript picks({temp_ / "pick", temp_ / "pick"});
    PromptScript prompts;
    // Without any array PathBuffer cannot take the batch.
    ReleasePathBuffer();
    {
        FailingMemory memory(0);
        SendMessageA(window_.Window(), WM_COMMAND, 1022, 0);
    }
    ASSERT_EQ(1u, prompts.Count());
    EXPECT_EQ(kOutOfMemory, prompts.Last().text);
    EXPECT_TRUE(Entries().empty());

    window_.SetAllButtons(FALSE);
    EXPECT_EQ(0, SendMessageA(window_.Window(), WM_COMMAND, 1022, 0));
    EXPECT_EQ(Paths({"pick\\a.txt", "pick\\B.txt", "pick\\c.txt"}), Entries());
    EXPECT_EQ((std::vector<int>{1019, 1010}), window_.EnabledButtons()) << "refreshed";
    ASSERT_EQ(2u, prompts.Count()) << "no question";
    EXPECT_EQ(LeftOut(1), prompts.Last().text);
    const std::vector<AskedPick>& asked = picks.Asked();
    ASSERT_EQ(2u, asked.size());
    EXPECT_EQ(window_.Window(), asked[0].owner);
    EXPECT_EQ(state->outputFolder, asked[0].buffer);
    EXPECT_EQ("C:\\before", asked[0].before);
    EXPECT_EQ("指定したフォルダ以下のファイルを改名（リネーム）ファイルリストに登録します。", asked[0].title);
    EXPECT_EQ(temp_ / "pick", asked[1].before) << "the next pick opens on the chosen folder";
    EXPECT_EQ(temp_ / "pick", state->outputFolder);

    // A list box with room for one more entry: what it took shows in the buttons.
    FillList(window_.List(), {});
    window_.SetAllButtons(FALSE);
    picks.Answer(temp_ / "pick");
    g_listBox = state->fileListProc;
    state->fileListProc = ListWithRoomForOne;
    g_listRoom = 1;
    SendMessageA(window_.Window(), WM_COMMAND, 1022, 0);
    state->fileListProc = g_listBox;
    EXPECT_EQ(Paths({"pick\\a.txt"}), Entries());
    EXPECT_EQ((std::vector<int>{1019, 1010}), window_.EnabledButtons());
    state->outputFolder[0] = 0;
}

}  // namespace
