// What drops and the folder command take into the real main window's list from real folders: the order, folders asked
// about, paths the list cannot hold or that would name another file, memory running out; and a list out of room.
#include "support/tovik_test.h"

#include "filelist/path_buffer.h"

static WNDPROC g_list;
static int g_room;  // strings the list box still takes; -1 for any number

static LRESULT CALLBACK ListWithLittleRoom(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == LB_ADDSTRING || message == LB_INSERTSTRING) && g_room-- == 0) return LB_ERRSPACE;
    return CallWindowProcA(g_list, list, message, wParam, lParam);
}

enum How {
    WideDrop,
    AnsiDrop,
    FolderCommand,
};

class Intake : public TovikTest {
protected:
    Shown Ask(const std::string& folder) const
    {
        return Question(window,
                        "「 " + Path(folder) + " 」はフォルダです＾＾；\r\n\r\n"
                        "フォルダ配下のファイルを展開しますか？\r\n",
                        "ファイル展開確認");
    }
    Shown TooLong(int count) const
    {
        return Error(window,
                     "パス名が259バイトを超えるため、" + std::to_string(count) +
                         " 件を改名（リネーム）ファイルリストに登録しませんでした。",
                     "パス名の長さ超過");
    }
    Shown Refused(int count) const
    {
        return Error(window,
                     "ファイル名にシフトJIS（コードページ932）で表せない文字があるか、"
                     "名前の末尾がピリオドか空白のため、" +
                         std::to_string(count) +
                         " 件を改名（リネーム）ファイルリストに登録しませんでした。",
                     "使えないファイル名");
    }
};

