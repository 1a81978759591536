// The journal seen from the real main window: a run that did not end put right at the next start or before the next
// run, moving only the files it moved itself; a journal that cannot be written or read; undo.
#include <stdio.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "core/app_state.h"
#include "ui/run_messages.h"
#include "run_window.h"

std::string IdentityOf(const std::string& path)
{
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileA(path.c_str(), 0, share, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "";
    BY_HANDLE_FILE_INFORMATION info = {};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    char text[48];
    unsigned long long index = ((unsigned long long)info.nFileIndexHigh << 32) | info.nFileIndexLow;
    snprintf(text, sizeof text, "%lx:%llx", info.dwVolumeSerialNumber, index);
    return text;
}

std::vector<Shown> Recovery(HWND owner, const Strings& moves, const Strings& left, const Strings& folders)
{
    const char kTitle[] = "前回の改名の復旧";
    std::string report = "復旧のために動かした、または削除したファイル: ";
    report += std::to_string(moves.size()) + " 件\r\n";
    for (const std::string& move : moves) report += (&move == &moves[0] ? "" : "\r\n") + move;
    if (!left.empty()) report += "\r\n\r\n戻せなかったファイル:\r\n";
    for (const std::string& line : left) report += (&line == &left[0] ? "" : "\r\n") + line;
    if (!folders.empty()) {
        report += "\r\n\r\n次のフォルダに届かないため、復旧を終えていません。"
                  "次に起動したときに、もう一度復旧します。\r\n";
    }
    for (const std::string& folder : folders) report += (&folder == &folders[0] ? "" : "\r\n") + folder;
    UINT icon = left.empty() && folders.empty() ? MB_ICONINFORMATION : MB_ICONERROR;
    return {{owner,
             "前回の改名（リネーム）は途中で終わっていました。\r\n"
             "一時的な名前のまま残ったファイルを、予定の名前か元の名前に戻します。",
             kTitle, MB_OK, MB_ICONWARNING},
            {owner, report, kTitle, MB_OK, icon}};
}

// An entry of a plan: old and new name, temporary name, and whose identity the plan records: a file's name, "#" and
// an identity, or "" for none; then the file whose identity a COPY line notes for the entry.
struct Planned {
    std::string from, to, temp, file;
    std::string copy = "";
};

class Journal : public RunWindow {
protected:
    // The journal of a run that did not end, with the tail after its plan.
    std::string PlanText(int operation, const std::vector<Planned>& plan, const std::string& tail = "")
    {
        std::string text = "Tovik journal 2\r\nRUN\trename\t" + std::to_string(operation) + "\t" +
                           std::to_string(plan.size()) + "\t00000000000000a1\r\n";
        for (size_t i = 0; i < plan.size(); i++) {
            const Planned& p = plan[i];
            std::string identity = p.file[0] == '#' ? p.file.substr(1) : p.file.empty() ? "" : IdentityOf(Path(p.file));
            text += "PLAN\t" + std::to_string(i) + "\t" + Path(p.from) + "\t" + (p.to.empty() ? "" : Path(p.to)) +
                    "\t" + p.temp + "\t" + identity + "\r\n";
        }
        for (size_t i = 0; i < plan.size(); i++) {
            if (plan[i].copy.empty()) continue;
            text += "COPY\t" + std::to_string(i) + "\t" + IdentityOf(Path(plan[i].copy)) + "\r\n";
        }
        return text + tail;
    }
    // The message of a run that does not start because its journal cannot be written, for the reason.
    Shown Refusal(const std::string& reason) const
    {
        const std::string text = "改名の記録 " + std::string(journal) +
                                 " を書けないため、改名（リネーム）を始めませんでした。"
                                 "ファイルは動かしていません。\r\n\r\n" + reason;
        return Error(window, text, "改名（リネーム）を始められません");
    }
    // "from>to" as the report shows a move, by names in the test's folder.
    Strings Moves(const Strings& moves) const
    {
        Strings lines;
        for (const std::string& move : moves) {
            std::string to = move.substr(move.find('>') + 1);
            lines.push_back(Path(move.substr(0, move.find('>'))) + " → " + (to == "削除" ? to : Path(to)));
        }
        return lines;
    }
};

TEST_F(Journal, AnInterruptedRunIsPutRightMovingOnlyTheFilesItMoved) {
    const std::string deep = std::string(256 - work.size(), 'd') + "\\x";  // a folder part of 256 bytes
    const Strings exchange = {"Sample0001.jpg=1", "Sample0003.jpg=2", "~tvaa0=3", "~tvaa3=case"};
    // The first of an exchange of three names was aside and the last had moved into its place; a letter case was
    // changing; an entry of a deep folder has neither a new path nor a temporary name.
    const std::vector<Planned> three = {{"Sample0003.jpg", "Sample0001.jpg", "~tvaa0", "~tvaa0"},
                                        {"Sample0001.jpg", "Sample0002.jpg", "~tvaa1", "Sample0001.jpg"},
                                        {"Sample0002.jpg", "Sample0003.jpg", "~tvaa2", "Sample0003.jpg"},
                                        {"IMG.JPG", "IMG.jpg", "~tvaa3", "~tvaa3"},
                                        {deep, "", "", ""}};
    std::vector<Planned> strangerInTheWay = three;
    strangerInTheWay[1].file = "Sample0003.jpg";
    const Strings finished = {"IMG.jpg=case", "Sample0001.jpg=3", "Sample0002.jpg=1", "Sample0003.jpg=2"};
    const Strings finishedMoves = {"Sample0001.jpg>Sample0002.jpg", "~tvaa0>Sample0001.jpg", "~tvaa3>IMG.jpg"};
    const struct {
        const char* name;
        int operation;
        Strings before;
        std::vector<Planned> plan;
        std::string tail;
        Strings after;
        Strings moves;
        std::vector<std::pair<std::string, DWORD>> left;
    } rows[] = {
        {"an exchange finished", RenameOnly, exchange, three, "", finished, finishedMoves, {}},
        {"after a last line cut short", RenameOnly, exchange, three, "DONE\t1\t", finished, finishedMoves, {}},
        {"after NUL bytes", RenameOnly, exchange, three, std::string(64, '\0'), finished, finishedMoves, {}},
        {"a file in the way that is not the planned one", RenameOnly, exchange, strangerInTheWay, "",
         {"IMG.jpg=case", "Sample0001.jpg=1", "Sample0003.jpg=2", "~tvaa0=3"}, {"~tvaa3>IMG.jpg"},
         {{"~tvaa0", ERROR_ALREADY_EXISTS}}},
        {"a file under a temporary name that is not the one moved aside", RenameOnly, {"a.jpg=a", "~tvaa0=other"},
         {{"b.jpg", "Sample0001.jpg", "~tvaa0", "a.jpg"}}, "", {"a.jpg=a", "~tvaa0=other"}, {},
         {{"~tvaa0", kReasonNotRunsFile}}},
        // The third's copy was never begun: its temporary name holds another file.
        {"copies cut short", RenameCopy,
         {"a.jpg=a", "c.jpg=c", "out\\", "out\\~tvaa0=p", "out\\~tvaa1=p", "out\\~tvaa2=x"},
         {{"a.jpg", "out\\Sample0001.jpg", "~tvaa0", "a.jpg", "out\\~tvaa0"},
          {"b.jpg", "out\\Sample0002.jpg", "~tvaa1", "#1:1", "out\\~tvaa1"},
          {"c.jpg", "out\\Sample0003.jpg", "~tvaa2", "c.jpg"}},
         "", {"a.jpg=a", "c.jpg=c", "out\\", "out\\~tvaa1=p", "out\\~tvaa2=x"}, {"out\\~tvaa0>削除"},
         {{"out\\~tvaa1", kReasonCopyKept}, {"out\\~tvaa2", kReasonNotRunsFile}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        Make(row.before);
        ASSERT_TRUE(WriteFileText(journal, PlanText(row.operation, row.plan, row.tail)));
        RecoverInterruptedRun(window, journal);
        Strings left;
        for (const auto& item : row.left) left.push_back(FailureLine(Path(item.first), item.second));
        EXPECT_EQ(Recovery(window, Moves(row.moves), left), shown);
        EXPECT_EQ(row.after, Contents());
        shown.clear();
        RecoverInterruptedRun(window, journal);
        EXPECT_TRUE(shown.empty()) << "put right once";
    }
    // A folder that cannot be reached keeps the run for the next start, which finishes it once the folder is back.
    Clear();
    Make({"a.jpg=a"});
    WriteFileText(journal, PlanText(RenameOnly, {{"gone\\a.jpg", "gone\\b.jpg", "~tvaa0", "a.jpg"}}));
    RecoverInterruptedRun(window, journal);
    EXPECT_EQ(Recovery(window, {}, {}, {Path("gone\\")}), shown);
    shown.clear();
    Make({"gone\\"});
    MoveFileA(Path("a.jpg").c_str(), Path("gone\\~tvaa0").c_str());
    RecoverInterruptedRun(window, journal);
    EXPECT_EQ(Recovery(window, Moves({"gone\\~tvaa0>gone\\b.jpg"})), shown);
}

// A journal of this program that cannot be read is reported and kept under another name; any other file, and a plan
// cut short, which was never acted on, are left alone without a word.
TEST_F(Journal, AJournalThatCannotBeReadIsReportedAndSetAside) {
    const std::string plan = PlanText(RenameOnly, {{"a.jpg", "b.jpg", "~tvaa0", ""}, {"c.jpg", "d.jpg", "~tvaa1", ""}});
    const std::string damaged = journal + std::string(".damaged");
    std::string huge = plan;  // far past any run's: not even read
    huge.append((256 << 20) - huge.size(), 't');
    const struct {
        std::string text;
        bool reported;
    } rows[] = {
        {"", false},
        {"[SYSTEM]\r\nSTART_NUM=1\r\n", false},
        {plan.substr(0, plan.size() - 30), false},
        {plan + "END\r\n", false},
        {"Tovik journal 1\r\nRUN\trename\t0\t1\r\nPLAN\t0\ta\tb\t~tvaa0\r\n", true},
        {plan.substr(0, plan.find("PLAN\t1")) + "MOVE\r\n" + plan.substr(plan.find("PLAN\t1")), true},
        {huge, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 60));
        Clear();
        DeleteFileA(damaged.c_str());
        ASSERT_TRUE(WriteFileText(journal, row.text));
        RecoverInterruptedRun(window, journal);
        Command(IDC_UNDO_LAST_RUN);
        const std::string text = "改名の記録 " + std::string(journal) + " を読めません。\r\n"
                                 "記録は次の名前で残しました: " + damaged + "\r\n"
                                 "一時的な名前（~tv "
                                 "で始まる名前）のまま残ったファイルがあれば、"
                                 "この記録を見て元に戻してください。";
        const Shown report = {window, text, "前回の改名の復旧", MB_OK, MB_ICONWARNING};
        EXPECT_EQ(row.reported ? std::vector<Shown>{report} : std::vector<Shown>{}, shown);
        EXPECT_EQ(row.reported, GetFileAttributesA(damaged.c_str()) != INVALID_FILE_ATTRIBUTES);
    }
    DeleteFileA(damaged.c_str());
}

// A name for this run's files under /tmp: Wine numbers its processes anew for every prefix, so the process identifier
// alone may be another test run's too.
static std::string UnixTag()
{
    static LARGE_INTEGER counter;
    if (!counter.QuadPart) QueryPerformanceCounter(&counter);
    return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter.QuadPart);
}

// Runs a command of the Unix shell, which Wine starts as it starts a program of its own. Wine does not wait for a Unix
// process, so the command leaves a mark once done.
static void RunShell(const std::string& command)
{
    const std::string mark = "/tmp/tovik-shell-" + UnixTag();
    std::string line = "/bin/bash -c \"" + command + "; touch " + mark + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ASSERT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process));
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    std::string windowsMark = "Z:" + mark;
    std::replace(windowsMark.begin(), windowsMark.end(), '/', '\\');
    for (DWORD start = GetTickCount(); GetFileAttributesA(windowsMark.c_str()) == INVALID_FILE_ATTRIBUTES;) {
        ASSERT_LT(GetTickCount() - start, 120000u) << command;
        Sleep(20);
    }
    DeleteFileA(windowsMark.c_str());
}

