// Long runs on the real main window: it keeps answering, "中止" stops between
// files, the journal puts an interrupted run right and undoes an ended one.
#include <atomic>
#include <thread>

#include "core/file_modes.h"
#include "rename/rename_engine.h"
#include "rename/run_failures.h"
#include "rename/run_journal.h"
#include "res/main_window_res.h"
#include "support/tovik_test.h"

namespace {

class LongRun : public TovikTest {
protected:
    LongRun()
    {
        JournalPath(journal, sizeof journal);
        DeleteFileA(journal);
        Open();
    }
    ~LongRun() override { DeleteFileA(journal); }
    void Fill(const Strings& names)
    {
        SendMessageA(Control(IDC_FILE_LIST), LB_RESETCONTENT, 0, 0);
        for (const std::string& name : names) SendMessageA(Control(IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)Path(name).c_str());
    }
    void Command(int id) { SendMessageA(window, WM_COMMAND, id, 0); }
    // A run from the start button, its confirmation answered Yes.
    void Start(int operation, const Strings& names, std::vector<int> more = {})
    {
        SendMessageA(Control(IDC_OPERATION_COMBO), CB_SETCURSEL, (WPARAM)operation, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_OPERATION_COMBO, CBN_SELENDOK), 0);
        SetWindowTextA(Control(IDC_OUTPUT_FOLDER_EDIT), Path("out").c_str());
        Fill(names);
        answers = {IDYES};
        answers.insert(answers.end(), more.begin(), more.end());
        Command(IDC_START);
    }
    char journal[MAX_PATH * 2];
};

TEST_F(LongRun, TheMainWindowAnswersThroughoutARunOfThousandsOfFiles)
{
    Strings names;
    for (int folder = 0; folder < 20; folder++) {
        Make({std::to_string(folder) + "\\"});
        for (int i = 0; i < 100; i++) names.push_back(std::to_string(folder) + "\\IMG_" + std::to_string(i) + ".jpg");
    }
    std::vector<std::wstring> files;
    for (const std::string& name : names) files.push_back(Wide(name) + L"=x");
    MakeWide(files);
    std::atomic<int> phase(0);  // 1 from the confirmation to the pause
    int pings = 0, silent = 0;
    std::thread pinger([&] {
        while (phase == 0) Sleep(1);
        for (DWORD_PTR result; phase == 1; Sleep(20), pings++)
            if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result) && phase == 1) silent++;
    });
    // The confirmation's own loop delivers messages, as the run does then.
    whileShown = [&](const Shown&) {
        Pump();
        phase = phase ? phase.load() : 1;
    };
    duringPause = [&] { phase = 2; };
    Start(RenameOnly, names);
    phase = 2;
    pinger.join();
    EXPECT_EQ(0, silent) << "of " << pings << " pings";
    EXPECT_GT(pings, 5);
    EXPECT_EQ("x", ReadFileText(Path("19\\Sample2000.jpg")));
}

