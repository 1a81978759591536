// Tovik.exe ended by force in the middle of runs (seeded) of chains, exchanges of names and case changes, as a
// temporary name appears and at later ones, and once in the middle of a large copy: at each next start no temporary
// name remains and every content is exactly once under its old or new name.
#include <stdio.h>

#include <map>
#include <random>
#include <set>

#include "support/program_process.h"

static std::string Target(int p) { return "Sample" + std::to_string(10001 + p).substr(1) + ".jpg"; }

// The sources of a list whose entry p is to become Target(p): blocks that exchange their names in a ring, chains that
// take the next one's name, letter-case changes and plain renames.
static Strings Generate(std::mt19937& random, int count)
{
    Strings sources;
    for (int p = 0; p < count; p = (int)sources.size()) {
        int size = std::min(5 + (int)(random() % 16), count - p);
        int kind = std::max(0, (int)(random() % 6) - 2);  // rings three times as often as the others
        for (int i = 0; i < size && kind == 0; i++) sources.push_back(Target(p + (i + 1) % size));
        for (int i = 0; i < size && kind == 1; i++) {
            sources.push_back(i == 0 ? "c" + std::to_string(p) + ".jpg" : Target(p + i - 1));
        }
        if (kind == 2) sources.push_back(Target(p).substr(0, 11) + "JPG");
        if (kind == 3) sources.push_back("p" + std::to_string(p) + ".jpg");
    }
    return sources;
}

static std::set<std::string> TemporaryNames(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\~tv*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        names.insert(found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return names;
}

// Waits until the given number of temporary names has appeared in the folder, one after another, each seen in two
// looks in a row: the name of an exchange of names, which stands while the exchange goes on.
static void AwaitTemporaryNames(const std::string& folder, size_t count)
{
    std::set<std::string> seen;
    std::set<std::string> before;
    for (DWORD start = GetTickCount(); seen.size() < count && GetTickCount() - start < 10000;) {
        std::set<std::string> now = TemporaryNames(folder);
        for (const std::string& name : now) {
            if (before.count(name)) seen.insert(name);
        }
        before = now;
    }
}

TEST_F(TovikTest, EndedByForceInTheMiddleOfRunsNothingIsLostOrLeftUnderATemporaryName) {
    const std::string app = Path("app");
    const std::string files = Path("files");
    const std::string journal = app + "\\Tovik.jnl";
    const int kFiles = 80;
    const int kKills = 50;
    std::mt19937 random(932);
    std::map<std::string, std::string> planned;  // content (its old name) -> its new name
    int amidst = 0;  // kills while a temporary name stood
    for (int round = 0; round <= kKills + 1 && !HasFailure(); round++) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::string left = ReadFileText(journal);
        ProgramProcess program;
        ASSERT_TRUE(program.Start(TOVIK_EXE_PATH, Wide(app), "[SYSTEM]\r\nFIGURE_FORMAT=3\r\n"));
        HWND window = program.Find("TovikClass");
        ASSERT_TRUE(window);
        // A run that did not end is told about, then what was put right.
        bool unfinished = left.find("END\r\n") == std::string::npos && left.find("\r\nRUN\t") != std::string::npos;
        for (int box = 0; unfinished && box < 2; box++) {
            HWND shown = NULL;
            auto found = [&] {
                shown = FindWindowA("#32770", "前回の改名の復旧");
                return shown != NULL;
            };
            WaitFor(found, box ? 20000 : 1000);
            if (!shown) {
                break;  // a plan cut short was never acted on
            }
            ProgramProcess::Press(shown, IDOK);
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(shown); }));
        }
        std::map<std::string, std::string> seen;  // content -> where it is
        for (const std::string& item : round ? Contents("files") : Strings{}) {
            if (item.back() == '\\') {
                continue;  // the copy's folder
            }
            std::string name = item.substr(0, item.find('='));
            EXPECT_TRUE(name.find("~tv") == std::string::npos) << name;
            EXPECT_TRUE(seen.emplace(item.substr(item.find('=') + 1), Fold(name)).second) << name;
        }
        EXPECT_EQ(planned.size(), seen.size());
        for (const auto& file : planned) {
            EXPECT_TRUE(seen[file.first] == Fold(file.first) || seen[file.first] == Fold(file.second)) << file.first;
        }
        if (round > kKills) break;

        RemoveTree(files);
        CreateDirectoryA(files.c_str(), NULL);
        planned.clear();
        HWND list = GetDlgItem(window, IDC_FILE_LIST);
        HWND extension = GetDlgItem(window, IDC_EXTENSION_COMBO);
        HWND operation = GetDlgItem(window, IDC_OPERATION_COMBO);
        std::string aside = files;
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);  // a shown list repaints after every string
        if (round < kKills) {
            Strings sources = Generate(random, kFiles);
            for (int p = 0; p < kFiles; p++) {
                ASSERT_TRUE(WriteFileText(files + "\\" + sources[p], sources[p]));
                planned[sources[p]] = Target(p);
                SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)Wide(files + "\\" + sources[p]).c_str());
            }
            SendMessageW(extension, CB_SETCURSEL, Lower, 0);
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_EXTENSION_COMBO, CBN_SELENDOK), (LPARAM)extension);
        } else {
            // Last, a copy of 256 MiB into a folder of its own.
            aside = files + "\\out";
            CreateDirectoryA(aside.c_str(), NULL);
            ASSERT_TRUE(WriteFileText(files + "\\big.dat", std::string(256 << 20, 'b')));
            planned[std::string(256 << 20, 'b')] = "big.dat";
            SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)Wide(files + "\\big.dat").c_str());
            SendMessageW(operation, CB_SETCURSEL, RenameCopy, 0);
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_OPERATION_COMBO, CBN_SELENDOK), (LPARAM)operation);
            SendMessageW(GetDlgItem(window, IDC_OUTPUT_FOLDER_EDIT), WM_SETTEXT, 0, (LPARAM)Wide(aside).c_str());
        }
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        ProgramProcess::Press(window, IDC_START);
        HWND confirmation = program.Find("#32770", "改名（リネーム）の開始確認");
        ASSERT_TRUE(confirmation);
        ProgramProcess::Press(confirmation, IDYES);
        // At the first temporary name, or at a later one; a copy has only one.
        AwaitTemporaryNames(aside, round < kKills ? 1 + round % 3 : 1);
        // A copy once it has begun to write, which is after the journal has noted the file it writes.
        for (DWORD start = GetTickCount(); round == kKills && GetTickCount() - start < 10000;) {
            WIN32_FILE_ATTRIBUTE_DATA copy = {};
            std::set<std::string> names = TemporaryNames(aside);
            std::string name = names.empty() ? "" : aside + "\\" + *names.begin();
            if (GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &copy) && copy.nFileSizeLow) break;
        }
        program.Kill();
        amidst += !TemporaryNames(aside).empty();
    }
    printf("ended by force while a temporary name stood: %d of %d\n", amidst, kKills + 1);
    EXPECT_GE(amidst, 40);
    EXPECT_EQ(0u, Contents("files\\out").size()) << "the copy cut short is removed";
}
