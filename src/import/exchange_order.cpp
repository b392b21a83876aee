#include "exchange_order.h"

#include <algorithm>

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
            head = (head + 1) % size;
            const std::size_t end = t + 1 < k ? group[t + 1] : n;
            const int greaterUpToEnd = greater.prefix(end);
            head = (head + static_cast<std::size_t>(greaterUpToEnd - greaterBefore)) % size;
            greaterBefore = greaterUpToEnd;
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
        for (std::size_t i = 0; i < k; ++i) {
            order.push_back(list[(head + i) % k]);
        }
        for (std::size_t i = 0; i < k; ++i) {
            greater.add(group[i], 1);
        }
    }
    return order;
}

template <typename Key> std::vector<std::size_t> exchangeOrderOf(const std::vector<Key>& keys) {
    // The rows by descending key, equal keys in row order, and where each key's group starts.
    std::vector<std::pair<Key, std::size_t>> byKey(keys.size());
    for (std::size_t row = 0; row < keys.size(); ++row) {
        byKey[row] = {keys[row], row};
    }
    std::sort(byKey.begin(), byKey.end(), [](const auto& a, const auto& b) {
        return b.first < a.first || (!(a.first < b.first) && a.second < b.second);
    });
    std::vector<std::size_t> rows(keys.size());
    std::vector<std::size_t> groupStart;
    for (std::size_t i = 0; i < byKey.size(); ++i) {
        if (i == 0 || byKey[i - 1].first != byKey[i].first) {
            groupStart.push_back(i);
        }
        rows[i] = byKey[i].second;
    }
    groupStart.push_back(byKey.size());
    return exchangeOrderOfGroups(rows, groupStart);
}

} // namespace

std::vector<std::size_t> exchangeOrder(const std::vector<double>& keys) { return exchangeOrderOf(keys); }

std::vector<std::size_t> exchangeOrder(const std::vector<common::Fixed4>& keys) { return exchangeOrderOf(keys); }

} // namespace scores
