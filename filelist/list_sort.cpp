#include "filelist/list_sort.h"

#include <windows.h>

#include <shlwapi.h>
#include <stdlib.h>

#include "core/app_state.h"
#include "core/heap.h"
#include "filelist/date_taken_file.h"
#include "filelist/list_box.h"
#include "filelist/list_memory.h"
#include "filelist/sort_order.h"

// A file that cannot be looked up goes after every one that can.
static const long long kUnknownKey = 0x7FFFFFFFFFFFFFFFLL;

// The list as read before a sort: every entry, its selection, and the
// positions being sorted.
struct ListCopy {
    int count;
    size_t bytes;           // of the texts, each ended
    char* pool;             // the texts one after the other
    char** texts;           // into pool, by position
    unsigned char* chosen;  // by position: selected before the sort
    int* places;            // the positions being sorted, ascending
    int placeCount;
};

static void FreeListCopy(ListCopy* copy)
{
    free(copy->pool);
    free(copy->texts);
    free(copy->chosen);
    free(copy->places);
}

static size_t TextLength(HWND list, int index)
{
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)index, 0);
    return length > 0 ? (size_t)length : 0;
}

// 1, or 0 without memory.
static int CopyList(HWND list, ListCopy* copy)
{
    int count = copy->count;
    for (int i = 0; i < count; i++) copy->bytes += TextLength(list, i) + 1;
    copy->pool = (char*)AllocateMemory(copy->bytes);
    copy->texts = (char**)AllocateZeroed((size_t)count, sizeof *copy->texts);
    copy->chosen = (unsigned char*)AllocateZeroed((size_t)count, 1);
    copy->places = (int*)AllocateMemory((size_t)count * sizeof *copy->places);
    if (!copy->pool || !copy->texts || !copy->chosen || !copy->places) return 0;
    size_t used = 0;
    for (int i = 0; i < count; i++) {
        copy->texts[i] = copy->pool + used;
        copy->texts[i][0] = 0;
        size_t length = TextLength(list, i);
        if (used + length < copy->bytes) SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)copy->texts[i]);
        used += length + 1;
    }
    int selected = (int)SendMessageA(list, LB_GETSELITEMS, (WPARAM)count, (LPARAM)copy->places);
    for (int k = 0; k < selected; k++) copy->chosen[copy->places[k]] = 1;
    copy->placeCount = selected >= 2 ? selected : count;
    if (selected < 2) {
        for (int i = 0; i < count; i++) copy->places[i] = i;
    }
    return 1;
}

static int CompareNames(const wchar_t* a, const wchar_t* b)
{
    return StrCmpLogicalW(a, b);
}

// By the wide form of each path, the one that names its file. 1, or 0
// without memory.
static int SortByName(const ListCopy* copy, int* sorted)
{
    // No text has more characters than bytes.
    wchar_t* pool = (wchar_t*)AllocateMemory(copy->bytes * sizeof *pool);
    wchar_t** names = (wchar_t**)AllocateZeroed((size_t)copy->count, sizeof *names);
    int ready = pool && names;
    size_t used = 0;
    for (int k = 0; k < copy->placeCount && ready; k++) {
        int place = copy->places[k];
        names[place] = pool + used;
        int written = MultiByteToWideChar(CP_ACP, 0, copy->texts[place], -1, names[place], (int)(copy->bytes - used));
        if (written <= 0) names[place][0] = 0;
        used += written > 0 ? (size_t)written : 1;
    }
    if (ready) SortPlacesByText(names, sorted, copy->placeCount, CompareNames);
    free(pool);
    free(names);
    return ready;
}

static long long TimeValue(const FILETIME* time)
{
    return (long long)((unsigned long long)time->dwHighDateTime << 32 | time->dwLowDateTime);
}

static long long WriteTimeKey(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return kUnknownKey;
    return TimeValue(&data.ftLastWriteTime);
}

