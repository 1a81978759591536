// The per-file loop on real files: every operation and extension mode, the
// collision questions, a run's own files taking each other's places, and the
// list of files that could not be renamed.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rename/rename_run.h"
#include "rename/run_failures.h"
#include "rename_fixture.h"
#include "support/prompt_script.h"

namespace {

typedef std::vector<std::string> NameList;

std::string OverwriteText(const std::string& newPath)
{
    return "コピー先フォルダには既にファイル[ " + newPath +
           " ]が存在します。\r\n上書きしますか？\r\n\r\n[ YES        ] => 上書き\r\n"
           "[ NO         ] => 上書きせずに処理続行\r\n[ キャンセル ] => 処理中断";
}

std::string OverwriteTitle(const std::string& source)
{
    return "ファイルの上書き確認(" + source + ")";
}

class RunRenameTest : public RenameTest {};

struct OperationCase {
    int operation;
    int mode;
    NameList source;  // the source folder afterwards
    NameList output;  // the output folder afterwards
};

TEST_F(RunRenameTest, EveryOperationAndExtensionModeOnDisk)
{
    const OperationCase cases[] = {
        {RenameOnly, Keep, {"Sample0001.JPG", "Sample0002.Txt", "Sample0003"}, {}},
        {RenameOnly, Lower, {"Sample0001.jpg", "Sample0002.txt", "Sample0003"}, {}},
        {RenameOnly, Upper, {"Sample0001.JPG", "Sample0002.TXT", "Sample0003"}, {}},
        {RenameOnly, Specified, {"Sample0001.png", "Sample0002.png", "Sample0003.png"}, {}},
        {RenameMove, Keep, {}, {"Sample0001.JPG", "Sample0002.Txt", "Sample0003"}},
        {RenameMove, Lower, {}, {"Sample0001.jpg", "Sample0002.txt", "Sample0003"}},
        {RenameMove, Upper, {}, {"Sample0001.JPG", "Sample0002.TXT", "Sample0003"}},
        {RenameMove, Specified, {}, {"Sample0001.png", "Sample0002.png", "Sample0003.png"}},
        {RenameCopy, Keep, {"IMG_7.JPG", "memo.Txt", "写真"}, {"Sample0001.JPG", "Sample0002.Txt", "Sample0003"}},
        {RenameCopy, Lower, {"IMG_7.JPG", "memo.Txt", "写真"}, {"Sample0001.jpg", "Sample0002.txt", "Sample0003"}},
        {RenameCopy, Upper, {"IMG_7.JPG", "memo.Txt", "写真"}, {"Sample0001.JPG", "Sample0002.TXT", "Sample0003"}},
        {RenameCopy, Specified, {"IMG_7.JPG", "memo.Txt", "写真"}, {"Sample0001.png", "Sample0002.png", "Sample0003.png"}},
        // The source itself: nothing to do, or only its letter case changes.
        {ExtensionOnly, Keep, {"IMG_7.JPG", "memo.Txt", "写真"}, {}},
        {ExtensionOnly, Lower, {"IMG_7.jpg", "memo.txt", "写真"}, {}},
        {ExtensionOnly, Upper, {"IMG_7.JPG", "memo.TXT", "写真"}, {}},
        {ExtensionOnly, Specified, {"IMG_7.png", "memo.png", "写真.png"}, {}},
    };
    const char* contents[] = {"jpeg", "text", "none"};
    for (const OperationCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.operation) + "/" + std::to_string(c.mode));
        TempFolder work;
        std::string source = work / "src", output = work / "out";
        ASSERT_TRUE(CreateDirectoryA(source.c_str(), NULL));
        ASSERT_TRUE(CreateDirectoryA(output.c_str(), NULL));
        std::vector<std::string> files = {source + "\\IMG_7.JPG", source + "\\memo.Txt",
                                          source + "\\写真"};
        for (int i = 0; i < 3; i++) ASSERT_TRUE(WriteFileText(files[i], contents[i]));
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        AddEntries(files);
        SetOperation(c.operation, c.mode, output, "png");

        PromptScript script;
        EXPECT_EQ(1, RunRename());

