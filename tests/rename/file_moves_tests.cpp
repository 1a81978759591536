// The route through TOVIK.DAT, taken when the file system refuses to put a file over an existing one (Wine never
// refuses, so it is tested directly): the source let go only once copied, TOVIK.DAT never shared and never left.
#include <set>

#include "rename/file_moves.h"
#include "support/tovik_test.h"

TEST_F(TovikTest, ReplaceThroughTemporaryFileLetsGoOfTheSourceOnlyOnceCopied) {
    // The source's content (none for no source), the target, moving, TOVIK.DAT held by another running copy; the
    // result (or the reason), then the source's and the target's contents afterwards.
    const struct { const char *source, *target; int move, held; std::string after; } rows[] = {
        {"source", "Sample0001.txt", 0, 0, "1 source|source"}, {"source", "Sample0001.txt", 1, 0, "1 <missing>|source"},
        {"source", "missing\\Sample0001.txt", 1, 0, "3 source|<missing>"}, {nullptr, "Sample0001.txt", 1, 0, "2 <missing>|target"},
        {"source", "A.TXT", 1, 0, "183 source|source"},  // the source itself under another letter case
        {"source", "Sample0001.txt", 1, 1, std::to_string(kReasonTemporaryFileInUse) + " source|target"}};
    char folder[MAX_PATH];
    std::string temporary = std::string(folder, GetTempPathA(sizeof folder, folder)) + "TOVIK.DAT", source = Path("a.txt");
    for (const auto& r : rows) {
        std::string target = Path(r.target);
        WriteFileText(target, "target");
        if (r.source) WriteFileText(source, r.source);
        HANDLE other = r.held ? CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, NULL) : INVALID_HANDLE_VALUE;
        DWORD error = 0;
        int copied = -1, result = ReplaceThroughTemporaryFile(source.c_str(), target.c_str(), r.move, &error, &copied);
        if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
        EXPECT_EQ(r.after, std::to_string(result ? 1 : (DWORD)error) + " " + ReadFileText(source) + "|" + ReadFileText(target));
        EXPECT_TRUE(copied == result && ReadFileText(temporary) == "<missing>") << "no copy of the user's file stays behind";
        DeleteFileA(source.c_str()), DeleteFileA(target.c_str());
    }
}

// The recovery after a crash finds a file by its temporary name, so no two entries of a run may share one.
TEST(TemporaryNames, EachEntryOfARunHasItsOwn) {
    std::set<std::string> names;
    DWORD error = 0;
    char temp[MAX_PATH];
    for (int i = 0; i < 50000; i++) names.insert(TemporaryName("C:\\photos\\a.jpg", 1295, i, temp, sizeof temp, &error) ? temp : "");
    EXPECT_TRUE(names.size() == 50000 && names.count("C:\\photos\\~tvzz12kv")) << "the run's tag, then the index in base 36";
}
