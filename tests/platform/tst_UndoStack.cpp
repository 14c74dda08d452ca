#include "platform/UndoStack.h"

#include <QSignalSpy>
#include <QTest>

namespace {

UndoStack::Entry entry(const QString &summary, QStringList *log)
{
    return {summary, [summary, log] {
                log->append(summary);
            }};
}

} // namespace

class TestUndoStack : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheTwentyNewest();
    void emptyFunctionIsIgnored();
    void undoOnEmptyStackDoesNothing();
    void undoOrderAndSignals();
    void undoFunctionThatPushes();
};

void TestUndoStack::keepsTheTwentyNewest()
{
    QStringList log;
    UndoStack stack;
    QSignalSpy changed(&stack, &UndoStack::changed);
    for (int i = 1; i <= 21; ++i)
        stack.push(entry(QString::number(i), &log));
    QCOMPARE(stack.count(), 20);
    QCOMPARE(changed.count(), 21);

    while (stack.count() > 0)
        stack.undo();
    QStringList expected;
    for (int i = 21; i >= 2; --i)
        expected.append(QString::number(i));
    QCOMPARE(log, expected); // entry "1" fell off the front
}

void TestUndoStack::emptyFunctionIsIgnored()
{
    UndoStack stack;
    QSignalSpy changed(&stack, &UndoStack::changed);
    stack.push({QStringLiteral("Moved \"Lunch\""), {}});
    QCOMPARE(stack.count(), 0);
    QCOMPARE(changed.count(), 0);
}

void TestUndoStack::undoOnEmptyStackDoesNothing()
{
    UndoStack stack;
    QSignalSpy changed(&stack, &UndoStack::changed);
    QSignalSpy undone(&stack, &UndoStack::undone);
    stack.undo();
    QCOMPARE(changed.count(), 0);
    QCOMPARE(undone.count(), 0);
}

void TestUndoStack::undoOrderAndSignals()
{
    QStringList log;
    UndoStack stack;
    stack.push(entry(QStringLiteral("Moved \"A\""), &log));
    stack.push(entry(QStringLiteral("Deleted \"B\""), &log));

    QStringList events;
    connect(&stack, &UndoStack::changed, this,
            [&] { events.append(QStringLiteral("changed %1").arg(stack.count())); });
    connect(&stack, &UndoStack::undone, this,
            [&](const QString &summary) { events.append(QStringLiteral("undone ") + summary); });

    stack.undo();
    QCOMPARE(log, QStringList {QStringLiteral("Deleted \"B\"")});
    QCOMPARE(events,
             (QStringList {QStringLiteral("changed 1"), QStringLiteral("undone Deleted \"B\"")}));
    stack.undo();
    QCOMPARE(log, (QStringList {QStringLiteral("Deleted \"B\""), QStringLiteral("Moved \"A\"")}));
    QCOMPARE(events.mid(2),
             (QStringList {QStringLiteral("changed 0"), QStringLiteral("undone Moved \"A\"")}));
}

void TestUndoStack::undoFunctionThatPushes()
{
    QStringList log;
    UndoStack stack;
    for (int i = 1; i <= UndoStack::kMaxEntries; ++i)
        stack.push(entry(QString::number(i), &log));
    int countInside = -1;
    stack.push({QStringLiteral("Resized \"C\""), [&] {
                    countInside = stack.count();
                    stack.push(entry(QStringLiteral("pushed by undo"), &log));
                }});
    QSignalSpy undone(&stack, &UndoStack::undone);

    stack.undo();
    // The entry was off the stack before its function ran, so "1" fell off at the 21st push
    // and nothing was lost by the push made inside the undo.
    QCOMPARE(countInside, UndoStack::kMaxEntries - 1);
    QCOMPARE(stack.count(), UndoStack::kMaxEntries);
    QCOMPARE(undone.count(), 1);
    QCOMPARE(undone.at(0).at(0).toString(), QStringLiteral("Resized \"C\""));
    stack.undo();
    QCOMPARE(log.constLast(), QStringLiteral("pushed by undo"));
}

QTEST_GUILESS_MAIN(TestUndoStack)
#include "tst_UndoStack.moc"