TEST_F(LongRun, StopActsBetweenFilesLikeCancelAndFinishesAnExchangeOfNames)
{
    Make({"a.txt=A", "b.txt=B", "c.txt=C", "Sample0003.txt=outside"});
    whileShown = [&](const Shown& box) {
        if (box.buttons == MB_YESNOCANCEL) SendMessageA(FindWindowA(NULL, "Now Renaming !!"), WM_COMMAND, IDCANCEL, 0);
    };
    Start(RenameOnly, {"a.txt", "gone.txt", "b.txt", "c.txt"});
    EXPECT_EQ(FailureList(window, {FailureLine(Path("gone.txt"), ERROR_FILE_NOT_FOUND)}), shown.back());
    EXPECT_EQ(Strings({"Sample0001.txt=A", "Sample0003.txt=outside", "b.txt=B", "c.txt=C"}), Contents());
    EXPECT_EQ(4u, Entries().size()) << "the list is left as at Cancel";
    EXPECT_TRUE(pauses.empty());

    // Inside an exchange of names the stop waits for its end.
    RemoveTree(work);
    CreateDirectoryA(work.c_str(), NULL);
    Make({"Sample0001.jpg=1", "Sample0002.jpg=2", "Sample0003.jpg=3", "z.jpg=z"});
    const Strings names = {"Sample0003.jpg", "Sample0001.jpg", "Sample0002.jpg", "z.jpg"};
    std::vector<std::string> paths;
    std::vector<const char*> sources;
    for (const std::string& name : names) paths.push_back(Path(name));
    for (const std::string& path : paths) sources.push_back(path.c_str());
    int calls = 0;
    RunHooks hooks = {[](void* calls, int, int, const char*) -> int { return ++*(int*)calls < 3; }, &calls, NULL};
    NamePattern pattern = {"Sample", "", 1, 4, RenameOnly, Keep, "", ""};
    EXPECT_EQ(0, RenameFiles(window, sources.data(), 4, &pattern, &hooks));
    EXPECT_EQ(Strings({"Sample0001.jpg=3", "Sample0002.jpg=1", "Sample0003.jpg=2", "z.jpg=z"}), Contents());
}

// Each row: the files, what the run did, what happened to them since, and
// the undo's message boxes and files afterwards.
struct UndoCase {
    const char* name;
    int operation;
    Strings before, list, changes;  // changes: made after the run ("name=content", "-name" removes)
    std::vector<int> answers;       // during the run, after the confirmation
    Strings after;                  // after the undo
    std::string question;           // what the undo's question says after the count
    std::vector<std::pair<std::string, DWORD>> left = {};  // listed as left alone, and why
};

