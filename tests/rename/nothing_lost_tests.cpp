// Nothing lost, as a property of generated runs (seeded) with files held open, colliding names and best-fit twins:
// every content ends under its old or new path only, and a file of the run is lost only by a Yes about its new place.
#include <map>
#include <random>
#include <set>

#include "rename/rename_engine.h"
#include "support/tovik_test.h"

const char* const kPrefixes[] = {"Sample", "写真", "ｿ表"};

// Names that collide often: what the pattern makes of the batch's positions, and a few base names under extensions
// that differ in letter case only.
static std::string RandomName(std::mt19937& random, const NamePattern& pattern, int entries)
{
    const char* const extensions[] = {".jpg", ".JPG", ".png", ".Txt", ""};
    const char* const bases[] = {"a", "A", "IMG_7", "表ソ"};
    std::string extension = extensions[random() % 3 ? random() % 2 : 2 + random() % 3];
    if (random() % 5 >= (pattern.operation == ExtensionOnly ? 1u : 3u)) return bases[random() % 4] + extension;
    char number[16];
    snprintf(number, sizeof number, "%0*d", pattern.digitCount, (int)(pattern.startNumber + random() % (entries + 1)));
    return (random() % 4 ? pattern.prefix : kPrefixes[random() % 3]) + std::string(number) + extension;
}

// What the run decided, as its hooks heard it: the paths the user let be overwritten, the sources declined, the new
// paths with a folder in the way, whether it was cancelled.
struct Decisions {
    std::vector<int> answers;
    std::set<std::string> yes;
    std::set<std::string> declined;
    std::set<std::string> folders;
    bool cancelled = false;
};

static int Decide(void* context, const char* source, const char* newPath)
{
    Decisions* decisions = (Decisions*)context;
    int answer = AnswerNo;
    if (!decisions->answers.empty()) {
        answer = decisions->answers.front();
        decisions->answers.erase(decisions->answers.begin());
    }
    if (answer == AnswerYes) decisions->yes.insert(Fold(newPath));
    if (answer == AnswerNo) decisions->declined.insert(Fold(source));
    if (answer == AnswerCancel) decisions->cancelled = true;
    return answer;
}

static void NoteFolder(void* context, const char* newPath) { ((Decisions*)context)->folders.insert(Fold(newPath)); }

