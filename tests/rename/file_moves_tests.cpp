// The route through TOVIK.DAT, taken when the file system refuses to put a
// file over an existing one (it cannot be made to happen under Wine through
// a run), on real files.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "rename/file_moves.h"
#include "support/temp_folder.h"

namespace {

struct RouteCase {
    const char* name;
    bool withSource;
    const char* target;
    int move, result;  // the target holds the copy exactly when it succeeds
    DWORD error;       // when it fails
    const char *sourceAfter, *targetAfter;
};

TEST(ReplaceThroughTemporaryFile, ReplacesTheTargetAndLetsGoOfTheSourceOnlyOnceCopied)
{
    const RouteCase cases[] = {
        {"copy", true, "Sample0001.txt", 0, 1, 0, "source", "source"},
        {"move", true, "Sample0001.txt", 1, 1, 0, "<missing>", "source"},
        {"the last copy cannot be made", true, "missing\\Sample0001.txt", 1, 0, ERROR_PATH_NOT_FOUND, "source",
         "<missing>"},
        {"no source: the target stays", false, "Sample0001.txt", 1, 0, ERROR_FILE_NOT_FOUND, "<missing>", "target"},
        // Removing the target would remove the source itself.
        {"the source under another letter case", true, "A.TXT", 1, 0, ERROR_ALREADY_EXISTS, "source", "source"},
    };
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string temporaryFile = std::string(temp) + "TOVIK.DAT";
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder work;
        std::string source = work / "a.txt", target = work / c.target;
        WriteFileText(target, "target");
        if (c.withSource) { ASSERT_TRUE(WriteFileText(source, "source")); }
        DeleteFileA(temporaryFile.c_str());
        DWORD error = 0;
        int copied = -1;

        EXPECT_EQ(c.result, ReplaceThroughTemporaryFile(source.c_str(), target.c_str(), c.move, &error, &copied));

        if (!c.result) { EXPECT_EQ(c.error, error); }
        EXPECT_EQ(c.result, copied);
        EXPECT_EQ(c.sourceAfter, ReadFileText(source));
        EXPECT_EQ(c.targetAfter, ReadFileText(target));
        if (copied) {
            EXPECT_EQ("source", ReadFileText(temporaryFile)) << "the copy went through TOVIK.DAT";
        }
    }
}

}  // namespace
