#pragma once

#include <QStringList>
#include <QtGlobal>

#include <cstddef>
#include <vector>

// Splits a list of work into disjoint slices of about equal cost, so that
// separate processes (on one machine or many) can each take one slice and
// together do the whole list once. Every process computes the same split
// from the same list: nothing is random and nothing depends on the machine.
namespace ShardPartition {

// The slice (0 to count - 1) of each item, from the items' estimated
// costs, longest first: each item in turn, the costliest first (equal
// costs in list order), goes to the slice with the least cost so far (the
// first of equals). No slice then exceeds another by more than the
// costliest single item. count must be at least 1.
std::vector<int> Assign(const std::vector<qint64>& costs, int count);

// The places in the list of the items in slice index (0-based) of count,
// in list order. Items of the same key are kept together in one slice,
// their costs added, so that which of them comes first is the same as in
// a run over the whole list; keys and costs are of the same length.
std::vector<std::size_t> Select(const QStringList& keys, const std::vector<qint64>& costs, int index, int count);

} // namespace ShardPartition
