// The plan of a run over tables of sources and disk states, with a disk made of a table: what each entry will become
// and what will happen to it, worked out without moving anything.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "rename/run_plan.h"
#include "rename/run_reasons.h"

typedef std::map<std::string, int> Disk;  // path -> PathState

static int LookUp(void* context, const char* path)
{
    const Disk* disk = (const Disk*)context;
    auto found = disk->find(path);
    return found == disk->end() ? PathAbsent : found->second;
}

struct Row {
    int kind;
    unsigned long reason = 0;  // of a refused entry
};

TEST(RunPlan, EachEntryGetsItsNewPathAndWhatWillHappen) {
    const std::string tooLong = "C:\\p\\" + std::string(260, 'l') + ".jpg";
    const Row move = {PlanMove};
    const Row chain = {PlanChain};
    const Row exchange = {PlanExchange};
    const Row same = {PlanSamePath};
    const Row question = {PlanQuestion};
    // The sources in list order (all in C:\p, numbered from 1 as Sample0001...), the operation and extension mode,
    // what stands on disk besides the sources, the sources that are gone; then each entry's new name and plan.
    const struct {
        const char* name;
        std::vector<std::string> sources;
        int operation;
        int mode;
        Disk disk;
        std::vector<std::string> gone;
        std::vector<std::string> newNames;
        std::vector<Row> rows;
    } cases[] = {
        {"a free new path", {"a.jpg"}, RenameOnly, Keep, {}, {}, {"Sample0001.jpg"}, {move}},
        {"a chain to a free path", {"b.jpg", "Sample0001.jpg"}, RenameOnly, Keep, {}, {},
         {"Sample0001.jpg", "Sample0002.jpg"}, {chain, move}},
        {"a chain whose end comes first", {"Sample0002.jpg", "a.jpg"}, RenameOnly, Keep, {}, {},
         {"Sample0001.jpg", "Sample0002.jpg"}, {move, chain}},
        {"an exchange of two names", {"Sample0002.jpg", "Sample0001.jpg"}, RenameOnly, Keep, {}, {},
         {"Sample0001.jpg", "Sample0002.jpg"}, {exchange, exchange}},
        {"the same path", {"IMG.JPG"}, ExtensionOnly, Keep, {}, {}, {"IMG.JPG"}, {same}},
        {"a letter case", {"IMG.JPG"}, ExtensionOnly, Lower, {}, {}, {"IMG.jpg"}, {same}},
        {"a copy onto itself", {"Sample0001.jpg"}, RenameCopy, Keep, {}, {}, {"Sample0001.jpg"},
         {{PlanRefused, kReasonCopyOntoItself}}},
        {"copies make no chains", {"b.jpg", "Sample0001.jpg"}, RenameCopy, Keep, {}, {},
         {"Sample0001.jpg", "Sample0002.jpg"}, {{PlanRefused, kReasonNameHeldByRun}, move}},
        {"a file outside the run in the way", {"a.jpg"}, RenameOnly, Keep, {{"C:\\p\\Sample0001.jpg", PathFile}}, {},
         {"Sample0001.jpg"}, {question}},
        {"a folder in the way", {"a.jpg"}, RenameOnly, Keep, {{"C:\\p\\Sample0001.jpg", PathFolder}}, {},
         {"Sample0001.jpg"}, {{PlanRefused, kReasonFolderInTheWay}}},
        {"a source that is gone", {"a.jpg", "b.jpg"}, RenameOnly, Keep, {}, {"a.jpg"},
         {"Sample0001.jpg", "Sample0002.jpg"}, {{PlanRefused, kErrorFileNotFound}, move}},
        {"a folder as source", {"d.jpg"}, RenameOnly, Keep, {{"C:\\p\\d.jpg", PathFolder}}, {}, {"Sample0001.jpg"},
         {{PlanRefused, kErrorAccessDenied}}},
        {"a new path that is a staying file of the run", {"a.jpg", "a.png"}, ExtensionOnly, Specified, {}, {},
         {"a.png", "a.png"}, {{PlanRefused, kReasonNameHeldByRun}, same}},
        {"two entries composing one path", {"a.jpg", "a.gif"}, ExtensionOnly, Specified, {}, {},
         {"a.png", "a.png"}, {move, question}},
        {"a source too long", {tooLong}, RenameOnly, Keep, {}, {}, {""},
         {{PlanRefused, kErrorNameTooLong}}},
        {"names Windows refuses", {"a\"b.jpg", "a/b.jpg", "c|d.jpg", "a\x01.jpg", "nul.jpg", "Com1.jpg", "LPT9"},
         ExtensionOnly, Specified, {}, {},
         {"a\"b.png", "a/b.png", "c|d.png", "a\x01.png", "nul.png", "Com1.png", "LPT9.png"},
         {{PlanRefused, kReasonForbiddenCharInName}, {PlanRefused, kReasonForbiddenCharInName},
          {PlanRefused, kReasonForbiddenCharInName}, {PlanRefused, kReasonControlCharInName},
          {PlanRefused, kReasonDeviceName}, {PlanRefused, kReasonDeviceName}, {PlanRefused, kReasonDeviceName}}},
        {"names ending in a dot or a space", {"a.jpg.", "b.jp "}, RenameOnly, Keep, {}, {},
         {"Sample0001.", "Sample0002.jp "},
         {{PlanRefused, kReasonNameEndsInDotOrSpace}, {PlanRefused, kReasonNameEndsInDotOrSpace}}},
        // ソ ends in 0x5C and ポ in 0x7C: trail bytes, neither a backslash nor a bar.
        {"names Windows takes", {"COM10.jpg", "NULL.jpg", "COM0.jpg", "ソNUL.jpg", "ポ.jpg", "a,b;c.jpg"},
         ExtensionOnly, Specified, {}, {}, {"COM10.png", "NULL.png", "COM0.png", "ソNUL.png", "ポ.png", "a,b;c.png"},
         {move, move, move, move, move, move}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Disk disk = c.disk;
        std::vector<std::string> sources;
        std::vector<const char*> pointers;
        for (const std::string& name : c.sources) sources.push_back(name[1] == ':' ? name : "C:\\p\\" + name);
        for (const std::string& source : sources) {
            pointers.push_back(source.c_str());
            if (!disk.count(source)) disk[source] = PathFile;
        }
        for (const std::string& name : c.gone) disk.erase("C:\\p\\" + name);
        NamePattern pattern = {"Sample", "", 1, 4, c.operation, c.mode, "C:\\p", "png"};
        RunTable plan;
        ASSERT_TRUE(PlanRun(&plan, pointers.data(), (int)pointers.size(), &pattern, LookUp, &disk));
        ASSERT_EQ(c.rows.size(), (size_t)plan.count);
        for (int i = 0; i < plan.count; i++) {
            SCOPED_TRACE(i);
            std::string newPath = plan.entries[i].newPath;
            EXPECT_EQ(c.newNames[i], newPath.substr(newPath.empty() ? 0 : 5)) << "after C:\\p\\";
            EXPECT_EQ(c.rows[i].kind, plan.entries[i].kind);
            EXPECT_EQ(c.rows[i].reason, plan.entries[i].kind == PlanRefused ? plan.entries[i].reason : 0);
        }
        FreeRunTable(&plan);
    }
}

// The part in memory leaves the disk alone: the kinds that need the disk wait for the rows' check.
TEST(RunPlan, ComposingLooksAtNoDisk) {
    const char* sources[] = {"C:\\p\\a.jpg", "C:\\p\\Sample0001.jpg"};
    NamePattern pattern = {"Sample", "", 2, 4, RenameOnly, Keep, "", ""};
    RunTable plan;
    ASSERT_TRUE(ComposePlan(&plan, sources, 2, &pattern));
    EXPECT_EQ(PlanMove, plan.entries[0].kind) << "a.jpg to Sample0002.jpg, whatever stands there";
    EXPECT_EQ(PlanMove, plan.entries[1].kind);
    Disk disk = {{"C:\\p\\a.jpg", PathFile}, {"C:\\p\\Sample0002.jpg", PathFile}};
    CheckPlanRows(&plan, 1, 1, LookUp, &disk);
    EXPECT_EQ(PlanRefused, plan.entries[1].kind) << "only the row checked: its source is gone";
    EXPECT_EQ(PlanMove, plan.entries[0].kind);
    FreeRunTable(&plan);
}
