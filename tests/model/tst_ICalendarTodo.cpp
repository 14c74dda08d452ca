#include "ICalOracle.h"
#include "model/ICalendar.h"
#include "support/TestSupport.h"

#include <QTest>

Q_DECLARE_METATYPE(Task)

namespace {

const QDateTime kNow(QDate(2024, 3, 1), QTime(12, 0, 0), Qt::UTC);

QString crlf(const QStringList &lines)
{
    return lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
}

Task makeTask(const QString &uid, const QString &title)
{
    Task t;
    t.uid = uid;
    t.title = title;
    return t;
}

Reminder reminder(int minutes, const QString &action = QString())
{
    Reminder r;
    r.minutes_before = minutes;
    r.action = action;
    return r;
}

QString todoText(const QStringList &body)
{
    return crlf(QStringList {QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("BEGIN:VTODO"),
                             QStringLiteral("UID:t")}
                + body
                + QStringList {QStringLiteral("END:VTODO"), QStringLiteral("END:VCALENDAR")});
}

Task onlyTask(const QStringList &body)
{
    const QList<Task> tasks = parseICalendarTodo(todoText(body));
    return tasks.size() == 1 ? tasks.first() : Task();
}

QString remindersText(const QList<Reminder> &reminders)
{
    QStringList parts;
    for (const Reminder &r : reminders)
        parts << QString::number(r.minutes_before) + QLatin1Char(' ') + r.action;
    return parts.join(QLatin1String(", "));
}

// What libical reads for an optional date of ours, in its form.
QJsonValue oracleTime(const std::optional<QDateTime> &dt, bool dateOnly)
{
    if (!dt.has_value() || !dt->isValid())
        return QJsonValue();
    return ICalOracle::asOracleTime(*dt, dateOnly, QJsonObject());
}

} // namespace

class tst_ICalendarTodo : public QObject
{
    Q_OBJECT
private slots:
    void writesMinimalTask();
    void writesEveryLineInOrder();
    void alarms_data();
    void alarms();
    void invalidDatesAreLeftOut();
    void roundTrip_data();
    void roundTrip();

    void triggers_data();
    void triggers();
    void vendorProperties_data();
    void vendorProperties();
    void categories_data();
    void categories();
    void componentsAndRawText();
    void corpusMatchesLibical();
};

void tst_ICalendarTodo::writesMinimalTask()
{
    Task t = makeTask(QStringLiteral("u1"), QStringLiteral("Buy milk"));
    const QString expected
        = crlf({QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("VERSION:2.0"),
                QStringLiteral("PRODID:-//Larkspindle//Calendar Desktop//EN"),
                QStringLiteral("BEGIN:VTODO"), QStringLiteral("UID:u1"),
                QStringLiteral("DTSTAMP:20240301T120000Z"), QStringLiteral("SUMMARY:Buy milk"),
                QStringLiteral("STATUS:NEEDS-ACTION"), QStringLiteral("END:VTODO"),
                QStringLiteral("END:VCALENDAR")});
    QCOMPARE(writeICalendarTodo(t, kNow), expected);
    t.status.clear();
    QCOMPARE(writeICalendarTodo(t, kNow), expected);
}

