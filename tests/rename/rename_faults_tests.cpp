// What goes wrong on a real disk during a run: each fault leaves every file
// with its content under its old or its new name, is reported or asked
// about, and the run goes on with the next file.

#include "rename/rename_run.h"
#include "rename_fixture.h"

namespace {

enum Fault { MissingSource, HeldOpen, ReadOnlyTarget, FolderInTheWay, PathTooLong, OutputRemoved };

struct FaultCase {
    const char* name;
    Fault fault;
    DWORD error;  // the reason listed; 0 when the user is asked or told instead
};

class FaultTest : public RenameTest {};

TEST_F(FaultTest, EachFaultKeepsTheFileAndIsReportedWhileTheRunGoesOn)
{
    const FaultCase cases[] = {
        {"missing source", MissingSource, ERROR_FILE_NOT_FOUND},
        {"source held open without sharing", HeldOpen, ERROR_SHARING_VIOLATION},
        {"read-only target answered Yes", ReadOnlyTarget, 0},
        {"target is a folder", FolderInTheWay, 0},
        {"new path over 259 bytes", PathTooLong, ERROR_FILENAME_EXCED_RANGE},
        {"output folder removed before the run", OutputRemoved, ERROR_PATH_NOT_FOUND},
    };
    for (const FaultCase& c : cases) {
        for (int operation : {RenameOnly, RenameMove, RenameCopy}) {
            if (c.fault == OutputRemoved && operation == RenameOnly) continue;
            SCOPED_TRACE(std::string(c.name) + ", operation " + std::to_string(operation));
            TempFolder work;
            std::string source = work / "src", target = operation == RenameOnly ? source : work / "out";
            ASSERT_TRUE(CreateDirectoryA(source.c_str(), NULL));
            if (target != source) { ASSERT_TRUE(CreateDirectoryA(target.c_str(), NULL)); }
            // The faulty entry sits between two that are renamed.
            std::string faulty = source + "\\fault.txt", newPath = target + "\\Sample0002.txt";
            if (c.fault == PathTooLong) {
                // As long as a path may be, so that its new name is longer.
                faulty = source + "\\l.";
                faulty += std::string(259 - faulty.size(), 'e');
                newPath = target + "\\Sample0002" + faulty.substr(faulty.rfind('.'));
            }
            MakeFiles(source, {"first.txt=first", "last.txt=last"});
            if (c.fault != MissingSource) { ASSERT_TRUE(WriteFileText(faulty, "fault")); }
            if (c.fault == ReadOnlyTarget) {
                ASSERT_TRUE(WriteFileText(newPath, "read-only"));
                SetFileAttributesA(newPath.c_str(), FILE_ATTRIBUTE_READONLY);
            }
            if (c.fault == FolderInTheWay) { ASSERT_TRUE(CreateDirectoryA(newPath.c_str(), NULL)); }
            HANDLE held = c.fault == HeldOpen ? HoldOpen(faulty) : INVALID_HANDLE_VALUE;
            Strings entries = {source + "\\first.txt", faulty, source + "\\last.txt"};
            SetEntries(entries);
            SetOperation(operation, Keep, operation == RenameOnly ? "" : target);
            if (c.fault == OutputRemoved) { ASSERT_TRUE(RemoveDirectoryA(target.c_str())); }

            PromptScript script({IDYES});
            EXPECT_EQ(1, RunRename());
            if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
            SetFileAttributesA(newPath.c_str(), FILE_ATTRIBUTE_NORMAL);

            // The others are renamed (unless the fault is theirs too); the
            // faulty file is under its old name or its new one, and a copy's
            // source stays.
            bool copies = operation == RenameCopy, renamed = ReadFileText(newPath) == "fault";
            Strings lines;
            if (c.fault == OutputRemoved) {
                for (const std::string& entry : entries) lines.push_back(FailureLine(entry, c.error));
                EXPECT_EQ(Strings({"fault.txt=fault", "first.txt=first", "last.txt=last"}),
                          FolderContents(source));
            } else {
                if (c.error) lines.push_back(FailureLine(faulty, c.error));
                EXPECT_EQ("first", ReadFileText(target + "\\Sample0001.txt"));
                EXPECT_EQ("last", ReadFileText(target + "\\Sample0003.txt")) << "the run went on";
            }
            if (c.fault != MissingSource) { EXPECT_EQ(copies || !renamed, ReadFileText(faulty) == "fault"); }
            if (c.fault != ReadOnlyTarget) { EXPECT_FALSE(renamed); }

            const AskedPrompt& first = script.Asked().at(0);
            if (c.fault == ReadOnlyTarget) {
                // Whether the file system lets the read-only file be replaced
                // or not, the user was asked, and a refusal is listed.
                EXPECT_EQ("ファイルの上書き確認(" + faulty + ")", first.title);
                EXPECT_EQ(renamed ? "fault" : "read-only", ReadFileText(newPath));
                if (!renamed) { EXPECT_NE(std::string::npos, script.Last().text.find(faulty + " : ")); }
                EXPECT_EQ(renamed ? 1u : 2u, script.Count());
            } else if (c.fault == FolderInTheWay) {
                EXPECT_EQ("コピー先ファイル名[ " + newPath + " ]は既にフォルダ名として登録されています。\r\n"
                          "このファイルの改名（リネーム）を中止して処理を続けます。", first.text);
                EXPECT_EQ("フォルダ名重複", first.title);
                EXPECT_EQ((UINT)MB_OK | MB_ICONERROR, first.buttons | first.icon);
                EXPECT_EQ(controls.Window(), first.owner);
                EXPECT_TRUE(DirectoryExists(newPath));
                EXPECT_EQ(1u, script.Count());
            } else {
                EXPECT_EQ(FailureListText(lines), first.text);
                EXPECT_EQ(1u, script.Count());
            }
        }
    }
}

}  // namespace
