#include "catalogue/ShardPartition.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace ShardPartition {

std::vector<int> Assign(const std::vector<qint64>& costs, int count)
{
    std::vector<std::size_t> order(costs.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Stable: equal costs keep their list order, on every machine alike.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return costs[a] > costs[b]; });
    std::vector<qint64> loads(static_cast<std::size_t>(std::max(count, 1)), 0);
    std::vector<int> slices(costs.size(), 0);
    for (const std::size_t item : order) {
        // min_element gives the first of equals.
        const auto lightest = std::min_element(loads.begin(), loads.end());
        *lightest += costs[item];
        slices[item] = static_cast<int>(lightest - loads.begin());
    }
    return slices;
}

std::vector<std::size_t> Select(const QStringList& keys, const std::vector<qint64>& costs, int index, int count)
{
    // One unit per key, in the order of first appearance.
    QHash<QString, std::size_t> unitOf;
    std::vector<std::size_t> units(costs.size());
    std::vector<qint64> unitCosts;
    for (std::size_t i = 0; i < costs.size(); ++i) {
        const auto found = unitOf.constFind(keys[static_cast<qsizetype>(i)]);
        if (found == unitOf.cend()) {
            units[i] = unitCosts.size();
            unitOf.insert(keys[static_cast<qsizetype>(i)], unitCosts.size());
            unitCosts.push_back(costs[i]);
        } else {
            units[i] = *found;
            unitCosts[*found] += costs[i];
        }
    }
    const std::vector<int> slices = Assign(unitCosts, count);
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < costs.size(); ++i)
        if (slices[units[i]] == index)
            chosen.push_back(i);
    return chosen;
}

} // namespace ShardPartition