// An exchange of names far longer than the stack is deep is finished with loops, and its moves are reported. The
// shell makes the files: Wine would take a minute.
TEST_F(Journal, AnExchangeOfFiftyThousandNamesIsFinished) {
    const int kMembers = 50000;
    const std::string unixFolder = "/tmp/tovik-exchange-" + UnixTag();
    const std::string folder = "Z:\\tmp\\tovik-exchange-" + UnixTag();
    // Member m is file m % 200 of folder m / 200; the first is aside under its temporary name.
    RunShell("rm -rf " + unixFolder + " && mkdir " + unixFolder + " && cd " + unixFolder +
             " && for ((d = 0; d < 250; d++)); do printf -v D %03d $d; mkdir $D;"
             " for ((f = 0; f < 200; f++)); do printf -v F %03d $f; printf %d $((d * 200 + f)) > $D/$F.jpg; done; done"
             " && mv 000/000.jpg 000/~tvaa0 && find . -type f -printf '%P %i\\n' > ../tovik-inodes-" +
             UnixTag());
    std::map<std::string, unsigned long long> inodes;
    std::istringstream list(ReadFileText("Z:\\tmp\\tovik-inodes-" + UnixTag()));
    std::string file;
    for (unsigned long long inode; list >> file >> inode;) inodes[file] = inode;
    std::string volume = IdentityOf(folder + "\\000\\001.jpg");
    volume = volume.substr(0, volume.find(':') + 1);
    auto name = [&](int member) {
        char text[32];
        snprintf(text, sizeof text, "%03d\\%03d.jpg", member / 200, member % 200);
        return std::string(text);
    };
    // The identity of a member's file: the volume's, and the inode as its index.
    auto identity = [&](int member) {
        std::string file = member ? name(member) : "000\\~tvaa0";
        std::replace(file.begin(), file.end(), '\\', '/');
        char text[32];
        snprintf(text, sizeof text, "%llx", inodes[file]);
        return volume + text;
    };
    ASSERT_EQ(IdentityOf(folder + "\\" + name(1)), identity(1));
    std::string plan = "Tovik journal 2\r\nRUN\trename\t0\t50000\t00000000000000a1\r\n";
    for (int member = 0; member < kMembers; member++) {
        plan += "PLAN\t" + std::to_string(member) + "\t" + folder + "\\" + name(member) + "\t" + folder + "\\" +
                name((member + 1) % kMembers) + "\t" + (member ? "" : "~tvaa0") + "\t" + identity(member) + "\r\n";
    }
    ASSERT_TRUE(WriteFileText(journal, plan));
    RecoverInterruptedRun(window, journal);
    ASSERT_EQ(2u, shown.size());
    const std::string count = "復旧のために動かした、または削除したファイル: 50000 件\r\n";
    EXPECT_EQ(count, shown[1].text.substr(0, count.size()));
    EXPECT_NE(std::string::npos, shown[1].text.find("\r\nほか 49980 件"));
    EXPECT_EQ("0", ReadFileText(folder + "\\" + name(1)));
    EXPECT_EQ("49998", ReadFileText(folder + "\\" + name(49999)));
    EXPECT_EQ("49999", ReadFileText(folder + "\\" + name(0)));
    EXPECT_EQ("<missing>", ReadFileText(folder + "\\000\\~tvaa0"));
    RunShell("rm -rf " + unixFolder + " /tmp/tovik-inodes-" + UnixTag());
}

