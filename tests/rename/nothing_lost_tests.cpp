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
static std::string RandomName(std::mt19937& random, const NamePattern& p, int entries)
{
    const char* const extensions[] = {".jpg", ".JPG", ".png", ".Txt", ""};
    const char* const bases[] = {"a", "A", "IMG_7", "表ソ"};
    std::string extension = extensions[random() % 3 ? random() % 2 : 2 + random() % 3];
    if (random() % 5 >= (p.operation == ExtensionOnly ? 1u : 3u)) return bases[random() % 4] + extension;
    char number[16];
    snprintf(number, sizeof number, "%0*d", p.digitCount, (int)(p.startNumber + random() % (entries + 1)));
    return (random() % 4 ? p.prefix : kPrefixes[random() % 3]) + std::string(number) + extension;
}

TEST_F(TovikTest, GeneratedRunsLoseNothing) {
    Open();
    const std::string root = work;
    const char* const replacements[] = {"png", "jpg", "TXT"};
    const int kAnswers[] = {IDYES, IDYES, IDYES, IDYES, IDYES, IDNO, IDNO, IDNO, IDNO, IDCANCEL};
    for (unsigned seed : {7u, 1041u, 932u, 2024u}) {
        std::mt19937 random(seed);
        for (int number = 0; number < 150 && !HasFailure(); number++) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", batch " + std::to_string(number));
            work = root + "\\" + std::to_string(seed) + "-" + std::to_string(number);
            CreateDirectoryA(work.c_str(), NULL);
            Make({"src\\", "out\\"});
            std::string output = Path("out");
            NamePattern p = {kPrefixes[random() % 3], "", (long long)(random() % 3), random() % 5 ? 4 : 1, (int)(random() % 4),
                             (int)(random() % 4), output.c_str(), replacements[random() % 3]};
            // Entries, then files outside the run, then perhaps a folder; most where the new names land.
            int entries = 1 + (int)(random() % 5), outside = (int)(random() % 5), all = entries + outside + (random() % 5 == 0);
            unsigned inOutput = p.operation == RenameMove || p.operation == RenameCopy ? 3 : 1;
            Strings names, sources;
            std::set<std::string> taken;  // one name per folder, as the file system folds it
            for (int attempt = 0; (int)names.size() < all && attempt < 100; attempt++) {
                std::string name = (random() % 5 < inOutput ? "out\\" : "src\\") + RandomName(random, p, entries);
                if (!taken.insert(Fold(name)).second) continue;
                int i = (int)names.size();
                names.push_back(name);
                Make({name + (i < entries ? "=E" + std::to_string(i) : i < entries + outside ? "=O" + std::to_string(i) : "\\")});
                if (i < entries) sources.push_back(Path(name));
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
            HANDLE held = heldEntry < 0 ? INVALID_HANDLE_VALUE : CreateFileA(sources[heldEntry].c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
            std::vector<const char*> pointers;
            for (const std::string& source : sources) pointers.push_back(source.c_str());
            std::vector<int> given;
            for (int i = 0; i < 8; i++) given.push_back(kAnswers[random() % 10]);
            answers = given, shown.clear();
            int result = RenameFiles(window, pointers.data(), entries, &p, NULL);
            if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

            // The paths the user let be overwritten, the sources declined, the new paths told to be folders, the
            // list.
            std::set<std::string> yes, declined, told;
            std::string listed;
            bool cancelled = false;
            size_t question = 0;
            for (const Shown& box : shown) {
                size_t from = box.text.find("[ ") + 2, open = box.title.find('(') + 1;
                std::string bracketed = Fold(box.text.substr(from, box.text.find(" ]") - from));
                int answer = box.buttons == MB_YESNOCANCEL ? given.at(question++) : 0;
                if (answer == IDYES) yes.insert(bracketed);
                if (answer == IDNO) declined.insert(Fold(box.title.substr(open, box.title.size() - open - 1)));
                cancelled = cancelled || answer == IDCANCEL;
                if (box.title == "フォルダ名重複") told.insert(bracketed);
                if (box.buttons == MB_OK && box.title != "フォルダ名重複") listed = box.text;
            }
            EXPECT_EQ(cancelled ? 0 : 1, result);
            std::map<std::string, Strings> where;  // content -> folded paths
            Strings contents = Contents();
            for (const std::string& item : contents)
                if (item.find('=') != std::string::npos) where[item.substr(item.find('=') + 1)].push_back(Fold(Path(item.substr(0, item.find('=')))));
            for (int i = 0; i < (int)names.size(); i++) {
                std::string content = (i < entries ? "E" : "O") + std::to_string(i), oldPath = Fold(Path(names[i]));
                Strings at = where[content];
                where.erase(content);
                if (i >= entries) {  // outside the run: a file, or a folder, which stays
                    if (i == entries + outside) EXPECT_TRUE(std::count(contents.begin(), contents.end(), names[i] + "\\")) << names[i];
                    else if (!yes.count(oldPath)) { EXPECT_EQ(Strings{oldPath}, at) << "a file outside the run changed"; }
                    continue;
                }
                char composed[kNewPathSize];
                ASSERT_EQ(1, ComposeNewName(&p, sources[i].c_str(), i, composed, sizeof composed));
                std::string newPath = Fold(composed);
                SCOPED_TRACE(sources[i] + " -> " + composed);
                for (const std::string& path : at) EXPECT_TRUE(path == oldPath || path == newPath) << "under another name: " << path;
                bool atOld = std::count(at.begin(), at.end(), oldPath) > 0, atNew = std::count(at.begin(), at.end(), newPath) > 0;
                if (p.operation == RenameCopy) EXPECT_TRUE(atOld) << "a copy keeps its source";
                else EXPECT_TRUE(at.size() <= 1 && (!at.empty() || yes.count(newPath))) << "moved twice, or lost without a Yes about its new place";
                if (!cancelled && !atNew && oldPath != newPath && !yes.count(oldPath) && !yes.count(newPath)) {
                    EXPECT_TRUE(declined.count(oldPath) || told.count(newPath) || listed.find(sources[i] + " : ") != std::string::npos)
                        << "not renamed and not reported"; }
            }
            if (!twinPath.empty()) { EXPECT_EQ(Strings{twinPath}, where["T"]) << "a best-fit twin moved"; }
            where.erase("T");
            EXPECT_TRUE(where.empty()) << "a file appeared: " << where.begin()->second[0];
        }
    }
    work = root;
}
