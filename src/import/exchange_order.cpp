#include "exchange_order.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>

namespace scores {

namespace {

// Counts over positions 0..n-1 with prefix sums and the search for the k-th counted position.
class Fenwick {
public:
    explicit Fenwick(std::size_t size) : m_tree(size + 1, 0) {}
    // Every position counted once, built in linear time.
    static Fenwick allOnes(std::size_t size) {
        Fenwick tree(size);
        for (std::size_t i = 1; i <= size; ++i) {
            tree.m_tree[i] = static_cast<int>(i & (~i + 1));
        }
        return tree;
    }

    void add(std::size_t position, int delta) {
        for (std::size_t i = position + 1; i < m_tree.size(); i += i & (~i + 1)) {
            m_tree[i] += delta;
        }
    }
    // Sum over positions 0..end-1.
    int prefix(std::size_t end) const {
        int sum = 0;
        for (std::size_t i = end; i > 0; i -= i & (~i + 1)) {
            sum += m_tree[i];
        }
        return sum;
    }
    // The smallest position whose prefix sum including it reaches k (k >= 1).
    std::size_t findKth(int k) const {
        std::size_t position = 0;
        std::size_t step = 1;
        while (step * 2 < m_tree.size()) {
            step *= 2;
        }
        for (; step > 0; step /= 2) {
            if (position + step < m_tree.size() && m_tree[position + step] < k) {
                position += step;
                k -= m_tree[position];
            }
        }
        return position;
    }

private:
    std::vector<int> m_tree;
};

// The exchange order of rows grouped by key: `rows` holds every row, those of the highest key
// first, each group in increasing row order; group g is rows[groupStart[g] .. groupStart[g + 1]).
//
// Why this gives the exchange sort's order: position i of the sort ends holding a row of the
// highest remaining key, so rows end by descending key. Among the rows with one key v, follow the
// rows of key >= v through the passes: the rows of key v behave as a queue. Walking the rows of
// key >= v in their original order, a row of key v joins the back of the queue, and a row of a
// greater key met while the queue is not empty sends the queue's front row to its back. The queue
// at the end is the final order of the rows of key v.
//
// Per key, the queue is kept as a list L with a head h (queue = L[h..] + L[..h)): joining the back
// is an insertion at index h followed by h + 1, and c greater rows before the next arrival turn the
// queue by c, h = (h + c) mod size. The counts c come from a Fenwick tree over the positions of
// the greater keys; the insertions are replayed backwards on a Fenwick tree of free slots.
std::vector<std::size_t> exchangeOrderOfGroups(const std::vector<std::size_t>& rows,
                                               const std::vector<std::size_t>& groupStart) {
    const std::size_t n = rows.size();
    Fenwick greater(n);
    std::vector<std::size_t> order;
    order.reserve(n);
    std::vector<std::size_t> insertAt;
    std::vector<std::size_t> list;
    for (std::size_t g = 0; g + 1 < groupStart.size(); ++g) {
        const std::size_t* group = rows.data() + groupStart[g];
        const std::size_t k = groupStart[g + 1] - groupStart[g];
        insertAt.assign(k, 0);
        std::size_t head = 0;
        // Greater rows before the first arrival turn an empty queue: they do not count.
        int greaterBefore = greater.prefix(group[0]);
        for (std::size_t t = 0; t < k; ++t) {
            insertAt[t] = head;
            const std::size_t size = t + 1;
            head = head + 1 == size ? 0 : head + 1;
            const std::size_t end = t + 1 < k ? group[t + 1] : n;
            const int greaterUpToEnd = greater.prefix(end);
            if (greaterUpToEnd != greaterBefore) {
                head = (head + static_cast<std::size_t>(greaterUpToEnd - greaterBefore)) % size;
                greaterBefore = greaterUpToEnd;
            }
        }
        // Replay the insertions from the last one: row t sits at the (insertAt[t]+1)-th slot not
        // taken by the rows inserted after it.
        list.assign(k, 0);
        Fenwick free = Fenwick::allOnes(k);
        for (std::size_t t = k; t-- > 0;) {
            const std::size_t slot = free.findKth(static_cast<int>(insertAt[t]) + 1);
            list[slot] = group[t];
            free.add(slot, -1);
        }
        order.insert(order.end(), list.begin() + static_cast<std::ptrdiff_t>(head), list.end());
        order.insert(order.end(), list.begin(), list.begin() + static_cast<std::ptrdiff_t>(head));
        for (std::size_t i = 0; i < k; ++i) {
            greater.add(group[i], 1);
        }
    }
    return order;
}

// The bits that tell two keys apart: equal keys, and only those, have equal bits (0 and -0 are one key).
std::uint64_t identityOf(double key) { return key == 0 ? 0 : std::bit_cast<std::uint64_t>(key); }
std::uint64_t identityOf(const common::Fixed4& key) { return static_cast<std::uint64_t>(key.units()); }

std::uint64_t mixed(std::uint64_t bits) {
    bits ^= bits >> 30;
    bits *= 0xbf58476d1ce4e5b9ULL;
    bits ^= bits >> 27;
    bits *= 0x94d049bb133111ebULL;
    return bits ^ (bits >> 31);
}

template <typename Key> std::vector<std::size_t> exchangeOrderOf(const std::vector<Key>& keys) {
    // Grades have many students but few distinct totals, so the distinct keys are found with a hash
    // table and only they are sorted; the rows are then bucketed by key in row order.
    const std::size_t n = keys.size();
    // Keys that never rise (rows already sorted, as after an earlier export) are never exchanged.
    if (std::adjacent_find(keys.begin(), keys.end(), [](const Key& a, const Key& b) { return a < b; }) == keys.end()) {
        std::vector<std::size_t> identity(n);
        std::iota(identity.begin(), identity.end(), std::size_t{0});
        return identity;
    }
    std::size_t capacity = 16;
    while (capacity < 2 * n) {
        capacity *= 2;
    }
    std::vector<std::uint32_t> slots(capacity, UINT32_MAX);
    std::vector<std::size_t> distinct; // a row holding each distinct key
    std::vector<std::uint32_t> keyOfRow(n);
    for (std::size_t row = 0; row < n; ++row) {
        const std::uint64_t identity = identityOf(keys[row]);
        std::size_t slot = mixed(identity) & (capacity - 1);
        while (slots[slot] != UINT32_MAX && identityOf(keys[distinct[slots[slot]]]) != identity) {
            slot = (slot + 1) & (capacity - 1);
        }
        if (slots[slot] == UINT32_MAX) {
            slots[slot] = static_cast<std::uint32_t>(distinct.size());
            distinct.push_back(row);
        }
        keyOfRow[row] = slots[slot];
    }
    std::vector<std::uint32_t> byKey(distinct.size());
    std::iota(byKey.begin(), byKey.end(), std::uint32_t{0});
    std::sort(byKey.begin(), byKey.end(),
              [&](std::uint32_t a, std::uint32_t b) { return keys[distinct[b]] < keys[distinct[a]]; });
    std::vector<std::uint32_t> rankOfKey(distinct.size());
    for (std::size_t rank = 0; rank < byKey.size(); ++rank) {
        rankOfKey[byKey[rank]] = static_cast<std::uint32_t>(rank);
    }
    std::vector<std::size_t> groupStart(distinct.size() + 1, 0);
    for (std::size_t row = 0; row < n; ++row) {
        ++groupStart[rankOfKey[keyOfRow[row]] + 1];
    }
    for (std::size_t g = 1; g < groupStart.size(); ++g) {
        groupStart[g] += groupStart[g - 1];
    }
    std::vector<std::size_t> rows(n);
    std::vector<std::size_t> next(groupStart.begin(), groupStart.end() - 1);
    for (std::size_t row = 0; row < n; ++row) {
        rows[next[rankOfKey[keyOfRow[row]]]++] = row;
    }
    return exchangeOrderOfGroups(rows, groupStart);
}

} // namespace

std::vector<std::size_t> exchangeOrder(const std::vector<double>& keys) { return exchangeOrderOf(keys); }

std::vector<std::size_t> exchangeOrder(const std::vector<common::Fixed4>& keys) { return exchangeOrderOf(keys); }

} // namespace scores
