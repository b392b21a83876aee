#pragma once

#include "common/decimal.h"

#include <cstddef>
#include <vector>

namespace scores {

// The order in which this exchange sort leaves n rows with the given keys:
//     for i in 0..n-1: for j in i+1..n-1: if key[j] > key[i]: exchange rows i and j
// Highest key first; rows with equal keys end in the order the exchanges leave them, which is
// not their original order in general (keys 5, 5, 7 end as rows 2, 1, 0). The result names, for
// each final position, the original row: order[i] is the row that ends at position i.
// Computed in O(n log n) without performing the exchanges.
std::vector<std::size_t> exchangeOrder(const std::vector<double>& keys);
std::vector<std::size_t> exchangeOrder(const std::vector<common::Fixed4>& keys);

} // namespace scores
