// The ordering of the list's sorts: stable by key, and a sorted selection put back into the places it held.
#include <gtest/gtest.h>

#include <vector>

#include "filelist/sort_order.h"

TEST(SortOrder, EqualKeysKeepTheirOrderAndASortedSelectionKeepsItsPlaces) {
    // Each entry's key and the positions sorted (every one when none is given); then the entry at each position.
    const struct { std::vector<long long> keys; std::vector<int> places; std::vector<int> arranged; } rows[] = {
        {{30, 10, 20}, {}, {1, 2, 0}},
        {{30, 5, 10, 1, 20}, {0, 2, 4}, {2, 1, 4, 3, 0}},
        // Dates taken and local write times of files without one, all YYYYMMDDhhmmss.
        {{20240315142501, 20240315142500, 20231231235959, 20240315142501}, {}, {2, 1, 0, 3}},
        // Past the sizes an insertion sort takes.
        {{1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}, {},
         {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31, 33, 0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24,
          26, 28, 30, 32}},
    };
    for (const auto& r : rows) {
        int total = (int)r.keys.size();
        std::vector<int> places = r.places;
        for (int i = 0; places.size() < r.keys.size() && r.places.empty(); i++) places.push_back(i);
        std::vector<int> sorted = places;
        SortPlacesByKey(r.keys.data(), sorted.data(), (int)sorted.size());
        std::vector<int> arranged(r.keys.size());
        ArrangeInPlaces(arranged.data(), total, places.data(), sorted.data(), (int)places.size());
        EXPECT_EQ(r.arranged, arranged) << total << " entries";
    }
}
