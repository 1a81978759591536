// Runs from the real main window: the start checks, the please-wait window, drops and closes during a question, a
// window that keeps answering, "中止", undo, and the journal put right at the next start.
#include <atomic>
#include <thread>

#include "rename/run_journal.h"
#include "rename/run_progress.h"
#include "res/please_wait_res.h"
#include "support/tovik_test.h"

const char kWaitCaption[] = "Now Renaming !!";

class RunWindow : public TovikTest {
protected:
    RunWindow() { JournalPath(journal, sizeof journal), DeleteFileA(journal), Open(); }
    ~RunWindow() override { DeleteFileA(journal); }
    void Set(int id, const std::string& text) { SetWindowTextA(Control(id), text.c_str()); }  // a paste, no key
    void Choose(int comboId, int index)
    {
        SendMessageA(Control(comboId), CB_SETCURSEL, (WPARAM)index, 0), SendMessageA(window, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELENDOK), 0);
    }
    void Fill(const Strings& names)
    {
        SendMessageA(Control(IDC_FILE_LIST), LB_RESETCONTENT, 0, 0);
        for (const std::string& name : names) SendMessageA(Control(IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)Path(name).c_str());
    }
    void Command(int id) { SendMessageA(window, WM_COMMAND, id, 0); }
    // The start button over the names; the confirmation answered Yes, then the given answers.
    void Start(int operation, const Strings& names, std::vector<int> more = {})
    {
        Choose(IDC_OPERATION_COMBO, operation), Set(IDC_OUTPUT_FOLDER_EDIT, Path("out")), Set(IDC_EXTENSION_EDIT, "png"), Fill(names);
        answers = {IDYES}, answers.insert(answers.end(), more.begin(), more.end()), Command(IDC_START);
    }
    void Clear() { RemoveTree(work), CreateDirectoryA(work.c_str(), NULL), shown.clear(); }
    char journal[MAX_PATH * 2];
};

