// The real shell folder picker under Wine, read and answered while its modal loop runs.
#include "core/app_state.h"
#include "filelist/folder_picker.h"
#include "support/tovik_test.h"

// Wine's picker finds a folder by its item data, last access time included, which the first read of a changed folder
// moves: each folder on the way is read once before the picker opens.
static void ReadFoldersOnTheWay(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    for (size_t end = path.find(L'\\'); end != std::wstring::npos; end = path.find(L'\\', end + 1)) {
        FindClose(FindFirstFileW((path.substr(0, end + 1) + L"*").c_str(), &found));
    }
    FindClose(FindFirstFileW((path + L"\\*").c_str(), &found));
}

TEST_F(TovikTest, TheRealPickerTakesAFolderWithAnExactPath) {
    MakeWide({L"写真\\", L"写真\\p.txt=", L"出力\\", L"出力\\a.txt=", L"café\\", L"café\\c.txt="});
    Open();
    // Picked: the folder it opens on (the one last chosen), one it refuses, one it takes.
    SetFolderPicker(0);
    strcpy(GetAppState()->settings.outputFolder, Path("写真").c_str());
    const char kTitle[] = "指定したフォルダ以下のファイルを"
                          "改名（リネーム）ファイルリストに登録します。";
    for (const std::wstring& chosen : {std::wstring(), Wide(work) + L"\\café", Wide(work) + L"\\出力"}) {
        ReadFoldersOnTheWay(Wide(Path("写真")));
        ReadFoldersOnTheWay(chosen);
        auto answer = [&](HWND picker) {
            EXPECT_TRUE(FindWindowExA(picker, NULL, "Static", kTitle));
            EXPECT_EQ(window, GetWindow(picker, GW_OWNER));
            // BFFM_SETSELECTIONW; shlobj.h, which names it, also declares a class FileOperation.
            if (!chosen.empty()) SendMessageW(picker, WM_USER + 103, TRUE, (LPARAM)chosen.c_str());
            PostMessageA(picker, WM_COMMAND, IDOK, 0);
        };
        EXPECT_TRUE(WhileShowing("#32770", answer, [&] { SendMessageA(window, WM_COMMAND, IDC_ADD_FOLDER, 0); }));
    }
    EXPECT_EQ((Strings{Path("写真\\p.txt"), Path("出力\\a.txt")}), Entries());
    const Shown refused = Error(window,
                                "選択したフォルダのパスには"
                                "シフトJIS（コードページ932）で表せない文字があるか、"
                                "名前の末尾がピリオドか空白のため、使えません。",
                                "使えないフォルダ名");
    EXPECT_EQ(std::vector<Shown>{refused}, shown);
    EXPECT_EQ(Path("出力"), GetAppState()->settings.outputFolder);
}