void tst_ICalendarTodo::writesEveryLineInOrder()
{
    Task t = makeTask(QStringLiteral("u2"), QStringLiteral("Report"));
    t.status = QStringLiteral("in-process");
    t.sequence = 2;
    t.priority = 1;
    t.percent_complete = 50;
    t.start_date = QDateTime(QDate(2024, 3, 10), QTime(0, 0), Qt::LocalTime);
    t.start_is_date_only = true;
    t.due_date = QDateTime(QDate(2024, 3, 15), QTime(17, 0), QTimeZone("America/New_York"));
    t.due_is_date_only = false;
    t.completed_date = QDateTime(QDate(2024, 3, 14), QTime(8, 30), Qt::UTC);
    t.recurrence_rule = QStringLiteral("FREQ=WEEKLY;COUNT=3");
    t.categories = QStringList {QStringLiteral("Work"), QStringLiteral("Q1")};
    t.parent_task_uid = QStringLiteral("parent");
    t.repeat_mode = QStringLiteral("fromCompletionDate");
    t.item_type = QStringLiteral("reminder");
    t.sort_order = 3;
    t.description = QStringLiteral("Numbers");
    t.reminders = {reminder(0), reminder(30, QStringLiteral("audio"))};
    QCOMPARE(writeICalendarTodo(t, kNow),
             crlf({QStringLiteral("BEGIN:VCALENDAR"),
                   QStringLiteral("VERSION:2.0"),
                   QStringLiteral("PRODID:-//Larkspindle//Calendar Desktop//EN"),
                   QStringLiteral("BEGIN:VTODO"),
                   QStringLiteral("UID:u2"),
                   QStringLiteral("DTSTAMP:20240301T120000Z"),
                   QStringLiteral("SUMMARY:Report"),
                   QStringLiteral("STATUS:IN-PROCESS"),
                   QStringLiteral("SEQUENCE:2"),
                   QStringLiteral("PRIORITY:1"),
                   QStringLiteral("PERCENT-COMPLETE:50"),
                   QStringLiteral("DTSTART;VALUE=DATE:20240310"),
                   QStringLiteral("DUE:20240315T210000Z"),
                   QStringLiteral("COMPLETED:20240314T083000Z"),
                   QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=3"),
                   QStringLiteral("CATEGORIES:Work,Q1"),
                   QStringLiteral("RELATED-TO;RELTYPE=PARENT:parent"),
                   QStringLiteral("X-LARKSPINDLE-REPEAT-MODE:fromCompletionDate"),
                   QStringLiteral("X-LARKSPINDLE-ITEM-TYPE:reminder"),
                   QStringLiteral("X-LARKSPINDLE-SORT-ORDER:3"),
                   QStringLiteral("DESCRIPTION:Numbers"),
                   QStringLiteral("BEGIN:VALARM"),
                   QStringLiteral("ACTION:DISPLAY"),
                   QStringLiteral("DESCRIPTION:Report"),
                   QStringLiteral("TRIGGER;RELATED=END:PT0S"),
                   QStringLiteral("END:VALARM"),
                   QStringLiteral("BEGIN:VALARM"),
                   QStringLiteral("ACTION:AUDIO"),
                   QStringLiteral("DESCRIPTION:Report"),
                   QStringLiteral("TRIGGER;RELATED=END:-PT30M"),
                   QStringLiteral("END:VALARM"),
                   QStringLiteral("END:VTODO"),
                   QStringLiteral("END:VCALENDAR")}));
}

void tst_ICalendarTodo::alarms_data()
{
    QTest::addColumn<Task>("task");
    QTest::addColumn<QString>("trigger"); // empty: no alarm written
    Task t = makeTask(QStringLiteral("a"), QStringLiteral("A"));
    t.reminders = {reminder(30)};
    QTest::newRow("no dates") << t << QString();
    Task start = t;
    start.start_date = QDateTime(QDate(2024, 3, 1), QTime(9, 0), Qt::UTC);
    start.start_is_date_only = false;
    QTest::newRow("start only") << start << QStringLiteral("TRIGGER;RELATED=START:-PT30M");
    Task due = t;
    due.due_date = QDateTime(QDate(2024, 3, 15), QTime(0, 0), Qt::UTC);
    due.reminders = {reminder(0)};
    QTest::newRow("due, at the time") << due << QStringLiteral("TRIGGER;RELATED=END:PT0S");
    Task invalidDue = start;
    invalidDue.due_date = QDateTime();
    QTest::newRow("invalid due anchors at start")
        << invalidDue << QStringLiteral("TRIGGER;RELATED=START:-PT30M");
}

void tst_ICalendarTodo::alarms()
{
    QFETCH(Task, task);
    QFETCH(QString, trigger);
    const QString text = writeICalendarTodo(task, kNow);
    QCOMPARE(text.contains(QLatin1String("BEGIN:VALARM")), !trigger.isEmpty());
    QVERIFY(trigger.isEmpty()
            || text.contains(QLatin1String("\r\n") + trigger + QLatin1String("\r\n")));
    QCOMPARE(parseICalendarTodo(text).first().reminders.size(), trigger.isEmpty() ? 0 : 1);
}

void tst_ICalendarTodo::invalidDatesAreLeftOut()
{
    Task t = makeTask(QStringLiteral("bad-dates"), QStringLiteral("X"));
    t.start_date = QDateTime();
    t.due_date = QDateTime(QDate(2024, 2, 30), QTime(0, 0));
    t.completed_date = QDateTime();
    t.reminders = {reminder(5)};
    const QString text = writeICalendarTodo(t, kNow);
    for (const char *name : {"DTSTART", "DUE", "COMPLETED", "VALARM"})
        QVERIFY2(!text.contains(QLatin1String(name)), name);
    const ICalOracle::Result oracle = ICalOracle::read(text.toUtf8());
    QVERIFY2(oracle.error.isEmpty(), qPrintable(oracle.error));
    QCOMPARE(oracle.components.size(), 1);
}

