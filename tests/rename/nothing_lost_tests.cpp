// Nothing lost, as a property: many generated runs on real files, each
// checked against one invariant. Every source's content is afterwards under
// exactly one of its old and new paths (a copy's under its old path and
// perhaps its new one) and under no other name (no temporary name is left),
// and no file outside the run changed unless the user answered Yes about it.
// A file that did not get its new name was asked about, told about or listed.
// The seeds are fixed, so a failing batch is replayed from its seed and number.

#include <stdio.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "rename/name_compose.h"
#include "rename/rename_run.h"
#include "rename_fixture.h"

namespace {

// Paths as the file system compares them.
std::string Fold(std::string path)
{
    for (char& c : path) c = c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
    return path;
}

const char* const kPrefixes[] = {"Sample", "写真", "ｿ表"};

struct Batch {
    NamePattern pattern;
    Strings entries, outside, folders;  // full paths; entries in list order
    std::vector<int> answers;
};

// Names that collide often: what the pattern makes of the batch's positions,
// and a few base names under extensions that differ in letter case only.
std::string RandomName(std::mt19937& random, const NamePattern& p, int entries)
{
    const char* const extensions[] = {".jpg", ".JPG", ".png", ".Txt", ""};
    const char* const bases[] = {"a", "A", "IMG_7", "表ソ"};
    std::string extension = extensions[random() % 3 ? random() % 2 : 2 + random() % 3];
    if (random() % 5 >= (p.operation == ExtensionOnly ? 1u : 3u)) return bases[random() % 4] + extension;
    char number[16];
    snprintf(number, sizeof number, "%0*d", p.digitCount, (int)(p.startNumber + random() % (entries + 1)));
    return (random() % 4 ? p.prefix : kPrefixes[random() % 3]) + std::string(number) + extension;
}

Batch Generate(std::mt19937& random, const std::string& source, const std::string& output)
{
    const char* const replacements[] = {"png", "jpg", "TXT"};
    Batch b;
    b.pattern = {kPrefixes[random() % 3], "", (long long)(random() % 3), random() % 5 ? 4 : 1,
                 (int)(random() % 4), (int)(random() % 4), output.c_str(), replacements[random() % 3]};
    int entries = 1 + (int)(random() % 5), outside = (int)(random() % 5), folders = random() % 5 == 0;
    // Most files are where the new names land.
    unsigned inOutput = b.pattern.operation == RenameMove || b.pattern.operation == RenameCopy ? 3 : 1;
    std::set<std::string> taken;  // one name per folder, as the file system folds it
    for (int i = 0, attempt = 0; i < entries + outside + folders && attempt < 100; attempt++) {
        std::string folder = random() % 5 < inOutput ? output : source;
        std::string path = folder + "\\" + RandomName(random, b.pattern, entries);
        if (!taken.insert(Fold(path)).second) continue;
        (i < entries ? b.entries : i < entries + outside ? b.outside : b.folders).push_back(path);
        i++;
    }
    const int answers[] = {IDYES, IDYES, IDYES, IDYES, IDYES, IDNO, IDNO, IDNO, IDNO, IDCANCEL};
    for (int i = 0; i < 8; i++) b.answers.push_back(answers[random() % 10]);
    return b;
}

class NothingLostTest : public RenameTest {
protected:
    void RunAndCheck(const Batch& b, const std::string& source, const std::string& output)
    {
        const NamePattern& p = b.pattern;
        // Unique contents: E<i> for the run's files, O<i> for the others.
        for (size_t i = 0; i < b.entries.size(); i++)
            ASSERT_TRUE(WriteFileText(b.entries[i], "E" + std::to_string(i)));
        for (size_t i = 0; i < b.outside.size(); i++)
            ASSERT_TRUE(WriteFileText(b.outside[i], "O" + std::to_string(i)));
        for (const std::string& f : b.folders) { ASSERT_TRUE(CreateDirectoryA(f.c_str(), NULL)); }
        SetEntries(b.entries);
        SetPattern(p.prefix, std::to_string(p.startNumber).c_str(), p.digitCount - 1, "");
        SetOperation(p.operation, p.extensionMode, output, p.replacementExtension);

        PromptScript script;
        for (int answer : b.answers) script.Answer(answer);
        int result = RunRename();

        // The paths the user let be overwritten, the sources declined, the
        // new paths told to be folders, the failure list.
        std::set<std::string> yes, declined, told;
        std::string listed;
        bool cancelled = false;
        size_t question = 0;
        for (const AskedPrompt& asked : script.Asked()) {
            size_t from = asked.text.find("[ ") + 2, open = asked.title.find('(') + 1;
            std::string bracketed = Fold(asked.text.substr(from, asked.text.find(" ]") - from));
            if (asked.buttons == MB_YESNOCANCEL) {
                int answer = b.answers.at(question++);
                if (answer == IDYES) yes.insert(bracketed);
                if (answer == IDNO) declined.insert(Fold(asked.title.substr(open, asked.title.size() - open - 1)));
                cancelled = cancelled || answer == IDCANCEL;
            } else if (asked.title == "フォルダ名重複") {
                told.insert(bracketed);
            } else {
                listed = asked.text;
            }
        }
        EXPECT_EQ(cancelled ? 0 : 1, result);

        std::map<std::string, Strings> where;  // content -> folded paths
        for (const std::string& folder : {source, output}) {
            for (const std::string& item : FolderContents(folder)) {
                size_t equals = item.find('=');
                if (equals != std::string::npos)
                    where[item.substr(equals + 1)].push_back(Fold(folder + "\\" + item.substr(0, equals)));
            }
        }
        // The paths of a content, taken out of where: what is left appeared from nowhere.
        auto take = [&where](const std::string& content) {
            Strings at = where[content];
            where.erase(content);
            return at;
        };
        for (size_t i = 0; i < b.entries.size(); i++) {
            char composed[kNewPathSize];
            ASSERT_EQ(1, ComposeNewName(&p, b.entries[i].c_str(), (int)i, composed, sizeof composed));
            SCOPED_TRACE(b.entries[i] + " -> " + composed);
            std::string oldPath = Fold(b.entries[i]), newPath = Fold(composed);
            Strings at = take("E" + std::to_string(i));
            for (const std::string& path : at)
                EXPECT_TRUE(path == oldPath || path == newPath) << "content under another name: " << path;
            bool atOld = std::count(at.begin(), at.end(), oldPath) > 0;
            bool atNew = std::count(at.begin(), at.end(), newPath) > 0;
            bool mayBeLost = yes.count(oldPath) || yes.count(newPath);
            if (p.operation == RenameCopy) {
                EXPECT_TRUE(atOld || yes.count(oldPath)) << "a copy keeps its source";
            } else {
                EXPECT_LE(at.size(), 1u) << "a move leaves one file";
                EXPECT_TRUE(!at.empty() || mayBeLost) << "lost without a Yes";
            }
            if (!cancelled && !atNew && oldPath != newPath && !mayBeLost) {
                EXPECT_TRUE(declined.count(oldPath) || told.count(newPath) ||
                            listed.find(b.entries[i] + " : ") != std::string::npos)
                    << "not renamed and not reported";
            }
        }
        for (size_t i = 0; i < b.outside.size(); i++) {
            Strings at = take("O" + std::to_string(i));
            std::string path = Fold(b.outside[i]);
            if (!yes.count(path)) { EXPECT_EQ(Strings{path}, at) << "a file outside the run changed"; }
            else { EXPECT_LE(at.size(), 1u); }
        }
        EXPECT_TRUE(where.empty()) << "a file appeared: " << where.begin()->second[0];
        for (const std::string& f : b.folders) { EXPECT_TRUE(DirectoryExists(f)) << f; }
    }
};

TEST_F(NothingLostTest, GeneratedRunsLoseNothing)
{
    for (unsigned seed : {7u, 1041u, 932u, 2024u}) {
        std::mt19937 random(seed);
        for (int number = 0; number < 150 && !HasFailure(); number++) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", batch " + std::to_string(number));
            TempFolder work;
            std::string source = work / "src", output = work / "out";
            ASSERT_TRUE(CreateDirectoryA(source.c_str(), NULL));
            ASSERT_TRUE(CreateDirectoryA(output.c_str(), NULL));
            RunAndCheck(Generate(random, source, output), source, output);
        }
    }
}

}  // namespace