TEST_F(LongRun, UndoPutsBackWhatTheLastRunDidAndLeavesWhatChangedSince)
{
    const std::string overwritten = "\r\n\r\n上書きされたファイル 1 件は元に戻せません。";
    const UndoCase rows[] = {
        {"renumbered and reversed", RenameOnly, {"Sample0001.jpg=1", "Sample0002.jpg=2", "a.jpg=a"},
         {"Sample0002.jpg", "Sample0001.jpg", "a.jpg"}, {}, {}, {"Sample0001.jpg=1", "Sample0002.jpg=2", "a.jpg=a"}},
        {"moved", RenameMove, {"out\\", "src\\", "src\\b.jpg=b"}, {"src\\b.jpg"}, {}, {},
         {"out\\", "src\\", "src\\b.jpg=b"}, ""},
        {"copied, one copy changed since", RenameCopy, {"out\\", "a.txt=a", "b.txt=b"}, {"a.txt", "b.txt"},
         {"out\\Sample0002.txt=bb"}, {}, {"a.txt=a", "b.txt=b", "out\\", "out\\Sample0002.txt=bb"}, "",
         {{"out\\Sample0002.txt", kReasonChangedSince}}},
        {"a file gone, an old name taken", RenameOnly, {"a.jpg=a", "b.jpg=b", "c.jpg=c"}, {"a.jpg", "b.jpg", "c.jpg"},
         {"-Sample0001.jpg", "b.jpg=new"}, {}, {"Sample0002.jpg=b", "b.jpg=new", "c.jpg=c"}, "",
         {{"Sample0001.jpg", kReasonChangedSince}, {"Sample0002.jpg", kReasonOldNameTaken}}},
        {"an overwrite cannot come back", RenameOnly, {"Sample0001.txt=outside", "a.txt=A"}, {"a.txt"}, {}, {IDYES},
         {"a.txt=A"}, overwritten},
    };
    for (const UndoCase& c : rows) {
        SCOPED_TRACE(c.name);
        RemoveTree(work);
        CreateDirectoryA(work.c_str(), NULL);
        Make(c.before);
        Start(c.operation, c.list, c.answers);
        for (const std::string& change : c.changes)
            change[0] == '-' ? (void)DeleteFileA(Path(change.substr(1)).c_str()) : Make({change});
        shown.clear();
        answers = {IDYES};
        Command(IDC_UNDO_LAST_RUN);
        std::vector<Shown> expected = {Question(window,
                                                "直前の改名（リネーム）を元に戻します。よろしいですか？\r\n\r\n対象のファイル: " +
                                                    std::to_string(c.list.size()) + " 件" + c.question,
                                                "改名（リネーム）の取り消し")};
        std::string list = "次のファイルは元に戻せませんでした。\r\n";
        for (const auto& left : c.left) list += "\r\n" + FailureLine(Path(left.first), left.second);
        if (!c.left.empty()) expected.push_back(Error(window, list, "元に戻せなかったファイル"));
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
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    for (int id : {IDC_PREFIX_EDIT, IDC_FILE_LIST}) {
        shown.clear();
        answers = {IDNO};
        PostMessageA(Control(id), WM_KEYDOWN, 'Z', 1);
        Pump();
        EXPECT_EQ(id == IDC_FILE_LIST ? 1u : 0u, shown.size()) << id;
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// At the next start, every file left under a temporary name of a run that
// did not end goes where it belongs; a journal not of this program is left
// alone without a word.
TEST_F(LongRun, AnInterruptedRunIsPutRightAtTheNextStartAndAForeignJournalIgnored)
{
    const Strings before = {"Sample0001.jpg=1", "Sample0003.jpg=2", "~tvaa0=3", "~tvaa3=case"};
    Make(before);
    std::string plan = "Tovik journal 1\r\nRUN\trename\t0\t4\r\n";
    const char* const moves[][3] = {{"Sample0003.jpg", "Sample0001.jpg", "~tvaa0"},
                                    {"Sample0001.jpg", "Sample0002.jpg", "~tvaa1"},
                                    {"Sample0002.jpg", "Sample0003.jpg", "~tvaa2"},
                                    {"IMG.JPG", "IMG.jpg", "~tvaa3"}};
    for (int i = 0; i < 4; i++)
        plan += "PLAN\t" + std::to_string(i) + "\t" + Path(moves[i][0]) + "\t" + Path(moves[i][1]) + "\t" + moves[i][2] + "\r\n";
    const std::string garbled[] = {"", "[SYSTEM]\r\nSTART_NUM=1\r\n", "Tovik journal 1\r\n", plan.substr(0, plan.size() - 30),
                                   plan + "DONE\t9\t0.0\t0.0\t0\r\n", plan + "MOVE\r\n", "\xff\xfeT\0o\0"};
    for (const std::string& text : garbled) {
        ASSERT_TRUE(WriteFileText(journal, text));
        RecoverInterruptedRun(window, journal);
        Command(IDC_UNDO_LAST_RUN);
        EXPECT_TRUE(shown.empty()) << text;
        EXPECT_EQ(before, Contents());
    }
    // The first of an exchange of three names was aside, and its last had
    // moved into the first's place: the exchange is finished.
    ASSERT_TRUE(WriteFileText(journal, plan));
    RecoverInterruptedRun(window, journal);
    EXPECT_EQ(Strings({"IMG.jpg=case", "Sample0001.jpg=3", "Sample0002.jpg=1", "Sample0003.jpg=2"}), Contents());
    EXPECT_EQ((std::vector<Shown>{{window,
                                   "前回の改名（リネーム）は途中で終わっていました。\r\n"
                                   "一時的な名前のまま残ったファイルを、予定の名前か元の名前に戻します。",
                                   "前回の改名の復旧", MB_OK, MB_ICONWARNING},
                                  {window,
                                   "一時的な名前から戻したファイル: 2 件\r\n" + Path("~tvaa0") + " → " + Path("Sample0001.jpg") +
                                       "\r\n" + Path("~tvaa3") + " → " + Path("IMG.jpg"),
                                   "前回の改名の復旧", MB_OK, MB_ICONINFORMATION}}),
              shown);
    shown.clear();
    RecoverInterruptedRun(window, journal);
    EXPECT_TRUE(shown.empty()) << "put right once";
}

}  // namespace
