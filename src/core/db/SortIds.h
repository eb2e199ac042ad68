// The shared sort of record numbers by a keyed comparator.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace kinmap {

// Sorts array[lo..hi] (both included) in place with three-way partitioning,
// so that compare(x, y, key) >= 0 for every x standing before a y: a positive
// result means that x belongs before y. Entries that compare equal end up
// together in no defined order.
//
// The pivot is the median of the first, middle and last entry (moved to the
// end), and the smaller part is sorted by recursion, the larger one by the
// loop: presorted rows stay fast and the stack stays shallow on 250,000
// entries. The scans are bounded, so an inconsistent comparator cannot lead
// them out of the range.
template <class Compare>
void sortIds(int32_t* array, int lo, int hi, int32_t key, Compare compare)
{
    auto before = [&](int32_t x, int32_t y) { return compare(x, y, key) > 0; };
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (before(array[mid], array[lo]))
            std::swap(array[mid], array[lo]);
        if (before(array[hi], array[lo]))
            std::swap(array[hi], array[lo]);
        if (before(array[mid], array[hi]))
            std::swap(array[mid], array[hi]);
        const int32_t v = array[hi];

        int i = lo - 1, j = hi, p = lo - 1, q = hi;
        for (;;) {
            while (++i < hi && before(array[i], v)) {
            }
            while (--j > lo && before(v, array[j])) {
            }
            if (i >= j)
                break;
            std::swap(array[i], array[j]);
            if (compare(array[i], v, key) == 0)
                std::swap(array[++p], array[i]);
            if (compare(v, array[j], key) == 0)
                std::swap(array[j], array[--q]);
        }
        std::swap(array[i], array[hi]);
        j = i - 1;
        i = i + 1;
        for (int k = lo; k <= p; ++k, --j)
            std::swap(array[k], array[j]);
        for (int k = hi - 1; k >= q; --k, ++i)
            std::swap(array[i], array[k]);

        if (j - lo < hi - i) {
            sortIds(array, lo, j, key, compare);
            lo = i;
        } else {
            sortIds(array, i, hi, key, compare);
            hi = j;
        }
    }
}

// The indexes 0 to count - 1, sorted by compare(a, b) as sortIds sorts.
template <class Compare>
std::vector<int32_t> sortedIndexes(size_t count, Compare compare)
{
    std::vector<int32_t> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = static_cast<int32_t>(i);
    if (count > 1)
        sortIds(order.data(), 0, static_cast<int>(count) - 1, 0,
                [&](int32_t a, int32_t b, int32_t) -> int32_t { return compare(a, b); });
    return order;
}

} // namespace kinmap
