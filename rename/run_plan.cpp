#include "rename/run_plan.h"

#include <stdlib.h>
#include <string.h>

#include "core/file_paths.h"
#include "core/heap.h"
#include "core/mbcs_text.h"
#include "rename/name_rules.h"
#include "rename/run_reasons.h"

// The reason of each NameFault.
static const unsigned long kNameFaultReasons[] = {
    0, kReasonForbiddenCharInName, kReasonControlCharInName, kReasonNameEndsInDotOrSpace, kReasonDeviceName,
};

// The kinds of one entry by itself. A name Windows refuses is refused here,
// so that the run never asks the system to make it.
static void ClassifyEntry(RunEntry* entry, int copies)
{
    entry->kind = PlanMove;
    if (!entry->composed || entry->newPathLength >= kPathSize || entry->sourceLength >= kPathSize) {
        entry->kind = PlanRefused;
        entry->reason = kErrorNameTooLong;
    } else if (entry->sourceHash == entry->newPathHash && CompareNoCase(entry->source, entry->newPath) == 0) {
        entry->kind = copies ? PlanRefused : PlanSamePath;
        entry->reason = kReasonCopyOntoItself;
    } else if (int fault = FindNameFault(FileNameStart(entry->newPath, entry->newPathLength))) {
        entry->kind = PlanRefused;
        entry->reason = kNameFaultReasons[fault];
    }
}

// The entry whose file leaves the new path of entry index before it is
// placed: one to move whose source it is, earlier in the list or later. -1
// when there is none.
static int Successor(const RunTable* plan, int index)
{
    int next = FindSourceOfNewPath(plan, index, index);
    if (next < 0) return -1;
    int kind = plan->entries[next].kind;
    return kind == PlanMove || kind == PlanChain || kind == PlanExchange ? next : -1;
}

// Follows each entry to move to the entry it waits for, and so on: an entry
// that waits is a member of a chain, one that waits for nothing ends it, and
// entries that come back to one another exchange their names.
static void FindChains(RunTable* plan, int* walk)
{
    for (int i = 0; i < plan->count; i++) {
        if (plan->entries[i].kind != PlanMove || plan->entries[i].state != EntryPending) continue;
        int length = 0;
        int ring = -1;
        int waiting = 0;  // the last one waits for an entry of an earlier walk
        for (int current = i;;) {
            walk[length++] = current;
            plan->entries[current].state = EntryInChain;
            int next = Successor(plan, current);
            if (next < 0) break;
            if (plan->entries[next].state == EntryInChain) {
                ring = length - 1;
                while (walk[ring] != next) ring--;
                break;
            }
            if (plan->entries[next].state == EntryHandled) {
                waiting = 1;
                break;
            }
            current = next;
        }
        for (int k = 0; k < length; k++) {
            RunEntry* entry = &plan->entries[walk[k]];
            entry->state = EntryHandled;
            if (ring >= 0 && k >= ring) {
                entry->kind = PlanExchange;
            } else if (k < length - 1 || waiting) {
                entry->kind = PlanChain;
            }
        }
    }
    for (int i = 0; i < plan->count; i++) plan->entries[i].state = EntryPending;
}

// Whether an entry before index composes the same new path: the run puts
// that one there first, and asks about this one.
static int FollowsOnePlaced(const RunTable* plan, int index)
{
    const RunEntry* entry = &plan->entries[index];
    int i = plan->newPathBuckets[entry->newPathHash & plan->bucketMask];
    for (; i >= 0 && i < index; i = plan->entries[i].nextByNewPath) {
        if (plan->entries[i].kind != PlanRefused && IsSameNewPath(plan, i, index)) return 1;
    }
    return 0;
}

// The kinds that memory alone tells, for a table whose paths are set and
// indexed. 1, or 0 without memory.
static int ClassifyPlan(RunTable* plan, int copies)
{
    int* walk = (int*)AllocateMemory(((size_t)plan->count + 1) * sizeof *walk);
    if (!walk) return 0;
    for (int i = 0; i < plan->count; i++) {
        plan->entries[i].state = EntryPending;
        plan->entries[i].reason = 0;
        ClassifyEntry(&plan->entries[i], copies);
    }
    if (!copies) FindChains(plan, walk);
    free(walk);
    for (int i = 0; i < plan->count; i++) {
        if (plan->entries[i].kind == PlanMove && FollowsOnePlaced(plan, i)) plan->entries[i].kind = PlanQuestion;
    }
    return 1;
}

int ComposePlan(RunTable* plan, const char* const* sources, int count, const NamePattern* pattern)
{
    if (!CreateRunTable(plan, count)) return 0;
    int ready = 1;
    for (int i = 0; i < count && ready; i++) ready = SetRunEntry(plan, i, sources[i], pattern);
    if (ready) {
        IndexRunTable(plan);
        ready = ClassifyPlan(plan, pattern->operation == RenameCopy);
    }
    if (!ready) FreeRunTable(plan);
    return ready;
}

int RecomposePlan(RunTable* plan, const NamePattern* pattern)
{
    int ready = 1;
    for (int i = 0; i < plan->count && ready; i++) ready = RecomposeRunEntry(plan, i, pattern);
    if (ready) {
        IndexNewPaths(plan);
        ready = ClassifyPlan(plan, pattern->operation == RenameCopy);
    }
    if (!ready) FreeRunTable(plan);
    return ready;
}

void CheckPlanRow(const RunTable* plan, int index, PathLookup lookup, void* context, int* kind,
                  unsigned long* reason)
{
    const RunEntry* entry = &plan->entries[index];
    *kind = entry->kind;
    *reason = entry->reason;
    if (entry->kind == PlanRefused) return;
    int source = lookup(context, entry->source);
    if (source != PathFile) {
        *kind = PlanRefused;
        *reason = source == PathAbsent ? kErrorFileNotFound : kErrorAccessDenied;
        return;
    }
    if (entry->kind != PlanMove) return;
    int target = lookup(context, entry->newPath);
    if (target == PathFolder) {
        *kind = PlanRefused;
        *reason = kReasonFolderInTheWay;
    } else if (target == PathFile && FindSource(plan, entry->newPath, index) >= 0) {
        *kind = PlanRefused;
        *reason = kReasonNameHeldByRun;
    } else if (target == PathFile) {
        *kind = PlanQuestion;
    }
}

void CheckPlanRows(RunTable* plan, int first, int count, PathLookup lookup, void* context)
{
    for (int i = first; i < first + count && i < plan->count; i++) {
        int kind;
        unsigned long reason;
        CheckPlanRow(plan, i, lookup, context, &kind, &reason);
        plan->entries[i].kind = kind;
        plan->entries[i].reason = reason;
    }
}

int PlanRun(RunTable* plan, const char* const* sources, int count, const NamePattern* pattern, PathLookup lookup,
            void* context)
{
    if (!ComposePlan(plan, sources, count, pattern)) return 0;
    CheckPlanRows(plan, 0, plan->count, lookup, context);
    return 1;
}