TEST_F(RunWindow, EachCheckStopsTheStartWithItsMessageAndFocus) {
    const Shown messages[] = {
        Error(window, "システムで有効なフォルダを選択してください。\n\n｢リネーム＋移動｣ 、｢リネーム＋コピー｣の場合は、フォルダを指定する必要があります。",
              "無効なフォルダを選択しています。"),
        Error(window, "改名（リネーム）するファイルをファイルリストにドラッグ＆ドロップしてください♪", "改名ファイルリストが空です。"),
        Error(NULL, "ファイル名には次の文字は使えません。\r\n\\ / : , ; * ?  < > |", "無効なファイル名")};
    // In their order: the output folder (move and copy only; a wildcard, a final dot or a relative name too long once
    // completed is none, a final backslash or a drive root, even "\\", is one), the list, the extension (when
    // specified), the prefix (even when it plays no part), the suffix.
    const std::string relative(250, 'a');
    const struct { int operation, mode; const char* output; bool listed; const char *extension, *prefix, *suffix; int message, focus; } rows[] = {
        {RenameCopy, Keep, "<w>\\missing", true, "", "Sample", "", 0, IDC_OUTPUT_FOLDER_EDIT}, {RenameMove, Keep, "<w>\\fo*", true, "", "Sample", "", 0, IDC_OUTPUT_FOLDER_EDIT},
        {RenameMove, Keep, "<w>\\folder.", true, "", "Sample", "", 0, IDC_OUTPUT_FOLDER_EDIT}, {RenameCopy, Keep, "", true, "", "Sample", "", 0, IDC_OUTPUT_FOLDER_EDIT},
        {RenameMove, Keep, "<w>\\", false, "", "Sample", "", 1, IDC_FILE_LIST}, {RenameMove, Keep, "C:\\", false, "", "Sample", "", 1, IDC_FILE_LIST},
        {RenameOnly, Keep, "<w>\\missing", false, "", "Sample", "", 1, IDC_FILE_LIST}, {RenameOnly, Specified, "", true, "p*g", "a:b", "c|d", 2, IDC_EXTENSION_EDIT},
        {RenameOnly, Specified, "", true, "png", "a:b", "c|d", 2, IDC_PREFIX_EDIT}, {RenameOnly, Lower, "", true, "p*g", "Sample", "c|d", 2, IDC_SUFFIX_EDIT},
        {ExtensionOnly, Keep, "", true, "", "a*b", "", 2, IDC_PREFIX_EDIT},
        {RenameMove, Keep, relative.c_str(), true, "", "Sample", "", 0, IDC_OUTPUT_FOLDER_EDIT}, {RenameCopy, Keep, "\\", false, "", "Sample", "", 1, IDC_FILE_LIST}};
    Make({"IMG_0001.JPG=photo", "folder\\"});
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    for (const auto& c : rows) {
        std::string output = c.output;
        if (output.compare(0, 3, "<w>") == 0) output = work + output.substr(3);
        Choose(IDC_OPERATION_COMBO, c.operation), Choose(IDC_EXTENSION_COMBO, c.mode);
        Set(IDC_OUTPUT_FOLDER_EDIT, output), Set(IDC_EXTENSION_EDIT, c.extension), Set(IDC_PREFIX_EDIT, c.prefix), Set(IDC_SUFFIX_EDIT, c.suffix);
        Fill(c.listed ? Strings{"IMG_0001.JPG"} : Strings{});
        SetFocus(Control(IDC_START_NUMBER_EDIT));
        shown.clear();
        fallback = IDYES;
        Command(IDC_START);
        EXPECT_EQ(std::vector<Shown>{messages[c.message]}, shown) << &c - rows;
        HWND focus = Control(c.focus);
        DWORD start = 1, end = 0;
        SendMessageA(focus, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        EXPECT_TRUE((focus == GetFocus() || !IsWindowEnabled(focus)) &&
                    (c.focus == IDC_FILE_LIST || (start == 0 && end == (DWORD)GetWindowTextLengthA(focus)))) << &c - rows;
        EXPECT_EQ(Strings({"IMG_0001.JPG=photo", "folder\\"}), Contents()) << "nothing renamed";
    }
    picks = {work}, Command(IDC_BROWSE_BUTTON);
    EXPECT_EQ(work, ControlText(IDC_OUTPUT_FOLDER_EDIT)) << "the folder picked through the browse button is the one shown";
}

// A close request or a drop while a question is open waits for the work in progress: the run stops as at Cancel, its
// report is shown, then the window closes; a held drop is taken in afterwards.
TEST_F(RunWindow, ADropOrACloseDuringAQuestionWaitsForTheWorkInProgress) {
    Make({"a.txt=A", "b.txt=B", "Sample0001.txt=old1", "Sample0002.txt=old2", "d\\", "d\\x.txt=X", "e.txt=E", "f.txt=F"});
    bool closing = false;
    whileShown = [&](const Shown& box) {
        if (box.title == "ファイル展開確認") Drop({Path("f.txt")});
        if (box.buttons != MB_YESNOCANCEL) return;
        if (!closing) return Drop({Path("e.txt")});
        PostMessageA(window, WM_CLOSE, 0, 0);
        Pump();  // as the question's own loop would
        EXPECT_TRUE(IsWindow(window)) << "closed under an open question";
    };
    answers = {IDYES};
    Drop({Path("d"), Path("a.txt")});
    EXPECT_EQ(Strings({Path("a.txt"), Path("d\\x.txt"), Path("f.txt")}), Entries());
    Start(RenameOnly, {"b.txt"});
    EXPECT_EQ(Strings{Path("e.txt")}, Entries()) << "taken in once the run had emptied the list";
    closing = true;
    Start(RenameOnly, {"gone.txt", "b.txt", "a.txt"});
    EXPECT_EQ(FailureList(window, {FailureLine(Path("gone.txt"), ERROR_FILE_NOT_FOUND)}), shown.back());
    EXPECT_EQ(3u, Entries().size()) << "stopped as at Cancel";
    Pump();
    EXPECT_FALSE(IsWindow(window)) << "closed once the run had ended";
    char settings[MAX_PATH * 2];
    EXPECT_NE("<missing>", ReadFileText(SettingsPath(settings, sizeof settings) ? settings : "")) << "saved as it closed";
}

// Thousands of files: the main window answers throughout, failures are listed, the list emptied, and the please-wait
// window stands ownerless through a pause that answers, its stop button off; a pasted prefix is confirmed and used.
TEST_F(RunWindow, ACompletedRunAnswersThroughoutListsFailuresEmptiesTheListAndPauses) {
    Strings names;
    std::vector<std::wstring> files;
    for (int i = 0; i < 2000; i++) { if (i % 100 == 0) files.push_back(std::to_wstring(i / 100)); names.push_back(std::to_string(i / 100) + "\\IMG_" + std::to_string(i) + ".jpg"); }
    for (const std::string& name : names) files.push_back(Wide(name) + L"=x");
    MakeWide(files);
    names.insert(names.begin() + 1, "gone.jpg");
    std::atomic<int> phase(0);  // 1 from the confirmation to the pause
    int pings = 0, silent = 0, changes = 0, took = 0;  // changes of the status line seen by the pings, in took ms
    std::thread pinger([&] {
        while (phase == 0) Sleep(1);
        char status[400] = "", seen[400] = "";
        for (DWORD_PTR result, since = GetTickCount(); phase == 1; Sleep(20), pings++, took = (int)(GetTickCount() - since)) {
            if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result) && phase == 1) silent++;
            SendMessageTimeoutA(GetDlgItem(FindWindowA(NULL, kWaitCaption), IDC_RUN_STATUS), WM_GETTEXT, sizeof status, (LPARAM)status, SMTO_ABORTIFHUNG, 200, &result);
            changes += strcmp(status, seen) != 0, strcpy(seen, status);
        }
    });
    whileShown = [&](const Shown&) { Pump(), phase = phase ? phase.load() : 1; };  // a box's own loop answers too
    duringPause = [&] {
        HWND wait = FindWindowA(NULL, kWaitCaption);
        phase = 2;
        MSG left;  // the program's own pause delivers what comes meanwhile
        PostMessageA(wait, WM_APP, 0, 0), WaitAnswering(20);
        EXPECT_TRUE(wait && IsWindowVisible(wait) && !GetWindow(wait, GW_OWNER) && Entries().empty() && !IsWindowEnabled(window) &&
                    !IsWindowEnabled(GetDlgItem(wait, IDCANCEL)) && !PeekMessageA(&left, NULL, WM_APP, WM_APP, PM_NOREMOVE)) << "nothing left to stop";
    };
    Set(IDC_PREFIX_EDIT, "写真");
    SetCursor(NULL);  // none, whatever an earlier run left: the run must put back just that
    Start(RenameOnly, names);
    phase = 2;
    pinger.join();
    EXPECT_TRUE(silent == 0 && pings > 5) << silent << " of " << pings << " pings unanswered";
    EXPECT_TRUE(changes > 0 && changes <= took / 80 + 3) << changes << " in " << took << " ms: the progress shown, at most about ten times a second";
    EXPECT_EQ((std::vector<Shown>{Question(window, "以下の条件で、改名（リネーム）を開始します。よろしいですか？\r\n\r\n"
                                                   "ファイル命名前置詞 + 連番書式 + ファイル命名後置詞 + .拡張子(例 hoge001.jpg)\r\n\r\n"
                                                   "変換書式 ==> 写真0001.拡張子", "改名（リネーム）の開始確認"),
                                  FailureList(window, {FailureLine(Path("gone.jpg"), ERROR_FILE_NOT_FOUND)})}),
              shown);
    EXPECT_EQ("x|x|<missing>", ReadFileText(Path("0\\写真0001.jpg")) + "|" + ReadFileText(Path("19\\写真2001.jpg")) + "|" +
                                   ReadFileText(Path("0\\写真0002.jpg"))) << "numbered by list position";
    EXPECT_TRUE(pauses == std::vector<DWORD>{3000} && !FindWindowA(NULL, kWaitCaption) && IsWindowEnabled(window) && !GetCursor());
}