TEST_F(Intake, TakesWhatNamesExactlyTheFileSortedAndTellsOnceWhatItLeftOut) {
    SetPathStartCapacity(2);  // so that a folder of three files makes an array grow
    Open();
    // Beside each refused name stands the file its best fit or trimmed form would name; 表 ends in 0x5C.
    MakeWide({L"café\\", L"cafe\\", L"cafe\\in.txt=", L"dir\\", L"dir\\cafe.txt=", L"dir\\café.txt=",
              L"dir\\price¥100.txt=", L"dir\\memo.=", L"dir\\photo.jpg =", L"dir\\表.txt=", L"b\\", L"b\\z.txt=",
              L"b\\Y.txt=", L"b\\.profile=", L"b\\README=", L"b\\sub.d\\", L"b\\sub.d\\deep.txt=", L"資料表\\",
              L"資料表\\x.txt=", L"資料表\\y.txt=", L"資料表a.txt="});
    // Files whose paths have 259 bytes and one past them, and folders of 256 and 258 bytes.
    const std::string f(180, 'f');
    const std::string fits = f + "\\" + std::string(254 - Path(f).size(), 'n') + ".txt";
    const std::string deep = f + "\\" + std::string(255 - Path(f).size(), 'g');
    const std::string deeper = deep + "hh";
    const std::string k = "C:\\" + std::string(252, 'k');
    Make({"b\\" + std::string(253 - work.size(), 'l') + ".txt=", f + "\\", fits + "=",
          f + "\\" + std::string(100, 'p') + ".txt=", deep + "\\", deep + "\\.a=", deep + "\\b.txt=", deeper + "\\",
          deeper + "\\c.txt="});
    const Shown noMemory = Error(window, "メモリーが不足しています。", "システムエラー");
    const std::string noCopyText = "メモリーの確保に失敗しました(0) " + Path("b\\sub.d\\deep.txt");
    const Shown noCopy = {window, noCopyText, "システムエラー", MB_OK, 0};
    // How the paths come in, and which; then the list, and what was told; the answers to its questions, the heap
    // allocations that succeed and the strings the list box takes (-1 for any number).
    const struct {
        How how;
        std::vector<std::wstring> given;
        Strings listed;
        std::vector<Shown> told;
        std::vector<int> answers = {};
        int memory = -1;
        int room = -1;
    } rows[] = {
        // Wine walks a folder in name order, as NTFS does: z.txt finds the first two slots full.
        {FolderCommand, {L"b"}, {"b\\.profile", "b\\Y.txt"}, {noMemory, TooLong(1)}, {}, 2},
        {WideDrop,
         {L"c.txt", L"fileA.txt", L"表.txt", L"b", L"a.txt", L"file_1.txt", L"資料表", L"B.txt", L"9.txt"},
         {"9.txt", "a.txt", "b\\.profile", "b\\Y.txt", "b\\z.txt", "B.txt", "c.txt", "file_1.txt", "fileA.txt",
          "資料表\\x.txt", "資料表\\y.txt", "表.txt"},
         {Ask("b"), Ask("資料表"), TooLong(1)}, {IDYES, IDYES}},
        {WideDrop, {L"c.txt", L"b", L"a.txt"}, {"a.txt", "c.txt"}, {Ask("b")}, {IDNO}},
        {AnsiDrop, {L"x.txt", L"C:\\"}, {"C:\\", "x.txt"}, {}},  // a drive root is not found as a folder
        {WideDrop,
         {Wide(k + "l.txt"), Wide(f), Wide(k + ".txt"), Wide(deep), Wide(deeper), Wide(k + std::string(300, 'm'))},
         {k + ".txt", fits, deep + "\\.a"}, {Ask(f), Ask(deep), Ask(deeper), TooLong(5)}, {IDYES, IDYES, IDYES}},
        {WideDrop, {L"café.txt", L"price¥100.txt", L"memo.", std::wstring(300, L'm'), L"photo.jpg ", L"a.txt"},
         {"a.txt"}, {TooLong(1), Refused(4)}},
        {AnsiDrop, {L"", L"memo.", L"photo.jpg ", L"a.txt"}, {"a.txt"}, {Refused(2)}},
        {WideDrop, {L"", L"café", L"cafe"}, {}, {Ask("cafe"), Refused(1)}, {IDNO}},
        {WideDrop, {L"dir"}, {"dir\\cafe.txt", "dir\\表.txt"}, {Ask("dir"), Refused(4)}, {IDYES}},
        {FolderCommand, {L"dir\\"}, {"dir\\cafe.txt", "dir\\表.txt"}, {Refused(4)}},
        {FolderCommand, {L"b"}, {"b\\.profile"}, {noMemory, TooLong(1)}, {}, -1, 1},  // the list took one
        {FolderCommand, {L"b\\sub.d"}, {}, {noCopy}, {}, 0},
        {WideDrop, std::vector<std::wstring>(4097, L"m.txt"), {}, {noMemory}, {}, 0},  // past PathBuffer's slots
        {WideDrop, {L"c.txt", L"a.txt"}, {}, {noMemory}, {}, 1},               // the second path's copy
        {WideDrop, {L"c.txt", L"b", L"a.txt"}, {"a.txt"}, {Ask("b"), noMemory}, {IDYES}, 3},  // b's array
        {WideDrop, {L"c.txt", L"b", L"a.txt"}, {"a.txt", "b\\.profile", "b\\Y.txt"}, {Ask("b"), noMemory, TooLong(1)},
         {IDYES}, 6},  // b's array grown
    };
    HWND list = Control(IDC_FILE_LIST);
    g_list = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)ListWithLittleRoom);
    // The main window stands on top of every other while a folder question is open, and only then.
    whileShown = [&](const Shown& box) {
        EXPECT_EQ(box.buttons == MB_YESNO, (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        SendMessageA(window, WM_COMMAND, IDC_REMOVE_ALL, 0);
        std::vector<std::wstring> given;
        Strings ansi;
        Strings listed;
        for (const std::wstring& name : row.given) {
            given.push_back(name.empty() || name[1] == L':' ? name : Wide(work + "\\") + name);
            ansi.push_back(Narrow(given.back()));
        }
        for (const std::string& name : row.listed) listed.push_back(name[1] == ':' ? name : Path(name));
        shown.clear();
        answers = row.answers;
        allocationsLeft = row.memory;
        g_room = row.room;
        picks = {ansi[0]};
        if (row.how == WideDrop) DropWide(given);
        if (row.how == AnsiDrop) Drop(ansi, false);
        if (row.how == FolderCommand) SendMessageA(window, WM_COMMAND, IDC_ADD_FOLDER, 0);
        allocationsLeft = -1;
        g_room = -1;
        EXPECT_EQ(listed, Entries());
        EXPECT_EQ(!listed.empty(), IsWindowEnabled(Control(IDC_START)) != FALSE) << "the buttons follow the list";
        // The folder command leaves the extent as the last drop did.
        if (row.how != FolderCommand && !listed.empty()) {
            EXPECT_GT(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 3 * (LRESULT)listed.back().size());
        }
        EXPECT_EQ(row.told, shown);
        if (row.how == FolderCommand) {
            EXPECT_EQ(!listed.empty(), IsWindowEnabled(Control(IDC_START)) != 0) << "refreshed";
        }
    }
    const Strings openedOn = {"", Path("b"), Path("dir\\"), Path("b")};
    EXPECT_EQ(openedOn, pickedFrom) << "each opened on the folder chosen before";
    // A block move the list has room for only half of leaves the list as it was.
    SendMessageA(list, LB_SETSEL, TRUE, 1);
    SendMessageA(list, LB_SETSEL, TRUE, 2);
    shown.clear();
    g_room = 1;
    SendMessageA(window, WM_COMMAND, IDC_MOVE_TO_TOP, 0);
    g_room = -1;
    EXPECT_EQ(Strings({Path("a.txt"), Path("b\\.profile"), Path("b\\Y.txt")}), Entries());
    EXPECT_EQ(std::vector<Shown>{noMemory}, shown);
}
