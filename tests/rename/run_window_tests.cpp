// Runs from the real main window: the start checks, the please-wait window, drops and closes during a question, a
// window that keeps answering, "中止", undo, and the journal put right at the next start.
#include <thread>

#include "core/app_state.h"
#include "ui/run_progress.h"
#include "res/please_wait_res.h"
#include "run_window.h"

TEST_F(RunWindow, EachCheckStopsTheStartWithItsMessageAndFocus) {
    const Shown folderMessage = Error(window,
                                      "システムで有効なフォルダを選択してください。\n\n"
                                      "｢リネーム＋移動｣ 、｢リネーム＋コピー｣の場合は、"
                                      "フォルダを指定する必要があります。",
                                      "無効なフォルダを選択しています。");
    const Shown listMessage = Error(window,
                                    "改名（リネーム）するファイルを"
                                    "ファイルリストにドラッグ＆ドロップしてください♪",
                                    "改名ファイルリストが空です。");
    const Shown nameMessage = Error(NULL,
                                    "ファイル名には次の文字は使えません。\r\n"
                                    "\\ / : , ; * ?  < > |",
                                    "無効なファイル名");
    // In their order: the output folder (move and copy only; a wildcard, a final dot or a relative name too long once
    // completed is none, a final backslash or a drive root, even "\\", is one), the list, the extension (when
    // specified), the prefix (even when it plays no part), the suffix.
    const std::string relative(250, 'a');
    const struct {
        int operation;
        int mode = Keep;
        std::string output = "";  // "<w>" for the test's folder
        bool listed = true;
        const char* extension = "";
        const char* prefix = "Sample";
        const char* suffix = "";
        const Shown* message = nullptr;
        int focus = 0;
    } rows[] = {
        {.operation = RenameCopy, .output = "<w>\\missing", .message = &folderMessage, .focus = IDC_OUTPUT_FOLDER_EDIT},
        {.operation = RenameMove, .output = "<w>\\fo*", .message = &folderMessage, .focus = IDC_OUTPUT_FOLDER_EDIT},
        {.operation = RenameMove, .output = "<w>\\folder.", .message = &folderMessage, .focus = IDC_OUTPUT_FOLDER_EDIT},
        {.operation = RenameCopy, .message = &folderMessage, .focus = IDC_OUTPUT_FOLDER_EDIT},
        {.operation = RenameMove, .output = relative, .message = &folderMessage, .focus = IDC_OUTPUT_FOLDER_EDIT},
        {.operation = RenameMove, .output = "<w>\\", .listed = false, .message = &listMessage, .focus = IDC_FILE_LIST},
        {.operation = RenameMove, .output = "C:\\", .listed = false, .message = &listMessage, .focus = IDC_FILE_LIST},
        {.operation = RenameCopy, .output = "\\", .listed = false, .message = &listMessage, .focus = IDC_FILE_LIST},
        {.operation = RenameOnly, .output = "<w>\\missing", .listed = false, .message = &listMessage,
         .focus = IDC_FILE_LIST},
        {.operation = RenameOnly, .mode = Specified, .extension = "p*g", .prefix = "a:b", .suffix = "c|d",
         .message = &nameMessage, .focus = IDC_EXTENSION_EDIT},
        {.operation = RenameOnly, .mode = Specified, .extension = "png", .prefix = "a:b", .suffix = "c|d",
         .message = &nameMessage, .focus = IDC_PREFIX_EDIT},
        {.operation = RenameOnly, .mode = Lower, .extension = "p*g", .suffix = "c|d", .message = &nameMessage,
         .focus = IDC_SUFFIX_EDIT},
        {.operation = ExtensionOnly, .prefix = "a*b", .message = &nameMessage, .focus = IDC_PREFIX_EDIT},
    };
    Make({"IMG_0001.JPG=photo", "folder\\"});
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    fallback = IDYES;
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        Choose(IDC_OPERATION_COMBO, row.operation);
        Choose(IDC_EXTENSION_COMBO, row.mode);
        Set(IDC_OUTPUT_FOLDER_EDIT, row.output.compare(0, 3, "<w>") ? row.output : work + row.output.substr(3));
        Set(IDC_EXTENSION_EDIT, row.extension);
        Set(IDC_PREFIX_EDIT, row.prefix);
        Set(IDC_SUFFIX_EDIT, row.suffix);
        Fill(row.listed ? Strings{"IMG_0001.JPG"} : Strings{});
        SetFocus(Control(IDC_START_NUMBER_EDIT));
        shown.clear();
        Command(IDC_START);
        EXPECT_EQ(std::vector<Shown>{*row.message}, shown);
        HWND focus = Control(row.focus);
        DWORD start = 1;
        DWORD end = 0;
        SendMessageA(focus, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        EXPECT_TRUE(focus == GetFocus() || !IsWindowEnabled(focus));
        if (row.focus != IDC_FILE_LIST) {
            EXPECT_EQ(0u, start) << "all of the text selected";
            EXPECT_EQ((DWORD)GetWindowTextLengthA(focus), end);
        }
        EXPECT_EQ(Strings({"IMG_0001.JPG=photo", "folder\\"}), Contents()) << "nothing renamed";
    }
    picks = {work};
    Command(IDC_BROWSE_BUTTON);
    EXPECT_EQ(work, ControlText(IDC_OUTPUT_FOLDER_EDIT)) << "the folder picked through the browse button is shown";
}