        EXPECT_EQ(0u, script.Count()) << script.Last().text;
        NameList expectedSource = c.source, expectedOutput = c.output;
        std::sort(expectedSource.begin(), expectedSource.end());
        EXPECT_EQ(expectedSource, FolderNames(source));
        EXPECT_EQ(expectedOutput, FolderNames(output));
        // Every file keeps its content under its new name.
        const NameList& renamed = c.output.empty() ? c.source : c.output;
        for (int i = 0; i < 3; i++) {
            std::string base = c.output.empty() ? source : output;
            EXPECT_EQ(contents[i], ReadFileText(base + "\\" + renamed[i])) << renamed[i];
        }
        EXPECT_EQ(3, (int)SendMessageA(state->fileList, LB_GETCOUNT, 0, 0))
            << "the run itself leaves the list to the start command";
    }
}

struct AnswerCase {
    int answer;
    int result;
    std::string target;  // content of Sample0002.txt afterwards
    bool sourceKept;
    std::string next;    // content of Sample0003.txt afterwards
};

TEST_F(RunRenameTest, OverwriteQuestionYesNoCancel)
{
    const AnswerCase cases[] = {
        {IDYES, 1, "B", false, "C"},
        {IDNO, 1, "outside", true, "C"},
        {IDCANCEL, 0, "outside", true, "<missing>"},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.answer);
        TempFolder work;
        std::vector<std::string> files = {work / "a.txt", work / "b.txt", work / "c.txt"};
        WriteFileText(files[0], "A");
        WriteFileText(files[1], "B");
        WriteFileText(files[2], "C");
        WriteFileText(work / "Sample0002.txt", "outside");
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        AddEntries(files);

        PromptScript script({c.answer});
        EXPECT_EQ(c.result, RunRename());

        ASSERT_EQ(1u, script.Count());
        const AskedPrompt& asked = script.Last();
        EXPECT_EQ(OverwriteText(work / "Sample0002.txt"), asked.text);
        EXPECT_EQ(OverwriteTitle(files[1]), asked.title);
        EXPECT_EQ((UINT)MB_YESNOCANCEL, asked.buttons);
        EXPECT_EQ((UINT)MB_ICONQUESTION, asked.icon);
        EXPECT_EQ(controls.Window(), asked.owner);
        EXPECT_EQ("A", ReadFileText(work / "Sample0001.txt"));
        EXPECT_EQ(c.target, ReadFileText(work / "Sample0002.txt"));
        EXPECT_EQ(c.sourceKept, FileExists(files[1]));
        EXPECT_EQ(c.next, ReadFileText(work / "Sample0003.txt"));
        EXPECT_EQ(c.result == 0, FileExists(files[2]));
    }
}

TEST_F(RunRenameTest, NumbersFollowListPositionsWhenAFileIsSkipped)
{
    std::vector<std::string> files = {MakeFile("x.txt", "X"), MakeFile("y.txt", "Y"),
                                      MakeFile("z.txt", "Z")};
    MakeFile("Sample0002.txt", "taken");
    AddEntries(files);

    PromptScript script({IDNO});
    EXPECT_EQ(1, RunRename());

    EXPECT_EQ(1u, script.Count());
    EXPECT_EQ(NameList({"Sample0001.txt", "Sample0002.txt", "Sample0003.txt", "y.txt"}), Names());
    EXPECT_EQ("X", ReadFileText(PathOf("Sample0001.txt")));
    EXPECT_EQ("taken", ReadFileText(PathOf("Sample0002.txt")));
    EXPECT_EQ("Z", ReadFileText(PathOf("Sample0003.txt")));
}

TEST_F(RunRenameTest, RenameCopyKeepsEverySourceAlsoWhenOverwriting)
{
    std::string output = MakeFolder("out");
    std::vector<std::string> files = {MakeFile("a.txt", "A"), MakeFile("b.txt", "B")};
    MakeFile("out\\Sample0001.txt", "old");
    AddEntries(files);
    SetOperation(RenameCopy, Keep, output);

    PromptScript script({IDYES});
    EXPECT_EQ(1, RunRename());

    EXPECT_EQ(1u, script.Count());
    EXPECT_EQ("A", ReadFileText(files[0]));
    EXPECT_EQ("B", ReadFileText(files[1]));
    EXPECT_EQ("A", ReadFileText(output + "\\Sample0001.txt"));
    EXPECT_EQ("B", ReadFileText(output + "\\Sample0002.txt"));
}

struct SelfCase {
    const char* name;
    int operation;
    int mode;
    const char* file;
    const char* after;
};

