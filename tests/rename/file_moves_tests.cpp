// The route through TOVIK.DAT, taken when the file system refuses to put a file over an existing one (Wine never
// refuses, so it is tested directly).
#include "rename/file_moves.h"
#include "rename/run_failures.h"
#include "support/tovik_test.h"

struct RouteCase {
    const char* name;
    const char* source;  // its content, or null for no source
    const char* target;
    int move, result;
    DWORD error;  // when it fails
    const char *sourceAfter, *targetAfter;
    bool heldByAnotherCopy;
};

TEST_F(TovikTest, ReplaceThroughTemporaryFileLetsGoOfTheSourceOnlyOnceCopied) {
    const RouteCase rows[] = {
        {"copy", "source", "Sample0001.txt", 0, 1, 0, "source", "source"},
        {"move", "source", "Sample0001.txt", 1, 1, 0, "<missing>", "source"},
        {"the last copy cannot be made", "source", "missing\\Sample0001.txt", 1, 0, ERROR_PATH_NOT_FOUND, "source",
         "<missing>"},
        {"no source: the target stays", nullptr, "Sample0001.txt", 1, 0, ERROR_FILE_NOT_FOUND, "<missing>", "target"},
        {"the source under another letter case", "source", "A.TXT", 1, 0, ERROR_ALREADY_EXISTS, "source", "source"},
        {"TOVIK.DAT in use by another copy", "source", "Sample0001.txt", 1, 0, kReasonTemporaryFileInUse, "source",
         "target", true},
    };
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string temporary = std::string(folder) + "TOVIK.DAT";
    for (const RouteCase& c : rows) {
        SCOPED_TRACE(c.name);
        std::string source = Path("a.txt"), target = Path(c.target);
        WriteFileText(target, "target");
        if (c.source) WriteFileText(source, c.source);
        HANDLE other = c.heldByAnotherCopy ? CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                                         FILE_FLAG_DELETE_ON_CLOSE, NULL)
                                           : INVALID_HANDLE_VALUE;
        DWORD error = 0;
        int copied = -1;
        EXPECT_EQ(c.result, ReplaceThroughTemporaryFile(source.c_str(), target.c_str(), c.move, &error, &copied));
        if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
        EXPECT_EQ(c.result ? 0 : c.error, c.result ? 0 : error);
        EXPECT_EQ(c.result, copied);
        EXPECT_EQ(std::string(c.sourceAfter) + "|" + c.targetAfter, ReadFileText(source) + "|" + ReadFileText(target));
        EXPECT_EQ("<missing>", ReadFileText(temporary)) << "no copy of the user's file stays behind";
        DeleteFileA(source.c_str());
        DeleteFileA(target.c_str());
    }
}
