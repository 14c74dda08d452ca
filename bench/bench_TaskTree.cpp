#include "model/TaskTree.h"

#include <QUuid>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

// 10,000 tasks as a busy task list holds them: a few thousand top-level tasks, most with a
// few subtasks, some up to three levels below; a third completed, some placed by hand, due dates
// spread over a year, rows in database order rather than tree order.
QList<Task> makeTasks(int count)
{
    std::mt19937 random(42);
    QList<Task> tasks;
    tasks.reserve(count);
    std::vector<int> depths;
    const QDateTime base(QDate(2025, 1, 1), QTime(9, 0), Qt::UTC);
    for (int i = 0; i < count; ++i) {
        Task t;
        t.uid = QUuid::createUuidV5(QUuid(), QString::number(i)).toString(QUuid::WithoutBraces);
        t.title = QStringLiteral("Task ") + QString::number(i);
        int depth = 0;
        if (i % 4 != 0 && !tasks.isEmpty()) {
            // Parent among the recent tasks, at most four levels in all.
            const int back = int(std::uniform_int_distribution<int>(1, 12)(random));
            const int parent = std::max(0, int(tasks.size()) - back);
            if (depths[parent] < 3) {
                t.parent_task_uid = tasks.at(parent).uid;
                depth = depths[parent] + 1;
            }
        }
        depths.push_back(depth);
        if (random() % 3 == 0)
            t.status = QStringLiteral("completed");
        if (random() % 10 == 0)
            t.sort_order = int(random() % 50) + 1;
        t.due_date = base.addSecs(qint64(random() % (365 * 24)) * 3600);
        tasks.append(t);
    }
    std::shuffle(tasks.begin(), tasks.end(), random);
    return tasks;
}

const TaskTree::TaskComparator byDueThenTitle = [](const Task &a, const Task &b) {
    if (a.due_date != b.due_date)
        return a.due_date < b.due_date;
    return a.title < b.title;
};

void BM_Flatten(benchmark::State &state)
{
    const QList<Task> tasks = makeTasks(int(state.range(0)));
    const auto compare = TaskTree::withManualSortOrder(byDueThenTitle);
    for (auto _ : state)
        benchmark::DoNotOptimize(TaskTree::flatten(tasks, compare));
    state.SetItemsProcessed(state.iterations() * tasks.size());
    const QList<TreeTask> tree = TaskTree::flatten(tasks, compare);
    state.counters["top_level"] = double(
        std::count_if(tree.cbegin(), tree.cend(), [](const TreeTask &t) { return t.depth == 0; }));
    state.counters["max_depth"] = double(
        std::max_element(tree.cbegin(), tree.cend(), [](const TreeTask &a, const TreeTask &b) {
            return a.depth < b.depth;
        })->depth);
}
BENCHMARK(BM_Flatten)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_FlattenInputOrder(benchmark::State &state)
{
    const QList<Task> tasks = makeTasks(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(TaskTree::flatten(tasks, {}));
}
BENCHMARK(BM_FlattenInputOrder)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_CompletedKeptByActiveTree(benchmark::State &state)
{
    const QList<Task> tasks = makeTasks(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(TaskTree::completedKeptByActiveTree(tasks));
}
BENCHMARK(BM_CompletedKeptByActiveTree)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