TEST_F(RunRenameTest, TheSourceItselfIsNoCollision)
{
    const SelfCase cases[] = {
        {"same path", ExtensionOnly, Keep, "IMG_7.JPG", "IMG_7.JPG"},
        {"lower case", ExtensionOnly, Lower, "IMG_7.JPG", "IMG_7.jpg"},
        {"upper case", ExtensionOnly, Upper, "IMG_7.jpg", "IMG_7.JPG"},
        {"already named", RenameOnly, Keep, "Sample0001.jpg", "Sample0001.jpg"},
        {"only the prefix's case", RenameOnly, Keep, "sample0001.jpg", "Sample0001.jpg"},
        {"double-byte name", ExtensionOnly, Lower, "写真ソ.TXT", "写真ソ.txt"},
    };
    for (const SelfCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder work;
        std::string file = work / c.file;
        WriteFileText(file, "self");
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        AddEntries({file});
        SetOperation(c.operation, c.mode);

        PromptScript script;
        EXPECT_EQ(1, RunRename());

        EXPECT_EQ(0u, script.Count()) << "no question about the file itself";
        EXPECT_EQ(NameList{c.after}, FolderNames(work.Path())) << "the new letter case, and no temporary name left";
        EXPECT_EQ("self", ReadFileText(work / c.after));
    }
}

struct RenumberCase {
    const char* name;
    std::vector<int> order;  // list order, by file number
    const char* start;
    std::vector<std::string> expected;  // content of Sample0001, Sample0002, ...
};

class RenumberTest : public RenameTest {
protected:
    std::vector<std::string> Numbered(int count)
    {
        std::vector<std::string> files;
        for (int i = 1; i <= count; i++) {
            char name[32];
            snprintf(name, sizeof name, "Sample%04d.jpg", i);
            files.push_back(MakeFile(name, std::to_string(i)));
        }
        return files;
    }
};

