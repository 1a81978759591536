// The start command on the real main window: its checks in their order, the
// confirmation, the please-wait window, and what a drop or a close request
// that arrives while a question is open does.
#include "core/file_modes.h"
#include "core/settings.h"
#include "res/main_window_res.h"
#include "support/tovik_test.h"

namespace {

const char kWaitCaption[] = "Now Renaming !!";

class StartRename : public TovikTest {
protected:
    StartRename()
    {
        Open();
        Make({"IMG_0001.JPG=photo"});
    }
    // What the user does in the edits, without a key release.
    void Set(int id, const std::string& text) { SetWindowTextA(Control(id), text.c_str()); }
    void Choose(int comboId, int index)
    {
        SendMessageA(Control(comboId), CB_SETCURSEL, (WPARAM)index, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELENDOK), (LPARAM)Control(comboId));
    }
    void Fill(const Strings& entries)
    {
        SendMessageA(Control(IDC_FILE_LIST), LB_RESETCONTENT, 0, 0);
        for (const std::string& entry : entries)
            SendMessageA(Control(IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)Path(entry).c_str());
    }
    void Start() { SendMessageA(window, WM_COMMAND, IDC_START, (LPARAM)Control(IDC_START)); }
    Shown Confirmation(const std::string& pattern)
    {
        return Question(window,
                        "以下の条件で、改名（リネーム）を開始します。よろしいですか？\r\n\r\n"
                        "ファイル命名前置詞 + 連番書式 + ファイル命名後置詞 + .拡張子(例 hoge001.jpg)\r\n\r\n"
                        "変換書式 ==> " + pattern + ".拡張子",
                        "改名（リネーム）の開始確認");
    }
};

struct Check {
    int operation, mode;
    const char* output;  // "<w>" stands for the test's folder
    bool listed;
    const char *extension, *prefix, *suffix;
    int message;  // 0 folder, 1 empty list, 2 name part
    int focus;    // the control that has the focus afterwards
};

