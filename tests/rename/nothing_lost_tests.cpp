// Nothing lost, as a property over generated runs on real files: afterwards
// every source's content is under exactly one of its old and new paths (a
// copy's under its old path and perhaps its new one) and under no other name,
// and nothing outside the run changed unless the user answered Yes about it.
// A file that did not get its new name was asked about, told about or listed.
// The seeds are fixed, so a failing batch is replayed from its seed and number.
#include <map>
#include <random>
#include <set>

#include "rename/rename_engine.h"
#include "support/tovik_test.h"

namespace {

std::string Fold(std::string path)
{
    for (char& c : path) c = c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
    return path;
}

const char* const kPrefixes[] = {"Sample", "写真", "ｿ表"};

struct Batch {
    NamePattern pattern;
    Strings entries, outside, folders;  // names in the test's folder; entries in list order
    std::vector<std::wstring> twins;    // best-fit twins of names in the batch, outside the run
    std::vector<int> answers;
    int held = -1;  // the entry held open without sharing during the run
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

Batch Generate(std::mt19937& random, const std::string& output)
{
    const char* const replacements[] = {"png", "jpg", "TXT"};
    Batch b;
    b.pattern = {kPrefixes[random() % 3], "", (long long)(random() % 3), random() % 5 ? 4 : 1, (int)(random() % 4),
                 (int)(random() % 4), output.c_str(), replacements[random() % 3]};
    int entries = 1 + (int)(random() % 5), outside = (int)(random() % 5), folders = random() % 5 == 0;
    // Most files are where the new names land.
    unsigned inOutput = b.pattern.operation == RenameMove || b.pattern.operation == RenameCopy ? 3 : 1;
    std::set<std::string> taken;  // one name per folder, as the file system folds it
    for (int i = 0, attempt = 0; i < entries + outside + folders && attempt < 100; attempt++) {
        std::string name = (random() % 5 < inOutput ? "out\\" : "src\\") + RandomName(random, b.pattern, entries);
        if (!taken.insert(Fold(name)).second) continue;
        (i < entries ? b.entries : i < entries + outside ? b.outside : b.folders).push_back(name);
        i++;
    }
    // A twin whose name the ANSI calls would best-fit to one of the batch's.
    const std::string& model = b.entries[random() % b.entries.size()];
    std::wstring twin = Wide(model);
    size_t letter = twin.find_first_of(L"aAeIS", 4);
    if (random() % 3 == 0 && letter != std::wstring::npos) {
        twin[letter] = std::wstring(L"áÁéÍŠ")[std::wstring(L"aAeIS").find(twin[letter])];
        b.twins.push_back(twin);
    }
    if (random() % 4 == 0) b.held = (int)(random() % b.entries.size());
    const int answers[] = {IDYES, IDYES, IDYES, IDYES, IDYES, IDNO, IDNO, IDNO, IDNO, IDCANCEL};
    for (int i = 0; i < 8; i++) b.answers.push_back(answers[random() % 10]);
    return b;
}

class NothingLost : public TovikTest {
protected:
    void RunAndCheck(const Batch& b)
    {
        const NamePattern& p = b.pattern;
        Make({"src\\", "out\\"});
        // Unique contents: E<i> for the run's files, O<i> and T<i> for the others.
        for (size_t i = 0; i < b.entries.size(); i++) Make({b.entries[i] + "=E" + std::to_string(i)});
        for (size_t i = 0; i < b.outside.size(); i++) Make({b.outside[i] + "=O" + std::to_string(i)});
        for (size_t i = 0; i < b.twins.size(); i++) MakeWide({b.twins[i] + L"=T" + std::to_wstring(i)});
        Make(b.folders);
        Strings sources;
        std::vector<const char*> pointers;
        for (const std::string& entry : b.entries) sources.push_back(Path(entry));
        for (const std::string& source : sources) pointers.push_back(source.c_str());
        HANDLE held = b.held < 0 ? INVALID_HANDLE_VALUE
                                 : CreateFileA(sources[b.held].c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        answers = b.answers;
        int result = RenameFiles(window, pointers.data(), (int)pointers.size(), &p, NULL);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

        // The paths the user let be overwritten, the sources declined, the
        // new paths told to be folders, the failure list.
        std::set<std::string> yes, declined, told;
        std::string listed;
        bool cancelled = false;
        size_t question = 0;
        for (const Shown& box : shown) {
            size_t from = box.text.find("[ ") + 2, open = box.title.find('(') + 1;
            std::string bracketed = Fold(box.text.substr(from, box.text.find(" ]") - from));
            if (box.buttons == MB_YESNOCANCEL) {
                int answer = b.answers.at(question++);
                if (answer == IDYES) yes.insert(bracketed);
                if (answer == IDNO) declined.insert(Fold(box.title.substr(open, box.title.size() - open - 1)));
                cancelled = cancelled || answer == IDCANCEL;
            } else if (box.title == "フォルダ名重複") {
                told.insert(bracketed);
            } else {
                listed = box.text;
            }
        }
        EXPECT_EQ(cancelled ? 0 : 1, result);

        std::map<std::string, Strings> where;  // content -> folded paths
        for (const std::string& item : Contents()) {
            size_t equals = item.find('=');
            if (equals != std::string::npos) where[item.substr(equals + 1)].push_back(Fold(Path(item.substr(0, equals))));
        }
        auto take = [&where](const std::string& content) {
            Strings at = where[content];
            where.erase(content);
            return at;
        };
        for (size_t i = 0; i < b.entries.size(); i++) {
            char composed[kNewPathSize];
            ASSERT_EQ(1, ComposeNewName(&p, sources[i].c_str(), (int)i, composed, sizeof composed));
            SCOPED_TRACE(sources[i] + " -> " + composed);
            std::string oldPath = Fold(sources[i]), newPath = Fold(composed);
            Strings at = take("E" + std::to_string(i));
            for (const std::string& path : at) EXPECT_TRUE(path == oldPath || path == newPath) << "under another name: " << path;
            bool atOld = std::count(at.begin(), at.end(), oldPath) > 0, atNew = std::count(at.begin(), at.end(), newPath) > 0;
            bool mayBeLost = yes.count(oldPath) || yes.count(newPath);
            // Only a file the run itself put somewhere may be offered for
            // overwriting; a file of the run that stays never is.
            if (p.operation == RenameCopy) {
                EXPECT_TRUE(atOld) << "a copy keeps its source";
            } else {
                EXPECT_LE(at.size(), 1u) << "a move leaves one file";
                EXPECT_TRUE(!at.empty() || yes.count(newPath)) << "lost without a Yes about its new place";
            }
            if (!cancelled && !atNew && oldPath != newPath && !mayBeLost)
                EXPECT_TRUE(declined.count(oldPath) || told.count(newPath) ||
                            listed.find(sources[i] + " : ") != std::string::npos)
                    << "not renamed and not reported";
        }
        for (size_t i = 0; i < b.outside.size(); i++) {
            Strings at = take("O" + std::to_string(i));
            std::string path = Fold(Path(b.outside[i]));
            if (!yes.count(path)) { EXPECT_EQ(Strings{path}, at) << "a file outside the run changed"; }
            else { EXPECT_LE(at.size(), 1u); }
        }
        for (size_t i = 0; i < b.twins.size(); i++) EXPECT_EQ(1u, take("T" + std::to_string(i)).size()) << "a twin moved";
        EXPECT_TRUE(where.empty()) << "a file appeared: " << where.begin()->second[0];
        for (const std::string& f : b.folders) EXPECT_EQ((DWORD)FILE_ATTRIBUTE_DIRECTORY,
                                                         GetFileAttributesA(Path(f).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    }
};

TEST_F(NothingLost, GeneratedRunsLoseNothing)
{
    Open();
    std::string root = work;
    for (unsigned seed : {7u, 1041u, 932u, 2024u}) {
        std::mt19937 random(seed);
        for (int number = 0; number < 150 && !HasFailure(); number++) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", batch " + std::to_string(number));
            work = root + "\\" + std::to_string(seed) + "-" + std::to_string(number);
            CreateDirectoryA(work.c_str(), NULL);
            std::string output = Path("out");
            Batch batch = Generate(random, output);
            shown.clear();
            RunAndCheck(batch);
        }
    }
    work = root;
}

}  // namespace
