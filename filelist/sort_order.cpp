#include "filelist/sort_order.h"

#include <algorithm>

void SortPlacesByKey(const long long* keys, int* places, int count)
{
    if (count > 1) std::stable_sort(places, places + count, [keys](int a, int b) { return keys[a] < keys[b]; });
}

void SortPlacesByText(const wchar_t* const* texts, int* places, int count, TextComparison compare)
{
    if (count <= 1) return;
    std::stable_sort(places, places + count,
                     [texts, compare](int a, int b) { return compare(texts[a], texts[b]) < 0; });
}

void ArrangeInPlaces(int* arrangement, int total, const int* taken, const int* sorted, int count)
{
    for (int i = 0; i < total; i++) arrangement[i] = i;
    for (int k = 0; k < count; k++) arrangement[taken[k]] = sorted[k];
}
