#include "model/Records.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

class tst_Records : public QObject
{
    Q_OBJECT
private slots:
    void defaults();
    void optionalFieldsCopyTheirPresence();
};

void tst_Records::defaults()
{
    const Event e;
    QVERIFY(!e.start_time.isValid());
    QVERIFY(!e.end_time.has_value());
    QCOMPARE(e.timezone, QStringLiteral("UTC"));
    QCOMPARE(e.status, QStringLiteral("confirmed"));
    QCOMPARE(e.sequence, 0);
    QCOMPARE(e.sync_status, QStringLiteral("synced"));
    QVERIFY(!e.deleted_at.has_value());
    QVERIFY(e.reminders.isEmpty() && e.attendees.isEmpty());

    const Task t;
    QVERIFY(t.due_is_date_only && t.start_is_date_only);
    QCOMPARE(t.repeat_mode, QStringLiteral("fromDueDate"));
    QCOMPARE(t.item_type, QStringLiteral("task"));
    QCOMPARE(t.status, QStringLiteral("needs-action"));
    QCOMPARE(t.sync_status, QStringLiteral("synced"));

    QCOMPARE(FilterRule().sync_status, QStringLiteral("pending"));
    QCOMPARE(FilterRule().priority, 100);
    QCOMPARE(FilterRule().action, QStringLiteral("hide"));
    QCOMPARE(FilterRule().calendar_ids, QStringLiteral("[]"));
    QCOMPARE(CalendarView().sync_status, QStringLiteral("pending"));
    QCOMPARE(CalendarView().calendar_ids, QStringLiteral("[]"));

    const Account a;
    QCOMPARE(a.sync_interval_minutes, 15);
    QVERIFY(a.enabled);
    QCOMPARE(a.color, QStringLiteral("#4285F4"));

    const Calendar c;
    QVERIFY(c.is_visible && !c.is_read_only && !c.is_default);
    QCOMPARE(c.color, QStringLiteral("#4285F4"));
    QCOMPARE(c.timezone, QStringLiteral("UTC"));
    const QJsonArray comps = QJsonDocument::fromJson(c.supported_components.toUtf8()).array();
    QCOMPARE(comps, QJsonArray {QStringLiteral("VEVENT")});

    const EventTemplate tpl;
    QVERIFY(tpl.reminders.isEmpty());
    QCOMPARE(tpl.duration_minutes, 60);

    const Reminder r;
    QVERIFY(r.action.isEmpty());
    QVERIFY(!r.trigger_time.has_value());
    QVERIFY(Attendee().role.isEmpty());
}

void tst_Records::optionalFieldsCopyTheirPresence()
{
    Event withEnd;
    withEnd.end_time = QDateTime(QDate(2024, 1, 1), QTime(10, 0), Qt::UTC);
    Event withoutEnd;
    Event copy = withoutEnd;
    QVERIFY(!copy.end_time.has_value());
    copy = withEnd;
    QVERIFY(copy.end_time.has_value());
    copy = withoutEnd;
    QVERIFY(!copy.end_time.has_value());

    Task done;
    done.completed_date = QDateTime::currentDateTimeUtc();
    Task open;
    done = open;
    QVERIFY(!done.completed_date.has_value());
}

QTEST_GUILESS_MAIN(tst_Records)
#include "tst_Records.moc"
