// The ordering behind the list's sort commands, apart from where the keys
// come from: entries are sorted by their positions, stably, so that entries
// of equal keys keep their order, and a sorted selection goes back into the
// places it held. Platform-neutral.
#pragma once

// Negative, zero or positive like wcscmp.
typedef int (*TextComparison)(const wchar_t* a, const wchar_t* b);

// Sorts places, positions of entries, ascending by keys[place]; places of
// equal keys keep their order.
void SortPlacesByKey(const long long* keys, int* places, int count);

// Sorts places ascending by texts[place] under compare; places of equal
// texts keep their order.
void SortPlacesByText(const wchar_t* const* texts, int* places, int count, TextComparison compare);

// The list's new order over total entries: arrangement[i] is the entry that
// goes to position i. Position taken[k] (taken ascending) receives sorted[k];
// every other position keeps its entry.
void ArrangeInPlaces(int* arrangement, int total, const int* taken, const int* sorted, int count);
