#include "catalogue/ShardPartition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>

namespace {

using ShardPartition::Assign;
using ShardPartition::Select;

QStringList DistinctKeys(std::size_t n)
{
    QStringList keys;
    for (std::size_t i = 0; i < n; ++i)
        keys << QString::number(i);
    return keys;
}

std::vector<qint64> Loads(const std::vector<qint64>& costs, const std::vector<int>& slices, int count)
{
    std::vector<qint64> loads(static_cast<std::size_t>(count), 0);
    for (std::size_t i = 0; i < costs.size(); ++i)
        loads[static_cast<std::size_t>(slices[i])] += costs[i];
    return loads;
}

// The least possible largest slice, by trying every split.
qint64 BestLargest(const std::vector<qint64>& costs, int count)
{
    std::vector<int> slices(costs.size(), 0);
    qint64 best = std::numeric_limits<qint64>::max();
    while (true) {
        const std::vector<qint64> loads = Loads(costs, slices, count);
        best = std::min(best, *std::max_element(loads.begin(), loads.end()));
        std::size_t i = 0;
        while (i < slices.size() && ++slices[i] == count)
            slices[i++] = 0;
        if (i == slices.size())
            return best;
    }
}

// Each process asks for its own slice alone; together the slices must hold
// every item exactly once, in list order, and be even: no slice above
// another by more than the costliest item, and the largest within the
// longest-first bound (4/3 - 1/(3N)) of the best split found by trying all.
TEST(ShardPartitionTest, SlicesAskedApartAreDisjointCompleteAndEven)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const std::size_t n = random() % 10;
        const int count = 1 + int(random() % 3);
        std::vector<qint64> costs;
        for (std::size_t i = 0; i < n; ++i)
            costs.push_back(1 + qint64(random() % (round % 2 ? 1000 : 5)));
        std::vector<int> owner(n, -1);
        for (int k = 0; k < count; ++k) {
            const std::vector<std::size_t> slice = Select(DistinctKeys(n), costs, k, count);
            EXPECT_TRUE(std::is_sorted(slice.begin(), slice.end()));
            for (const std::size_t i : slice) {
                ASSERT_LT(i, n);
                EXPECT_EQ(owner[i], -1) << "item " << i << " in two slices";
                owner[i] = k;
            }
        }
        EXPECT_EQ(std::count(owner.begin(), owner.end(), -1), 0) << "an item in no slice";
        if (n == 0)
            continue;
        const std::vector<qint64> loads = Loads(costs, owner, count);
        const qint64 largest = *std::max_element(loads.begin(), loads.end());
        EXPECT_LE(largest - *std::min_element(loads.begin(), loads.end()),
                  *std::max_element(costs.begin(), costs.end()));
        EXPECT_LE(3 * count * largest, (4 * count - 1) * BestLargest(costs, count)) << "round " << round;
    }
}

// Items of one key stay together whatever their costs, and the split of a
// long list of equal items comes out as even as it can be.
TEST(ShardPartitionTest, SharedKeysStayTogetherAndEqualItemsSplitEvenly)
{
    const QStringList keys{"a", "b", "a", "c", "b", "a", "d"};
    const std::vector<qint64> costs{5, 1, 5, 9, 1, 5, 2};
    for (int count = 1; count <= 4; ++count) {
        std::vector<int> slice(keys.size(), -1);
        for (int k = 0; k < count; ++k)
            for (const std::size_t i : Select(keys, costs, k, count))
                slice[i] = k;
        for (qsizetype i = 0; i < keys.size(); ++i)
            for (qsizetype j = 0; j < keys.size(); ++j)
                if (keys[i] == keys[j]) {
                    EXPECT_EQ(slice[std::size_t(i)], slice[std::size_t(j)]) << count << " slices";
                }
    }
    const std::vector<qint64> equal(80, 3);
    for (int count : {2, 3, 7}) {
        const std::vector<qint64> loads = Loads(equal, Assign(equal, count), count);
        EXPECT_LE(*std::max_element(loads.begin(), loads.end()) - *std::min_element(loads.begin(), loads.end()), 3);
    }
}

} // namespace