void tst_ICalendarTodo::roundTrip_data()
{
    QTest::addColumn<Task>("task");
    Task plain = makeTask(QStringLiteral("plain-1"), QStringLiteral("Water plants"));
    QTest::newRow("plain") << plain;

    // libical 3.0 stops splitting CATEGORIES after an escaped semicolon, so that one comes last.
    Task text = makeTask(QStringLiteral("uid,with;separators\\"), QStringLiteral("a,b;c\\n d"));
    text.description = QStringLiteral("Line 1\nLine 2\r\nC:\\new\\folder, done; ok");
    text.categories
        = {QStringLiteral("Family, friends"), QStringLiteral("back\\slash"), QStringLiteral("a;b")};
    text.parent_task_uid = QStringLiteral("parent,uid");
    QTest::newRow("escaped text") << text;

    Task dates = makeTask(QStringLiteral("dates"), QStringLiteral("Taxes"));
    dates.status = QStringLiteral("completed");
    dates.due_date = QDateTime(QDate(2024, 3, 15), QTime(0, 0), Qt::UTC);
    dates.due_is_date_only = true;
    dates.start_date = QDateTime(QDate(2024, 3, 1), QTime(8, 15), QTimeZone("Europe/Berlin"));
    dates.start_is_date_only = false;
    dates.completed_date = QDateTime(QDate(2024, 3, 14), QTime(23, 59, 59), Qt::UTC);
    dates.priority = 9;
    dates.percent_complete = 100;
    dates.sequence = 7;
    dates.recurrence_rule = QStringLiteral("FREQ=MONTHLY;INTERVAL=2");
    dates.reminders = {reminder(0), reminder(1440, QStringLiteral("audio")),
                       reminder(15, QStringLiteral("email"))};
    QTest::newRow("dates and reminders") << dates;

    Task vendor = makeTask(QStringLiteral("vendor"), QString());
    vendor.repeat_mode = QStringLiteral("fromCompletionDate");
    vendor.item_type = QStringLiteral("reminder");
    vendor.sort_order = 12;
    vendor.start_date = QDateTime(QDate(2024, 7, 4), QTime(0, 0), Qt::UTC);
    vendor.reminders = {reminder(45)};
    QTest::newRow("vendor properties, start-anchored alarm") << vendor;
}

