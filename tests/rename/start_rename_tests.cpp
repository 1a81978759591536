// The start command: its checks in their order, the confirmation, the
// please-wait window and what a completed or cancelled run leaves behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "rename/rename_run.h"
#include "rename_fixture.h"
#include "support/prompt_script.h"

namespace {

const char kFolderMessage[] =
    "システムで有効なフォルダを選択してください。\n\n"
    "｢リネーム＋移動｣ 、｢リネーム＋コピー｣の場合は、フォルダを指定する必要があります。";
const char kFolderTitle[] = "無効なフォルダを選択しています。";
const char kEmptyListMessage[] =
    "改名（リネーム）するファイルをファイルリストにドラッグ＆ドロップしてください♪";
const char kEmptyListTitle[] = "改名ファイルリストが空です。";
const char kInvalidNameMessage[] = "ファイル名には次の文字は使えません。\r\n\\ / : , ; * ?  < > |";
const char kInvalidNameTitle[] = "無効なファイル名";
const char kConfirmationHeader[] =
    "以下の条件で、改名（リネーム）を開始します。よろしいですか？\r\n\r\n";
const char kConfirmationTitle[] = "改名（リネーム）の開始確認";

// The main window's start button, so that the refresh after a run shows.
const int kStartButton = 1019;

class StartRenameTest : public RenameTest {
protected:
    StartRenameTest()
    {
        startButton = CreateWindowExA(0, "BUTTON", "変換開始", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20,
                                      controls.Window(), (HMENU)(INT_PTR)kStartButton,
                                      GetModuleHandleA(NULL), NULL);
    }

    // Focus lands only in a shown, active window. (Wine takes two seconds to
    // hide a shown window in a display without a window manager, so only the
    // tests that look at the focus show it.)
    void ShowControls()
    {
        ShowWindow(controls.Window(), SW_SHOW);
        SetForegroundWindow(controls.Window());
    }

    // Whether all of an edit's text is selected.
    static bool AllSelected(HWND edit)
    {
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        return start == 0 && end == (DWORD)GetWindowTextLengthA(edit);
    }

