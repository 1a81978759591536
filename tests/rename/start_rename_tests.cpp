// The start command: its checks in their order, the confirmation, the
// please-wait window and what a completed or cancelled run leaves behind.

#include "rename/rename_run.h"
#include "rename_fixture.h"
#include "res/main_window_res.h"

namespace {

const char kWaitCaption[] = "Now Renaming !!";
// Text and title of each message that stops the start.
const char* const kFolder[] = {
    "システムで有効なフォルダを選択してください。\n\n"
    "｢リネーム＋移動｣ 、｢リネーム＋コピー｣の場合は、フォルダを指定する必要があります。",
    "無効なフォルダを選択しています。"};
const char* const kEmptyList[] = {
    "改名（リネーム）するファイルをファイルリストにドラッグ＆ドロップしてください♪",
    "改名ファイルリストが空です。"};
const char* const kInvalidName[] = {"ファイル名には次の文字は使えません。\r\n\\ / : , ; * ?  < > |",
                                    "無効なファイル名"};

class StartRenameTest : public RenameTest {
protected:
    StartRenameTest()
    {
        startButton = CreateWindowExA(0, "BUTTON", "変換開始", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20,
                                      controls.Window(), (HMENU)(INT_PTR)IDC_START, NULL, NULL);
        file = folder / "IMG_0001.JPG";
        EXPECT_TRUE(WriteFileText(file, "photo"));
        SetEntries({file});
    }

    // Template 107 stands without owner, with the wait cursor, once the list
    // is emptied and the buttons are refreshed.
    void DuringPause() override
    {
        HWND wait = FindWindowA(NULL, kWaitCaption);
        ASSERT_TRUE(wait && IsWindowVisible(wait));
        EXPECT_EQ(NULL, GetWindow(wait, GW_OWNER));
        EXPECT_EQ("只今、処理をしています。しばらく、お待ちください。。", WindowText(GetWindow(wait, GW_CHILD)));
        EXPECT_EQ(LoadCursorA(NULL, IDC_WAIT), GetCursor());
        EXPECT_EQ(0, (int)SendMessageA(state->fileList, LB_GETCOUNT, 0, 0));
        EXPECT_FALSE(IsWindowEnabled(startButton));
    }

    HWND startButton;
    std::string file;
};

struct CheckCase {
    int operation, extensionMode;
    const char* outputFolder;  // "<dir>" is the test's own folder
    bool withFile;
    const char *extension, *prefix, *suffix;
    const char* const* message;
    HWND AppState::*focus;  // null: the disabled prefix edit, which cannot take it
};

TEST_F(StartRenameTest, EachCheckStopsTheStartWithItsMessageAndFocus)
{
    HWND AppState::*const folderEdit = &AppState::outputFolderEdit;
    // In their order: the output folder (move and copy only), the list, the
    // extension (when specified), the prefix, the suffix.
    const CheckCase cases[] = {
        {RenameCopy, Keep, "<dir>\\missing", 1, "", "Sample", "", kFolder, folderEdit},
        {RenameMove, Keep, "<dir>\\", 1, "", "Sample", "", kFolder, folderEdit},
        {RenameCopy, Keep, "", 0, "", "Sample", "", kFolder, folderEdit},
        {RenameOnly, Keep, "<dir>\\missing", 0, "", "Sample", "", kEmptyList, &AppState::fileList},
        {RenameMove, Keep, "<dir>", 0, "p*g", "a:b", "", kEmptyList, &AppState::fileList},
        {RenameOnly, Specified, "", 1, "p*g", "a:b", "c|d", kInvalidName, &AppState::extensionEdit},
        {RenameOnly, Specified, "", 1, "png", "a:b", "c|d", kInvalidName, &AppState::prefixEdit},
        {RenameOnly, Lower, "", 1, "p*g", "Sample", "c|d", kInvalidName, &AppState::suffixEdit},
        // The prefix plays no part in ExtensionOnly names and its edit is
        // disabled, yet a forbidden character in it still stops the start.
        {ExtensionOnly, Keep, "", 1, "", "a*b", "", kInvalidName, nullptr},
    };
    // Focus lands only in a shown, active window.
    ShowWindow(controls.Window(), SW_SHOW);
    SetForegroundWindow(controls.Window());
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(&c - cases);
        std::string outputFolder = c.outputFolder;
        if (outputFolder.compare(0, 5, "<dir>") == 0) outputFolder = folder.Path() + outputFolder.substr(5);
        SetOperation(c.operation, c.extensionMode);
        SetWindowTextA(state->outputFolderEdit, outputFolder.c_str());
        SetWindowTextA(state->extensionEdit, c.extension);
        SetPattern(c.prefix, "1", 3, c.suffix);
        EnableWindow(state->prefixEdit, c.focus != nullptr);
        SetEntries(c.withFile ? Strings{file} : Strings{});
        SetFocus(state->startNumberEdit);

        PromptScript script({}, IDYES);
        StartRename();

        ASSERT_EQ(1u, script.Count()) << "the start stops at the first failed check";
        EXPECT_EQ(c.message[0], script.Last().text);
        EXPECT_EQ(c.message[1], script.Last().title);
        EXPECT_EQ((UINT)MB_OK | MB_ICONERROR, script.Last().buttons | script.Last().icon);
        // The name checks' message has no owner.
        EXPECT_EQ(c.message == kInvalidName ? NULL : controls.Window(), script.Last().owner);
        EXPECT_EQ(outputFolder, state->outputFolder) << "the edit is copied before any check";
        HWND edit = c.focus ? state->*c.focus : state->prefixEdit;
        if (c.focus) { EXPECT_EQ(edit, GetFocus()); }
        DWORD start = 1, end = 0;
        SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        if (edit != state->fileList) { EXPECT_TRUE(start == 0 && end == (DWORD)GetWindowTextLengthA(edit)); }
        EXPECT_EQ("photo", ReadFileText(file)) << "nothing renamed";
    }
}