void tst_ICalendarTodo::roundTrip()
{
    QFETCH(Task, task);
    const QString text = writeICalendarTodo(task, kNow);

    // Our own reader gives back what was written.
    const QList<Task> back = parseICalendarTodo(text);
    QCOMPARE(back.size(), 1);
    const Task &r = back.first();
    QCOMPARE(r.uid, task.uid);
    QCOMPARE(r.title, task.title);
    QString description = task.description;
    description.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QCOMPARE(r.description, description);
    QCOMPARE(r.status, task.status);
    QCOMPARE(r.priority, task.priority);
    QCOMPARE(r.percent_complete, task.percent_complete);
    QCOMPARE(r.sequence, task.sequence);
    QCOMPARE(r.recurrence_rule, task.recurrence_rule);
    QCOMPARE(r.categories, task.categories);
    QCOMPARE(r.parent_task_uid, task.parent_task_uid);
    QCOMPARE(r.repeat_mode, task.repeat_mode);
    QCOMPARE(r.item_type, task.item_type);
    QCOMPARE(r.sort_order, task.sort_order);
    QCOMPARE(r.due_date.has_value(), task.due_date.has_value());
    QCOMPARE(r.due_date.value_or(QDateTime()), task.due_date.value_or(QDateTime()));
    QCOMPARE(r.start_date.value_or(QDateTime()), task.start_date.value_or(QDateTime()));
    QCOMPARE(r.completed_date.value_or(QDateTime()), task.completed_date.value_or(QDateTime()));
    QList<Reminder> expectedReminders = task.reminders;
    for (Reminder &rem : expectedReminders) {
        if (rem.action.isEmpty())
            rem.action = QStringLiteral("display");
    }
    QCOMPARE(remindersText(r.reminders), remindersText(expectedReminders));
    QCOMPARE(r.raw_icalendar,
             text.mid(text.indexOf(QLatin1String("BEGIN:VTODO")))
                 .chopped(QStringLiteral("END:VCALENDAR\r\n").size()));

    // libical reads the same values.
    const ICalOracle::Result oracle = ICalOracle::read(text.toUtf8());
    QVERIFY2(oracle.error.isEmpty(), qPrintable(oracle.error));
    QCOMPARE(oracle.components.size(), 1);
    const QJsonObject o = oracle.components.first().toObject();
    auto prop = [&o](const char *name) {
        return ICalOracle::value(o, QString::fromLatin1(name)).toString();
    };
    QCOMPARE(prop("UID"), task.uid);
    QCOMPARE(prop("SUMMARY"), task.title);
    QCOMPARE(prop("DESCRIPTION"), description);
    QCOMPARE(prop("STATUS"),
             task.status.isEmpty() ? QStringLiteral("NEEDS-ACTION") : task.status.toUpper());
    QCOMPARE(prop("RELATED-TO"), task.parent_task_uid);
    QCOMPARE(prop("RRULE"), task.recurrence_rule);
    QStringList categories;
    const QJsonArray categoryProps = ICalOracle::properties(o, QStringLiteral("CATEGORIES"));
    for (const QJsonValue &p : categoryProps)
        categories << p.toObject().value(QStringLiteral("value")).toString();
    QCOMPARE(categories, task.categories);
    QCOMPARE(ICalOracle::value(o, QStringLiteral("DUE")),
             oracleTime(task.due_date, task.due_is_date_only));
    QCOMPARE(ICalOracle::value(o, QStringLiteral("DTSTART")),
             oracleTime(task.start_date, task.start_is_date_only));
    QCOMPARE(ICalOracle::value(o, QStringLiteral("COMPLETED")),
             oracleTime(task.completed_date, false));
    QCOMPARE(ICalOracle::value(o, QStringLiteral("DTSTAMP")),
             QJsonValue(QJsonObject {{QStringLiteral("utc"), kNow.toSecsSinceEpoch()}}));

    const QJsonArray alarms = ICalOracle::subComponents(o);
    QCOMPARE(alarms.size(), task.reminders.size());
    const QString anchor = task.due_date ? QStringLiteral("END") : QStringLiteral("START");
    for (int i = 0; i < alarms.size(); ++i) {
        const QJsonObject a = alarms.at(i).toObject();
        const Reminder &rem = task.reminders.at(i);
        QCOMPARE(ICalOracle::value(a, QStringLiteral("ACTION")).toString(),
                 rem.action.isEmpty() ? QStringLiteral("DISPLAY") : rem.action.toUpper());
        QCOMPARE(ICalOracle::value(a, QStringLiteral("DESCRIPTION")).toString(), task.title);
        const QJsonObject trigger
            = ICalOracle::properties(a, QStringLiteral("TRIGGER")).first().toObject();
        QCOMPARE(trigger.value(QStringLiteral("value"))
                     .toObject()
                     .value(QStringLiteral("seconds"))
                     .toInteger(),
                 -60 * rem.minutes_before);
        QCOMPARE(trigger.value(QStringLiteral("params"))
                     .toObject()
                     .value(QStringLiteral("RELATED"))
                     .toString(),
                 anchor);
    }
}

void tst_ICalendarTodo::triggers_data()
{
    QTest::addColumn<QStringList>("alarm");
    QTest::addColumn<QString>("reminders");
    QTest::newRow("relative before")
        << QStringList {QStringLiteral("ACTION:DISPLAY"), QStringLiteral("TRIGGER:-PT15M")}
        << QStringLiteral("15 display");
    QTest::newRow("sign does not matter")
        << QStringList {QStringLiteral("TRIGGER;RELATED=END: +PT15M ")}
        << QStringLiteral("15 display");
    QTest::newRow("one day, audio")
        << QStringList {QStringLiteral("TRIGGER:-P1D"), QStringLiteral("ACTION:AUDIO")}
        << QStringLiteral("1440 audio");
    QTest::newRow("seconds truncate")
        << QStringList {QStringLiteral("TRIGGER:PT90S")} << QStringLiteral("1 display");
    QTest::newRow("absolute gives none")
        << QStringList {QStringLiteral("TRIGGER;VALUE=DATE-TIME:20240314T090000Z")} << QString();
    QTest::newRow("no trigger gives none")
        << QStringList {QStringLiteral("ACTION:DISPLAY")} << QString();
    QTest::newRow("nested component inside the alarm")
        << QStringList {QStringLiteral("TRIGGER:-PT5M"), QStringLiteral("BEGIN:X-INNER"),
                        QStringLiteral("TRIGGER:-PT50M"), QStringLiteral("END:X-INNER")}
        << QStringLiteral("5 display");
}