    HWND startButton;
    PauseRecorder pauses;
};

enum Control { OutputFolderEdit, FileList, ExtensionEdit, PrefixEdit, SuffixEdit, NoFocusCheck };

struct CheckCase {
    const char* name;
    int operation;
    int extensionMode;
    const char* outputFolder;  // "<dir>" is the test's own folder
    bool withFile;
    const char* extension;
    const char* prefix;
    const char* suffix;
    bool disablePrefix;
    const char* message;
    const char* title;
    bool owned;  // by the main window; the name checks have no owner
    Control focus;
};

TEST_F(StartRenameTest, EachCheckStopsTheStartWithItsMessageAndFocus)
{
    const CheckCase cases[] = {
        {"move without a folder", RenameMove, Keep, "", true, "", "Sample", "", false,
         kFolderMessage, kFolderTitle, true, OutputFolderEdit},
        {"copy to a missing folder", RenameCopy, Keep, "<dir>\\missing", true, "", "Sample", "", false,
         kFolderMessage, kFolderTitle, true, OutputFolderEdit},
        {"folder with a trailing backslash", RenameMove, Keep, "<dir>\\", true, "", "Sample", "",
         false, kFolderMessage, kFolderTitle, true, OutputFolderEdit},
        {"folder check comes before the list", RenameCopy, Keep, "", false, "", "Sample", "", false,
         kFolderMessage, kFolderTitle, true, OutputFolderEdit},
        {"rename only ignores the folder", RenameOnly, Keep, "<dir>\\missing", false, "", "Sample", "",
         false, kEmptyListMessage, kEmptyListTitle, true, FileList},
        {"empty list", RenameMove, Keep, "<dir>", false, "p*g", "a:b", "", false, kEmptyListMessage,
         kEmptyListTitle, true, FileList},
        {"specified extension", RenameOnly, Specified, "", true, "p*g", "a:b", "c|d", false,
         kInvalidNameMessage, kInvalidNameTitle, false, ExtensionEdit},
        {"extension not looked at unless specified", RenameOnly, Lower, "", true, "p*g", "Sample",
         "c|d", false, kInvalidNameMessage, kInvalidNameTitle, false, SuffixEdit},
        {"prefix", RenameOnly, Specified, "", true, "png", "a:b", "c|d", false, kInvalidNameMessage,
         kInvalidNameTitle, false, PrefixEdit},
        {"comma in the prefix", RenameMove, Keep, "<dir>", true, "", "a,b", "", false,
         kInvalidNameMessage, kInvalidNameTitle, false, PrefixEdit},
        {"suffix", ExtensionOnly, Upper, "", true, "", "Sample", "x?", false, kInvalidNameMessage,
         kInvalidNameTitle, false, SuffixEdit},
        // The prefix plays no part in ExtensionOnly names and its edit is
        // disabled, yet a forbidden character in it still stops the start.
        {"disabled prefix under extension only", ExtensionOnly, Keep, "", true, "", "a*b", "", true,
         kInvalidNameMessage, kInvalidNameTitle, false, NoFocusCheck},
    };
    ShowControls();
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        std::string file = MakeFile("IMG_0001.JPG", "photo");
        std::string outputFolder = c.outputFolder;
        if (outputFolder.compare(0, 5, "<dir>") == 0) outputFolder = folder.Path() + outputFolder.substr(5);
        SetOperation(c.operation, c.extensionMode, "", "");
        SetWindowTextA(state->outputFolderEdit, outputFolder.c_str());
        SetWindowTextA(state->extensionEdit, c.extension);
        SetPattern(c.prefix, "1", 3, c.suffix);
        EnableWindow(state->prefixEdit, c.disablePrefix ? FALSE : TRUE);
        if (c.withFile) AddEntries({file});
        std::vector<std::string> entriesBefore = ListEntries();
        SetFocus(state->startNumberEdit);

        PromptScript script({}, IDYES);
        StartRename();

        ASSERT_EQ(1u, script.Count()) << "the start stops at the first failed check";
        const AskedPrompt& asked = script.Last();
        EXPECT_EQ(c.message, asked.text);
        EXPECT_EQ(c.title, asked.title);
        EXPECT_EQ((UINT)MB_OK, asked.buttons);
        EXPECT_EQ((UINT)MB_ICONERROR, asked.icon);
        EXPECT_EQ(c.owned ? controls.Window() : NULL, asked.owner);
        EXPECT_EQ(outputFolder, state->outputFolder) << "the edit is copied before any check";

        HWND focusControls[] = {state->outputFolderEdit, state->fileList, state->extensionEdit,
                                state->prefixEdit, state->suffixEdit};
        if (c.focus != NoFocusCheck) {
            HWND expected = focusControls[c.focus];
            EXPECT_EQ(expected, GetFocus());
            if (c.focus != FileList) {
                EXPECT_TRUE(AllSelected(expected));
            }
        }
        if (c.disablePrefix) {
            EXPECT_TRUE(AllSelected(state->prefixEdit));
        }

        EXPECT_TRUE(FileExists(file)) << "nothing renamed";
        EXPECT_EQ(entriesBefore, ListEntries());
        EXPECT_TRUE(pauses.Pauses().empty());
        EnableWindow(state->prefixEdit, TRUE);
    }
}

TEST_F(StartRenameTest, CopiesTheNamePartsIntoTheStateWithoutHalfCharacters)
{
    std::string file = MakeFile("IMG_0001.JPG", "photo");
    AddEntries({file});
    // 31 bytes and then a double-byte character: the 32-byte reads stop
    // before it, the 256-byte read of the extension likewise.
    std::string prefix = std::string(31, 'p') + "表";
    std::string suffix = std::string(31, 's') + "能";
    std::string extension = std::string(255, 'e') + "ソ";
    SetPattern(prefix.c_str(), "1", 3, suffix.c_str());
    SetOperation(RenameOnly, Specified, "", extension.c_str());

    PromptScript script({IDNO});
    StartRename();

    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(kConfirmationTitle, script.Last().title);
    EXPECT_EQ(std::string(31, 'p'), state->prefix);
    EXPECT_EQ(std::string(31, 's'), state->suffix);
    EXPECT_EQ(std::string(255, 'e'), state->replacementExtension);
    EXPECT_TRUE(FileExists(file)) << "No at the confirmation renames nothing";
}

