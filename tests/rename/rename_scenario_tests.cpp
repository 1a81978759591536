// The run's engine on real files, one scenario per row: the files before, the list, the pattern, the answers given;
// then every file afterwards, the questions the engine asked, the folders it found in the way and the files it listed,
// all read as data.
#include "rename/file_moves.h"
#include "rename/output_folder.h"
#include "rename/rename_engine.h"
#include "support/tovik_test.h"

typedef std::pair<std::string, std::string> Asked;  // the source, and the new path in the way
typedef std::pair<std::string, DWORD> Failed;       // the path listed, and its reason

// Names are in the test's folder; "<w>" in the output folder stands for it.
struct Scenario {
    const char* name;
    Strings before = {};  // "name=content", "folder\\"
    Strings list = {};
    Strings after = {};
    std::vector<Asked> asked = {};
    Strings foldersInTheWay = {};
    std::vector<Failed> failed = {};
    std::vector<int> answers = {};  // RunAnswer, in order
    int operation = RenameOnly;
    int mode = Keep;
    long long start = 1;
    std::string output = "";
    int result = RunCompleted;
    int renamed = -1;  // when counted
    int remaining = -1;
    const char* held = nullptr;  // held open without sharing during the run
    const char* readOnly = nullptr;
    int stopAfter = 0;  // the hooks stop the run at their call of this number
    const char* prefix = "Sample";
};

struct Record {
    std::vector<Asked> asked;
    Strings foldersInTheWay;
    std::vector<int> answers;
    int calls = 0;
    int stopAfter = 0;
};

static int CountDown(void* context, int, int, const char*)
{
    Record* record = (Record*)context;
    return ++record->calls != record->stopAfter;
}

static int Answer(void* context, const char* source, const char* newPath)
{
    Record* record = (Record*)context;
    record->asked.push_back({source, newPath});
    if (record->answers.empty()) return AnswerNo;
    int answer = record->answers.front();
    record->answers.erase(record->answers.begin());
    return answer;
}