// A close request or a drop while a question is open waits for the work in progress: the run stops as at Cancel, its
// report is shown, then the window closes. A held drop is taken in afterwards, under the path its file went to.
TEST_F(RunWindow, ADropOrACloseDuringAQuestionWaitsForTheWorkInProgress) {
    Make({"a.txt=A", "b.txt=B", "Sample0001.txt=old1", "Sample0002.txt=old2", "d\\", "d\\x.txt=X", "f.txt=F"});
    bool closing = false;
    whileShown = [&](const Shown& box) {
        if (box.title == "ファイル展開確認") Drop({Path("f.txt")});
        if (box.buttons != MB_YESNOCANCEL) return;
        if (!closing) {
            Drop({Path("Sample0001.txt")});
            SendMessageA(window, WM_COMMAND, IDC_EXIT, 0);  // 終了 asks nothing while work is in progress
            return;
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
        Pump();  // as the question's own loop would
        EXPECT_TRUE(IsWindow(window)) << "closed under an open question";
    };
    answers = {IDYES};
    Drop({Path("d"), Path("a.txt")});
    EXPECT_EQ(Strings({Path("a.txt"), Path("d\\x.txt"), Path("f.txt")}), Entries());
    // Dropped at the question about its new name, Sample0001.txt goes there once the question is answered Yes.
    Start(RenameOnly, {"b.txt", "Sample0001.txt"}, {IDYES});
    const Strings afterQuestion = {"Sample0001.txt=B", "Sample0002.txt=old1", "a.txt=A", "d\\", "d\\x.txt=X",
                                   "f.txt=F"};
    EXPECT_EQ(afterQuestion, Contents());
    EXPECT_EQ(3u, shown.size()) << "the folder question, the confirmation and the question about Sample0001.txt";
    EXPECT_EQ(Strings{Path("Sample0002.txt")}, Entries()) << "taken in once the run had emptied the list";
    closing = true;
    Start(RenameOnly, {"gone.txt", "a.txt", "f.txt"});
    EXPECT_EQ(StopSummary(window, 0, 1, {FailureLine(Path("gone.txt"), ERROR_FILE_NOT_FOUND)}), shown.back());
    EXPECT_EQ(3u, Entries().size()) << "stopped as at Cancel";
    Pump();
    EXPECT_FALSE(IsWindow(window)) << "closed once the run had ended";
    char settings[MAX_PATH * 2] = "";
    SettingsPath(settings, sizeof settings);
    EXPECT_NE("<missing>", ReadFileText(settings)) << "saved as it closed";
}

// Whether a message posted before a run was handled while the run went on, and what the progress showed then.
static bool g_handledDuringRun;
static char g_progressThen[400];

static LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
    HWND wait = FindWindowA(NULL, kWaitCaption);
    GetDlgItemTextA(wait, IDC_RUN_STATUS, g_progressThen, sizeof g_progressThen);
    g_handledDuringRun = wait && IsWindowVisible(wait);
    return 0;
}