void tst_ICalendarTodo::triggers()
{
    QFETCH(QStringList, alarm);
    const Task t = onlyTask(
        QStringList {QStringLiteral("DESCRIPTION:task text"), QStringLiteral("BEGIN:VALARM")}
        + alarm
        + QStringList {QStringLiteral("DESCRIPTION:alarm text"),
                       QStringLiteral("SUMMARY:alarm summary"), QStringLiteral("END:VALARM")});
    QCOMPARE(t.uid, QStringLiteral("t"));
    QTEST(remindersText(t.reminders), "reminders");
    QCOMPARE(t.description, QStringLiteral("task text"));
    QCOMPARE(t.title, QString());
}

void tst_ICalendarTodo::vendorProperties_data()
{
    QTest::addColumn<QStringList>("body");
    QTest::addColumn<QString>("repeatMode");
    QTest::addColumn<QString>("itemType");
    QTest::addColumn<int>("sortOrder");
    const QString due = QStringLiteral("fromDueDate");
    const QString task = QStringLiteral("task");
    QTest::newRow("all set") << QStringList {QStringLiteral(
                                                 "X-LARKSPINDLE-REPEAT-MODE: fromCompletionDate "),
                                             QStringLiteral("X-LARKSPINDLE-ITEM-TYPE:Reminder"),
                                             QStringLiteral("X-LARKSPINDLE-SORT-ORDER: 4")}
                             << QStringLiteral("fromCompletionDate") << QStringLiteral("reminder")
                             << 4;
    QTest::newRow("wrong case of repeat mode")
        << QStringList {QStringLiteral("X-LARKSPINDLE-REPEAT-MODE:fromcompletiondate")} << due
        << task << 0;
    QTest::newRow("zero order") << QStringList {QStringLiteral("X-LARKSPINDLE-SORT-ORDER:0")} << due
                                << task << 0;
    QTest::newRow("negative order")
        << QStringList {QStringLiteral("X-LARKSPINDLE-SORT-ORDER:-3")} << due << task << 0;
    QTest::newRow("order not a number")
        << QStringList {QStringLiteral("X-LARKSPINDLE-SORT-ORDER:3a")} << due << task << 0;
    QTest::newRow("other item type")
        << QStringList {QStringLiteral("X-LARKSPINDLE-ITEM-TYPE:note")} << due << task << 0;
}

void tst_ICalendarTodo::vendorProperties()
{
    QFETCH(QStringList, body);
    const Task t = onlyTask(body);
    QCOMPARE(t.uid, QStringLiteral("t"));
    QTEST(t.repeat_mode, "repeatMode");
    QTEST(t.item_type, "itemType");
    QTEST(t.sort_order, "sortOrder");
}

