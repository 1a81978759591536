// Tovik.exe as the user runs it: its own process in a folder of its own with a settings file prepared beside it,
// driven only through its windows, with the files on disk and the settings it leaves behind checked afterwards.
#include <stdlib.h>

#include "support/program_process.h"

TEST_F(TovikTest, TheProgramRenamesAndMovesTheListedFilesAndSavesItsSettings) {
    Make({"写真\\", "写真\\A.JPG=first", "写真\\b.txt=second", "写真\\c.dat=third", "写真\\README=stays"});
    Make({"出力\\"});
    // An unpacked build can be run instead of the one built here.
    const char* exe = getenv("TOVIK_EXE") ? getenv("TOVIK_EXE") : TOVIK_EXE_PATH;
    ProgramProcess program;
    ASSERT_TRUE(program.Start(exe, Wide(Path("app")), "[SYSTEM]\r\nSTART_NUM=7\r\nFIGURE_FORMAT=2\r\n")) << exe;
    HWND main = program.Find("TovikClass", "Tovik Ver 1.04");
    ASSERT_TRUE(main) << "no main window";
    auto control = [&](int id) { return GetDlgItem(main, id); };
    EXPECT_EQ("7", program.Text(control(IDC_START_NUMBER_EDIT)));

    // Into the list as a drop would put them, in an order of the user's; a click on the list refreshes the buttons.
    for (const char* name : {"写真\\c.dat", "写真\\A.JPG", "写真\\b.txt"}) {
        SendMessageW(control(IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)Wide(Path(name)).c_str());
    }
    SendMessageW(control(IDC_FILE_LIST), WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(control(IDC_START)) != FALSE; }));

    // Rename and move into 出力, lower-case extensions, 写真_007-x and on.
    for (int combo : {IDC_OPERATION_COMBO, IDC_EXTENSION_COMBO}) {
        SendMessageW(control(combo), CB_SETCURSEL, 1, 0);
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(combo, CBN_SELENDOK), (LPARAM)control(combo));
    }
    const struct {
        int id;
        std::string text;
    } typed[] = {
        {IDC_OUTPUT_FOLDER_EDIT, Path("出力")},
        {IDC_PREFIX_EDIT, "写真_"},
        {IDC_SUFFIX_EDIT, "-x"},
    };
    for (const auto& t : typed) SendMessageW(control(t.id), WM_SETTEXT, 0, (LPARAM)Wide(t.text).c_str());
    std::string preview = program.Text(control(IDC_PREVIEW_EDIT));
    EXPECT_EQ("変換書式 ==> 写真_007-x.拡張子", preview.substr(preview.rfind('\n') + 1));

    // The real confirmation, answered Yes; the run ends with the list emptied.
    program.Press(main, IDC_START);
    HWND confirmation = program.Find("#32770", "改名（リネーム）の開始確認");
    ASSERT_TRUE(confirmation) << "no confirmation";
    program.Press(confirmation, IDYES);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(control(IDC_FILE_LIST), LB_GETCOUNT, 0, 0) == 0; }));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(control(IDC_START)); }));
    const Strings moved = {"写真_007-x.dat=third", "写真_008-x.jpg=first", "写真_009-x.txt=second"};
    EXPECT_EQ(moved, Contents("出力"));
    EXPECT_EQ(Strings{"README=stays"}, Contents("写真"));

    // The close box: the program saves and ends with code 0.
    EXPECT_EQ(0u, program.Close());
    const std::string saved = "[SYSTEM]\r\nSTART_NUM=7\r\nFIGURE_FORMAT=2\r\n"
                              "FILENAME_PREFIX=写真_\r\nFILENAME_SUFFIX=-x\r\nOUTPUT_FOLDER=" +
                              Path("出力") + "\r\n";
    EXPECT_EQ(saved, ReadFileText(Path("app\\Tovik.ini")));
}

// A program whose folder's name code page 932 cannot write has no journal: a run moves nothing and says why.
TEST_F(TovikTest, AProgramInAFolderOutsideCodePage932StartsNoRun) {
    Make({"a.txt=A"});
    ProgramProcess program;
    ASSERT_TRUE(program.Start(TOVIK_EXE_PATH, Wide(work) + L"\\app\u00e9", ""));
    HWND main = program.Find("TovikClass");
    ASSERT_TRUE(main);
    SendMessageW(GetDlgItem(main, IDC_FILE_LIST), LB_ADDSTRING, 0, (LPARAM)Wide(Path("a.txt")).c_str());
    program.Press(main, IDC_START);
    HWND confirmation = program.Find("#32770", "改名（リネーム）の開始確認");
    ASSERT_TRUE(confirmation);
    program.Press(confirmation, IDYES);
    HWND refusal = program.Find("#32770", "改名（リネーム）を始められません");
    EXPECT_TRUE(refusal);
    program.Press(refusal, IDOK);
    EXPECT_EQ("A", ReadFileText(Path("a.txt")));
    EXPECT_EQ("<missing>", ReadFileText(Path("Sample0001.txt")));
}
