// The run's engine on real files, one scenario per row: the files before, the list, the pattern, the answers given,
// then every file afterwards and every message box shown.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include "rename/rename_engine.h"
#include "support/tovik_test.h"

struct Scenario {
    const char* name;
    Strings before;  // in the test's folder: "name=content", "folder\\"
    Strings list;    // entries by name in that folder
    Strings after;   // everything in it afterwards
    Strings asked;   // in order: overwrite questions "source>new name", "!new name" for a folder in the way
    std::vector<std::pair<std::string, DWORD>> failed = {};  // the failure list
    std::vector<int> answers = {};
    int operation = RenameOnly, mode = Keep;
    const char* start = "1";
    std::string output = "";  // "<w>" stands for the test's folder
    const char* stopped = nullptr;  // "renamed/remaining" in the message of a run that stopped
    const char* held = nullptr;  // held open without sharing during the run
    const char* readOnly = nullptr;
    int stopAfter = 0;  // the hooks stop the run at their call of this number
};

class Scenarios : public TovikTest {
protected:
    void Run(const Scenario& s)
    {
        SCOPED_TRACE(s.name);
        RemoveTree(work);  // a fresh folder per scenario
        ASSERT_TRUE(CreateDirectoryA(work.c_str(), NULL));
        Make(s.before);
        Strings sources(s.list.size());  // sized first: the pointers stay valid
        std::vector<const char*> pointers;
        for (size_t i = 0; i < s.list.size(); i++) sources[i] = Path(s.list[i]), pointers.push_back(sources[i].c_str());
        char output[MAX_PATH] = "";
        if (s.output.compare(0, 7, "<short>") == 0) GetShortPathNameA(Path(s.output.substr(7)).c_str(), output, sizeof output);
        else snprintf(output, sizeof output, "%s", s.output.compare(0, 3, "<w>") ? s.output.c_str() : (work + s.output.substr(3)).c_str());
        NamePattern pattern = {"Sample", "", atoll(s.start), 4, s.operation, s.mode, output, "png"};
        if (s.readOnly) SetFileAttributesA(Path(s.readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE held = s.held ? CreateFileA(Path(s.held).c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL) : INVALID_HANDLE_VALUE;
        answers = s.answers, shown.clear();
        int calls = s.stopAfter;
        auto countDown = [](void* left, int, int, const char*) -> int { return --*(int*)left != 0; };
        RunHooks hooks = {countDown, 0, &calls, NULL, 0};
        int count = (int)pointers.size();
        int completed = RenameFiles(window, pointers.data(), count, &pattern, s.stopAfter ? &hooks : NULL);
        EXPECT_EQ(s.stopped ? 0 : 1, completed);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        if (s.readOnly) SetFileAttributesA(Path(s.readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
        std::vector<Shown> expected;
        for (const std::string& a : s.asked)
            expected.push_back(a[0] == '!' ? Error(window, "コピー先ファイル名[ " + Path(a.substr(1)) + " ]は既にフォルダ名として登録されています。\r\n"
                                                           "このファイルの改名（リネーム）を中止して処理を続けます。", "フォルダ名重複")
                                           : Overwrite(window, Path(a.substr(0, a.find('>'))), Path(a.substr(a.find('>') + 1))));
        Strings lines;
        for (const auto& failure : s.failed) lines.push_back(FailureLine(Path(failure.first), failure.second));
        int more = lines.size() > 20 ? (int)lines.size() - 20 : 0;
        lines.resize(lines.size() - more);
        if (s.stopped) {
            expected.push_back(StopSummary(window, atoi(s.stopped), atoi(strchr(s.stopped, '/') + 1), lines));
        } else if (!lines.empty()) {
            expected.push_back(FailureList(window, lines, more));
        }
        EXPECT_EQ(expected, shown);
        EXPECT_EQ(s.after, Contents()) << "no temporary name is left";
    }
};

const Strings kABC = {"Sample0002.txt=outside", "a.txt=A", "b.txt=B", "c.txt=C"};
const Strings kFour = {"Sample0001.jpg=1", "Sample0002.jpg=2", "Sample0003.jpg=3", "Sample0004.jpg=4"};

TEST_F(Scenarios, QuestionsChainsRingsAndLetterCase) {
    Open();
    const Strings abc = {"a.txt", "b.txt", "c.txt"}, top = {"Sample0004.jpg", "Sample0001.jpg", "Sample0002.jpg", "Sample0003.jpg"};
    const Scenario rows[] = {
        {"Yes at a question", kABC, abc, {"Sample0001.txt=A", "Sample0002.txt=B", "Sample0003.txt=C"}, {"b.txt>Sample0002.txt"}, {}, {IDYES}},
        // The skipped file's number is not given to the next one.
        {"No at a question", kABC, abc, {"Sample0001.txt=A", "Sample0002.txt=outside", "Sample0003.txt=C", "b.txt=B"}, {"b.txt>Sample0002.txt"}},
        {"Cancel ends the run", kABC, abc, {"Sample0001.txt=A", "Sample0002.txt=outside", "b.txt=B", "c.txt=C"}, {"b.txt>Sample0002.txt"}, {},
         {IDCANCEL}, RenameOnly, Keep, "1", "", "1/2"},
        {"a copy keeps its source, also when overwriting", kABC, {"a.txt", "b.txt"},
         {"Sample0001.txt=A", "Sample0002.txt=B", "a.txt=A", "b.txt=B", "c.txt=C"}, {"b.txt>Sample0002.txt"}, {}, {IDYES}, RenameCopy, Keep, "1", "<w>"},
        {"the same path", {"IMG_7.JPG=self"}, {"IMG_7.JPG"}, {"IMG_7.JPG=self"}, {}, {}, {}, ExtensionOnly},
        {"letter case only", {"IMG_7.JPG=self"}, {"IMG_7.JPG"}, {"IMG_7.jpg=self"}, {}, {}, {}, ExtensionOnly, Lower},
        {"the same path, but the file is gone", {}, {"IMG_7.JPG"}, {}, {}, {{"IMG_7.JPG", ERROR_FILE_NOT_FOUND}}, {}, ExtensionOnly},
        {"the same path, but it is a folder", {"IMG_7.JPG\\"}, {"IMG_7.JPG"}, {"IMG_7.JPG\\"}, {}, {{"IMG_7.JPG", ERROR_ACCESS_DENIED}}, {}, ExtensionOnly},
        {"a copy onto the source itself", {"Sample0001.TXT=A"}, {"Sample0001.TXT"}, {"Sample0001.TXT=A"}, {},
         {{"Sample0001.TXT", kReasonCopyOntoItself}}, {}, RenameCopy, Lower, "1", "<w>"},
        {"one moved to the top", kFour, top, {"Sample0001.jpg=4", "Sample0002.jpg=1", "Sample0003.jpg=2", "Sample0004.jpg=3"}, {}},
        // The question stays for a file the run itself put there.
        {"two entries composing one path", {"a.gif=gif", "a.jpg=jpeg"}, {"a.jpg", "a.gif"}, {"a.gif=gif", "a.png=jpeg"}, {"a.gif>a.png"}, {}, {},
         ExtensionOnly, Specified},
        // A file of the run that stays is never offered for overwriting.
        {"a chain ending at a file outside the run", {"Sample0001.txt=S1", "Sample0002.txt=outside", "b.txt=B"}, {"b.txt", "Sample0001.txt"},
         {"Sample0001.txt=S1", "Sample0002.txt=outside", "b.txt=B"}, {"Sample0001.txt>Sample0002.txt"}, {{"b.txt", kReasonNameHeldByRun}}},
        {"a chain member held open", {"Sample0001.txt=S1", "b.txt=B"}, {"b.txt", "Sample0001.txt"}, {"Sample0001.txt=S1", "b.txt=B"}, {},
         {{"Sample0001.txt", ERROR_SHARING_VIOLATION}, {"b.txt", kReasonNameHeldByRun}}, {}, RenameOnly, Keep, "1", "",
         nullptr, "Sample0001.txt"},
        {"a new path that is another entry's staying file", {"a.jpg=jpeg", "a.png=png"}, {"a.jpg", "a.png"}, {"a.jpg=jpeg", "a.png=png"}, {},
         {{"a.jpg", kReasonNameHeldByRun}}, {}, ExtensionOnly, Specified},
        {"a copy onto another entry's source", {"Sample0001.txt=S1", "a.txt=A"}, {"a.txt", "Sample0001.txt"},
         {"Sample0001.txt=S1", "Sample0002.txt=S1", "a.txt=A"}, {}, {{"a.txt", kReasonNameHeldByRun}}, {}, RenameCopy, Keep, "1", "<w>"},
        // A ring moves whole or not at all; a missing file makes it a chain.
        {"a ring with a file missing", {"Sample0001.jpg=1", "Sample0003.jpg=3"}, {"Sample0003.jpg", "Sample0001.jpg", "Sample0002.jpg"},
         {"Sample0001.jpg=3", "Sample0002.jpg=1"}, {}, {{"Sample0002.jpg", ERROR_FILE_NOT_FOUND}}},
        {"a ring whose first file is held", kFour, {"Sample0002.jpg", "Sample0001.jpg"}, kFour, {},
         {{"Sample0002.jpg", ERROR_SHARING_VIOLATION}, {"Sample0001.jpg", kReasonRingMemberFailed}}, {}, RenameOnly,
         Keep, "1", "", nullptr, "Sample0002.jpg"},
        {"a ring held after some moves", kFour, top, kFour, {},
         {{"Sample0004.jpg", kReasonRingMemberFailed}, {"Sample0001.jpg", kReasonRingMemberFailed}, {"Sample0002.jpg", ERROR_SHARING_VIOLATION},
          {"Sample0003.jpg", kReasonRingMemberFailed}}, {}, RenameOnly, Keep, "1", "", nullptr, "Sample0002.jpg"},
        {"the same file twice", {"a.txt=A", "x.txt=X"}, {"a.txt", "x.txt", "a.txt"}, {"Sample0001.txt=A", "Sample0002.txt=X"}, {},
         {{"a.txt", ERROR_FILE_NOT_FOUND}}},
        // Stopped between files, but only once the exchange of names it is in is through.
        {"stopped inside a ring", {"Sample0001.jpg=1", "Sample0002.jpg=2", "Sample0003.jpg=3", "z.jpg=z"},
         {"Sample0003.jpg", "Sample0001.jpg", "Sample0002.jpg", "z.jpg"},
         {"Sample0001.jpg=3", "Sample0002.jpg=1", "Sample0003.jpg=2", "z.jpg=z"}, {}, {}, {}, RenameOnly, Keep, "1", "",
         "3/1", nullptr, nullptr, 3},
    };
    for (const Scenario& row : rows) Run(row);
}

// However the output folder is written, the run knows its own files in it.
TEST_F(Scenarios, TheOutputFolderIsOneFullPath) {
    Open();
    for (const char* output : {"<w>/output folder", "<w>\\output folder\\.", "<w>\\output folder\\\\", "<short>output folder"})
        Run({output, {"output folder\\", "output folder\\Sample0001.jpg=1", "output folder\\Sample0002.jpg=2"},
             {"output folder\\Sample0001.jpg", "output folder\\Sample0002.jpg"},
             {"output folder\\", "output folder\\Sample0002.jpg=1", "output folder\\Sample0003.jpg=2"}, {}, {}, {}, RenameMove, Keep, "2", output});
}

// Each fault leaves every file with its content under its old or its new name, is asked, told or listed, and the run
// goes on with the next file.
TEST_F(Scenarios, FaultsOnDiskBetweenTwoGoodFiles) {
    Open();
    enum { Missing, Held, ReadOnlyTarget, FolderInTheWay, PathTooLong, OutputRemoved };
    const std::string longName = "src\\l." + std::string(259 - Path("src\\l.").size(), 'e');
    for (int fault = Missing; fault <= OutputRemoved; fault++) {
        for (int operation : {RenameOnly, RenameMove, RenameCopy}) {
            if (fault == OutputRemoved && operation == RenameOnly) continue;
            std::string faulty = fault == PathTooLong ? longName : "src\\fault.txt", name = std::to_string(fault * 10 + operation);
            std::string to = operation == RenameOnly ? "src\\" : "out\\", target = to + "Sample0002" + faulty.substr(faulty.rfind('.'));
            Scenario row = {name.c_str(), {"src\\", "src\\first.txt=first", "src\\last.txt=last"}, {"src\\first.txt", faulty, "src\\last.txt"},
                            {}, {}, {}, {IDYES}, operation, Keep, "1", operation == RenameOnly ? "" : "<w>\\out"};
            if (operation != RenameOnly && fault != OutputRemoved) row.before.push_back("out\\");
            if (fault != Missing) row.before.push_back(faulty + "=fault");
            Strings moved = {to + "Sample0001.txt=first", to + "Sample0003.txt=last"};
            const DWORD reasons[] = {ERROR_FILE_NOT_FOUND, ERROR_SHARING_VIOLATION, 0, 0, ERROR_FILENAME_EXCED_RANGE, 0};
            if (reasons[fault]) row.failed = {{faulty, reasons[fault]}};
            if (fault == Held) row.held = faulty.c_str();
            if (fault == ReadOnlyTarget)
                row.before.push_back(target + "=read-only"), row.readOnly = target.c_str(), row.asked = {faulty + ">" + target}, moved.push_back(target + "=fault");
            if (fault == FolderInTheWay) row.before.push_back(target + "\\"), row.asked = {"!" + target};
            if (fault == OutputRemoved) {
                for (const std::string& entry : row.list) row.failed.push_back({entry, ERROR_PATH_NOT_FOUND});
                moved.clear();
            }
            // What stays: the folders, every source of a copy, and what did not move.
            for (const std::string& item : row.before) {
                bool movedAway = fault != OutputRemoved && (item != faulty + "=fault" || fault == ReadOnlyTarget);
                if (item.find('=') == std::string::npos || (item.compare(0, 4, "src\\") == 0 && (operation == RenameCopy || !movedAway))) row.after.push_back(item);
            }
            row.after.insert(row.after.end(), moved.begin(), moved.end());
            std::sort(row.after.begin(), row.after.end());
            Run(row);
        }
    }
}

// In the deepest folders a file is renamed where it stands or not at all: folder parts of 258 bytes (more than a
// split's piece holds) and of 246, and a source of MAX_PATH bytes, which the ANSI calls under Wine would still take.
TEST_F(Scenarios, DeepFolders) {
    Open();
    std::string folder = std::string(120, 'a') + "\\", tooDeep = folder + std::string(258 - Path(folder).size() - 1, 'b') + "\\",
                deep = folder + std::string(246 - Path(folder).size() - 1, 'c') + "\\",
                whole = folder + std::string(MAX_PATH - Path(folder).size() - 4, 'n') + ".txt";  // a source one byte too long
    Run({"past 255 bytes", {folder, tooDeep, tooDeep + "x=x"}, {tooDeep + "x"}, {folder, tooDeep, tooDeep + "x=x"}, {}, {{tooDeep + "x", ERROR_FILENAME_EXCED_RANGE}}, {}, ExtensionOnly});
    Run({"letter case 246 bytes deep", {folder, deep, deep + "a.TXT=a"}, {deep + "a.TXT"}, {folder, deep, deep + "a.txt=a"}, {}, {}, {}, ExtensionOnly, Lower});
    Run({"a source of MAX_PATH bytes", {folder, whole + "=w"}, {whole}, {folder, whole + "=w"}, {}, {{whole, ERROR_FILENAME_EXCED_RANGE}}});
}

// A long shift whose last new name is taken outside the run asks once; the others stay, each listed.
TEST_F(Scenarios, AShiftBlockedAtItsEndAsksOnce) {
    Open();
    Scenario row = {"fifty files shifted", {"Sample0051.jpg=outside"}, {}, {}, {"Sample0050.jpg>Sample0051.jpg"}};
    row.start = "2";
    for (int i = 50; i >= 1; i--) {
        char name[32];
        snprintf(name, sizeof name, "Sample%04d.jpg", i);
        row.before.push_back(std::string(name) + "=" + std::to_string(i)), row.list.insert(row.list.begin(), name);
        if (i < 50) row.failed.push_back({name, kReasonNameHeldByRun});
    }
    row.after = row.before;
    std::sort(row.after.begin(), row.after.end());
    Run(row);
}

// Across drives a move writes a copy under a temporary name and removes its source once the copy has its new name; a
// source that cannot be removed (read-only) is listed, and stays beside its copy.
TEST_F(Scenarios, AMoveAcrossDrivesLetsGoOfItsSourceOnlyOnceCopied) {
    Open();
    if (GetFileAttributesA("Z:\\dev\\shm") == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "no second file system at /dev/shm";
    }
    const std::string other = "Z:\\dev\\shm\\tovik-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), NULL));
    Make({"a.txt=A", "b.txt=B"});
    SetFileAttributesA(Path("b.txt").c_str(), FILE_ATTRIBUTE_READONLY);  // which a removal refuses
    const std::string a = Path("a.txt");
    const std::string b = Path("b.txt");
    const char* sources[] = {a.c_str(), b.c_str()};
    NamePattern pattern = {"Sample", "", 1, 4, RenameMove, Keep, other.c_str(), ""};
    EXPECT_EQ(1, RenameFiles(window, sources, 2, &pattern, NULL));
    EXPECT_EQ(std::vector<Shown>{FailureList(window, {FailureLine(b, kReasonSourceNotRemoved)})}, shown);
    EXPECT_EQ(Strings{"b.txt=B"}, Contents());
    WIN32_FIND_DATAA found;
    HANDLE temporary = FindFirstFileA((other + "\\~tv*").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, temporary);
    EXPECT_EQ("A|B", ReadFileText(other + "\\Sample0001.txt") + "|" + ReadFileText(other + "\\Sample0002.txt"));
    RemoveTree(other);
}
