// The route through TOVIK.DAT, taken when the file system refuses to put a file over an existing one (Wine never
// refuses, so it is tested directly): the source let go only once copied, TOVIK.DAT never shared and never left.
#include <set>

#include "rename/file_moves.h"
#include "support/tovik_test.h"

TEST_F(TovikTest, ReplaceThroughTemporaryFileLetsGoOfTheSourceOnlyOnceCopied) {
    // The source's content (none for no source), the target, whether it moves, whether another running copy holds
    // TOVIK.DAT; the error when it fails, then the source's and the target's contents afterwards.
    const struct {
        const char* source = nullptr;
        const char* target;
        int move;
        bool held = false;
        DWORD error = 0;
        const char* sourceAfter;
        const char* targetAfter;
    } rows[] = {
        {.source = "source", .target = "Sample0001.txt", .move = 0, .sourceAfter = "source", .targetAfter = "source"},
        {.source = "source", .target = "Sample0001.txt", .move = 1, .sourceAfter = "<missing>",
         .targetAfter = "source"},
        {.source = "source", .target = "missing\\Sample0001.txt", .move = 1, .error = ERROR_PATH_NOT_FOUND,
         .sourceAfter = "source", .targetAfter = "<missing>"},
        {.target = "Sample0001.txt", .move = 1, .error = ERROR_FILE_NOT_FOUND, .sourceAfter = "<missing>",
         .targetAfter = "target"},
        // The source itself under another letter case.
        {.source = "source", .target = "A.TXT", .move = 1, .error = ERROR_ALREADY_EXISTS, .sourceAfter = "source",
         .targetAfter = "source"},
        {.source = "source", .target = "Sample0001.txt", .move = 1, .held = true, .error = kReasonTemporaryFileInUse,
         .sourceAfter = "source", .targetAfter = "target"},
    };
    char folder[MAX_PATH];
    const std::string temporary = std::string(folder, GetTempPathA(sizeof folder, folder)) + "TOVIK.DAT";
    const std::string source = Path("a.txt");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.target);
        const std::string target = Path(row.target);
        WriteFileText(target, "target");
        if (row.source) WriteFileText(source, row.source);
        HANDLE other = INVALID_HANDLE_VALUE;
        if (row.held) {
            DWORD flags = FILE_FLAG_DELETE_ON_CLOSE;
            other = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, flags, NULL);
        }
        DWORD error = 0;
        int copied = -1;
        int result = ReplaceThroughTemporaryFile(source.c_str(), target.c_str(), row.move, &error, &copied);
        if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
        EXPECT_EQ("<missing>", ReadFileText(temporary)) << "no copy of the user's file stays behind";
        EXPECT_EQ(row.error == 0, result == 1);
        EXPECT_EQ(row.error, result ? 0 : error);
        EXPECT_EQ(result, copied);
        EXPECT_EQ(row.sourceAfter, ReadFileText(source));
        EXPECT_EQ(row.targetAfter, ReadFileText(target));
        DeleteFileA(source.c_str());
        DeleteFileA(target.c_str());
    }
}

// The recovery after a crash finds a file by its temporary name, so no two entries of a run may share one.
TEST(TemporaryNames, EachEntryOfARunHasItsOwn) {
    std::set<std::string> names;
    DWORD error = 0;
    char temp[MAX_PATH];
    for (int i = 0; i < 50000; i++) {
        ASSERT_TRUE(TemporaryName("C:\\photos\\a.jpg", 1295, i, temp, sizeof temp, &error));
        names.insert(temp);
    }
    EXPECT_EQ(50000u, names.size());
    EXPECT_EQ(1u, names.count("C:\\photos\\~tvzz12kv")) << "the run's tag, then the index in base 36";
}
