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

// The name after the last backslash of a path (a trail byte 0x5C is none).
static const char* FileNamePart(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; p += CharLength(p)) {
        if (*p == '\\') name = p + 1;
    }
    return name;
}

// The kinds of one entry by itself. A name Windows refuses is refused here,
// so that the run never asks the system to make it.
static void ClassifyEntry(RunEntry* entry, int copies)
{
    entry->kind = PlanMove;
    if (!entry->composed || strlen(entry->newPath) >= kPathSize || strlen(entry->source) >= kPathSize) {
        entry->kind = PlanRefused;
        entry->reason = kErrorNameTooLong;
    } else if (CompareNoCase(entry->source, entry->newPath) == 0) {
        entry->kind = copies ? PlanRefused : PlanSamePath;
        entry->reason = kReasonCopyOntoItself;
    } else if (int fault = FindNameFault(FileNamePart(entry->newPath))) {
        entry->kind = PlanRefused;
        entry->reason = kNameFaultReasons[fault];
    }
}

// The entry whose file leaves the new path of entry index before it is
// placed: one to move whose source it is, earlier in the list or later. -1
// when there is none.
static int Successor(const RunTable* plan, int index)
{
    int next = FindSource(plan, plan->entries[index].newPath, index);
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
    for (int i = FirstWithNewPath(plan, entry->newPath); i >= 0 && i < index; i = plan->entries[i].nextByNewPath) {
        const RunEntry* earlier = &plan->entries[i];
        if (earlier->kind != PlanRefused && CompareNoCase(earlier->newPath, entry->newPath) == 0) return 1;
    }
    return 0;
}

int ComposePlan(RunTable* plan, const char* const* sources, int count, const NamePattern* pattern)
{
    if (!CreateRunTable(plan, count)) return 0;
    int* walk = (int*)AllocateMemory(((size_t)count + 1) * sizeof *walk);
    int ready = walk != 0;
    for (int i = 0; i < count && ready; i++) ready = SetRunEntry(plan, i, sources[i], pattern);
    if (!ready) {
        free(walk);
        FreeRunTable(plan);
        return 0;
    }
    IndexRunTable(plan);
    int copies = pattern->operation == RenameCopy;
    for (int i = 0; i < count; i++) ClassifyEntry(&plan->entries[i], copies);
    if (!copies) FindChains(plan, walk);
    free(walk);
    for (int i = 0; i < count; i++) {
        if (plan->entries[i].kind == PlanMove && FollowsOnePlaced(plan, i)) plan->entries[i].kind = PlanQuestion;
    }
    return 1;
}

static void Refuse(RunEntry* entry, unsigned long reason)
{
    entry->kind = PlanRefused;
    entry->reason = reason;
}

void CheckPlanRows(RunTable* plan, int first, int count, PathLookup lookup, void* context)
{
    for (int i = first; i < first + count && i < plan->count; i++) {
        RunEntry* entry = &plan->entries[i];
        if (entry->kind == PlanRefused) continue;
        int source = lookup(context, entry->source);
        if (source != PathFile) {
            Refuse(entry, source == PathAbsent ? kErrorFileNotFound : kErrorAccessDenied);
            continue;
        }
        if (entry->kind != PlanMove) continue;
        int target = lookup(context, entry->newPath);
        if (target == PathFolder) {
            Refuse(entry, kReasonFolderInTheWay);
        } else if (target == PathFile && FindSource(plan, entry->newPath, i) >= 0) {
            Refuse(entry, kReasonNameHeldByRun);
        } else if (target == PathFile) {
            entry->kind = PlanQuestion;
        }
    }
}

int PlanRun(RunTable* plan, const char* const* sources, int count, const NamePattern* pattern, PathLookup lookup,
            void* context)
{
    if (!ComposePlan(plan, sources, count, pattern)) return 0;
    CheckPlanRows(plan, 0, plan->count, lookup, context);
    return 1;
}