// Every field the journal is given is read back as it was: an entry whose folder part is too long for a temporary name
// and that has no new path, a line longer than three paths of MAX_PATH, identities and placements.
TEST_F(Journal, EveryFieldWrittenIsReadBack) {
    const std::string deep = Path(std::string(256 - work.size(), 'd') + "\\x");
    const std::string longSource = Path(std::string(250 - work.size(), 'f') + "\\g.t");
    const std::string longNew = longSource.substr(0, longSource.size() - 3) + std::string(580, 'n');
    RunTable table;
    ASSERT_TRUE(CreateRunTable(&table, 3));
    SetRunEntryPaths(&table, 0, deep.c_str(), "");
    SetRunEntryPaths(&table, 1, longSource.c_str(), longNew.c_str());
    SetRunEntryPaths(&table, 2, Path("a.txt").c_str(), Path("b.txt").c_str());
    table.entries[2].identity = {0x43000000, 0x123456789ull};
    JournalWriter writer;
    DWORD error = 0;
    ASSERT_TRUE(OpenJournal(&writer, journal, &error));
    ASSERT_TRUE(BeginJournal(&writer, JournalRename, RenameMove, 35, 0xa1, &table, &error));
    const FileIdentity placed = {0x43000000, 0x5678};
    JournalCopying(&writer, 1, &placed);
    JournalPlaced(&writer, 2, &placed, PlacedOver | PlacedCopy);
    EXPECT_TRUE(EndJournal(&writer, 1));
    FreeRunTable(&table);
    JournalRecord record;
    ASSERT_EQ(JournalReadable, ReadJournal(journal, &record, 0));
    EXPECT_EQ(0xa1ull, record.runId);
    EXPECT_EQ(deep, record.entries[0].oldPath);
    EXPECT_EQ("", std::string(record.entries[0].newPath) + record.entries[0].temporaryName);
    EXPECT_EQ(longNew, record.entries[1].newPath);
    EXPECT_EQ("~tv0z1", std::string(record.entries[1].temporaryName));
    EXPECT_EQ(0x5678ull, record.entries[1].copyIdentity.index);
    EXPECT_EQ(0x123456789ull, record.entries[2].identity.index);
    EXPECT_EQ(1, record.placed);
    EXPECT_EQ(2, record.placements[0].index);
    EXPECT_EQ(PlacedOver | PlacedCopy, record.placements[0].how);
    EXPECT_EQ(0x5678ull, record.placements[0].identity.index);
    EXPECT_EQ(1, record.stopped);
    EXPECT_EQ(1, record.ended);
    FreeJournalRecord(&record);
}