TEST_F(RenumberTest, FilesOfTheRunTakeEachOthersPlacesWithoutAQuestion)
{
    const RenumberCase cases[] = {
        {"renumbered from 2", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "2",
         {"<missing>", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
        {"reversed", {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, "1",
         {"10", "9", "8", "7", "6", "5", "4", "3", "2", "1"}},
        {"one moved to the top", {4, 1, 2, 3}, "1", {"4", "1", "2", "3"}},
        {"one moved to the end", {2, 3, 4, 1}, "1", {"2", "3", "4", "1"}},
        {"two swapped", {2, 1, 3}, "1", {"2", "1", "3"}},
        {"renumbered from 0", {1, 2, 3}, "0", {"2", "3", "<missing>"}},
    };
    for (const RenumberCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& name : Names()) DeleteFileA(PathOf(name).c_str());
        std::vector<std::string> files = Numbered((int)c.order.size());
        SendMessageA(state->fileList, LB_RESETCONTENT, 0, 0);
        for (int number : c.order) AddEntries({files[number - 1]});
        SetPattern("Sample", c.start, 3, "");

        PromptScript script;
        EXPECT_EQ(1, RunRename());

        EXPECT_EQ(0u, script.Count()) << script.Last().text;
        std::vector<std::string> contents;
        for (size_t i = 1; i <= c.expected.size(); i++) {
            char name[32];
            snprintf(name, sizeof name, "Sample%04d.jpg", (int)i);
            contents.push_back(ReadFileText(PathOf(name)));
        }
        EXPECT_EQ(c.expected, contents);
        if (std::string(c.start) == "0") {
            EXPECT_EQ("1", ReadFileText(PathOf("Sample0000.jpg")));
        }
        for (const std::string& name : Names())
            EXPECT_EQ(0u, name.find("Sample")) << "no temporary name left: " << name;
    }
}

TEST_F(RunRenameTest, AMissingFileBreaksARingIntoAChain)
{
    // Sample0003 -> Sample0001 -> Sample0002 -> Sample0003 would be a ring;
    // Sample0002 is gone, so the others move into the places left free.
    std::vector<std::string> files = {MakeFile("Sample0003.jpg", "3"), MakeFile("Sample0001.jpg", "1"),
                                      PathOf("Sample0002.jpg")};
    AddEntries(files);

    PromptScript script;
    EXPECT_EQ(1, RunRename());

    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(FailureListText({FailureLine(files[2], ERROR_FILE_NOT_FOUND)}), script.Last().text);
    EXPECT_EQ(NameList({"Sample0001.jpg", "Sample0002.jpg"}), Names());
    EXPECT_EQ("3", ReadFileText(PathOf("Sample0001.jpg")));
    EXPECT_EQ("1", ReadFileText(PathOf("Sample0002.jpg")));
}

TEST_F(RunRenameTest, TwoEntriesComposingOnePathAskAboutTheFirstOnesFile)
{
    std::vector<std::string> files = {MakeFile("a.jpg", "jpeg"), MakeFile("a.gif", "gif")};
    AddEntries(files);
    SetOperation(ExtensionOnly, Specified, "", "png");

    PromptScript script({IDNO});
    EXPECT_EQ(1, RunRename());

    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(OverwriteText(PathOf("a.png")), script.Last().text);
    EXPECT_EQ(OverwriteTitle(files[1]), script.Last().title);
    EXPECT_EQ(NameList({"a.gif", "a.png"}), Names());
    EXPECT_EQ("jpeg", ReadFileText(PathOf("a.png")));
    EXPECT_EQ("gif", ReadFileText(PathOf("a.gif")));
}

TEST_F(RunRenameTest, AFileOfTheRunThatStaysIsAskedAbout)
{
    // a.png keeps its name; a.jpg's new name is a.png.
    std::vector<std::string> files = {MakeFile("a.jpg", "jpeg"), MakeFile("a.png", "png")};
    AddEntries(files);
    SetOperation(ExtensionOnly, Specified, "", "png");

    PromptScript script({IDNO});
    EXPECT_EQ(1, RunRename());

    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(OverwriteTitle(files[0]), script.Last().title);
    EXPECT_EQ("jpeg", ReadFileText(files[0]));
    EXPECT_EQ("png", ReadFileText(files[1]));
}

TEST_F(RunRenameTest, AChainEndingAtAFileOutsideTheRunAsksFromItsEnd)
{
    // With prefix "new" and no digit count: entry 0 (b.txt) is to become
    // new1.txt, the place of entry 1, which is to become new2.txt, taken by
    // a file outside the run. Entry 1 is asked about first; after No, entry 0
    // finds entry 1 still in its place and is asked about it.
    std::vector<std::string> files = {MakeFile("b.txt", "B"), MakeFile("new1.txt", "N1")};
    MakeFile("new2.txt", "outside");
    AddEntries(files);
    SetPattern("new", "1", -1, "");

    PromptScript script({IDNO, IDNO});
    EXPECT_EQ(1, RunRename());

    ASSERT_EQ(2u, script.Count());
    EXPECT_EQ(OverwriteTitle(files[1]), script.Asked()[0].title);
    EXPECT_EQ(OverwriteText(PathOf("new2.txt")), script.Asked()[0].text);
    EXPECT_EQ(OverwriteTitle(files[0]), script.Asked()[1].title);
    EXPECT_EQ(OverwriteText(PathOf("new1.txt")), script.Asked()[1].text);
    EXPECT_EQ("B", ReadFileText(files[0]));
    EXPECT_EQ("N1", ReadFileText(PathOf("new1.txt")));
    EXPECT_EQ("outside", ReadFileText(PathOf("new2.txt")));
}

TEST_F(RunRenameTest, AChainOfTheRunMovesFromItsEndWhenTheEndIsFree)
{
    std::vector<std::string> files = {MakeFile("b.txt", "B"), MakeFile("new1.txt", "N1")};
    AddEntries(files);
    SetPattern("new", "1", -1, "");

    PromptScript script;
    EXPECT_EQ(1, RunRename());

    EXPECT_EQ(0u, script.Count());
    EXPECT_EQ(NameList({"new1.txt", "new2.txt"}), Names());
    EXPECT_EQ("B", ReadFileText(PathOf("new1.txt")));
    EXPECT_EQ("N1", ReadFileText(PathOf("new2.txt")));
}

TEST_F(RunRenameTest, AFolderInTheWayIsReportedAndTheRunGoesOn)
{
    std::vector<std::string> files = {MakeFile("a.txt", "A"), MakeFile("b.txt", "B")};
    MakeFolder("Sample0001.txt");
    AddEntries(files);

    PromptScript script;
    EXPECT_EQ(1, RunRename());

    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ("コピー先ファイル名[ " + PathOf("Sample0001.txt") +
                  " ]は既にフォルダ名として登録されています。\r\n"
                  "このファイルの改名（リネーム）を中止して処理を続けます。",
              script.Last().text);
    EXPECT_EQ("フォルダ名重複", script.Last().title);
    EXPECT_EQ((UINT)MB_OK, script.Last().buttons);
    EXPECT_EQ((UINT)MB_ICONERROR, script.Last().icon);
    EXPECT_EQ(controls.Window(), script.Last().owner);
    EXPECT_EQ(NameList({"Sample0001.txt\\", "Sample0002.txt", "a.txt"}), Names());
    EXPECT_EQ("B", ReadFileText(PathOf("Sample0002.txt")));
}

TEST_F(RunRenameTest, FailuresAreListedTwentyAtMostWithTheRestCounted)
{
    std::vector<std::string> missing;
    for (int i = 0; i < 23; i++) missing.push_back(PathOf("gone" + std::to_string(i) + ".txt"));
    std::string kept = MakeFile("here.txt", "H");
    std::vector<std::string> entries = missing;
    entries.insert(entries.begin() + 5, kept);
    AddEntries(entries);

    PromptScript script;
    EXPECT_EQ(1, RunRename());

    ASSERT_EQ(1u, script.Count()) << "one message after the loop";
    std::vector<std::string> lines;
    for (int i = 0; i < 20; i++) lines.push_back(FailureLine(missing[i], ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FailureListText(lines, 3), script.Last().text);
    EXPECT_EQ("改名（リネーム）できなかったファイル", script.Last().title);
    EXPECT_EQ((UINT)MB_OK, script.Last().buttons);
    EXPECT_EQ((UINT)MB_ICONERROR, script.Last().icon);
    EXPECT_EQ(controls.Window(), script.Last().owner);
    EXPECT_EQ("H", ReadFileText(PathOf("Sample0006.txt"))) << "its number is its position";
}

TEST_F(RunRenameTest, TwentyFailuresNeedNoCount)
{
    std::vector<std::string> missing;
    for (int i = 0; i < 20; i++) missing.push_back(PathOf("gone" + std::to_string(i) + ".txt"));
    AddEntries(missing);

    PromptScript script;
    EXPECT_EQ(1, RunRename());

    ASSERT_EQ(1u, script.Count());
    std::vector<std::string> lines;
    for (const std::string& path : missing) lines.push_back(FailureLine(path, ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FailureListText(lines), script.Last().text);
}

TEST_F(RunRenameTest, AnEmptyListIsACompletedRun)
{
    PromptScript script;
    EXPECT_EQ(1, RunRename());
    EXPECT_EQ(0u, script.Count());
}

TEST_F(RunRenameTest, DuplicateEntriesNeverMoveAnotherEntrysFile)
{
    // The same file twice: the first entry renames it, the third finds it
    // gone and says so.
    std::vector<std::string> files = {MakeFile("a.txt", "A"), MakeFile("x.txt", "X")};
    AddEntries({files[0], files[1], files[0]});

    PromptScript script;
    EXPECT_EQ(1, RunRename());

    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(FailureListText({FailureLine(files[0], ERROR_FILE_NOT_FOUND)}), script.Last().text);
    EXPECT_EQ(NameList({"Sample0001.txt", "Sample0002.txt"}), Names());
    EXPECT_EQ("A", ReadFileText(PathOf("Sample0001.txt")));
}

TEST_F(RunRenameTest, AnEntryWhosePlaceARunFileTookDoesNotMoveThatFile)
{
    // RenameCopy into the sources' own folder: entry 0 copies over entry 1's
    // source after Yes; entry 1's file is gone then, and the run must not
    // copy entry 0's content under entry 1's new name.
    std::string output = folder.Path();
    std::vector<std::string> files = {MakeFile("a.txt", "A"), MakeFile("Sample0001.txt", "S1")};
    AddEntries(files);
    SetOperation(RenameCopy, Keep, output);

    PromptScript script({IDYES});
    EXPECT_EQ(1, RunRename());

    ASSERT_EQ(2u, script.Count());
    EXPECT_EQ(OverwriteTitle(files[0]), script.Asked()[0].title);
    EXPECT_EQ(FailureListText({FailureLine(files[1], ERROR_FILE_NOT_FOUND)}), script.Last().text);
    EXPECT_EQ("A", ReadFileText(PathOf("Sample0001.txt")));
    EXPECT_FALSE(FileExists(PathOf("Sample0002.txt"))) << "no copy of a.txt under entry 1's name";
}

}  // namespace

namespace {

TEST(FailureReason, IsOneLineOfTheSystemsTextOrTheCode)
{
    char text[512];
    FailureReason(ERROR_SHARING_VIOLATION, text, sizeof text);
    EXPECT_EQ(ReasonText(ERROR_SHARING_VIOLATION), text);
    EXPECT_EQ(nullptr, strchr(text, '\n'));
    // A code the system has no text for.
    FailureReason(0xE0001234, text, sizeof text);
    EXPECT_STREQ("エラー 3758101044", text);
    // Cut by whole characters.
    char small[5];
    FailureReason(0xE0001234, small, sizeof small);
    EXPECT_STREQ("エラ", small);
}

}  // namespace