// A long run delivers what comes meanwhile from its start on, shows its progress, lists its failures, empties the
// list, and pauses with the please-wait window standing ownerless, its stop button off, saying how many files it
// renamed; a pasted prefix is used, and the cursor is put back as it was.
TEST_F(RunWindow, ACompletedRunAnswersListsFailuresEmptiesTheListAndPauses) {
    Strings names;
    std::vector<std::wstring> files;
    for (int i = 0; i < 500; i++) {
        if (i % 100 == 0) files.push_back(std::to_wstring(i / 100));
        names.push_back(std::to_string(i / 100) + "\\IMG_" + std::to_string(i) + ".jpg");
        files.push_back(Wide(names.back()) + L"=x");
    }
    MakeWide(files);
    names.insert(names.begin() + 1, "gone.jpg");
    WNDCLASSA recorderClass = {};
    recorderClass.lpfnWndProc = Recorder;
    recorderClass.lpszClassName = "TovikTestRecorder";
    RegisterClassA(&recorderClass);
    HWND recorder = CreateWindowA("TovikTestRecorder", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    g_handledDuringRun = false;
    // Posted at the confirmation: only the run's own delivery can handle it before the run is over.
    whileShown = [&](const Shown& box) {
        if (box.buttons == MB_YESNO) PostMessageA(recorder, WM_APP, 0, 0);
    };
    duringPause = [&] {
        HWND wait = FindWindowA(NULL, kWaitCaption);
        EXPECT_TRUE(wait && IsWindowVisible(wait));
        EXPECT_FALSE(GetWindow(wait, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(wait, IDCANCEL))) << "nothing left to stop";
        char status[128] = "";
        GetDlgItemTextA(wait, IDC_RUN_STATUS, status, sizeof status);
        EXPECT_STREQ("完了しました: 500 件のファイルを改名しました", status) << "not the list's 501";
        EXPECT_FALSE(IsWindowEnabled(window));
        EXPECT_TRUE(Entries().empty());
    };
    Set(IDC_PREFIX_EDIT, "写真");
    SetCursor(NULL);  // none, whatever an earlier run left: the run must put back just that
    Start(RenameOnly, names);
    DestroyWindow(recorder);
    UnregisterClassA("TovikTestRecorder", NULL);
    EXPECT_TRUE(g_handledDuringRun);
    EXPECT_EQ("0 / 501  " + Path("0\\IMG_0.jpg"), g_progressThen) << "the progress shown from the first file on";
    ASSERT_EQ(2u, shown.size()) << "the confirmation, then the failures";
    EXPECT_EQ(FailureList(window, {FailureLine(Path("gone.jpg"), ERROR_FILE_NOT_FOUND)}), shown[1]);
    EXPECT_EQ("x", ReadFileText(Path("0\\写真0001.jpg"))) << "numbered by list position";
    EXPECT_EQ("x", ReadFileText(Path("4\\写真0501.jpg")));
    EXPECT_EQ("<missing>", ReadFileText(Path("0\\写真0002.jpg")));
    EXPECT_EQ(std::vector<DWORD>{3000}, pauses);
    EXPECT_FALSE(FindWindowA(NULL, kWaitCaption));
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_FALSE(GetCursor());
}

// The confirmation shows the pattern the run will use, the pasted prefix and an emptied start number (0) too, and
// counts the files the run will ask about and those it will not rename; answered No, it moves nothing.
TEST_F(RunWindow, TheConfirmationSaysWhatTheRunWillAskAboutAndLeave) {
    Make({"a.txt=A", "b.txt=B", "写真0001.txt=outside"});
    Set(IDC_PREFIX_EDIT, "写真");
    Set(IDC_START_NUMBER_EDIT, "");
    Fill({"a.txt", "b.txt", "gone.txt"});
    answers = {IDNO};
    Command(IDC_START);
    const Shown confirmation = Question(window,
                                        "以下の条件で、改名（リネーム）を開始します。"
                                        "よろしいですか？\r\n\r\n"
                                        "ファイル命名前置詞 + 連番書式 + ファイル命名後置詞 + "
                                        ".拡張子(例 hoge001.jpg)"
                                        "\r\n\r\n変換書式 ==> 写真0000.拡張子\r\n\r\n"
                                        "対象のファイル: 3 件\r\n"
                                        "上書きを確認するファイル: 1 件\r\n"
                                        "改名しないファイル: 1 件\r\n" +
                                            FailureLine(Path("gone.txt"), ERROR_FILE_NOT_FOUND),
                                        "改名（リネーム）の開始確認");
    EXPECT_EQ(std::vector<Shown>{confirmation}, shown);
    EXPECT_EQ(Strings({"a.txt=A", "b.txt=B", "写真0001.txt=outside"}), Contents());
}

// Stopped after a chain has moved, the run says what it did and what remains, and its list names where the files
// went: a second start goes on with the rest and offers nothing the first one placed for overwriting.
TEST_F(RunWindow, TheListOfAStoppedRunFollowsItsFilesSoThatASecondStartGoesOn) {
    Make({"Sample0001.jpg=1", "Sample0002.jpg=2", "Sample0003.jpg=3", "Sample0005.jpg=outside", "y.jpg=y", "z.jpg=z"});
    const Strings list = {"Sample0001.jpg", "Sample0002.jpg", "Sample0003.jpg", "y.jpg", "z.jpg"};
    whileShown = [&](const Shown& box) {
        if (box.buttons == MB_YESNOCANCEL) SendMessageA(FindWindowA(NULL, kWaitCaption), WM_COMMAND, IDCANCEL, 0);
    };
    Set(IDC_START_NUMBER_EDIT, "2");
    Start(RenameOnly, list);
    EXPECT_EQ(StopSummary(window, 3, 1), shown.back());
    const Strings followed = {Path("Sample0002.jpg"), Path("Sample0003.jpg"), Path("Sample0004.jpg"), Path("y.jpg"),
                              Path("z.jpg")};
    EXPECT_EQ(followed, Entries());
    EXPECT_TRUE(pauses.empty());
    whileShown = nullptr;
    shown.clear();
    answers = {IDYES};
    Command(IDC_START);
    EXPECT_EQ(Overwrite(window, Path("y.jpg"), Path("Sample0005.jpg")), shown.at(1));
    EXPECT_EQ(2u, shown.size()) << "asked only about the file outside the run";
    const Strings after = {"Sample0002.jpg=1", "Sample0003.jpg=2", "Sample0004.jpg=3", "Sample0005.jpg=outside",
                           "Sample0006.jpg=z", "y.jpg=y"};
    EXPECT_EQ(after, Contents());
}

static int CountMatching(const std::string& pattern)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    int count = 0;
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) count++;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return count;
}

