#include "model/TaskTree.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace {

// Indices into the task list. Tasks sharing a uid share one children group, kept under the
// first of them, so the walk needs no text lookups.
struct Groups
{
    QList<int> topLevel;
    std::vector<QList<int>> children; // by task index; used for the first task of each uid
    std::vector<int> firstWithUid; // for each task, the first task carrying the same uid
};

// A task hangs below the task its parent_task_uid names when that task is in the list;
// otherwise it is top-level.
Groups groupByParent(const QList<Task> &tasks)
{
    const int count = int(tasks.size());
    Groups groups;
    groups.children.resize(count);
    groups.firstWithUid.resize(count);

    QHash<QString, int> firstByUid; // index + 1, so 0 means "not seen"
    firstByUid.reserve(count);
    for (int i = 0; i < count; ++i) {
        int &first = firstByUid[tasks.at(i).uid];
        if (first == 0)
            first = i + 1;
        groups.firstWithUid[i] = first - 1;
    }
    for (int i = 0; i < count; ++i) {
        const QString &parent = tasks.at(i).parent_task_uid;
        const int first = parent.isEmpty() ? 0 : firstByUid.value(parent);
        if (first != 0)
            groups.children[first - 1].append(i);
        else
            groups.topLevel.append(i);
    }
    return groups;
}

struct Visit
{
    int index;
    int depth;
};

// Pre-order walk from the top level, then from every task not reached yet (parent loops).
// Iterative, and each task is emitted and each uid's children expanded once, so repeated uids
// and loops can neither recurse without end nor emit a task twice.
std::vector<Visit> walk(const Groups &groups)
{
    const int count = int(groups.firstWithUid.size());
    std::vector<Visit> order;
    order.reserve(count);
    std::vector<bool> reached(count, false);
    std::vector<bool> expanded(count, false);
    std::vector<Visit> stack;

    const auto descend = [&](int root) {
        stack.push_back({root, 0});
        while (!stack.empty()) {
            const Visit visit = stack.back();
            stack.pop_back();
            if (reached[visit.index])
                continue;
            reached[visit.index] = true;
            order.push_back(visit);

            const int group = groups.firstWithUid[visit.index];
            if (expanded[group])
                continue;
            expanded[group] = true;
            const QList<int> &children = groups.children[group];
            for (auto child = children.crbegin(); child != children.crend(); ++child) {
                if (!reached[*child])
                    stack.push_back({*child, visit.depth + 1});
            }
        }
    };

    for (int i : groups.topLevel)
        descend(i);
    for (int i = 0; i < count; ++i) {
        if (!reached[i])
            descend(i);
    }
    return order;
}

bool isCompleted(const Task &task)
{
    return task.status == QLatin1String("completed");
}

} // namespace

namespace TaskTree {

QList<TreeTask> flatten(const QList<Task> &tasks, const TaskComparator &compare)
{
    if (tasks.isEmpty())
        return {};

    Groups groups = groupByParent(tasks);
    if (compare) {
        const auto byTask = [&](int a, int b) {
            return compare(tasks.at(a), tasks.at(b));
        };
        std::stable_sort(groups.topLevel.begin(), groups.topLevel.end(), byTask);
        for (QList<int> &siblings : groups.children)
            std::stable_sort(siblings.begin(), siblings.end(), byTask);
    }

    QList<TreeTask> result;
    result.reserve(tasks.size());
    for (const Visit &visit : walk(groups))
        result.append(TreeTask(tasks.at(visit.index), visit.depth));
    return result;
}

QSet<QString> completedKeptByActiveTree(const QList<Task> &tasks)
{
    QSet<QString> kept;
    if (tasks.isEmpty())
        return kept;

    // In pre-order every tree is one run starting at depth 0.
    const std::vector<Visit> order = walk(groupByParent(tasks));
    for (size_t start = 0; start < order.size();) {
        size_t end = start + 1;
        while (end < order.size() && order[end].depth > 0)
            ++end;
        const bool active
            = std::any_of(order.begin() + start, order.begin() + end,
                          [&](const Visit &v) { return !isCompleted(tasks.at(v.index)); });
        if (active) {
            for (size_t i = start; i < end; ++i) {
                const Task &task = tasks.at(order[i].index);
                if (isCompleted(task))
                    kept.insert(task.uid);
            }
        }
        start = end;
    }
    return kept;
}

TaskComparator withManualSortOrder(TaskComparator base)
{
    return [base = std::move(base)](const Task &a, const Task &b) {
        if (a.sort_order != 0)
            return b.sort_order == 0 || a.sort_order < b.sort_order;
        if (b.sort_order != 0)
            return false;
        return base ? base(a, b) : false;
    };
}

} // namespace TaskTree