TEST_F(StartRenameTest, RunUsesTheNamePartsCutByWholeCharacters)
{
    std::string file = MakeFile("IMG_0001.JPG", "photo");
    AddEntries({file});
    std::string prefix = std::string(31, 'p') + "表";
    SetPattern(prefix.c_str(), "1", 3, "写真");
    SetOperation(RenameOnly, Keep);

    PromptScript script({IDYES});
    StartRename();

    std::string renamed = std::string(31, 'p') + "0001写真.JPG";
    EXPECT_EQ(std::vector<std::string>{renamed}, Names());
    EXPECT_EQ("photo", ReadFileText(PathOf(renamed)));
}

struct ConfirmationCase {
    std::string preview;
    std::string shown;  // what follows the header
};

TEST_F(StartRenameTest, ConfirmationShowsThePreviewEditCutTo388Bytes)
{
    std::string header = kConfirmationHeader;
    ASSERT_EQ(64u, header.size());
    std::string twoByte;
    for (int i = 0; i < 200; i++) twoByte += "表";
    const ConfirmationCase cases[] = {
        {"変換書式 ==> Sample0001.拡張子", "変換書式 ==> Sample0001.拡張子"},
        // The preview is not rebuilt: whatever the edit shows is shown.
        {"stale text", "stale text"},
        {std::string(324, 'x'), std::string(324, 'x')},
        {std::string(400, 'x'), std::string(324, 'x')},
        // 324 bytes are free: 162 whole double-byte characters.
        {twoByte, twoByte.substr(0, 324)},
        {"x" + twoByte, "x" + twoByte.substr(0, 322)},
    };
    std::string file = MakeFile("IMG_0001.JPG", "photo");
    AddEntries({file});
    for (const ConfirmationCase& c : cases) {
        SetWindowTextA(state->previewEdit, c.preview.c_str());
        PromptScript script({IDNO});
        StartRename();
        ASSERT_EQ(1u, script.Count());
        const AskedPrompt& asked = script.Last();
        EXPECT_EQ(header + c.shown, asked.text);
        EXPECT_LE(asked.text.size(), 388u);
        EXPECT_EQ(kConfirmationTitle, asked.title);
        EXPECT_EQ((UINT)MB_YESNO, asked.buttons);
        EXPECT_EQ((UINT)MB_ICONQUESTION, asked.icon);
        EXPECT_EQ(controls.Window(), asked.owner);
        EXPECT_EQ(1u, ListEntries().size());
        EXPECT_TRUE(FileExists(file));
    }
    EXPECT_TRUE(pauses.Pauses().empty());
    EXPECT_EQ(NULL, FindWindowA(NULL, "Now Renaming !!")) << "no please-wait window after No";
}

// What the pause sees: the please-wait window on screen and the wait cursor.
struct DuringPause {
    HWND window = NULL;
    bool visible = false;
    HWND owner = (HWND)1;
    std::string className;
    HCURSOR cursor = NULL;
    int listCount = -1;
    bool startEnabled = true;
    HWND fileList = NULL;
    HWND startButton = NULL;
};

void LookAtPleaseWait(void* context)
{
    DuringPause* seen = (DuringPause*)context;
    seen->window = FindWindowA(NULL, "Now Renaming !!");
    if (seen->window) {
        seen->visible = IsWindowVisible(seen->window) != 0;
        seen->owner = GetWindow(seen->window, GW_OWNER);
        char name[64] = "";
        GetClassNameA(seen->window, name, sizeof name);
        seen->className = name;
    }
    seen->cursor = GetCursor();
    seen->listCount = (int)SendMessageA(seen->fileList, LB_GETCOUNT, 0, 0);
    seen->startEnabled = IsWindowEnabled(seen->startButton) != 0;
}