// A run whose journal another running copy holds moves nothing and says why; undo then acts on no earlier run.
TEST_F(Journal, ARunWhoseJournalCannotBeWrittenMovesNothing) {
    Make({"a.txt=A", "b.txt=B"});
    Start(RenameOnly, {"a.txt"});
    HANDLE held = CreateFileA(journal, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    Set(IDC_START_NUMBER_EDIT, "2");
    Start(RenameOnly, {"b.txt"});
    CloseHandle(held);
    EXPECT_EQ(Refusal("改名の記録を別の Tovik が使用中です。"), shown.back());
    EXPECT_EQ(Strings({"Sample0001.txt=A", "b.txt=B"}), Contents());
    EXPECT_EQ(Strings{Path("b.txt")}, Entries());
    Undo();
    EXPECT_TRUE(shown.empty());
}

// A new run first puts right a run that its journal holds and that did not end, and is refused while that run waits
// for a folder that cannot be reached.
TEST_F(Journal, ANewRunFirstPutsRightARunThatDidNotEnd) {
    Make({"~tvaa0=left", "c.txt=C"});
    ASSERT_TRUE(WriteFileText(journal, PlanText(RenameOnly, {{"a.txt", "x.txt", "~tvaa0", "~tvaa0"}})));
    Start(RenameOnly, {"c.txt"});
    EXPECT_EQ(Recovery(window, Moves({"~tvaa0>x.txt"})), std::vector<Shown>(shown.begin() + 1, shown.end()));
    EXPECT_EQ(Strings({"Sample0001.txt=C", "x.txt=left"}), Contents());
    Clear();
    Make({"d.txt=D"});
    ASSERT_TRUE(WriteFileText(journal, PlanText(RenameOnly, {{"gone\\a.txt", "gone\\b.txt", "~tvaa0", "#1:1"}})));
    Start(RenameOnly, {"d.txt"});
    std::vector<Shown> expected = Recovery(window, {}, {}, {Path("gone\\")});
    expected.push_back(Refusal("前回の改名の復旧が済んでいません。"));
    EXPECT_EQ(expected, std::vector<Shown>(shown.begin() + 1, shown.end()));
    EXPECT_EQ(Strings{"d.txt=D"}, Contents());
}

// The Recycle Bin of the tests' home folder, emptied; "" when the tests run with another home.
static std::string EmptiedRecycleBin()
{
    char home[MAX_PATH] = "";
    GetEnvironmentVariableA("WINEHOMEDIR", home, sizeof home);
    std::string folder = home;
    if (folder.find("test-home") == std::string::npos) return "";
    folder = folder.substr(folder.find(':') - 1) + "\\.local\\share\\Trash";
    RemoveTree(folder);
    return folder + "\\files";
}

// Undo puts back what the last run placed while it is still the very file the run placed there. A copy goes to the
// Recycle Bin while its original stands as the run found it, else takes the original's place if that is free.
TEST_F(Journal, UndoPutsBackTheFilesTheLastRunPlacedAndNoOthers) {
    const std::string copies = "\r\n\r\nコピーしたファイル 3 件は削除して、ごみ箱に移します"
                               "（元のファイルがなくなっているコピーは、"
                               "元の名前に戻します）。";
    // The files, the list, changes after the run ("-name" removed; "~name=content" another file of the same size and
    // time moved over it), answers at the run's questions; after the undo the files, what its question says after the
    // count, what it left and why, and what went to the Recycle Bin.
    const struct {
        const char* name;
        int operation;
        Strings before, list, changes;
        std::vector<int> answers;
        Strings after;
        std::string question = "";
        std::vector<std::pair<std::string, DWORD>> left = {};
        Strings recycled = {};
    } rows[] = {
        {"renumbered and reversed", RenameOnly, {"Sample0001.jpg=1", "Sample0002.jpg=2", "a.jpg=a"},
         {"Sample0002.jpg", "Sample0001.jpg", "a.jpg"}, {}, {}, {"Sample0001.jpg=1", "Sample0002.jpg=2", "a.jpg=a"}},
        {"moved", RenameMove, {"out\\", "src\\", "src\\b.jpg=b"}, {"src\\b.jpg"}, {}, {},
         {"out\\", "src\\", "src\\b.jpg=b"}},
        {"letter case only", RenameOnly, {"sample0001.JPG=s"}, {"sample0001.JPG"}, {}, {}, {"sample0001.JPG=s"}},
        {"a file gone, an old name taken, a file replaced", RenameOnly, {"a.jpg=a", "b.jpg=b", "c.jpg=c", "d.jpg=d"},
         {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}, {"-Sample0001.jpg", "b.jpg=new", "~Sample0003.jpg=x"}, {},
         {"Sample0002.jpg=b", "Sample0003.jpg=x", "b.jpg=new", "d.jpg=d"}, "",
         {{"Sample0003.jpg", kReasonChangedSince}, {"Sample0001.jpg", kReasonChangedSince},
          {"Sample0002.jpg", kReasonOldNameTaken}}},
        {"an overwrite cannot come back", RenameOnly, {"Sample0001.txt=outside", "a.txt=A"}, {"a.txt"}, {}, {IDYES},
         {"a.txt=A"}, "\r\n\r\n上書きされたファイル 1 件は元に戻せません。"},
        {"copies", RenameCopy, {"out\\", "a.txt=a", "b.txt=b", "c.txt=c"}, {"a.txt", "b.txt", "c.txt"},
         {"-a.txt", "~out\\Sample0002.txt=x"}, {}, {"a.txt=a", "b.txt=b", "c.txt=c", "out\\", "out\\Sample0002.txt=x"},
         copies, {{"out\\Sample0002.txt", kReasonChangedSince}}, {"Sample0003.txt=c"}},
    };
    const std::string bin = EmptiedRecycleBin();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        Make(row.before);
        Start(row.operation, row.list, row.answers);
        for (const std::string& change : row.changes) {
            std::string name = change.substr(1, change.find('=') - 1);
            if (change[0] == '-') {
                DeleteFileA(Path(name).c_str());
            } else if (change[0] != '~') {
                Make({change});
            } else {
                WIN32_FILE_ATTRIBUTE_DATA data;
                GetFileAttributesExA(Path(name).c_str(), GetFileExInfoStandard, &data);
                Make({"other=" + change.substr(change.find('=') + 1)});
                std::string other = Path("other");
                HANDLE file = CreateFileA(other.c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
                SetFileTime(file, NULL, NULL, &data.ftLastWriteTime);
                CloseHandle(file);
                MoveFileExA(other.c_str(), Path(name).c_str(), MOVEFILE_REPLACE_EXISTING);
            }
        }
        Undo();
        std::string question = "直前の改名（リネーム）を元に戻します。よろしいですか？\r\n"
                               "\r\n";
        question += "対象のファイル: " + std::to_string(row.list.size()) + " 件" + row.question;
        std::vector<Shown> expected = {Question(window, question, "改名（リネーム）の取り消し")};
        Strings lines;
        for (const auto& left : row.left) lines.push_back(FailureLine(Path(left.first), left.second));
        if (!lines.empty()) {
            std::string header = "次のファイルは元に戻せませんでした。";
            expected.push_back(FailureList(window, lines, 0, header, "元に戻せなかったファイル"));
        }
        EXPECT_EQ(expected, shown);
        EXPECT_EQ(row.after, Contents());
        for (const std::string& file : bin.empty() ? Strings{} : row.recycled) {
            EXPECT_EQ(file.substr(file.find('=') + 1), ReadFileText(bin + "\\" + file.substr(0, file.find('='))));
        }
        Undo();
        EXPECT_TRUE(shown.empty()) << "a second undo does nothing";
    }
    // Ctrl+Z asks the same, but not in an edit, which has its own undo; Z alone asks nothing.
    Start(RenameOnly, {"a.txt"});
    BYTE keys[256];
    GetKeyboardState(keys);
    const struct {
        int id;
        BYTE control;
        size_t questions;
    } presses[] = {{IDC_PREFIX_EDIT, 0x80, 0}, {IDC_FILE_LIST, 0, 0}, {IDC_FILE_LIST, 0x80, 1}};
    for (const auto& press : presses) {
        SCOPED_TRACE(press.id);
        keys[VK_CONTROL] = press.control;
        SetKeyboardState(keys);
        shown.clear();
        PostMessageA(Control(press.id), WM_KEYDOWN, 'Z', 1);
        Pump();
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(press.questions, shown.size());
    }
}

// The copy undo is to remove, replaced as another program would replace it while the undo runs.
static std::string g_copy;

static LRESULT CALLBACK ReplaceCopy(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
    // Made beside it first: a file made after a removal may get the removed one's index again.
    WriteFileText(g_copy + "~", "new");
    MoveFileExA((g_copy + "~").c_str(), g_copy.c_str(), MOVEFILE_REPLACE_EXISTING);
    return 0;
}

// A copy replaced after the undo was planned, while it ran, is not removed: it is listed.
TEST_F(Journal, ACopyReplacedWhileTheUndoRunsStays) {
    Make({"out\\", "a.txt=a"});
    Start(RenameCopy, {"a.txt"});
    g_copy = Path("out\\Sample0001.txt");
    HWND other = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    SetWindowLongPtrA(other, GWLP_WNDPROC, (LONG_PTR)ReplaceCopy);
    // Posted at the question: handled as the undo delivers waiting messages, before it removes copies.
    whileShown = [&](const Shown& box) {
        if (box.buttons == MB_YESNO) PostMessageA(other, WM_APP, 0, 0);
    };
    Undo();
    whileShown = nullptr;
    DestroyWindow(other);
    EXPECT_EQ(Strings({"a.txt=a", "out\\", "out\\Sample0001.txt=new"}), Contents());
    ASSERT_EQ(2u, shown.size());
    const std::string header = "次のファイルは元に戻せませんでした。";
    const Strings lines = {FailureLine(g_copy, kReasonChangedSince)};
    EXPECT_EQ(FailureList(window, lines, 0, header, "元に戻せなかったファイル"), shown[1]);
    std::string().swap(g_copy);
}

// An undo stopped part-way lists the files it did not move back, and the next undo moves back the rest.
TEST_F(Journal, AStoppedUndoIsFinishedByTheNextUndo) {
    Strings names;
    Strings before;
    for (int i = 0; i < 20; i++) {
        names.push_back("a" + std::to_string(i) + ".txt");
        before.push_back(names.back() + "=" + std::to_string(i));
    }
    Make(before);
    std::sort(before.begin(), before.end());
    Start(RenameOnly, names);
    whileShown = [](const Shown& box) {
        if (box.buttons != MB_YESNO) return;
        SetTimer(NULL, 0, 1, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(NULL, timer);
            SendMessageA(FindWindowA(NULL, kWaitCaption), WM_COMMAND, IDCANCEL, 0);
        });
    };
    Undo();
    whileShown = nullptr;
    ASSERT_EQ(2u, shown.size());
    const std::string stopped = "元に戻すのを中止しました。"
                                "もう一度「直前の改名を元に戻す」（Ctrl+Z）で、"
                                "残りのファイルを元に戻します。";
    EXPECT_EQ(stopped, shown[1].text.substr(0, stopped.size()));
    EXPECT_NE(before, Contents());
    // Memory running out at any step keeps the stopped undo, and its journal, for the next one to finish.
    for (int left = 0; left < 200 && Contents() != before; left++) {
        allocationsLeft = left;
        Undo();
        allocationsLeft = -1;
    }
    EXPECT_EQ(before, Contents());
}
