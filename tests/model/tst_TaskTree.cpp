#include "model/TaskTree.h"

#include <QTest>

#include <algorithm>

using TaskTree::TaskComparator;

namespace {

// Tasks are written compactly: "uid", "uid/parent", a trailing "*" for completed and "#n" for
// the priority the test comparator sorts by, e.g. "b/a#2*". The title holds the input index so
// a result can be traced back to the task it came from, also when uids repeat.
QList<Task> makeTasks(const QStringList &specs)
{
    QList<Task> tasks;
    for (QString spec : specs) {
        Task t;
        t.title = QString::number(tasks.size());
        if (spec.endsWith(QLatin1Char('*'))) {
            t.status = QStringLiteral("completed");
            spec.chop(1);
        }
        const int hash = spec.indexOf(QLatin1Char('#'));
        if (hash >= 0) {
            t.priority = spec.mid(hash + 1).toInt();
            spec.truncate(hash);
        }
        const int slash = spec.indexOf(QLatin1Char('/'));
        t.uid = spec.left(slash);
        if (slash >= 0)
            t.parent_task_uid = spec.mid(slash + 1);
        tasks.append(t);
    }
    return tasks;
}

// "a b/a c" -> {"a", "b/a", "c"}
QStringList words(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// "uid@depth" for each row of the flattened list.
QStringList rows(const QList<TreeTask> &tree)
{
    QStringList out;
    for (const TreeTask &t : tree)
        out.append(t.uid + QLatin1Char('@') + QString::number(t.depth));
    return out;
}

const TaskComparator byPriority = [](const Task &a, const Task &b) {
    return a.priority < b.priority;
};

} // namespace

class tst_TaskTree : public QObject
{
    Q_OBJECT
private slots:
    void flatten_data();
    void flatten();
    void flattenKeepsInputOrderOfEqualSiblings();
    void flattenDeepChain();
    void completedKeptByActiveTree_data();
    void completedKeptByActiveTree();
    void withManualSortOrder_data();
    void withManualSortOrder();
    void manualSortOrderInFlatten();
};

void tst_TaskTree::flatten_data()
{
    QTest::addColumn<QStringList>("tasks");
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<QStringList>("expected");

    const auto row = [](const char *name, const char *tasks, bool sorted, const char *expected) {
        QTest::newRow(name) << words(tasks) << sorted << words(expected);
    };
    row("empty", "", false, "");
    row("flat list keeps input order", "c a b", false, "c@0 a@0 b@0");
    row("children follow their parent, pre-order", "a b/a c/b d/a e", false, "a@0 b@1 c@2 d@1 e@0");
    row("children listed before their parent", "c/b b/a a", false, "a@0 b@1 c@2");
    row("parent not in the list makes a top-level task", "b/gone a c/b", false, "b@0 c@1 a@0");
    row("each level sorted on its own", "a#3 b#1 x/a#2 y/a#1 c#2 z/y#0", true,
        "b@0 c@0 a@0 y@1 z@2 x@1");
    row("task naming itself as parent still shown", "a/a b", false, "b@0 a@0");
    row("two-task loop shown after the reachable tree", "a/b b/a c", false, "c@0 a@0 b@1");
    row("loop with a child hanging off it", "t/a a/b b/a", false, "t@0 a@0 b@1");
    row("repeated uid: children shown once, under the first", "x x y/x", false, "x@0 y@1 x@0");
    row("repeated uid naming itself", "x x/x y/x", false, "x@0 x@1 y@1");
    row("empty uids are top-level", "/ /gone a", false, "@0 @0 a@0");
}

void tst_TaskTree::flatten()
{
    QFETCH(QStringList, tasks);
    QFETCH(bool, sorted);
    QFETCH(QStringList, expected);

    const QList<Task> input = makeTasks(tasks);
    const QList<TreeTask> tree = TaskTree::flatten(input, sorted ? byPriority : TaskComparator());
    QCOMPARE(rows(tree), expected);

    // Every input task exactly once.
    QList<int> indices;
    for (const TreeTask &t : tree)
        indices.append(t.title.toInt());
    std::sort(indices.begin(), indices.end());
    QList<int> all(input.size());
    std::iota(all.begin(), all.end(), 0);
    QCOMPARE(indices, all);
}

// Groups larger than an insertion-sort threshold must still keep equal siblings in input order.
void tst_TaskTree::flattenKeepsInputOrderOfEqualSiblings()
{
    QStringList specs;
    for (int i = 0; i < 200; ++i)
        specs.append(QStringLiteral("p/root#") + QString::number((i * 7) % 3));
    specs.append(QStringLiteral("root"));
    const QList<TreeTask> tree = TaskTree::flatten(makeTasks(specs), byPriority);

    QCOMPARE(tree.size(), 201);
    QCOMPARE(tree.first().uid, QStringLiteral("root"));
    for (int i = 2; i < tree.size(); ++i) {
        const TreeTask &previous = tree.at(i - 1);
        const TreeTask &current = tree.at(i);
        QVERIFY(previous.priority <= current.priority);
        if (previous.priority == current.priority)
            QVERIFY2(previous.title.toInt() < current.title.toInt(), qPrintable(current.title));
    }
}

// A long parent chain must not exhaust the stack.
void tst_TaskTree::flattenDeepChain()
{
    const int depth = 200000;
    QList<Task> tasks(depth);
    for (int i = 0; i < depth; ++i) {
        tasks[i].uid = QString::number(i);
        if (i > 0)
            tasks[i].parent_task_uid = QString::number(i - 1);
    }
    const QList<TreeTask> tree = TaskTree::flatten(tasks, {});
    QCOMPARE(tree.size(), depth);
    QCOMPARE(tree.last().depth, depth - 1);
    QVERIFY(TaskTree::completedKeptByActiveTree(tasks).isEmpty());
}

void tst_TaskTree::completedKeptByActiveTree_data()
{
    QTest::addColumn<QStringList>("tasks");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty") << QStringList() << QStringList();
    QTest::newRow("open tasks are not listed") << words("a b/a") << QStringList();
    QTest::newRow("completed parent of an open child") << words("p* c/p") << words("p");
    QTest::newRow("completed sibling under an open top-level task")
        << words("t c/t d/t*") << words("d");
    QTest::newRow("completed chain above an open grandchild")
        << words("a* b/a* c/b") << words("a b");
    QTest::newRow("open task deep in the tree keeps the whole tree")
        << words("a* b/a* c/a* d/c* e/d") << words("a b c d");
    QTest::newRow("tree all completed") << words("a* b/a* c/b*") << QStringList();
    QTest::newRow("separate trees decided separately") << words("a* b/a* c* d/c") << words("c");
    QTest::newRow("completed task with missing parent and open child")
        << words("a/gone* b/a") << words("a");
    QTest::newRow("loop with an open task") << words("a/b* b/a") << words("a");
    QTest::newRow("loop all completed") << words("a/b* b/a*") << QStringList();
    QTest::newRow("completed task naming itself, open child") << words("a/a* b/a") << words("a");
    QTest::newRow("repeated uid") << words("x* x/x* y/x") << words("x");
}

void tst_TaskTree::completedKeptByActiveTree()
{
    QFETCH(QStringList, tasks);
    QFETCH(QStringList, expected);

    QStringList kept = TaskTree::completedKeptByActiveTree(makeTasks(tasks)).values();
    kept.sort();
    QCOMPARE(kept, expected);
}

void tst_TaskTree::withManualSortOrder_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("expected");

