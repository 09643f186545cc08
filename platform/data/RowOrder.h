#pragma once
// Orders the rows a data set holds as the database orders a result by its
// ORDER BY, so that a new order of the same rows needs no new reading.

#include "platform/data/RecordStore.h"

#include <vector>

namespace data {

struct TRowSortKey {
    int Column = 0;          // in the record store
    bool JetText = false;    // texts in Jet's text order (TextOrder.h), else byte by byte
    bool Descending = false;
};

// Sorts the rows by the keys, each as the database compares: empty values
// first, then numbers by value, then texts. Rows equal in every key come in
// the order of their database numbers (as they were entered), then in the
// order they had. The cells of the key columns must hold the values as the
// database stores them (no text read as a date, no fraction as an integer).
void SortRows(TRecordStore& rows, const std::vector<TRowSortKey>& keys);

// Rows that SortRows put in the order of some keys, put in the order of the
// same keys each turned the other way (keys): as SortRows would put them,
// without comparing more than each row with the next.
void TurnRows(TRecordStore& rows, const std::vector<TRowSortKey>& keys);

} // namespace data