TEST_F(StartRenameTest, NamePartsAreReadWithoutHalfCharacters)
{
    // A double-byte character that does not fit whole into the 32-byte reads
    // of the prefix and suffix or the 256-byte read of the extension.
    SetPattern((std::string(31, 'p') + "表").c_str(), "1", 3, (std::string(31, 's') + "能").c_str());
    SetOperation(RenameOnly, Specified, "", (std::string(255, 'e') + "ソ").c_str());
    PromptScript script({IDNO});
    StartRename();
    ASSERT_EQ(1u, script.Count()) << "every check passed";
    EXPECT_EQ(std::string(31, 'p'), state->prefix);
    EXPECT_EQ(std::string(31, 's'), state->suffix);
    EXPECT_EQ(std::string(255, 'e'), state->replacementExtension);
}

TEST_F(StartRenameTest, ConfirmationShowsThePreviewEditCutTo388Bytes)
{
    std::string twoByte;
    for (int i = 0; i < 200; i++) twoByte += "表";
    // 388 bytes less the 64 of the header leave 324 for the preview.
    const std::string cases[][2] = {
        {"変換書式 ==> Sample0001.拡張子", "変換書式 ==> Sample0001.拡張子"},
        {std::string(324, 'x'), std::string(324, 'x')},
        {std::string(400, 'x'), std::string(324, 'x')},
        {twoByte, twoByte.substr(0, 324)},
        {"x" + twoByte, "x" + twoByte.substr(0, 322)},  // no half character
    };
    for (const auto& c : cases) {
        SetWindowTextA(state->previewEdit, c[0].c_str());
        PromptScript script({IDNO});
        StartRename();
        ASSERT_EQ(1u, script.Count());
        EXPECT_EQ("以下の条件で、改名（リネーム）を開始します。よろしいですか？\r\n\r\n" + c[1],
                  script.Last().text);
        EXPECT_EQ("改名（リネーム）の開始確認", script.Last().title);
        EXPECT_EQ((UINT)MB_YESNO | MB_ICONQUESTION, script.Last().buttons | script.Last().icon);
        EXPECT_EQ(controls.Window(), script.Last().owner);
    }
    EXPECT_EQ(Strings{file}, ListEntries()) << "No renames nothing";
    EXPECT_EQ("photo", ReadFileText(file));
    EXPECT_TRUE(pauses.empty());
}

TEST_F(StartRenameTest, CompletedRunListsFailuresEmptiesTheListAndPausesWithThePleaseWaitWindowUp)
{
    MakeFiles(folder.Path(), {"b.jpg=B", "a.jpg=A"});
    Strings files = {folder / "b.jpg", folder / "gone.jpg", folder / "a.jpg"};
    SetEntries(files);
    EnableWindow(startButton, TRUE);
    HCURSOR before = LoadCursorA(NULL, IDC_ARROW);
    SetCursor(before);

    PromptScript script({IDYES});
    StartRename();

    ASSERT_EQ(2u, script.Count()) << "the confirmation and the failure list";
    EXPECT_EQ(FailureListText({FailureLine(files[1], ERROR_FILE_NOT_FOUND)}), script.Last().text);
    EXPECT_EQ("改名（リネーム）できなかったファイル", script.Last().title);
    EXPECT_EQ((UINT)MB_OK | MB_ICONERROR, script.Last().buttons | script.Last().icon);
    EXPECT_EQ(controls.Window(), script.Last().owner);
    EXPECT_EQ(Strings({"IMG_0001.JPG=photo", "Sample0001.jpg=B", "Sample0003.jpg=A"}),
              FolderContents(folder.Path()))
        << "numbered by list position";
    EXPECT_EQ(std::vector<DWORD>{3000}, pauses);
    EXPECT_EQ(NULL, FindWindowA(NULL, kWaitCaption)) << "destroyed after the pause";
    EXPECT_EQ(before, GetCursor());
    EXPECT_TRUE(ListEntries().empty());
}

TEST_F(StartRenameTest, CancelAtTheThirdQuestionKeepsWhatWasDoneAndTheWholeList)
{
    // Each of the first three new names is taken by a file outside the run.
    TempFolder work;
    MakeFiles(work.Path(), {"a.txt=A", "b.txt=B", "c.txt=C", "d.txt=D", "Sample0001.txt=old1",
                            "Sample0002.txt=old2", "Sample0003.txt=old3"});
    Strings files = {work / "a.txt", work / "b.txt", work / "c.txt", work / "d.txt"};
    SetEntries(files);

    PromptScript script({IDYES, IDYES, IDYES, IDCANCEL});
    StartRename();

    ASSERT_EQ(4u, script.Count()) << "the confirmation and three questions";
    EXPECT_EQ("ファイルの上書き確認(" + files[2] + ")", script.Last().title);
    EXPECT_EQ(Strings({"Sample0001.txt=A", "Sample0002.txt=B", "Sample0003.txt=old3", "c.txt=C", "d.txt=D"}),
              FolderContents(work.Path()));
    EXPECT_EQ(files, ListEntries()) << "the list keeps every entry, the renamed ones too";
    EXPECT_TRUE(pauses.empty()) << "no pause after a cancelled run";
    EXPECT_EQ(NULL, FindWindowA(NULL, kWaitCaption));
}

}  // namespace