static void NoteFolder(void* context, const char* newPath) { ((Record*)context)->foldersInTheWay.push_back(newPath); }

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
        for (size_t i = 0; i < s.list.size(); i++) {
            sources[i] = Path(s.list[i]);
            pointers.push_back(sources[i].c_str());
        }
        std::string output = s.output.compare(0, 3, "<w>") == 0 ? work + s.output.substr(3) : s.output;
        NamePattern pattern = {s.prefix, "", s.start, 4, s.operation, s.mode, output.c_str(), "png"};
        if (s.readOnly) SetFileAttributesA(Path(s.readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE held = INVALID_HANDLE_VALUE;
        if (s.held) held = CreateFileA(Path(s.held).c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        Record record;
        record.answers = s.answers;
        record.stopAfter = s.stopAfter;
        RunHooks hooks = {CountDown, 0, Answer, NoteFolder, &record, 0, 0};
        RunFailures failures = {};
        RunSummary summary;
        EXPECT_EQ(s.result, RenameFiles(pointers.data(), (int)pointers.size(), &pattern, &hooks, &failures, &summary));
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        if (s.readOnly) SetFileAttributesA(Path(s.readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
        std::vector<Asked> asked;
        for (const Asked& a : s.asked) asked.push_back({Path(a.first), Path(a.second)});
        EXPECT_EQ(asked, record.asked);
        Strings folders;
        for (const std::string& folder : s.foldersInTheWay) folders.push_back(Path(folder));
        EXPECT_EQ(folders, record.foldersInTheWay);
        std::vector<Failed> expectedFailures;
        for (const Failed& f : s.failed) expectedFailures.push_back({Path(f.first), f.second});
        std::vector<Failed> listed;
        for (int i = 0; i < failures.stored; i++) listed.push_back({failures.items[i].path, failures.items[i].error});
        EXPECT_EQ(expectedFailures, listed);
        FreeRunFailures(&failures);
        if (s.renamed >= 0) {
            EXPECT_EQ(s.renamed, summary.renamed);
            EXPECT_EQ(s.remaining, summary.remaining);
        }
        EXPECT_EQ(s.after, Contents()) << "no temporary name is left";
    }
};

const Strings kABC = {"Sample0002.txt=outside", "a.txt=A", "b.txt=B", "c.txt=C"};
const Strings kFour = {"Sample0001.jpg=1", "Sample0002.jpg=2", "Sample0003.jpg=3", "Sample0004.jpg=4"};
const Strings kAbc = {"a.txt", "b.txt", "c.txt"};
const Strings kTop = {"Sample0004.jpg", "Sample0001.jpg", "Sample0002.jpg", "Sample0003.jpg"};

TEST_F(Scenarios, QuestionsChainsRingsAndLetterCase) {
    const Scenario rows[] = {
        // The skipped file's number is not given to the next one.
        {.name = "No at a question", .before = kABC, .list = kAbc,
         .after = {"Sample0001.txt=A", "Sample0002.txt=outside", "Sample0003.txt=C", "b.txt=B"},
         .asked = {{"b.txt", "Sample0002.txt"}}},
        {.name = "Cancel ends the run", .before = kABC, .list = kAbc,
         .after = {"Sample0001.txt=A", "Sample0002.txt=outside", "b.txt=B", "c.txt=C"},
         .asked = {{"b.txt", "Sample0002.txt"}}, .answers = {AnswerCancel}, .result = RunStopped, .renamed = 1,
         .remaining = 2},
        // The question stays for a file the run itself put there.
        {.name = "two entries composing one path", .before = {"a.gif=gif", "a.jpg=jpeg"}, .list = {"a.jpg", "a.gif"},
         .after = {"a.gif=gif", "a.png=jpeg"}, .asked = {{"a.gif", "a.png"}}, .operation = ExtensionOnly,
         .mode = Specified},
        // A file of the run that stays is never offered for overwriting.
        {.name = "a chain ending at a file outside the run",
         .before = {"Sample0001.txt=S1", "Sample0002.txt=outside", "b.txt=B"}, .list = {"b.txt", "Sample0001.txt"},
         .after = {"Sample0001.txt=S1", "Sample0002.txt=outside", "b.txt=B"},
         .asked = {{"Sample0001.txt", "Sample0002.txt"}}, .failed = {{"b.txt", kReasonNameHeldByRun}}},
        {.name = "a chain member held open", .before = {"Sample0001.txt=S1", "b.txt=B"},
         .list = {"b.txt", "Sample0001.txt"}, .after = {"Sample0001.txt=S1", "b.txt=B"},
         .failed = {{"Sample0001.txt", ERROR_SHARING_VIOLATION}, {"b.txt", kReasonNameHeldByRun}},
         .held = "Sample0001.txt"},
        // Refused before anything moves, not left to the system.
        {.name = "a prefix Windows refuses", .before = {"a.txt=A", "b.txt=B"}, .list = {"a.txt", "b.txt"},
         .after = {"a.txt=A", "b.txt=B"},
         .failed = {{"a.txt", kReasonForbiddenCharInName}, {"b.txt", kReasonForbiddenCharInName}}, .prefix = "\""},
        // A ring moves whole or not at all; a missing file makes it a chain.
        {.name = "a ring with a file missing", .before = {"Sample0001.jpg=1", "Sample0003.jpg=3"},
         .list = {"Sample0003.jpg", "Sample0001.jpg", "Sample0002.jpg"},
         .after = {"Sample0001.jpg=3", "Sample0002.jpg=1"}, .failed = {{"Sample0002.jpg", ERROR_FILE_NOT_FOUND}}},
        {.name = "a ring whose first file is held", .before = kFour, .list = {"Sample0002.jpg", "Sample0001.jpg"},
         .after = kFour,
         .failed = {{"Sample0002.jpg", ERROR_SHARING_VIOLATION}, {"Sample0001.jpg", kReasonRingMemberFailed}},
         .held = "Sample0002.jpg"},
        {.name = "a ring held after some moves", .before = kFour, .list = kTop, .after = kFour,
         .failed = {{"Sample0004.jpg", kReasonRingMemberFailed},
                    {"Sample0001.jpg", kReasonRingMemberFailed},
                    {"Sample0002.jpg", ERROR_SHARING_VIOLATION},
                    {"Sample0003.jpg", kReasonRingMemberFailed}},
         .held = "Sample0002.jpg"},
        {.name = "the same file twice", .before = {"a.txt=A", "x.txt=X"}, .list = {"a.txt", "x.txt", "a.txt"},
         .after = {"Sample0001.txt=A", "Sample0002.txt=X"}, .failed = {{"a.txt", ERROR_FILE_NOT_FOUND}}},
        // Stopped between files, but only once the exchange of names it is in is through.
        {.name = "stopped inside a ring",
         .before = {"Sample0001.jpg=1", "Sample0002.jpg=2", "Sample0003.jpg=3", "z.jpg=z"},
         .list = {"Sample0003.jpg", "Sample0001.jpg", "Sample0002.jpg", "z.jpg"},
         .after = {"Sample0001.jpg=3", "Sample0002.jpg=1", "Sample0003.jpg=2", "z.jpg=z"}, .result = RunStopped,
         .renamed = 3, .remaining = 1, .stopAfter = 7},
    };
    for (const Scenario& row : rows) Run(row);
}

// However the output folder is written, the run knows its own files in it.
TEST_F(Scenarios, TheOutputFolderIsOneFullPath) {
    char shortName[MAX_PATH] = "";
    Make({"output folder\\"});
    GetShortPathNameA(Path("output folder").c_str(), shortName, sizeof shortName);
    for (std::string output : {"<w>/output folder", "<w>\\output folder\\.", "<w>\\output folder\\\\"}) {
        Run({.name = output.c_str(),
             .before = {"output folder\\", "output folder\\Sample0001.jpg=1", "output folder\\Sample0002.jpg=2"},
             .list = {"output folder\\Sample0001.jpg", "output folder\\Sample0002.jpg"},
             .after = {"output folder\\", "output folder\\Sample0002.jpg=1", "output folder\\Sample0003.jpg=2"},
             .operation = RenameMove, .start = 2, .output = output});
    }
    Run({.name = "short name", .before = {"output folder\\", "output folder\\Sample0001.jpg=1"},
         .list = {"output folder\\Sample0001.jpg"}, .after = {"output folder\\", "output folder\\Sample0002.jpg=1"},
         .operation = RenameMove, .start = 2, .output = shortName});
    // A drive root keeps its backslash: "C:" alone names the drive's current folder.
    char root[MAX_PATH] = "";
    ASSERT_TRUE(ResolveOutputFolder("C:\\", root, sizeof root));
    EXPECT_STREQ("C:\\", root);
}

// Each fault leaves every file with its content under its old or its new name, is asked, told or listed, and the run
// goes on with the next file.
TEST_F(Scenarios, FaultsOnDiskBetweenTwoGoodFiles) {
    const std::string longName = "src\\l." + std::string(259 - Path("src\\l.").size(), 'e');
    const Strings goodFiles = {"src\\", "src\\first.txt=first", "src\\last.txt=last"};
    const Strings three = {"src\\first.txt", "src\\fault.txt", "src\\last.txt"};
    const Scenario rows[] = {
        {.name = "held open",
         .before = {"out\\", "src\\", "src\\fault.txt=fault", "src\\first.txt=first", "src\\last.txt=last"},
         .list = three,
         .after = {"out\\", "out\\Sample0001.txt=first", "out\\Sample0003.txt=last", "src\\", "src\\fault.txt=fault"},
         .failed = {{"src\\fault.txt", ERROR_SHARING_VIOLATION}}, .operation = RenameMove, .output = "<w>\\out",
         .held = "src\\fault.txt"},
        {.name = "a read-only file at the new path, overwritten by a copy",
         .before = {"out\\", "out\\Sample0002.txt=read-only", "src\\", "src\\fault.txt=fault", "src\\first.txt=first",
                    "src\\last.txt=last"},
         .list = three,
         .after = {"out\\", "out\\Sample0001.txt=first", "out\\Sample0002.txt=fault", "out\\Sample0003.txt=last",
                   "src\\", "src\\fault.txt=fault", "src\\first.txt=first", "src\\last.txt=last"},
         .asked = {{"src\\fault.txt", "out\\Sample0002.txt"}}, .answers = {AnswerYes}, .operation = RenameCopy,
         .output = "<w>\\out", .readOnly = "out\\Sample0002.txt"},
        {.name = "a folder in the way",
         .before = {"src\\", "src\\Sample0002.txt\\", "src\\fault.txt=fault", "src\\first.txt=first",
                    "src\\last.txt=last"},
         .list = three,
         .after = {"src\\", "src\\Sample0001.txt=first", "src\\Sample0002.txt\\", "src\\Sample0003.txt=last",
                   "src\\fault.txt=fault"},
         .foldersInTheWay = {"src\\Sample0002.txt"}},
        {.name = "a path too long",
         .before = {"out\\", "src\\", longName + "=fault", "src\\first.txt=first", "src\\last.txt=last"},
         .list = {"src\\first.txt", longName, "src\\last.txt"},
         .after = {"out\\", "out\\Sample0001.txt=first", "out\\Sample0003.txt=last", "src\\", longName + "=fault"},
         .failed = {{longName, ERROR_FILENAME_EXCED_RANGE}}, .operation = RenameMove, .output = "<w>\\out"},
        {.name = "the output folder removed", .before = goodFiles, .list = {"src\\first.txt", "src\\last.txt"},
         .after = goodFiles,
         .failed = {{"src\\first.txt", ERROR_PATH_NOT_FOUND}, {"src\\last.txt", ERROR_PATH_NOT_FOUND}},
         .operation = RenameCopy, .output = "<w>\\out"},
    };
    for (const Scenario& row : rows) Run(row);
}

// In the deepest folders a file is renamed where it stands or not at all: folder parts of 258 bytes (more than a
// split's piece holds) and of 246, and a source of MAX_PATH bytes, which the ANSI calls under Wine would still take.
TEST_F(Scenarios, DeepFolders) {
    const std::string folder = std::string(120, 'a') + "\\";
    const std::string tooDeep = folder + std::string(258 - Path(folder).size() - 1, 'b') + "\\";
    const std::string deep = folder + std::string(246 - Path(folder).size() - 1, 'c') + "\\";
    const std::string whole = folder + std::string(MAX_PATH - Path(folder).size() - 4, 'n') + ".txt";
    Run({.name = "past 255 bytes", .before = {folder, tooDeep, tooDeep + "x=x"}, .list = {tooDeep + "x"},
         .after = {folder, tooDeep, tooDeep + "x=x"}, .failed = {{tooDeep + "x", ERROR_FILENAME_EXCED_RANGE}},
         .operation = ExtensionOnly});
    Run({.name = "letter case 246 bytes deep", .before = {folder, deep, deep + "a.TXT=a"}, .list = {deep + "a.TXT"},
         .after = {folder, deep, deep + "a.txt=a"}, .operation = ExtensionOnly, .mode = Lower});
    Run({.name = "a source of MAX_PATH bytes", .before = {folder, whole + "=w"}, .list = {whole},
         .after = {folder, whole + "=w"}, .failed = {{whole, ERROR_FILENAME_EXCED_RANGE}}});
}

// Across drives a move writes a copy under a temporary name and removes its source once the copy has its new name; a
// source that cannot be removed (read-only) is listed, and stays beside its copy.
TEST_F(Scenarios, AMoveAcrossDrivesLetsGoOfItsSourceOnlyOnceCopied) {
    if (GetFileAttributesA("Z:\\dev\\shm") == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "no second file system at /dev/shm";
    }
    const std::string other = "Z:\\dev\\shm\\tovik-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), NULL));
    Run({.name = "to /dev/shm", .before = {"a.txt=A", "b.txt=B"}, .list = {"a.txt", "b.txt"}, .after = {"b.txt=B"},
         .failed = {{"b.txt", kReasonSourceNotRemoved}}, .operation = RenameMove, .output = other,
         .readOnly = "b.txt"});
    WIN32_FIND_DATAA found;
    HANDLE temporary = FindFirstFileA((other + "\\~tv*").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, temporary);
    EXPECT_EQ("A", ReadFileText(other + "\\Sample0001.txt"));
    EXPECT_EQ("B", ReadFileText(other + "\\Sample0002.txt"));
    RemoveTree(other);
}

// An undo's moves: each file goes back only while it is the very file the run placed; one put in its place since
// stays, and is listed.
TEST_F(Scenarios, MovingBackTakesOnlyTheFilesOfTheirIdentities) {
    Make({"Sample0001.txt=1", "Sample0002.txt=2"});
    FileIdentity identities[2];
    DWORD error = 0;
    ASSERT_TRUE(ReadFileIdentity(Path("Sample0001.txt").c_str(), &identities[0], &error));
    identities[1] = identities[0];
    const std::string sources[] = {Path("Sample0001.txt"), Path("Sample0002.txt")};
    const std::string targets[] = {Path("a.txt"), Path("b.txt")};
    const char* from[] = {sources[0].c_str(), sources[1].c_str()};
    const char* to[] = {targets[0].c_str(), targets[1].c_str()};
    RunFailures failures = {};
    RunSummary summary;
    EXPECT_EQ(RunCompleted, MoveFilesBack(from, to, identities, 2, 0, &failures, &summary));
    ASSERT_EQ(1, failures.stored);
    EXPECT_EQ(sources[1], failures.items[0].path);
    EXPECT_EQ(kReasonChangedSince, failures.items[0].error);
    FreeRunFailures(&failures);
    EXPECT_EQ(Strings({"Sample0002.txt=2", "a.txt=1"}), Contents());
}

// A reason the system has no text for reads as its number; failures no memory was left to store are counted.
TEST(RunReasons, AnErrorWithoutTextReadsAsItsNumberAndFailuresNotStoredAreCounted) {
    char reason[64] = "";
    FailureReason(0x2000ABCD, reason, sizeof reason);
    EXPECT_STREQ("エラー 536914893", reason);
    RunFailures failures = {};
    failures.total = 3;
    char text[64] = "";
    BuildFailureText(&failures, "header:", text, sizeof text);
    EXPECT_STREQ("header:ほか 3 件", text);
}