TEST_F(RunWindow, StopActsBetweenFilesLikeCancel) {
    Make({"a.txt=A", "b.txt=B", "c.txt=C", "Sample0003.txt=outside"});
    whileShown = [&](const Shown& box) {
        if (box.buttons == MB_YESNOCANCEL) SendMessageA(FindWindowA(NULL, kWaitCaption), WM_COMMAND, IDCANCEL, 0);
    };
    Start(RenameOnly, {"a.txt", "gone.txt", "b.txt", "c.txt"});
    EXPECT_EQ(FailureList(window, {FailureLine(Path("gone.txt"), ERROR_FILE_NOT_FOUND)}), shown.back());
    EXPECT_EQ(Strings({"Sample0001.txt=A", "Sample0003.txt=outside", "b.txt=B", "c.txt=C"}), Contents());
    EXPECT_TRUE(Entries().size() == 4 && pauses.empty()) << "the list as at Cancel";
}

TEST_F(RunWindow, UndoPutsBackWhatTheLastRunDidAndLeavesWhatChangedSince) {
    // The files, the list, changes after the run ("-name" removed), answers at its questions; after the undo the
    // files, what its question says after the count, and what it left alone and why.
    const struct { const char* name; int operation; Strings before, list, changes; std::vector<int> answers; Strings after;
                   std::string question; std::vector<std::pair<std::string, DWORD>> left; } rows[] = {
        {"renumbered and reversed", RenameOnly, {"Sample0001.jpg=1", "Sample0002.jpg=2", "a.jpg=a"},
         {"Sample0002.jpg", "Sample0001.jpg", "a.jpg"}, {}, {}, {"Sample0001.jpg=1", "Sample0002.jpg=2", "a.jpg=a"}, "", {}},
        {"moved", RenameMove, {"out\\", "src\\", "src\\b.jpg=b"}, {"src\\b.jpg"}, {}, {}, {"out\\", "src\\", "src\\b.jpg=b"}, "", {}},
        {"letter case only", RenameOnly, {"sample0001.JPG=s"}, {"sample0001.JPG"}, {}, {}, {"sample0001.JPG=s"}, "", {}},
        {"copied, one copy changed since", RenameCopy, {"out\\", "a.txt=a", "b.txt=b"}, {"a.txt", "b.txt"}, {"out\\Sample0002.txt=bb"},
         {}, {"a.txt=a", "b.txt=b", "out\\", "out\\Sample0002.txt=bb"}, "", {{"out\\Sample0002.txt", kReasonChangedSince}}},
        {"a file gone, an old name taken", RenameOnly, {"a.jpg=a", "b.jpg=b", "c.jpg=c"}, {"a.jpg", "b.jpg", "c.jpg"},
         {"-Sample0001.jpg", "b.jpg=new"}, {}, {"Sample0002.jpg=b", "b.jpg=new", "c.jpg=c"}, "",
         {{"Sample0001.jpg", kReasonChangedSince}, {"Sample0002.jpg", kReasonOldNameTaken}}},
        {"an overwrite cannot come back", RenameOnly, {"Sample0001.txt=outside", "a.txt=A"}, {"a.txt"}, {}, {IDYES}, {"a.txt=A"},
         "\r\n\r\n上書きされたファイル 1 件は元に戻せません。", {}}};
    for (const auto& c : rows) {
        SCOPED_TRACE(c.name);
        Clear();
        Make(c.before);
        Start(c.operation, c.list, c.answers);
        for (const std::string& change : c.changes) change[0] == '-' ? (void)DeleteFileA(Path(change.substr(1)).c_str()) : Make({change});
        shown.clear(), answers = {IDYES}, Command(IDC_UNDO_LAST_RUN);
        std::vector<Shown> expected = {Question(window, "直前の改名（リネーム）を元に戻します。よろしいですか？\r\n\r\n対象のファイル: " +
                                                            std::to_string(c.list.size()) + " 件" + c.question, "改名（リネーム）の取り消し")};
        Strings lines;
        for (const auto& left : c.left) lines.push_back(FailureLine(Path(left.first), left.second));
        if (!lines.empty()) expected.push_back(FailureList(window, lines, 0, "次のファイルは元に戻せませんでした。", "元に戻せなかったファイル"));
        EXPECT_EQ(expected, shown);
        EXPECT_EQ(c.after, Contents());
        shown.clear();
        Command(IDC_UNDO_LAST_RUN);
        EXPECT_TRUE(shown.empty()) << "a second undo does nothing";
    }
    // Ctrl+Z asks the same, but not in an edit, which has its own undo.
    Start(RenameOnly, {"a.txt"});
    BYTE keys[256];
    GetKeyboardState(keys);
    for (int id : {IDC_PREFIX_EDIT, IDC_FILE_LIST}) {
        keys[VK_CONTROL] = 0x80, SetKeyboardState(keys), shown.clear();
        PostMessageA(Control(id), WM_KEYDOWN, 'Z', 1);
        Pump();
        keys[VK_CONTROL] = 0, SetKeyboardState(keys);
        EXPECT_EQ(id == IDC_FILE_LIST ? 1u : 0u, shown.size()) << id;
    }
}

