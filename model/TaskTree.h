#pragma once

// Arranges tasks into the tree their parent links describe, for the indented tasks list.

#include "model/Records.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>

namespace TaskTree {

// Answers whether the first task goes before the second (a strict weak order); may be empty.
using TaskComparator = std::function<bool(const Task &, const Task &)>;

// Display order with depths: each top-level task followed by its descendants (pre-order), every
// level sorted by compare (equal tasks keep input order) or kept in input order when compare
// is empty. A task whose parent is not in the list is top-level. Every task appears exactly
// once: tasks only reachable through a parent loop, which the user still has to see to fix,
// follow at depth 0 in input order, each with its descendants.
[[nodiscard]] QList<TreeTask> flatten(const QList<Task> &tasks, const TaskComparator &compare);

// The uids of completed tasks that stay visible because their tree (as flatten arranges it)
// still holds a task that is not completed.
[[nodiscard]] QSet<QString> completedKeptByActiveTree(const QList<Task> &tasks);

// Tasks placed by hand (sort_order other than 0) first, in ascending sort_order, then the
// others in base order.
[[nodiscard]] TaskComparator withManualSortOrder(TaskComparator base);

} // namespace TaskTree