void tst_ICalendarTodo::categories_data()
{
    QTest::addColumn<QStringList>("body");
    QTest::addColumn<QStringList>("categories");
    QTest::newRow("empty parts skipped") << QStringList {QStringLiteral("CATEGORIES:a,,b")}
                                         << QStringList {QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("blank part trimmed to nothing")
        << QStringList {QStringLiteral("CATEGORIES:a, ,b")}
        << QStringList {QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("escaped comma stays in the category")
        << QStringList {QStringLiteral("CATEGORIES:Family\\, friends,Work\\;Home,C:\\\\")}
        << QStringList {QStringLiteral("Family, friends"), QStringLiteral("Work;Home"),
                        QStringLiteral("C:\\")};
    QTest::newRow("several lines add up")
        << QStringList {QStringLiteral("CATEGORIES:a,b"), QStringLiteral("categories:c")}
        << QStringList {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
}

void tst_ICalendarTodo::categories()
{
    QFETCH(QStringList, body);
    QTEST(onlyTask(body).categories, "categories");
}

void tst_ICalendarTodo::componentsAndRawText()
{
    const QString text = QStringLiteral(
        "BEGIN:VCALENDAR\nBEGIN:VTODO\nUID:unfinished\n"
        "BEGIN:VTODO\nUID:one\nSUMMARY:First\nDUE:2024-03-15\nPRIORITY:high\n"
        "RELATED-TO;RELTYPE=PARENT:p1\nRELATED-TO:p2\nRELATED-TO;RELTYPE=SIBLING:s\nEND:VTODO\n"
        "BEGIN:VTODO\nSUMMARY:no uid\nEND:VTODO\n"
        "BEGIN:VEVENT\nUID:event\nEND:VEVENT\nEND:VCALENDAR\n");
    const QList<Task> tasks = parseICalendarTodo(text);
    QCOMPARE(tasks.size(), 1);
    const Task &t = tasks.first();
    QCOMPARE(t.uid, QStringLiteral("one"));
    QVERIFY(t.due_date.has_value());
    QVERIFY(!t.due_date->isValid());
    QVERIFY(!t.due_is_date_only);
    QCOMPARE(t.priority, 0);
    QCOMPARE(t.parent_task_uid, QStringLiteral("p2"));
    QCOMPARE(t.raw_icalendar,
             QStringLiteral(
                 "BEGIN:VTODO\r\nUID:one\r\nSUMMARY:First\r\nDUE:2024-03-15\r\nPRIORITY:high\r\n"
                 "RELATED-TO;RELTYPE=PARENT:p1\r\nRELATED-TO:p2\r\n"
                 "RELATED-TO;RELTYPE=SIBLING:s\r\nEND:VTODO\r\n"));

    // Held as its VTODO alone, an edited task's text is a calendar again, its lines kept.
    Task done = t;
    done.status = QStringLiteral("completed");
    const QString updated = updatedICalendarTodo(done, QDateTime());
    QVERIFY2(updated.startsWith(QLatin1String("BEGIN:VCALENDAR\r\n"))
                 && updated.endsWith(QLatin1String("END:VTODO\r\nEND:VCALENDAR\r\n"))
                 && updated.contains(QLatin1String("\r\nSTATUS:COMPLETED\r\n"))
                 && updated.contains(QLatin1String("\r\nRELATED-TO;RELTYPE=SIBLING:s\r\n")),
             qPrintable(updated));
}

void tst_ICalendarTodo::corpusMatchesLibical()
{
    const QByteArray bytes = LarkTest::readData(QStringLiteral("ics/mailclient_tasks.ics"));
    const QList<Task> tasks = parseICalendarTodo(QString::fromUtf8(bytes));
    QCOMPARE(tasks.size(), 2);
    const ICalOracle::Result oracle = ICalOracle::read(bytes);
    QVERIFY2(oracle.error.isEmpty(), qPrintable(oracle.error));
    for (int i = 0; i < tasks.size(); ++i) {
        const Task &t = tasks.at(i);
        const QJsonObject o = oracle.components.at(i).toObject();
        QCOMPARE(t.uid, ICalOracle::value(o, QStringLiteral("UID")).toString());
        QCOMPARE(t.title, ICalOracle::value(o, QStringLiteral("SUMMARY")).toString());
        QCOMPARE(t.description, ICalOracle::value(o, QStringLiteral("DESCRIPTION")).toString());
        QStringList categories;
        const QJsonArray props = ICalOracle::properties(o, QStringLiteral("CATEGORIES"));
        for (const QJsonValue &p : props)
            categories << p.toObject().value(QStringLiteral("value")).toString();
        QCOMPARE(t.categories, categories);
        QCOMPARE(oracleTime(t.due_date, t.due_is_date_only),
                 ICalOracle::value(o, QStringLiteral("DUE")));
        QCOMPARE(oracleTime(t.start_date, t.start_is_date_only),
                 ICalOracle::value(o, QStringLiteral("DTSTART")));
        QCOMPARE(oracleTime(t.completed_date, false),
                 ICalOracle::value(o, QStringLiteral("COMPLETED")));
        QCOMPARE(t.parent_task_uid, ICalOracle::value(o, QStringLiteral("RELATED-TO")).toString());
    }
    QCOMPARE(tasks.at(0).status, QStringLiteral("in-process"));
    QCOMPARE(tasks.at(0).percent_complete, 40);
    QCOMPARE(tasks.at(0).priority, 1);
    QCOMPARE(remindersText(tasks.at(0).reminders), QStringLiteral("60 display"));
    QCOMPARE(remindersText(tasks.at(1).reminders), QStringLiteral("1440 display"));
    QCOMPARE(tasks.at(1).sort_order, 2);
    QCOMPARE(tasks.at(1).item_type, QStringLiteral("reminder"));
    QCOMPARE(tasks.at(1).repeat_mode, QStringLiteral("fromCompletionDate"));
}

QTEST_GUILESS_MAIN(tst_ICalendarTodo)
#include "tst_ICalendarTodo.moc"