TEST_F(TovikTest, GeneratedRunsLoseNothing) {
    const std::string root = work;
    const char* const replacements[] = {"png", "jpg", "TXT"};
    const int kAnswers[] = {AnswerYes, AnswerYes, AnswerYes, AnswerYes, AnswerYes,
                            AnswerNo, AnswerNo, AnswerNo, AnswerNo, AnswerCancel};
    for (unsigned seed : {7u, 1041u, 932u, 2024u}) {
        std::mt19937 random(seed);
        for (int number = 0; number < 150 && !HasFailure(); number++) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", batch " + std::to_string(number));
            work = root + "\\" + std::to_string(seed) + "-" + std::to_string(number);
            CreateDirectoryA(work.c_str(), NULL);
            Make({"src\\", "out\\"});
            std::string output = Path("out");
            NamePattern pattern = {.prefix = kPrefixes[random() % 3],
                                   .suffix = "",
                                   .startNumber = (long long)(random() % 3),
                                   .digitCount = random() % 5 ? 4 : 1,
                                   .operation = (int)(random() % 4),
                                   .extensionMode = (int)(random() % 4),
                                   .outputFolder = output.c_str(),
                                   .replacementExtension = replacements[random() % 3]};
            // Entries, then files outside the run, then perhaps a folder; most where the new names land.
            int entries = 1 + (int)(random() % 5);
            int outside = (int)(random() % 5);
            int all = entries + outside + (random() % 5 == 0);
            unsigned inOutput = pattern.operation == RenameMove || pattern.operation == RenameCopy ? 3 : 1;
            Strings names;
            Strings sources;
            std::set<std::string> taken;  // one name per folder, as the file system folds it
            for (int attempt = 0; (int)names.size() < all && attempt < 100; attempt++) {
                std::string name = (random() % 5 < inOutput ? "out\\" : "src\\") + RandomName(random, pattern, entries);
                if (!taken.insert(Fold(name)).second) continue;
                int i = (int)names.size();
                names.push_back(name);
                if (i < entries) {
                    Make({name + "=E" + std::to_string(i)});
                    sources.push_back(Path(name));
                } else if (i < entries + outside) {
                    Make({name + "=O" + std::to_string(i)});
                } else {
                    Make({name + "\\"});
                }
            }
            // A twin whose name the ANSI calls would best-fit to one of the run's.
            std::wstring twin = Wide(names[random() % entries]);
            size_t letter = twin.find_first_of(L"aAeIS", 4);
            std::string twinPath;
            if (random() % 3 == 0 && letter != std::wstring::npos) {
                twin[letter] = std::wstring(L"áÁéÍŠ")[std::wstring(L"aAeIS").find(twin[letter])];
                MakeWide({twin + L"=T"});
                twinPath = Fold(Path(Narrow(twin)));
            }
            int heldEntry = random() % 4 == 0 ? (int)(random() % entries) : -1;
            HANDLE held = INVALID_HANDLE_VALUE;
            if (heldEntry >= 0) {
                held = CreateFileA(sources[heldEntry].c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
            }
            std::vector<const char*> pointers;
            for (const std::string& source : sources) pointers.push_back(source.c_str());
            Decisions decisions;
            for (int i = 0; i < 8; i++) decisions.answers.push_back(kAnswers[random() % 10]);
            RunHooks hooks = {0, 0, Decide, NoteFolder, &decisions, 0, 0};
            RunFailures failures = {};
            RunSummary summary;
            int result = RenameFiles(pointers.data(), entries, &pattern, &hooks, &failures, &summary);
            if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
            EXPECT_EQ(decisions.cancelled ? RunStopped : RunCompleted, result);
            std::set<std::string> listed;
            for (int i = 0; i < failures.stored; i++) listed.insert(Fold(failures.items[i].path));
            FreeRunFailures(&failures);

            std::map<std::string, Strings> where;  // content -> folded paths
            Strings contents = Contents();
            for (const std::string& item : contents) {
                size_t equals = item.find('=');
                if (equals == std::string::npos) continue;
                where[item.substr(equals + 1)].push_back(Fold(Path(item.substr(0, equals))));
            }
            for (int i = 0; i < (int)names.size(); i++) {
                std::string content = (i < entries ? "E" : "O") + std::to_string(i);
                std::string oldPath = Fold(Path(names[i]));
                Strings at = where[content];
                where.erase(content);
                if (i == entries + outside) {
                    EXPECT_TRUE(std::count(contents.begin(), contents.end(), names[i] + "\\")) << "a folder stays";
                    continue;
                }
                if (i >= entries) {
                    if (!decisions.yes.count(oldPath)) {
                        EXPECT_EQ(Strings{oldPath}, at) << "a file outside the run changed";
                    }
                    continue;
                }
                char composed[kNewPathSize];
                ASSERT_EQ(1, ComposeNewName(&pattern, sources[i].c_str(), i, composed, sizeof composed));
                std::string newPath = Fold(composed);
                SCOPED_TRACE(sources[i] + " -> " + composed);
                for (const std::string& path : at) {
                    EXPECT_TRUE(path == oldPath || path == newPath) << "under another name: " << path;
                }
                bool atOld = std::count(at.begin(), at.end(), oldPath) > 0;
                bool atNew = std::count(at.begin(), at.end(), newPath) > 0;
                if (pattern.operation == RenameCopy) {
                    EXPECT_TRUE(atOld) << "a copy keeps its source";
                } else {
                    EXPECT_LE(at.size(), 1u) << "moved twice";
                    bool allowed = decisions.yes.count(newPath) > 0;
                    EXPECT_TRUE(!at.empty() || allowed) << "lost without a Yes about its new place";
                }
                bool decided = decisions.declined.count(oldPath) || decisions.folders.count(newPath) ||
                               decisions.yes.count(oldPath) || decisions.yes.count(newPath);
                if (!decisions.cancelled && !atNew && oldPath != newPath && !decided) {
                    EXPECT_TRUE(listed.count(oldPath)) << "not renamed and not reported";
                }
            }
            if (!twinPath.empty()) {
                EXPECT_EQ(Strings{twinPath}, where["T"]) << "a best-fit twin moved";
            }
            where.erase("T");
            EXPECT_TRUE(where.empty()) << "a file appeared: " << where.begin()->second[0];
        }
    }
    work = root;
}