    const QString yes = QStringLiteral("true"), no = QStringLiteral("false"),
                  none = QStringLiteral("empty");
    QTest::newRow("both placed, ascending") << 1 << 3 << no << true;
    QTest::newRow("both placed, descending") << 3 << 1 << yes << false;
    QTest::newRow("same place: equal, base not asked") << 2 << 2 << yes << false;
    QTest::newRow("placed before unplaced") << 5 << 0 << no << true;
    QTest::newRow("unplaced after placed") << 0 << 5 << yes << false;
    QTest::newRow("negative place before unplaced") << -4 << 0 << no << true;
    QTest::newRow("negative place before positive") << -4 << 2 << no << true;
    QTest::newRow("unplaced: base says before") << 0 << 0 << yes << true;
    QTest::newRow("unplaced: base says not before") << 0 << 0 << no << false;
    QTest::newRow("unplaced: no base") << 0 << 0 << none << false;
}

void tst_TaskTree::withManualSortOrder()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QString, base);
    QFETCH(bool, expected);

    TaskComparator baseCompare;
    if (base != QLatin1String("empty")) {
        const bool answer = base == QLatin1String("true");
        baseCompare = [answer](const Task &, const Task &) {
            return answer;
        };
    }
    Task first, second;
    first.sort_order = a;
    second.sort_order = b;
    QCOMPARE(TaskTree::withManualSortOrder(baseCompare)(first, second), expected);
}

// Placed tasks lead in their own order whatever the base order says; the rest follow it.
void tst_TaskTree::manualSortOrderInFlatten()
{
    QList<Task> tasks = makeTasks(words("u#1 three#0 v#0 one#9"));
    tasks[1].sort_order = 3;
    tasks[3].sort_order = 1;
    const auto tree = TaskTree::flatten(tasks, TaskTree::withManualSortOrder(byPriority));
    QCOMPARE(rows(tree), words("one@0 three@0 v@0 u@0"));
}

QTEST_APPLESS_MAIN(tst_TaskTree)
#include "tst_TaskTree.moc"