TEST_F(StartRename, EachCheckStopsTheStartWithItsMessageAndFocus)
{
    const Shown messages[] = {
        Error(window,
              "システムで有効なフォルダを選択してください。\n\n"
              "｢リネーム＋移動｣ 、｢リネーム＋コピー｣の場合は、フォルダを指定する必要があります。",
              "無効なフォルダを選択しています。"),
        Error(window, "改名（リネーム）するファイルをファイルリストにドラッグ＆ドロップしてください♪",
              "改名ファイルリストが空です。"),
        Error(NULL, "ファイル名には次の文字は使えません。\r\n\\ / : , ; * ?  < > |", "無効なファイル名"),
    };
    // In their order: the output folder (move and copy only), the list, the
    // extension (when specified), the prefix, the suffix.
    const Check rows[] = {
        {RenameCopy, Keep, "<w>\\missing", true, "", "Sample", "", 0, IDC_OUTPUT_FOLDER_EDIT},
        {RenameMove, Keep, "<w>\\fo*", true, "", "Sample", "", 0, IDC_OUTPUT_FOLDER_EDIT},
        {RenameMove, Keep, "<w>\\folder.", true, "", "Sample", "", 0, IDC_OUTPUT_FOLDER_EDIT},
        {RenameCopy, Keep, "", true, "", "Sample", "", 0, IDC_OUTPUT_FOLDER_EDIT},
        // A folder with a final backslash, and a drive root, are folders.
        {RenameMove, Keep, "<w>\\", false, "", "Sample", "", 1, IDC_FILE_LIST},
        {RenameMove, Keep, "C:\\", false, "", "Sample", "", 1, IDC_FILE_LIST},
        {RenameOnly, Keep, "<w>\\missing", false, "", "Sample", "", 1, IDC_FILE_LIST},
        {RenameOnly, Specified, "", true, "p*g", "a:b", "c|d", 2, IDC_EXTENSION_EDIT},
        {RenameOnly, Specified, "", true, "png", "a:b", "c|d", 2, IDC_PREFIX_EDIT},
        {RenameOnly, Lower, "", true, "p*g", "Sample", "c|d", 2, IDC_SUFFIX_EDIT},
        // The prefix plays no part in ExtensionOnly names, yet stops the start.
        {ExtensionOnly, Keep, "", true, "", "a*b", "", 2, IDC_PREFIX_EDIT},
    };
    Make({"folder\\"});
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    for (const Check& c : rows) {
        SCOPED_TRACE(&c - rows);
        std::string output = c.output;
        if (output.compare(0, 3, "<w>") == 0) output = work + output.substr(3);
        Choose(IDC_OPERATION_COMBO, c.operation);
        Choose(IDC_EXTENSION_COMBO, c.mode);
        Set(IDC_OUTPUT_FOLDER_EDIT, output);
        Set(IDC_EXTENSION_EDIT, c.extension);
        Set(IDC_PREFIX_EDIT, c.prefix);
        Set(IDC_SUFFIX_EDIT, c.suffix);
        Fill(c.listed ? Strings{"IMG_0001.JPG"} : Strings{});
        SetFocus(Control(IDC_START_NUMBER_EDIT));
        shown.clear();
        fallback = IDYES;

        Start();

        EXPECT_EQ(std::vector<Shown>{messages[c.message]}, shown);
        HWND focus = Control(c.focus);
        if (IsWindowEnabled(focus)) { EXPECT_EQ(focus, GetFocus()); }
        DWORD start = 1, end = 0;
        SendMessageA(focus, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        if (c.focus != IDC_FILE_LIST) { EXPECT_TRUE(start == 0 && end == (DWORD)GetWindowTextLengthA(focus)); }
        EXPECT_EQ(Strings({"IMG_0001.JPG=photo", "folder\\"}), Contents()) << "nothing renamed";
    }
}

TEST_F(StartRename, ACompletedRunListsFailuresEmptiesTheListAndPausesWithThePleaseWaitWindowUp)
{
    Make({"b.jpg=B", "a.jpg=A"});
    Fill({"b.jpg", "gone.jpg", "a.jpg"});
    // A change made without a key release (a paste) is what the run and the
    // confirmation use.
    Set(IDC_PREFIX_EDIT, "写真");
    HCURSOR before = LoadCursorA(NULL, IDC_ARROW);
    SetCursor(before);
    duringPause = [&] {
        HWND wait = FindWindowA(NULL, kWaitCaption);
        ASSERT_TRUE(wait && IsWindowVisible(wait));
        EXPECT_EQ(NULL, GetWindow(wait, GW_OWNER));
        EXPECT_TRUE(Entries().empty());
        EXPECT_FALSE(IsWindowEnabled(Control(IDC_START)));
    };
    answers = {IDYES};

    Start();

    EXPECT_EQ((std::vector<Shown>{Confirmation("写真0001"),
                                  FailureList(window, {FailureLine(Path("gone.jpg"), ERROR_FILE_NOT_FOUND)})}),
              shown);
    EXPECT_EQ(Strings({"IMG_0001.JPG=photo", "写真0001.jpg=B", "写真0003.jpg=A"}), Contents())
        << "numbered by list position";
    EXPECT_EQ(std::vector<DWORD>{3000}, pauses);
    EXPECT_EQ(NULL, FindWindowA(NULL, kWaitCaption)) << "destroyed after the pause";
    EXPECT_EQ(before, GetCursor());
}

TEST_F(StartRename, CancelAtAQuestionKeepsWhatWasDoneAndTheWholeList)
{
    Make({"a.txt=A", "b.txt=B", "c.txt=C", "Sample0002.txt=old2", "Sample0003.txt=old3"});
    Fill({"a.txt", "b.txt", "c.txt"});
    answers = {IDYES, IDYES, IDCANCEL};
    Start();
    EXPECT_EQ(3u, shown.size()) << "the confirmation and two questions, nothing after Cancel";
    EXPECT_EQ(Strings({"IMG_0001.JPG=photo", "Sample0001.txt=A", "Sample0002.txt=B", "Sample0003.txt=old3",
                       "c.txt=C"}),
              Contents());
    EXPECT_EQ(Strings({Path("a.txt"), Path("b.txt"), Path("c.txt")}), Entries()) << "the list keeps every entry";
    EXPECT_TRUE(pauses.empty()) << "no pause after a cancelled run";
}

// A close request while a question is open waits: the run stops as at
// Cancel, the failure list is shown, then the window closes and saves.
TEST_F(StartRename, CloseDuringARunWaitsForItsEndAndItsReport)
{
    Make({"a.txt=A", "b.txt=B", "Sample0002.txt=old2", "Sample0003.txt=old3"});
    Fill({"a.txt", "gone.txt", "b.txt", "IMG_0001.JPG"});
    answers = {IDYES};
    whileShown = [&](const Shown& box) {
        if (box.buttons != MB_YESNOCANCEL) return;
        PostMessageA(window, WM_CLOSE, 0, 0);
        Pump();  // as the question's own loop would
        EXPECT_TRUE(IsWindow(window)) << "closed under an open question";
    };
    Start();
    EXPECT_EQ(3u, shown.size()) << "the confirmation, one question, then the report";
    EXPECT_EQ(FailureList(window, {FailureLine(Path("gone.txt"), ERROR_FILE_NOT_FOUND)}), shown.back());
    EXPECT_EQ(Strings({"IMG_0001.JPG=photo", "Sample0001.txt=A", "Sample0002.txt=old2", "Sample0003.txt=old3",
                       "b.txt=B"}),
              Contents());
    Pump();
    EXPECT_FALSE(IsWindow(window)) << "closed once the run had ended";
    char settings[MAX_PATH * 2];
    SettingsPath(settings, sizeof settings);
    EXPECT_NE("<missing>", ReadFileText(settings)) << "saved as it closed";
}

// Drops that arrive while a question is open wait for the work in progress.
TEST_F(StartRename, ADropDuringAQuestionIsTakenInAfterwards)
{
    Make({"d\\", "d\\x.txt=X", "d\\y.txt=Y", "e.txt=E", "f.txt=F", "g.txt=G", "Sample0001.txt=old"});
    Strings second = {Path("f.txt"), Path("g.txt")};
    whileShown = [&](const Shown& box) {
        if (box.buttons != MB_OK) Drop(second);
    };
    // During the folder question of a drop.
    answers = {IDYES};
    Drop({Path("e.txt"), Path("d")});
    EXPECT_EQ(Strings({Path("d\\x.txt"), Path("d\\y.txt"), Path("e.txt"), Path("f.txt"), Path("g.txt")}), Entries());
    // During a run's question: taken in once the run has emptied the list.
    Fill({"e.txt"});
    whileShown = [&](const Shown& box) {
        if (box.buttons == MB_YESNOCANCEL) Drop({Path("f.txt")});
    };
    answers = {IDYES, IDNO};
    Start();
    EXPECT_EQ(Strings{Path("f.txt")}, Entries());
}

}  // namespace