// The date taken, or else the write time as the clock showed it there and
// then: both YYYYMMDDhhmmss, so that they sort together.
static long long DateTakenKey(const char* path)
{
    long long taken;
    unsigned long long written;
    if (!ReadFileDates(path, &taken, &written)) return kUnknownKey;
    if (taken) return taken;
    FILETIME time = {(DWORD)written, (DWORD)(written >> 32)};
    SYSTEMTIME utc, local;
    if (!FileTimeToSystemTime(&time, &utc) || !SystemTimeToTzSpecificLocalTime(NULL, &utc, &local))
        return kUnknownKey;
    return local.wYear * 10000000000LL + local.wMonth * 100000000LL + local.wDay * 1000000LL +
           local.wHour * 10000LL + local.wMinute * 100LL + local.wSecond;
}

// By a key each file gives, one look-up per entry. 1, or 0 without memory.
static int SortByFileKey(const ListCopy* copy, int* sorted, long long (*keyOf)(const char* path))
{
    long long* keys = (long long*)AllocateZeroed((size_t)copy->count, sizeof *keys);
    if (!keys) return 0;
    for (int k = 0; k < copy->placeCount; k++) keys[copy->places[k]] = keyOf(copy->texts[copy->places[k]]);
    SortPlacesByKey(keys, sorted, copy->placeCount);
    free(keys);
    return 1;
}

static int SortPlaces(const ListCopy* copy, int order, int* sorted)
{
    for (int k = 0; k < copy->placeCount; k++) sorted[k] = copy->places[k];
    switch (order) {
    case OrderByName:
        return SortByName(copy, sorted);
    case OrderByWriteTime:
        return SortByFileKey(copy, sorted, WriteTimeKey);
    case OrderByDateTaken:
        return SortByFileKey(copy, sorted, DateTakenKey);
    default:  // OrderReversed
        for (int k = 0; k < copy->placeCount / 2; k++) {
            int other = sorted[copy->placeCount - 1 - k];
            sorted[copy->placeCount - 1 - k] = sorted[k];
            sorted[k] = other;
        }
        return 1;
    }
}

// Fills the emptied list in the arrangement (0: as it was) and selects the
// entries that were selected. 1, or 0 when the list had no room.
static int FillList(HWND list, const ListCopy* copy, const int* arrangement)
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_INITSTORAGE, (WPARAM)copy->count, (LPARAM)copy->bytes);
    for (int i = 0; i < copy->count; i++) {
        const char* text = copy->texts[arrangement ? arrangement[i] : i];
        if (SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)text) < 0) return 0;
    }
    for (int i = 0; i < copy->count; i++) {
        if (copy->chosen[arrangement ? arrangement[i] : i]) SendMessageA(list, LB_SETSEL, TRUE, (LPARAM)i);
    }
    return 1;
}

// Puts the list back in the arrangement in one batch, its redraw held; the
// view and the focus stay where they were. A list without room for it is
// put back as it was.
static int PutBackList(HWND list, const ListCopy* copy, const int* arrangement)
{
    int top = (int)SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    int caret = (int)SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    int done = FillList(list, copy, arrangement);
    if (!done) FillList(list, copy, 0);
    if (caret >= 0) SendMessageA(list, LB_SETCARETINDEX, (WPARAM)caret, FALSE);
    SendMessageA(list, LB_SETTOPINDEX, (WPARAM)top, 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    return done;
}

int SortList(int order)
{
    HWND list = GetAppState()->fileList;
    ListCopy copy = {};
    copy.count = ListCount(list);
    if (copy.count < 2) return 1;
    int* sorted = 0;
    int* arrangement = 0;
    int ready = CopyList(list, &copy);
    if (ready) {
        sorted = (int*)AllocateMemory((size_t)copy.placeCount * sizeof *sorted);
        arrangement = (int*)AllocateMemory((size_t)copy.count * sizeof *arrangement);
        ready = sorted && arrangement && SortPlaces(&copy, order, sorted);
    }
    if (ready) {
        ArrangeInPlaces(arrangement, copy.count, copy.places, sorted, copy.placeCount);
        int moved = 0;
        for (int i = 0; i < copy.count && !moved; i++) moved = arrangement[i] != i;
        // An order that is already the list's leaves the list alone.
        if (moved) ready = PutBackList(list, &copy, arrangement);
    }
    free(sorted);
    free(arrangement);
    FreeListCopy(&copy);
    if (!ready) ReportOutOfMemory();
    return ready;
}