TEST_F(StartRenameTest, CompletedRunEmptiesTheListAndPausesWithThePleaseWaitWindowUp)
{
    std::vector<std::string> files = {MakeFile("b.jpg", "B"), MakeFile("a.jpg", "A")};
    AddEntries(files);
    EnableWindow(startButton, TRUE);
    DuringPause seen;
    seen.fileList = state->fileList;
    seen.startButton = startButton;
    pauses.during = LookAtPleaseWait;
    pauses.context = &seen;
    HCURSOR before = LoadCursorA(NULL, IDC_ARROW);
    SetCursor(before);

    PromptScript script({IDYES});
    StartRename();

    ASSERT_EQ(1u, script.Count()) << "only the confirmation";
    EXPECT_EQ(std::vector<std::string>({"Sample0001.jpg", "Sample0002.jpg"}), Names());
    EXPECT_EQ("B", ReadFileText(PathOf("Sample0001.jpg"))) << "list order, not name order";
    EXPECT_EQ("A", ReadFileText(PathOf("Sample0002.jpg")));
    EXPECT_EQ(std::vector<DWORD>{3000}, pauses.Pauses());
    ASSERT_NE(nullptr, (void*)seen.window) << "the please-wait window stands during the pause";
    EXPECT_TRUE(seen.visible);
    EXPECT_EQ(NULL, seen.owner);
    EXPECT_EQ("#32770", seen.className);
    EXPECT_EQ(LoadCursorA(NULL, IDC_WAIT), seen.cursor);
    EXPECT_EQ(0, seen.listCount) << "the list is emptied before the pause";
    EXPECT_FALSE(seen.startEnabled) << "the buttons are refreshed before the pause";
    EXPECT_EQ(NULL, FindWindowA(NULL, "Now Renaming !!")) << "destroyed afterwards";
    EXPECT_EQ(before, GetCursor()) << "the cursor is restored";
    EXPECT_TRUE(ListEntries().empty());
}

struct CancelCase {
    std::vector<int> answers;
    std::vector<std::string> names;  // in the folder afterwards
};

TEST_F(StartRenameTest, CancelAtTheThirdQuestionKeepsWhatWasDoneAndTheWholeList)
{
    // Each of the first three new names is taken by a file outside the run.
    std::vector<std::string> files = {MakeFile("a.txt", "A"), MakeFile("b.txt", "B"),
                                      MakeFile("c.txt", "C"), MakeFile("d.txt", "D")};
    MakeFile("Sample0001.txt", "old1");
    MakeFile("Sample0002.txt", "old2");
    MakeFile("Sample0003.txt", "old3");
    AddEntries(files);
    DuringPause seen;
    pauses.during = LookAtPleaseWait;
    pauses.context = &seen;

    PromptScript script({IDYES, IDYES, IDYES, IDCANCEL});
    StartRename();

    ASSERT_EQ(4u, script.Count()) << "the confirmation and three questions";
    EXPECT_EQ("ファイルの上書き確認(" + files[2] + ")", script.Last().title);
    EXPECT_EQ("A", ReadFileText(PathOf("Sample0001.txt")));
    EXPECT_EQ("B", ReadFileText(PathOf("Sample0002.txt")));
    EXPECT_EQ("old3", ReadFileText(PathOf("Sample0003.txt")));
    EXPECT_EQ("C", ReadFileText(files[2]));
    EXPECT_EQ("D", ReadFileText(files[3]));
    EXPECT_FALSE(FileExists(files[0]));
    EXPECT_EQ(files, ListEntries()) << "the list keeps every entry, the renamed ones too";
    EXPECT_TRUE(pauses.Pauses().empty()) << "no pause after a cancelled run";
    EXPECT_EQ(NULL, FindWindowA(NULL, "Now Renaming !!"));
    EXPECT_EQ(std::vector<std::string>({"Sample0001.txt", "Sample0002.txt", "Sample0003.txt",
                                        "c.txt", "d.txt"}),
              Names());
}

TEST_F(StartRenameTest, FailuresAreListedBeforeTheListIsEmptied)
{
    std::vector<std::string> files = {MakeFile("a.txt", "A"), PathOf("gone.txt"), MakeFile("c.txt", "C")};
    AddEntries(files);

    PromptScript script({IDYES});
    StartRename();

    ASSERT_EQ(2u, script.Count());
    EXPECT_EQ(FailureListText({FailureLine(files[1], ERROR_FILE_NOT_FOUND)}), script.Last().text);
    EXPECT_EQ("改名（リネーム）できなかったファイル", script.Last().title);
    EXPECT_EQ((UINT)MB_ICONERROR, script.Last().icon);
    EXPECT_EQ(controls.Window(), script.Last().owner);
    EXPECT_TRUE(ListEntries().empty()) << "a completed run empties the list";
    EXPECT_EQ(std::vector<DWORD>{3000}, pauses.Pauses());
    EXPECT_EQ(std::vector<std::string>({"Sample0001.txt", "Sample0003.txt"}), Names());
}

}  // namespace