// While files move, the end of the session is refused. Should it come anyway, an exchange of names in progress is
// finished, and a copy in progress removed, before the program lets it through; the settings are saved.
TEST_F(RunWindow, TheSessionEndsWithNoFileUnderATemporaryName) {
    const int kRing = 300;
    std::vector<std::wstring> files;
    Strings ring;
    for (int i = 1; i <= kRing; i++) {
        char name[32];
        snprintf(name, sizeof name, "Sample%04d.jpg", i);
        files.push_back(Wide(name) + L"=" + std::to_wstring(i));
        ring.insert(i == kRing ? ring.begin() : ring.end(), name);
    }
    MakeWide(files);
    Make({"out\\", "big.dat=" + std::string(128 << 20, 'b')});
    char ini[MAX_PATH * 2];
    SettingsPath(ini, sizeof ini);
    for (const std::string folder : {"", "out\\"}) {
        SCOPED_TRACE(folder);
        DeleteFileA(ini);
        const std::string temporary = Path(folder + "~tv*");
        LRESULT refused = -1;
        int left = -1;
        int named = -1;
        std::thread watcher([&] {
            for (DWORD start = GetTickCount(); CountMatching(temporary) == 0 && GetTickCount() - start < 20000;) {
            }
            named = CountMatching(Path(folder + "Sample*"));
            refused = SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
            SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
            left = CountMatching(temporary);
        });
        if (folder.empty()) {
            Start(RenameOnly, ring);
        } else {
            Start(RenameCopy, {"big.dat"});
        }
        watcher.join();
        EXPECT_EQ(FALSE, refused);
        EXPECT_EQ(0, left) << "temporary names left as the session ended";
        if (!folder.empty()) {
            EXPECT_EQ(0, named) << "a copy has its new name only once complete";
        }
        EXPECT_NE("<missing>", ReadFileText(ini));
    }
    EXPECT_EQ(Strings{}, Contents("out"));
    EXPECT_EQ("1", ReadFileText(Path("Sample0002.jpg"))) << "the exchange was finished";
    EXPECT_EQ(TRUE, SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF)) << "let through once idle";
}

// A session that ends before the run's first move, while the files are still looked at, leaves the journal of the
// run before as it was, and so its undo.
TEST_F(RunWindow, ASessionEndingBeforeTheFirstMoveLeavesTheLastRunsJournal) {
    Make({"a.txt=A", "b.txt=B"});
    Start(RenameOnly, {"a.txt"});
    const std::string before = ReadFileText(journal);
    whileShown = [&](const Shown& box) {
        if (box.buttons == MB_YESNO) PostMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    };
    Set(IDC_START_NUMBER_EDIT, "2");
    Start(RenameOnly, {"b.txt"});
    whileShown = nullptr;
    EXPECT_EQ(before, ReadFileText(journal));
    EXPECT_EQ(Strings({"Sample0001.txt=A", "b.txt=B"}), Contents());
}

// Without its please-wait window a run does not start, and says so.
TEST_F(RunWindow, ARunWithoutItsPleaseWaitWindowSaysWhyAndMovesNothing) {
    Make({"a.txt=A"});
    GetAppState()->instance = GetModuleHandleA("kernel32.dll");  // which holds no template of the program
    Start(RenameOnly, {"a.txt"});
    GetAppState()->instance = GetModuleHandleA(NULL);
    EXPECT_EQ(Error(window, "経過を示すウインドウを開けないため、始めませんでした。"
                            "ファイルは動かしていません。",
                    "改名（リネーム）を始められません"), shown.back());
    EXPECT_EQ(Strings{"a.txt=A"}, Contents());
}
