// The sort commands of the file list. With two or more entries selected
// only those are sorted, within the places they hold; otherwise the whole
// list. Entries of equal keys keep their order, and the entries selected
// before stay selected wherever they go.
#pragma once

enum ListOrder {
    OrderByName,       // as Explorer orders names: digit runs by their value
    OrderByWriteTime,  // oldest first
    OrderByDateTaken,  // a photo's date taken, or else the local write time; oldest first
    OrderReversed,
};

// Sorts the list (or its selection) in the order. 1, or 0 after telling the
// user that memory ran out, the list left as it was.
int SortList(int order);
