// The per-file loop on real files: every operation and extension mode, the
// collision questions, a run's own files taking each other's places, and the
// list of files that could not be renamed.

#include "rename/rename_run.h"
#include "rename/run_failures.h"
#include "rename_fixture.h"

namespace {

class RunRenameTest : public RenameTest {};

TEST_F(RunRenameTest, EveryOperationAndExtensionModeOnDisk)
{
    const Strings sources = {"IMG_7.JPG=jpeg", "memo.Txt=text", "写真=none"};
    const char* const bases[] = {"IMG_7", "memo", "写真"};
    const char* const contents[] = {"jpeg", "text", "none"};
    // The three files' extensions afterwards under Keep, Lower, Upper and Specified.
    const char* const extensions[4][3] = {
        {".JPG", ".Txt", ""}, {".jpg", ".txt", ""}, {".JPG", ".TXT", ""}, {".png", ".png", ".png"}};
    for (int operation : {RenameOnly, RenameMove, RenameCopy, ExtensionOnly}) {
        for (int mode : {Keep, Lower, Upper, Specified}) {
            SCOPED_TRACE(std::to_string(operation) + "/" + std::to_string(mode));
            TempFolder work;
            std::string source = work / "src", output = work / "out";
            ASSERT_TRUE(CreateDirectoryA(source.c_str(), NULL));
            ASSERT_TRUE(CreateDirectoryA(output.c_str(), NULL));
            MakeFiles(source, sources);
            SetEntries({source + "\\IMG_7.JPG", source + "\\memo.Txt", source + "\\写真"});
            SetOperation(operation, mode, output, "png");

            PromptScript script;
            EXPECT_EQ(1, RunRename());

            EXPECT_EQ(0u, script.Count()) << script.Last().text;
            Strings renamed;
            for (int i = 0; i < 3; i++) {
                std::string base = operation == ExtensionOnly ? bases[i] : "Sample000" + std::to_string(i + 1);
                renamed.push_back(base + extensions[mode][i] + "=" + contents[i]);
            }
            bool toOutput = operation == RenameMove || operation == RenameCopy;
            EXPECT_EQ(operation == RenameCopy ? sources : toOutput ? Strings{} : Sorted(renamed),
                      FolderContents(source));
            EXPECT_EQ(toOutput ? Sorted(renamed) : Strings{}, FolderContents(output));
            EXPECT_EQ(3u, ListEntries().size()) << "the run leaves the list to the start command";
        }
    }
}

typedef std::vector<std::pair<const char*, DWORD>> Failures;

// One run in a folder of its own, which is the output folder too; files are
// named by their names in it.
struct Scenario {
    const char* name;
    Strings files;    // "name=content" before the run
    Strings entries;  // the list
    std::vector<int> answers;
    Strings asked;    // "source>new name" of each overwrite question, in order
    Strings after;    // "name=content" of everything in the folder afterwards
    Failures failed = {};  // the failure list's sources and reasons
    const char* held = nullptr;  // a file held open without sharing during the run
    int operation = RenameOnly, mode = Keep;
    const char* start = "1";
};

TEST_F(RunRenameTest, QuestionsAndWhatEachFileBecomes)
{
    const Strings abc = {"a.txt=A", "b.txt=B", "c.txt=C", "Sample0002.txt=outside"};
    const Strings four = {"Sample0001.jpg=1", "Sample0002.jpg=2", "Sample0003.jpg=3", "Sample0004.jpg=4"};
    const Scenario cases[] = {
        {"Yes at the overwrite question", abc, {"a.txt", "b.txt", "c.txt"}, {IDYES}, {"b.txt>Sample0002.txt"},
         {"Sample0001.txt=A", "Sample0002.txt=B", "Sample0003.txt=C"}},
        // The skipped file's number is not given to the next one.
        {"No at the overwrite question", abc, {"a.txt", "b.txt", "c.txt"}, {IDNO}, {"b.txt>Sample0002.txt"},
         {"Sample0001.txt=A", "Sample0002.txt=outside", "Sample0003.txt=C", "b.txt=B"}},
        {"RenameCopy keeps every source, also when overwriting", abc, {"a.txt", "b.txt"}, {IDYES},
         {"b.txt>Sample0002.txt"}, {"Sample0001.txt=A", "Sample0002.txt=B", "a.txt=A", "b.txt=B", "c.txt=C"},
         {}, nullptr, RenameCopy},
        // The source itself is no collision.
        {"same path", {"IMG_7.JPG=self"}, {"IMG_7.JPG"}, {}, {}, {"IMG_7.JPG=self"}, {}, nullptr, ExtensionOnly},
        {"letter case only", {"IMG_7.JPG=self"}, {"IMG_7.JPG"}, {}, {}, {"IMG_7.jpg=self"}, {}, nullptr,
         ExtensionOnly, Lower},
        {"double-byte name, letter case only", {"写真ソ.txt=self"}, {"写真ソ.txt"}, {}, {}, {"写真ソ.TXT=self"},
         {}, nullptr, ExtensionOnly, Upper},
        // Renumbering in place: no question, nothing lost.
        {"renumbered from 2", four, {"Sample0001.jpg", "Sample0002.jpg", "Sample0003.jpg", "Sample0004.jpg"}, {},
         {}, {"Sample0002.jpg=1", "Sample0003.jpg=2", "Sample0004.jpg=3", "Sample0005.jpg=4"}, {}, nullptr,
         RenameOnly, Keep, "2"},
        {"reversed", four, {"Sample0004.jpg", "Sample0003.jpg", "Sample0002.jpg", "Sample0001.jpg"}, {}, {},
         {"Sample0001.jpg=4", "Sample0002.jpg=3", "Sample0003.jpg=2", "Sample0004.jpg=1"}},
        {"one moved to the top", four, {"Sample0004.jpg", "Sample0001.jpg", "Sample0002.jpg", "Sample0003.jpg"},
         {}, {}, {"Sample0001.jpg=4", "Sample0002.jpg=1", "Sample0003.jpg=2", "Sample0004.jpg=3"}},
        // The question stays for a file the run itself produced.
        {"two entries composing one path", {"a.jpg=jpeg", "a.gif=gif"}, {"a.jpg", "a.gif"}, {IDNO},
         {"a.gif>a.png"}, {"a.gif=gif", "a.png=jpeg"}, {}, nullptr, ExtensionOnly, Specified},
        // b.txt is to take the place of the next entry, whose new name is
        // taken by a file outside the run: that one is asked about first.
        {"a chain ending at a file outside the run", {"b.txt=B", "Sample0001.txt=S1", "Sample0002.txt=outside"},
         {"b.txt", "Sample0001.txt"}, {IDNO, IDNO}, {"Sample0001.txt>Sample0002.txt", "b.txt>Sample0001.txt"},
         {"Sample0001.txt=S1", "Sample0002.txt=outside", "b.txt=B"}},
        // A ring moves whole or not at all; a missing file makes it a chain.
        {"a ring with a file missing", {"Sample0003.jpg=3", "Sample0001.jpg=1"},
         {"Sample0003.jpg", "Sample0001.jpg", "Sample0002.jpg"}, {}, {}, {"Sample0001.jpg=3", "Sample0002.jpg=1"},
         {{"Sample0002.jpg", ERROR_FILE_NOT_FOUND}}},
        {"a ring whose first file is held", four, {"Sample0002.jpg", "Sample0001.jpg"}, {}, {},
         four, {{"Sample0002.jpg", ERROR_SHARING_VIOLATION}, {"Sample0001.jpg", ERROR_ALREADY_EXISTS}},
         "Sample0002.jpg"},
        {"a ring held after some moves", four,
         {"Sample0004.jpg", "Sample0001.jpg", "Sample0002.jpg", "Sample0003.jpg"}, {}, {}, four,
         {{"Sample0004.jpg", ERROR_ALREADY_EXISTS}, {"Sample0001.jpg", ERROR_ALREADY_EXISTS},
          {"Sample0002.jpg", ERROR_SHARING_VIOLATION}, {"Sample0003.jpg", ERROR_ALREADY_EXISTS}},
         "Sample0002.jpg"},
        {"the same file twice", {"a.txt=A", "x.txt=X"}, {"a.txt", "x.txt", "a.txt"}, {}, {},
         {"Sample0001.txt=A", "Sample0002.txt=X"}, {{"a.txt", ERROR_FILE_NOT_FOUND}}},
        // A copy put over the next entry's source after Yes: that entry's
        // file is gone, and the copy is not copied again under its new name.
        {"a source replaced by the run", {"a.txt=A", "Sample0001.txt=S1"}, {"a.txt", "Sample0001.txt"}, {IDYES},
         {"a.txt>Sample0001.txt"}, {"Sample0001.txt=A", "a.txt=A"}, {{"Sample0001.txt", ERROR_FILE_NOT_FOUND}},
         nullptr, RenameCopy},
    };
    for (const Scenario& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder work;
        MakeFiles(work.Path(), c.files);
        Strings entries;
        for (const std::string& name : c.entries) entries.push_back(work / name);
        SetEntries(entries);
        SetPattern("Sample", c.start, 3, "");
        SetOperation(c.operation, c.mode, work.Path(), "png");
        HANDLE held = c.held ? HoldOpen(work / c.held) : INVALID_HANDLE_VALUE;

        PromptScript script;
        for (int answer : c.answers) script.Answer(answer);
        EXPECT_EQ(1, RunRename());
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

        ASSERT_EQ(c.asked.size() + (c.failed.empty() ? 0 : 1), script.Count());
        for (size_t i = 0; i < c.asked.size(); i++) {
            const AskedPrompt& asked = script.Asked()[i];
            size_t arrow = c.asked[i].find('>');
            EXPECT_EQ("コピー先フォルダには既にファイル[ " + (work / c.asked[i].substr(arrow + 1)) +
                          " ]が存在します。\r\n上書きしますか？\r\n\r\n[ YES        ] => 上書き\r\n"
                          "[ NO         ] => 上書きせずに処理続行\r\n[ キャンセル ] => 処理中断",
                      asked.text);
            EXPECT_EQ("ファイルの上書き確認(" + (work / c.asked[i].substr(0, arrow)) + ")", asked.title);
            EXPECT_EQ((UINT)MB_YESNOCANCEL | MB_ICONQUESTION, asked.buttons | asked.icon);
            EXPECT_EQ(controls.Window(), asked.owner);
        }
        Strings lines;
        for (const auto& failure : c.failed) lines.push_back(FailureLine(work / failure.first, failure.second));
        if (!lines.empty()) { EXPECT_EQ(FailureListText(lines), script.Last().text); }
        EXPECT_EQ(Sorted(c.after), FolderContents(work.Path())) << "no temporary name left";
    }
}

TEST_F(RunRenameTest, FailuresAreListedTwentyAtMostWithTheRestCounted)
{
    for (int count : {20, 23}) {
        TempFolder work;
        Strings missing, lines;
        for (int i = 0; i < count; i++) {
            missing.push_back(work / ("gone" + std::to_string(i) + ".txt"));
            if (i < 20) lines.push_back(FailureLine(missing[i], ERROR_FILE_NOT_FOUND));
        }
        SetEntries(missing);

        PromptScript script;
        EXPECT_EQ(1, RunRename());

        ASSERT_EQ(1u, script.Count()) << "one message after the loop";
        EXPECT_EQ(FailureListText(lines, count - 20), script.Last().text);
    }
}

TEST(FailureReason, IsTheCodeWhenTheSystemHasNoTextCutByWholeCharacters)
{
    char text[512];
    FailureReason(0xE0001234, text, sizeof text);
    EXPECT_STREQ("エラー 3758101044", text);
    char small[5];
    FailureReason(0xE0001234, small, sizeof small);
    EXPECT_STREQ("エラ", small);
}

}  // namespace
