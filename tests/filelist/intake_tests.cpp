// What drops and the folder command take into the real main window's list from real folders: the order, folders asked
// about, paths the list cannot hold or that would name another file, memory running out.

#include "support/tovik_test.h"

static WNDPROC g_list;
static int g_room;  // strings the list box still takes; -1 for any number
enum How { WideDrop, AnsiDrop, FolderCommand };

TEST_F(TovikTest, IntakeTakesWhatNamesExactlyTheFileSortedAndTellsOnceWhatItLeftOut) {
    Open();
    // Beside each refused name stands the file its best fit or trimmed form would name; 表 ends in 0x5C.
    MakeWide({L"café\\", L"cafe\\", L"cafe\\in.txt=", L"dir\\", L"dir\\cafe.txt=", L"dir\\café.txt=", L"dir\\price¥100.txt=",
              L"dir\\memo.=", L"dir\\photo.jpg =", L"dir\\表.txt=", L"b\\", L"b\\z.txt=", L"b\\Y.txt=", L"b\\.profile=", L"b\\README=",
              L"b\\sub.d\\", L"b\\sub.d\\deep.txt=", L"資料表\\", L"資料表\\x.txt=", L"資料表\\y.txt=", L"資料表a.txt="});
    // Files whose paths have 259 bytes and one past them, and folders of 256 and 258 bytes.
    std::string f(180, 'f'), fits = f + "\\" + std::string(254 - Path(f).size(), 'n') + ".txt",
        deep = f + "\\" + std::string(255 - Path(f).size(), 'g'), deeper = deep + "hh", k = "C:\\" + std::string(252, 'k');
    Make({"b\\" + std::string(253 - work.size(), 'l') + ".txt=", f + "\\", fits + "=", f + "\\" + std::string(100, 'p') + ".txt=",
          deep + "\\", deep + "\\.a=", deep + "\\b.txt=", deeper + "\\", deeper + "\\c.txt="});
    auto ask = [&](const std::string& folder) { return Question(window, "「 " + Path(folder) + " 」はフォルダです＾＾；\r\n\r\nフォルダ配下のファイルを展開しますか？\r\n", "ファイル展開確認"); };
    auto leftOut = [&](const char* title, const std::string& why, int n) { return Error(window, why + "ため、" + std::to_string(n) + " 件を改名（リネーム）ファイルリストに登録しませんでした。", title); };
    auto tooLong = [&](int n) { return leftOut("パス名の長さ超過", "パス名が259バイトを超える", n); };
    auto refused = [&](int n) { return leftOut("使えないファイル名", "ファイル名にシフトJIS（コードページ932）で表せない文字があるか、名前の末尾がピリオドか空白の", n); };
    const Shown noMemory = Error(window, "メモリーが不足しています。", "システムエラー");
    const struct { How how; std::vector<std::wstring> given; Strings listed; std::vector<Shown> told;
                   std::vector<int> answers = {}; int memory = -1, room = -1; } rows[] = {
        {WideDrop, {L"c.txt", L"fileA.txt", L"表.txt", L"b", L"a.txt", L"file_1.txt", L"資料表", L"B.txt", L"9.txt"},
         {"9.txt", "a.txt", "b\\.profile", "b\\Y.txt", "b\\z.txt", "B.txt", "c.txt", "file_1.txt", "fileA.txt",
          "資料表\\x.txt", "資料表\\y.txt", "表.txt"}, {ask("b"), ask("資料表"), tooLong(1)}, {IDYES, IDYES}},
        {WideDrop, {L"c.txt", L"b", L"a.txt"}, {"a.txt", "c.txt"}, {ask("b")}, {IDNO}},
        {AnsiDrop, {L"x.txt", L"C:\\"}, {"C:\\", "x.txt"}, {}},  // a drive root is not found as a folder
        {WideDrop, {Wide(k + "l.txt"), Wide(f), Wide(k + ".txt"), Wide(deep), Wide(deeper), Wide(k + std::string(300, 'm'))},
         {k + ".txt", fits, deep + "\\.a"}, {ask(f), ask(deep), ask(deeper), tooLong(5)}, {IDYES, IDYES, IDYES}},
        {WideDrop, {L"café.txt", L"price¥100.txt", L"memo.", std::wstring(300, L'm'), L"photo.jpg ", L"a.txt"}, {"a.txt"}, {tooLong(1), refused(4)}},
        {AnsiDrop, {L"", L"memo.", L"photo.jpg ", L"a.txt"}, {"a.txt"}, {refused(2)}},
        {WideDrop, {L"", L"café", L"cafe"}, {}, {ask("cafe"), refused(1)}, {IDNO}},
        {WideDrop, {L"dir"}, {"dir\\cafe.txt", "dir\\表.txt"}, {ask("dir"), refused(4)}, {IDYES}},
        {FolderCommand, {L"dir\\"}, {"dir\\cafe.txt", "dir\\表.txt"}, {refused(4)}},
        {FolderCommand, {L"b"}, {"b\\.profile", "b\\Y.txt", "b\\z.txt"}, {tooLong(1)}},
        {FolderCommand, {L"b"}, {"b\\.profile"}, {noMemory, tooLong(1)}, {}, -1, 1},  // the list took one
        {FolderCommand, {L"b\\sub.d"}, {}, {{window, "メモリーの確保に失敗しました(0) " + Path("b\\sub.d\\deep.txt"),
                                             "システムエラー", MB_OK, 0}}, {}, 0},
        {WideDrop, std::vector<std::wstring>(4097, L"m.txt"), {}, {noMemory}, {}, 0},  // past PathBuffer's 4096 slots
        {WideDrop, {L"c.txt", L"a.txt"}, {}, {noMemory}, {}, 1},  // the second path's copy
        {WideDrop, {L"c.txt", L"b", L"a.txt"}, {"a.txt"}, {ask("b"), noMemory}, {IDYES}, 3}};  // b's array
    g_list = (WNDPROC)SetWindowLongPtrA(Control(IDC_FILE_LIST), GWLP_WNDPROC, (LONG_PTR)(WNDPROC)[](HWND list, UINT message,
        WPARAM wParam, LPARAM lParam) -> LRESULT {
        return message == LB_ADDSTRING && g_room-- == 0 ? LB_ERRSPACE : CallWindowProcA(g_list, list, message, wParam, lParam); });
    // The main window stands on top of every other while a folder question is open, and only then.
    whileShown = [&](const Shown& box) { EXPECT_EQ(box.buttons == MB_YESNO, (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0); };
    for (const auto& r : rows) {
        SendMessageA(window, WM_COMMAND, IDC_REMOVE_ALL, 0);
        std::vector<std::wstring> given;
        Strings ansi, listed;
        for (const std::wstring& name : r.given) given.push_back(name.empty() || name[1] == L':' ? name : Wide(work + "\\") + name), ansi.push_back(Narrow(given.back()));
        for (const std::string& name : r.listed) listed.push_back(name[1] == ':' ? name : Path(name));
        shown.clear(), answers = r.answers, allocationsLeft = r.memory, g_room = r.room, picks = {ansi[0]};
        if (r.how == WideDrop) DropWide(given);
        if (r.how == AnsiDrop) Drop(ansi, false);
        if (r.how == FolderCommand) SendMessageA(window, WM_COMMAND, IDC_ADD_FOLDER, 0);
        allocationsLeft = g_room = -1;
        EXPECT_EQ(listed, Entries()) << &r - rows;
        EXPECT_TRUE(r.how == FolderCommand || listed.empty() ||  // the folder command leaves the extent as the last drop did
                    SendMessageA(Control(IDC_FILE_LIST), LB_GETHORIZONTALEXTENT, 0, 0) > 3 * (LRESULT)listed.back().size()) << &r - rows;
        EXPECT_EQ(r.told, shown) << &r - rows;
        if (r.how == FolderCommand) { EXPECT_EQ(!listed.empty(), IsWindowEnabled(Control(IDC_START)) != 0) << "refreshed"; }
    }
    EXPECT_EQ((Strings{"", Path("dir\\"), Path("b"), Path("b")}), pickedFrom) << "each opened on the folder chosen before";
}