// At the next start, every file left under a temporary name of a run that did not end goes where it belongs; a
// journal not of this program is left alone without a word.
TEST_F(RunWindow, AnInterruptedRunIsPutRightAtTheNextStartAndAForeignJournalIgnored) {
    const Strings before = {"Sample0001.jpg=1", "Sample0003.jpg=2", "~tvaa0=3", "~tvaa3=case"};
    Make(before);
    std::string plan = "Tovik journal 1\r\nRUN\trename\t0\t4\r\n";
    const char* const moves[][3] = {{"Sample0003.jpg", "Sample0001.jpg", "~tvaa0"}, {"Sample0001.jpg", "Sample0002.jpg", "~tvaa1"},
                                    {"Sample0002.jpg", "Sample0003.jpg", "~tvaa2"}, {"IMG.JPG", "IMG.jpg", "~tvaa3"}};
    for (int i = 0; i < 4; i++) plan += "PLAN\t" + std::to_string(i) + "\t" + Path(moves[i][0]) + "\t" + Path(moves[i][1]) + "\t" + moves[i][2] + "\r\n";
    std::string huge = "Tovik journal 1\r\nRUN\trename\t0\t1\r\nPLAN\t0\ta\tb\t";  // grown to 256 MiB, far past any run's: not even read
    for (const std::string& text : {std::string(), std::string("[SYSTEM]\r\nSTART_NUM=1\r\n"), std::string("Tovik journal 1\r\n"),
                                    plan.substr(0, plan.size() - 30), plan + "DONE\t9\t0.0\t0.0\t0\r\n", plan + "PLAN\t4\ta\tb\tc\r\n",
                                    plan + "MOVE\r\n", huge.append((256 << 20) - huge.size() - 2, 't') + "\r\n"}) {
        ASSERT_TRUE(WriteFileText(journal, text));
        RecoverInterruptedRun(window, journal);
        Command(IDC_UNDO_LAST_RUN);
        EXPECT_TRUE(shown.empty() && before == Contents()) << text.substr(0, 200);
    }
    // The first of an exchange of three names was aside and the last had moved into its place: the exchange is
    // finished.
    ASSERT_TRUE(WriteFileText(journal, plan));
    RecoverInterruptedRun(window, journal);
    EXPECT_EQ(Strings({"IMG.jpg=case", "Sample0001.jpg=3", "Sample0002.jpg=1", "Sample0003.jpg=2"}), Contents());
    const char kTitle[] = "前回の改名の復旧";
    EXPECT_EQ((std::vector<Shown>{{window, "前回の改名（リネーム）は途中で終わっていました。\r\n一時的な名前のまま残ったファイルを、予定の名前か元の名前に戻します。",
                                   kTitle, MB_OK, MB_ICONWARNING},
                                  {window, "一時的な名前から戻したファイル: 2 件\r\n" + Path("~tvaa0") + " → " + Path("Sample0001.jpg") + "\r\n" +
                                               Path("~tvaa3") + " → " + Path("IMG.jpg"), kTitle, MB_OK, MB_ICONINFORMATION}}),
              shown);
    shown.clear();
    RecoverInterruptedRun(window, journal);
    EXPECT_TRUE(shown.empty()) << "put right once";
    // A file aside that another program holds stays there, and nothing is moved on to make room for it.
    Clear(), Make(before), WriteFileText(journal, plan);
    HANDLE held = CreateFileA(Path("~tvaa0").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    RecoverInterruptedRun(window, journal), CloseHandle(held);
    EXPECT_EQ(Strings({"IMG.jpg=case", "Sample0001.jpg=1", "Sample0003.jpg=2", "~tvaa0=3"}), Contents());
}
