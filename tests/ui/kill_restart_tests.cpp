// Tovik.exe ended by force at random moments (seeded) of runs of chains, exchanges of names and case changes: at
// each next start no temporary name remains and every content is exactly once under its old or new name.
#include <map>
#include <random>

#include "support/program_process.h"

static std::string Target(int p) { return "Sample" + std::to_string(10001 + p).substr(1) + ".jpg"; }

// The sources of a list whose entry p is to become Target(p): blocks that exchange their names in a ring, chains that
// take the next one's name, letter-case changes and plain renames.
static Strings Generate(std::mt19937& random, int count)
{
    Strings sources;
    for (int p = 0; p < count; p = (int)sources.size()) {
        int size = std::min(2 + (int)(random() % 5), count - p), kind = (int)(random() % 4);
        for (int i = 0; i < size && kind < 2; i++)
            sources.push_back(kind == 0 ? Target(p + (i + 1) % size) : i == 0 ? "c" + std::to_string(p) + ".jpg" : Target(p + i - 1));
        if (kind == 2) sources.push_back(Target(p).substr(0, 11) + "JPG");
        if (kind == 3) sources.push_back("p" + std::to_string(p) + ".jpg");
    }
    return sources;
}

TEST_F(TovikTest, EndedByForceAtRandomMomentsNothingIsLostOrLeftUnderATemporaryName) {
    const std::string app = Path("app"), files = Path("files"), journal = app + "\\Tovik.jnl";
    const int kFiles = 80, kKills = 50;
    std::mt19937 random(932);
    std::map<std::string, std::string> planned;  // content (its old name) -> its new name
    DWORD runLength = 0;  // measured on the first round, which is not ended by force
    for (int round = 0; round <= kKills + 1 && !HasFailure(); round++) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::string left = ReadFileText(journal);
        ProgramProcess program;
        ASSERT_TRUE(program.Start(TOVIK_EXE_PATH, app, "[SYSTEM]\r\nFIGURE_FORMAT=3\r\n"));
        HWND window = program.Find("TovikClass");
        ASSERT_TRUE(window);
        // A run that did not end is told about, then what was put right.
        for (int box = 0; left.find("END\r\n") == std::string::npos && left.find("\r\nRUN\t") != std::string::npos && box < 2; box++) {
            HWND shown = NULL;
            WaitFor([&] { return (shown = FindWindowA("#32770", "前回の改名の復旧")) != NULL; }, box ? 20000 : 1000);
            if (!shown) break;  // a plan cut short was never acted on
            ProgramProcess::Press(shown, IDOK);
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(shown); }));
        }
        std::map<std::string, std::string> seen;  // content -> where it is
        for (const std::string& item : round ? Contents("files") : Strings{})
            EXPECT_TRUE(item.find("~tv") != 0 && seen.emplace(item.substr(item.find('=') + 1), Fold(item.substr(0, item.find('=')))).second) << item;
        EXPECT_EQ(planned.size(), seen.size());
        for (const auto& file : planned)
            EXPECT_TRUE(seen[file.first] == Fold(file.first) || seen[file.first] == Fold(file.second)) << file.first;
        if (round > kKills) break;

        RemoveTree(files), CreateDirectoryA(files.c_str(), NULL), planned.clear();
        Strings sources = Generate(random, kFiles);
        HWND list = GetDlgItem(window, IDC_FILE_LIST), extension = GetDlgItem(window, IDC_EXTENSION_COMBO);
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);  // a shown list repaints after every string
        for (int p = 0; p < kFiles; p++) {
            ASSERT_TRUE(WriteFileText(files + "\\" + sources[p], sources[p]));
            planned[sources[p]] = Target(p);
            SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)Wide(files + "\\" + sources[p]).c_str());
        }
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        SendMessageW(extension, CB_SETCURSEL, Lower, 0);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_EXTENSION_COMBO, CBN_SELENDOK), (LPARAM)extension);
        ProgramProcess::Press(window, IDC_START);
        HWND confirmation = program.Find("#32770", "改名（リネーム）の開始確認");
        ASSERT_TRUE(confirmation);
        ProgramProcess::Press(confirmation, IDYES);
        for (int wait = 0; wait < 20000 && !FindWindowA(NULL, "Now Renaming !!"); wait++) Sleep(1);
        DWORD started = GetTickCount();
        if (round == 0) {
            ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 0; }));
            runLength = GetTickCount() - started;
        } else {
            Sleep(random() % runLength);
        }
        program.Kill();
    }
}
