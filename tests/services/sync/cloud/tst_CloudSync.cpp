#include "CloudTestKit.h"
#include "core/sync/ConflictResolutionService.h"
#include "core/sync/SyncEngine.h"
#include "model/ICalendar.h"
#include "model/LocalEvent.h"
#include "model/Recurrence.h"
#include "services/sync/cloud/CloudItems.h"
#include "services/sync/cloud/CloudSyncProvider.h"
#include "services/sync/cloud/SyncClient.h"
#include "storage/AccountRepository.h"
#include "storage/TaskRepository.h"
#include "support/CloudDevice.h"
#include "support/FakeCloudService.h"
#include "support/MemoryTokenStore.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimeZone>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

using namespace CloudTest;
using LarkTest::CloudDevice;
using LarkTest::FakeReply;

namespace {

const QString teamUrl = QStringLiteral("larkspindle://team");

// The cloud calendar "team" on the open device.
Calendar team(const CloudDevice &device)
{
    for (const Calendar &c : device->calendars()->listAll()) {
        if (c.url == teamUrl)
            return c;
    }
    return Calendar();
}

// The occurrences of a series in the year from its start, as a person sees them: the day of an
// all-day one, the instant of a timed one.
QString occurrencesText(const Event &e)
{
    QStringList out;
    if (!e.recurrence_rule.isEmpty()) {
        for (const Event &o : expandRecurringMaster(e, e.start_time, e.start_time.addYears(1)))
            out << (e.is_all_day ? o.start_time.date().toString(Qt::ISODate)
                                 : o.start_time.toUTC().toString(Qt::ISODate));
    }
    return out.join(QLatin1Char(','));
}

// Everything a person sees of an event, on one line: its times as shown in three zones.
QString rowText(const Event &e)
{
    QStringList parts {e.uid,
                       e.recurrence_id,
                       e.master_event_uid,
                       e.title,
                       e.location,
                       e.description,
                       e.is_all_day ? QStringLiteral("all-day") : QStringLiteral("timed"),
                       e.recurrence_rule,
                       e.exception_dates == QLatin1String("[]") ? QString() : e.exception_dates,
                       e.recurrence_dates};
    for (const char *zone : {"UTC", "Europe/Berlin", "America/New_York"}) {
        const QTimeZone tz(zone);
        parts << e.start_time.toTimeZone(tz).toString(Qt::ISODate)
              << (e.end_time ? e.end_time->toTimeZone(tz).toString(Qt::ISODate) : QString());
    }
    parts << occurrencesText(e);
    QStringList reminders;
    for (const Reminder &r : e.reminders)
        reminders << QString::number(r.minutes_before) + QLatin1Char(' ') + r.action;
    QStringList guests;
    for (const Attendee &a : e.attendees)
        guests << a.email + QLatin1Char(' ') + a.name + QLatin1Char(' ') + a.status;
    reminders.sort();
    guests.sort();
    parts << reminders.join(QLatin1Char(',')) << guests.join(QLatin1Char(','));
    return parts.join(QLatin1Char('|'));
}

// What a person sees of a calendar: one line per active event, sorted.
QStringList seen(const CloudDevice &device)
{
    QStringList lines;
    for (const Event &e : device->events()->listByCalendar(team(device).id))
        lines << rowText(*device->events()->byId(e.id));
    lines.sort();
    return lines;
}

QStringList seen(const LarkTest::FakeCloudService &cloud)
{
    QStringList lines;
    for (const QJsonObject &o : cloud.events(QStringLiteral("team")))
        lines << rowText(
            Larkspindle::CloudSyncProvider::remoteEvent(o).value_or(Sync::RemoteEvent()).row);
    lines.sort();
    return lines;
}

// An event as an imported calendar file gives it: in a named zone, with a removed occurrence,
// a reminder and a guest.
Event importedEvent(const QString &calendarId, const QString &id)
{
    const QString text
        = QStringLiteral(
              "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\n"
              "DTSTAMP:20260301T080000Z\r\nSUMMARY:Review\r\n"
              "DTSTART;TZID=Europe/Berlin:20260304T090000\r\nDTEND;TZID=Europe/"
              "Berlin:20260304T100000\r\n"
              "RRULE:FREQ=WEEKLY;COUNT=5\r\nEXDATE;TZID=Europe/Berlin:20260311T090000\r\n"
              "ATTENDEE;CN=Ana;PARTSTAT=ACCEPTED:mailto:ana@example.com\r\n"
              "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n"
              "END:VEVENT\r\nEND:VCALENDAR\r\n")
              .arg(id);
    Event e = parseICalendarEvents(text).value(0);
    e.id = id;
    e.created = e.last_modified = at(1, 8);
    e.calendar_id = calendarId;
    e.raw_icalendar = text;
    e.sync_status = QStringLiteral("pending");
    return e;
}

} // namespace

Q_DECLARE_METATYPE(std::function<void(Event &)>)

class TestCloudSync : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void changesTravelBetweenDevices();
    void conflictingEditsSettle();
    void remindersAndGuestsOutliveAnotherDevicesEdit();
    void twoDevicesKeepEachOthersEdits_data();
    void twoDevicesKeepEachOthersEdits();
    void liveEntriesStayWhateverTheirDeletionMark_data();
    void liveEntriesStayWhateverTheirDeletionMark();
    void failedRunKeepsRowsAndCursor_data();
    void failedRunKeepsRowsAndCursor();

private:
    // Sync Now's run of the cloud account on the open device: "" when it finished, else the
    // failure reason.
    QString sync(CloudDevice &device);
    QString syncOne(CloudDevice &device, int *count = nullptr);
    Event editedOn(CloudDevice &device, const QString &title, const QString &newTitle);

    std::unique_ptr<LarkTest::ScopedMemoryTokenStore> m_secrets;
    std::unique_ptr<LarkTest::FakeCloudService> m_cloud;
    std::unique_ptr<CloudDevice> m_a;
    std::unique_ptr<CloudDevice> m_b;
};

void TestCloudSync::init()
{
    m_secrets = std::make_unique<LarkTest::ScopedMemoryTokenStore>();
    m_cloud = std::make_unique<LarkTest::FakeCloudService>();
    QVERIFY(m_cloud->listen());
    m_cloud->addCalendar(QStringLiteral("team"), QStringLiteral("Team"));
    m_a = std::make_unique<CloudDevice>(m_cloud->baseUrl());
    m_b = std::make_unique<CloudDevice>(m_cloud->baseUrl());
}

void TestCloudSync::cleanup()
{
    m_a.reset();
    m_b.reset();
    m_cloud.reset();
    m_secrets.reset();
}

QString TestCloudSync::sync(CloudDevice &device)
{
    const Account account = *device->accounts()->byId(localAccountId);
    Sync::SyncEngine engine(Sync::SyncStore::of(*device.state()), account,
                            new Larkspindle::CloudSyncProvider(account, device.api(), true));
    QSignalSpy finished(&engine, &AccountSyncRun::finished);
    QSignalSpy failed(&engine, &AccountSyncRun::failed);
    engine.start();
    if (!QTest::qWaitFor([&] { return finished.size() + failed.size() > 0; }, 5000))
        return QStringLiteral("no end");
    return failed.isEmpty() ? QString() : failed.first().at(1).toString();
}

QString TestCloudSync::syncOne(CloudDevice &device, int *count)
{
    Larkspindle::SyncClient client(device.state(), device.api());
    QSignalSpy completed(&client, &Larkspindle::SyncClient::calendarSyncCompleted);
    QSignalSpy failed(&client, &Larkspindle::SyncClient::calendarSyncFailed);
    client.syncCalendar(team(device));
    if (!QTest::qWaitFor([&] { return completed.size() + failed.size() > 0; }, 5000))
        return QStringLiteral("no end");
    if (count && !completed.isEmpty())
        *count = completed.first().at(1).toInt();
    return failed.isEmpty() ? QString() : failed.first().at(1).toString();
}

Event TestCloudSync::editedOn(CloudDevice &device, const QString &title, const QString &newTitle)
{
    for (const Event &e : device->events()->listByCalendar(team(device).id)) {
        if (e.title == title) {
            const Event edited = retitled(*device->events()->byId(e.id), newTitle);
            return device->events()->update(edited) ? edited : Event();
        }
    }
    return Event();
}

void TestCloudSync::changesTravelBetweenDevices()
{
    // Device A adopts the cloud calendar and adds a meeting and a weekly series with one
    // occurrence moved.
    QVERIFY(m_a->open());
    QCOMPARE(sync(*m_a), QString());
    const QString calA = team(*m_a).id;
    QVERIFY(!calA.isEmpty());
    QVERIFY(m_a->state()->events()->insert(localEvent(
        calA, {QStringLiteral("kick"), {}, QStringLiteral("Kickoff"), at(2, 9), {}, {}})));
    QVERIFY(m_a->state()->events()->insert(localEvent(calA,
                                                      {QStringLiteral("weekly"),
                                                       {},
                                                       QStringLiteral("Weekly"),
                                                       at(3, 10),
                                                       QStringLiteral("FREQ=WEEKLY;COUNT=4"),
                                                       {}})));
    QVERIFY(m_a->state()->events()->insert(localEvent(calA,
                                                      {QStringLiteral("weekly-moved"),
                                                       QStringLiteral("weekly"),
                                                       QStringLiteral("Weekly (moved)"),
                                                       at(11, 15),
                                                       {},
                                                       at(10, 10)})));
    // A whole-day outing made in the event form in New York, and an imported series.
    Event outing = Event::newLocal();
    outing.calendar_id = calA;
    outing.title = QStringLiteral("Outing");
    outing.is_all_day = true;
    const QTimeZone newYork("America/New_York");
    outing.start_time = QDateTime(QDate(2026, 3, 14), QTime(0, 0), newYork);
    outing.end_time = QDateTime(QDate(2026, 3, 15), QTime(0, 0), newYork);
    QVERIFY(m_a->state()->events()->insert(newLocalEvent(outing, at(1, 8))));
    QVERIFY(m_a->state()->events()->insert(importedEvent(calA, QStringLiteral("review"))));
    QCOMPARE(sync(*m_a), QString());
    const QStringList expected = seen(*m_a);
    QCOMPARE(expected.size(), 5);
    QCOMPARE(seen(*m_cloud), expected);
    m_a->close();

    // B sees the same rows: a master and its override, a meeting, the outing and the review.
    QVERIFY(m_b->open());
    QCOMPARE(sync(*m_b), QString());
    QCOMPARE(seen(*m_b), expected);
    // B edits the meeting; the service keeps one copy of it.
    QVERIFY(
        !editedOn(*m_b, QStringLiteral("Kickoff"), QStringLiteral("Kickoff, room 2")).id.isEmpty());
    QCOMPARE(sync(*m_b), QString());
    QCOMPARE(m_cloud->events(QStringLiteral("team")).size(), 5);
    m_b->close();

    // A gets the edit on its own row and deletes the meeting.
    QVERIFY(m_a->open());
    QCOMPARE(sync(*m_a), QString());
    QCOMPARE(m_a->state()->events()->byId(QStringLiteral("kick"))->title,
             QStringLiteral("Kickoff, room 2"));
    QCOMPARE(seen(*m_a).size(), 5);
    QVERIFY(m_a->state()->events()->remove(QStringLiteral("kick")));
    QCOMPARE(sync(*m_a), QString());
    QVERIFY(!m_a->state()->events()->byId(QStringLiteral("kick")));
    const QStringList series = seen(*m_a);
    QCOMPARE(series.size(), 4);
    m_a->close();

    // B loses it too; the series is untouched on both.
    QVERIFY(m_b->open());
    QCOMPARE(sync(*m_b), QString());
    QCOMPARE(seen(*m_b), series);
    QCOMPARE(seen(*m_cloud), series);
}

void TestCloudSync::conflictingEditsSettle()
{
    QVERIFY(m_a->open());
    QCOMPARE(sync(*m_a), QString());
    QVERIFY(m_a->state()->events()->insert(localEvent(
        team(*m_a).id, {QStringLiteral("plan"), {}, QStringLiteral("Plan"), at(5, 9), {}, {}})));
    QCOMPARE(sync(*m_a), QString());
    m_a->close();
    QVERIFY(m_b->open());
    QCOMPARE(sync(*m_b), QString());
    m_b->close();

    // Both edit the same event; A pushes first, so B's edit is of a version the service no
    // longer holds.
    QVERIFY(m_a->open());
    QVERIFY(!editedOn(*m_a, QStringLiteral("Plan"), QStringLiteral("Plan A")).id.isEmpty());
    QCOMPARE(sync(*m_a), QString());
    m_a->close();
    QVERIFY(m_b->open());
    QVERIFY(!editedOn(*m_b, QStringLiteral("Plan"), QStringLiteral("Plan B")).id.isEmpty());
    const QString run = sync(*m_b);

    // The edit met A's: both versions are on record, and the run settles it, so that every side
    // holds the same row.
    const QList<Sync::Conflict> conflicts = m_b->state()->conflicts()->conflicts();
    QCOMPARE(conflicts.size(), 1);
    QCOMPARE(conflicts.first().local.title, QStringLiteral("Plan B"));
    QCOMPARE(conflicts.first().remote.title, QStringLiteral("Plan A"));
    QCOMPARE(run, QString());
    const QStringList settled = seen(*m_cloud);
    QCOMPARE(settled.size(), 1);
    QCOMPARE(seen(*m_b), settled);
    QCOMPARE(sync(*m_b), QString());
    m_b->close();
    QVERIFY(m_a->open());
    QCOMPARE(sync(*m_a), QString());
    QCOMPARE(seen(*m_a), settled);
    QCOMPARE(seen(*m_cloud), settled);
}

void TestCloudSync::remindersAndGuestsOutliveAnotherDevicesEdit()
{
    // A makes an event with a reminder and a guest; the service's text carries neither.
    QVERIFY(m_a->open());
    QCOMPARE(sync(*m_a), QString());
    Event dentist
        = localEvent(team(*m_a).id,
                     {QStringLiteral("dentist"), {}, QStringLiteral("Dentist"), at(5, 9), {}, {}});
    Reminder early;
    early.minutes_before = 15;
    early.action = QStringLiteral("DISPLAY");
    dentist.reminders = {early};
    Attendee ana;
    ana.email = QStringLiteral("ana@example.com");
    ana.name = QStringLiteral("Ana");
    ana.status = QStringLiteral("ACCEPTED");
    dentist.attendees = {ana};
    QVERIFY(m_a->state()->events()->insert(dentist));
    QCOMPARE(sync(*m_a), QString());
    const QString onA = rowText(*m_a->state()->events()->byId(QStringLiteral("dentist")));
    QVERIFY(onA.endsWith(QStringLiteral("|15 DISPLAY|ana@example.com Ana ACCEPTED")));
    m_a->close();

    // B renames it.
    QVERIFY(m_b->open());
    QCOMPARE(sync(*m_b), QString());
    QVERIFY(
        !editedOn(*m_b, QStringLiteral("Dentist"), QStringLiteral("Dentist, room 2")).id.isEmpty());
    QCOMPARE(sync(*m_b), QString());
    m_b->close();

    // A takes the new title and keeps what it set itself, also after a further run.
    QVERIFY(m_a->open());
    for (int run = 0; run < 2; ++run) {
        QCOMPARE(sync(*m_a), QString());
        QCOMPARE(
            rowText(*m_a->state()->events()->byId(QStringLiteral("dentist"))),
            QString(onA).replace(QStringLiteral("|Dentist|"), QStringLiteral("|Dentist, room 2|")));
    }
    QCOMPARE(seen(*m_cloud).size(), 1);
    QVERIFY(seen(*m_cloud).constFirst().contains(QStringLiteral("|Dentist, room 2|")));
}

using SeriesEdit = std::function<void(Event &)>;
const QString addedDate = QStringLiteral("[\"20260330T090000Z\"]");
// Folded with a character of three octets and one beyond the basic plane just before the fold.
const QString longNote = QStringLiteral(
    "Zahlen fürs Quartal – der Plan für April und Fragen, 📊 bitte mitbringen, danke.");

void TestCloudSync::twoDevicesKeepEachOthersEdits_data()
{
    QTest::addColumn<SeriesEdit>("aBefore"); // made and synced on A before B first syncs
    QTest::addColumn<SeriesEdit>("onA"); // null: deleted on A
    QTest::addColumn<SeriesEdit>("onB");
    QTest::addColumn<bool>("bFirst");
    QTest::addColumn<bool>("aMissesB"); // A's pull answers just before B's push lands
    QTest::addColumn<QString>("expected"); // part of the one row every side holds
    const SeriesEdit moveToEleven = [](Event &e) {
        e.start_time = e.start_time.addSecs(7200);
        e.end_time = e.start_time.addSecs(3600);
    };
    const SeriesEdit cancelSixteenth = [](Event &e) {
        e.exception_dates = QStringLiteral("[\"20260316T090000Z\"]");
    };
    const QString moved = QStringLiteral(
        "|timed|FREQ=WEEKLY;COUNT=4|[\"20260316T110000Z\"]||2026-03-02T11:00:00+00:00|");
    QTest::newRow("A moves, B cancels one: A syncs first")
        << SeriesEdit() << moveToEleven << cancelSixteenth << false << false << moved;
    QTest::newRow("A moves, B cancels one: B syncs first")
        << SeriesEdit() << moveToEleven << cancelSixteenth << true << false << moved;
    // A deletes the version it knew: B's later edit stays, whether A's pull or its deletion
    // meets it.
    QTest::newRow("B edits, A deletes: B's push lands after A's pull")
        << SeriesEdit() << SeriesEdit()
        << SeriesEdit([](Event &e) { e.title = QStringLiteral("Standup, room 2"); }) << true << true
        << QStringLiteral("|Standup, room 2|||timed|FREQ=WEEKLY;COUNT=4|||2026-03-02T09:00:00");
    // A's own rename is the version A last agreed on, so B's later rename is the newer title.
    QTest::newRow("A renames, B renames, A sets the place")
        << SeriesEdit([](Event &e) { e.title = QStringLiteral("Standup A"); })
        << SeriesEdit([](Event &e) { e.location = QStringLiteral("Room 2"); })
        << SeriesEdit([](Event &e) { e.title = QStringLiteral("Standup B"); }) << true << false
        << QStringLiteral("|Standup B|Room 2||timed|");
    QTest::newRow("A adds a date, B ends half an hour later")
        << SeriesEdit() << SeriesEdit([](Event &e) { e.recurrence_dates = addedDate; })
        << SeriesEdit([](Event &e) { e.end_time = e.end_time->addSecs(1800); }) << false << false
        << addedDate + QStringLiteral("|2026-03-02T09:00:00+00:00|2026-03-02T10:30:00+00:00|");
    // All-day as the event form saves it: from the day's midnight to the next.
    QTest::newRow("A cancels one, B makes it all-day")
        << SeriesEdit() << cancelSixteenth << SeriesEdit([](Event &e) {
               e.is_all_day = true;
               e.start_time = allDayInstant(e.start_time.date());
               e.end_time = e.start_time.addDays(1);
           })
        << false << false
        << QStringLiteral(
               "|all-day|FREQ=WEEKLY;COUNT=4|[\"20260316\"]||2026-03-02T00:00:00+00:00|");
    // The cancelled 23rd travels with A's all-day switch or move, and comes back when restored.
    const SeriesEdit cancelLast = [](Event &e) {
        e.exception_dates = QStringLiteral("[\"20260323T090000Z\"]");
    };
    const SeriesEdit setPlace = [](Event &e) {
        e.location = QStringLiteral("Room 2");
    };
    const auto toAllDay = [](int days) {
        return SeriesEdit([days](Event &e) {
            e.is_all_day = true;
            e.start_time = allDayInstant(e.start_time.date().addDays(days));
            e.end_time = e.start_time.addDays(1);
        });
    };
    QTest::newRow("A makes a series with a cancelled date all-day")
        << cancelLast << toAllDay(0) << setPlace << false << false
        << QStringLiteral("|Room 2||all-day|FREQ=WEEKLY;COUNT=4|[\"20260323\"]|");
    // 23 March 00:30 in Berlin, 22 March in UTC.
    QTest::newRow("A makes a series at 00:30 with a cancelled date all-day")
        << SeriesEdit([](Event &e) {
               e.start_time = e.start_time.addSecs(-34200);
               e.end_time = e.start_time.addSecs(3600);
               e.exception_dates = QStringLiteral("[\"20260322T233000Z\"]");
           })
        << toAllDay(0) << setPlace << false << false
        << QStringLiteral("|Room 2||all-day|FREQ=WEEKLY;COUNT=4|[\"20260323\"]|");
    QTest::newRow("A makes a series with a cancelled date all-day on the next day")
        << cancelLast << toAllDay(1) << setPlace << false << false
        << QStringLiteral("|Room 2||all-day|FREQ=WEEKLY;COUNT=4|[\"20260324\"]|");
    QTest::newRow("A moves a series with a cancelled date")
        << cancelLast << moveToEleven << setPlace << false << false
        << QStringLiteral("|Room 2||timed|FREQ=WEEKLY;COUNT=4|[\"20260323T110000Z\"]|");
    // Monday to Tuesday: the cancelled Monday the 16th stands for Tuesday the 17th.
    QTest::newRow("A moves a series with a cancelled date to the next day")
        << cancelSixteenth << SeriesEdit([](Event &e) {
               e.start_time = e.start_time.addDays(1);
               e.end_time = e.start_time.addSecs(3600);
           })
        << setPlace << false << false
        << QStringLiteral("|Room 2||timed|FREQ=WEEKLY;COUNT=4|[\"20260317T090000Z\"]|");
    // A's wall clock and days hold on B all year, the cancelled date off and no other: 8 March
    // is Havana's first summer day, Auckland's summer ends in April, Santiago's starts 6 September.
    const auto weekly = [](const char *zone, const QDateTime &start, const char *cancelled,
                           bool allDay = false) {
        return SeriesEdit([=](Event &e) {
            e.timezone = QString::fromLatin1(zone);
            e.is_all_day = allDay;
            e.start_time = start;
            e.end_time = start.addSecs(allDay ? 86400 : 3600);
            e.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
            e.exception_dates = QStringLiteral("[\"%1\"]").arg(QLatin1String(cancelled));
        });
    };
    const auto in = [](const char *zone, int month, int day, int hour, int minute = 0) {
        return QDateTime(QDate(2026, month, day), QTime(hour, minute), QTimeZone(zone));
    };
    const char *havana = "America/Havana";
    QTest::newRow("A switches an all-day series in Havana to 09:00")
        << weekly(havana, allDayInstant(QDate(2026, 3, 1)), "20260308", true)
        << weekly(havana, in(havana, 3, 1, 9), "20260308") << setPlace << false << false
        << QStringLiteral("|2026-03-01T14:00:00Z,2026-03-15T13:00:00Z,");
    QTest::newRow("A moves a series from Havana to Auckland at the same wall time")
        << weekly(havana, in(havana, 3, 2, 2, 30), "20260615T063000Z")
        << weekly("Pacific/Auckland", in("Pacific/Auckland", 3, 2, 2, 30), "20260615T063000Z")
        << setPlace << false << false
        << QStringLiteral(",2026-06-07T14:30:00Z,2026-06-21T14:30:00Z,");
    QTest::newRow("A makes a series in Santiago all-day")
        << weekly("America/Santiago", in("America/Santiago", 8, 23, 9), "20260913T120000Z")
        << weekly("America/Santiago", allDayInstant(QDate(2026, 8, 23)), "20260913T120000Z", true)
        << setPlace << false << false
        << QStringLiteral("|2026-08-23,2026-08-30,2026-09-06,2026-09-20,");
    QTest::newRow("A restores a cancelled date")
        << cancelLast << SeriesEdit([](Event &e) { e.exception_dates.clear(); }) << setPlace
        << false << false << QStringLiteral("|Room 2||timed|FREQ=WEEKLY;COUNT=4|||");
    QTest::newRow("A moves, B writes a long note")
        << SeriesEdit() << moveToEleven << SeriesEdit([](Event &e) { e.description = longNote; })
        << false << false << QStringLiteral("|Standup||") + longNote + QStringLiteral("|timed|");
}

void TestCloudSync::twoDevicesKeepEachOthersEdits()
{
    QFETCH(SeriesEdit, aBefore);
    QFETCH(SeriesEdit, onA);
    QFETCH(SeriesEdit, onB);
    QFETCH(bool, bFirst);
    QFETCH(bool, aMissesB);
    QFETCH(QString, expected);
    const auto seriesOf = [](CloudDevice &device) {
        const QList<Event> rows = device->events()->listByCalendar(team(device).id);
        return rows.isEmpty() ? Event() : *device->events()->byId(rows.first().id);
    };
    const auto edit = [&](CloudDevice &device, const SeriesEdit &change) {
        QVERIFY(device.open());
        Event series = seriesOf(device);
        QVERIFY(!series.id.isEmpty());
        if (change) {
            change(series);
            series.sync_status = QStringLiteral("pending");
            QVERIFY(device->events()->update(series));
        } else {
            QVERIFY(device->events()->remove(series.id));
        }
        device.close();
    };
    const auto syncOn = [&](CloudDevice &device, const QString &failure = QString()) {
        QVERIFY(device.open());
        QCOMPARE(sync(device), failure);
        device.close();
    };
    // The series as another program wrote it: its own zone definition, an event no reader can
    // use, the 9th moved to 14:00 ahead of the series, and a line of its own.
    const QString head = QStringLiteral(
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//Planner//EN\r\nBEGIN:VTIMEZONE\r\n"
        "TZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
        "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
        "BEGIN:VEVENT\r\nSUMMARY:Draft\r\nDTSTART:20260302T090000Z\r\nEND:VEVENT\r\n");
    const QString override = QStringLiteral(
        "BEGIN:VEVENT\r\nUID:standup\r\nRECURRENCE-ID;TZID=Europe/Berlin:20260309T100000\r\n"
        "SUMMARY:Standup\r\nDTSTART;TZID=Europe/Berlin:20260309T140000\r\n"
        "DTEND;TZID=Europe/Berlin:20260309T150000\r\nEND:VEVENT\r\n");
    const QString series = QStringLiteral(
        "BEGIN:VEVENT\r\nUID:standup\r\nDTSTAMP:20260301T080000Z\r\nSUMMARY:Standup\r\n"
        "DTSTART;TZID=Europe/Berlin:20260302T100000\r\nDTEND;TZID=Europe/Berlin:20260302T110000"
        "\r\nRRULE:FREQ=WEEKLY;COUNT=4\r\nX-OTHER-COLOUR:teal\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    const QJsonObject item {{QStringLiteral("id"), QStringLiteral("standup")},
                            {QStringLiteral("uid"), QStringLiteral("standup")},
                            {QStringLiteral("raw_icalendar"), QString(head + override + series)}};
    QVERIFY(!m_cloud->storeEvent(QStringLiteral("team"), item).isEmpty());
    // A task another program wrote, which A completes alongside its edit.
    const QString todo = QStringLiteral(
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//Planner//EN\r\nBEGIN:VTODO\r\n"
        "UID:slides\r\nSUMMARY:Slides\r\nSTATUS:NEEDS-ACTION\r\nDUE;VALUE=DATE:20260320\r\n"
        "LOCATION:Room 2\r\nURL:https://example.com/slides\r\nCATEGORIES:Talks\r\n"
        "X-OTHER-TODO:keep\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\n"
        "END:VALARM\r\nEND:VTODO\r\nEND:VCALENDAR\r\n");
    QVERIFY(!m_cloud
                 ->storeTask(QStringLiteral("team"),
                             {{QStringLiteral("id"), QStringLiteral("slides")},
                              {QStringLiteral("uid"), QStringLiteral("slides")},
                              {QStringLiteral("raw_icalendar"), todo}})
                 .isEmpty());
    syncOn(*m_a);
    if (aBefore) {
        edit(*m_a, aBefore);
        syncOn(*m_a);
    }
    syncOn(*m_b);

    edit(*m_a, onA);
    QVERIFY(m_a->open());
    QVERIFY(m_a->state()->tasks()->setCompleted(
        m_a->state()->tasks()->byUidInCalendar(QStringLiteral("slides"), team(*m_a).id)->id, true));
    m_a->close();
    edit(*m_b, onB);
    CloudDevice &first = bFirst ? *m_b : *m_a;
    CloudDevice &second = bFirst ? *m_a : *m_b;
    syncOn(first);
    // The device that pushed holds what it sent.
    QVERIFY(first.open());
    QCOMPARE(seen(first), seen(*m_cloud));
    first.close();
    if (aMissesB) {
        QVERIFY(m_a->open());
        const QString cursor = team(*m_a).delta_sync_token;
        m_a->close();
        m_cloud->failRequests("GET", QStringLiteral("/calendars/team/events"),
                              FakeReply::json(200,
                                              QJsonObject {{QStringLiteral("events"), QJsonArray()},
                                                           {QStringLiteral("timestamp"), cursor}}));
        // The deletion meets the newer version and is refused; the next run takes the edit in.
        syncOn(second, QStringLiteral("Larkspindle push: 1 event(s) failed"));
    }
    syncOn(second);
    syncOn(first);

    const QStringList there = seen(*m_cloud);
    QCOMPARE(there.size(), 1);
    for (CloudDevice *device : {m_a.get(), m_b.get()}) {
        QVERIFY(device->open());
        QCOMPARE(seen(*device), there);
        QCOMPARE(device->state()->events()->listPending(team(*device).id).size(), 0);
        device->close();
    }
    QVERIFY2(there.constFirst().contains(expected), qPrintable(there.constFirst()));
    // What no device changed stays as the other program wrote it; lines are at most 75 octets of
    // whole characters, and a date-typed value holds dates.
    const QString held
        = m_cloud->events(QStringLiteral("team"))[0][QLatin1String("raw_icalendar")].toString();
    QVERIFY2(held.startsWith(head) && held.contains(override)
                 && held.contains(QStringLiteral("\r\nX-OTHER-COLOUR:teal\r\n")),
             qPrintable(held));
    // The completed task changed its own lines only; B has it completed.
    const QString task
        = m_cloud->tasks(QStringLiteral("team"))[0][QLatin1String("raw_icalendar")].toString();
    for (const QString &line : todo.split(QStringLiteral("\r\n")))
        QVERIFY2(task.contains(line) != line.startsWith(QLatin1String("STATUS")), qPrintable(task));
    QVERIFY(m_b->open());
    QCOMPARE(
        m_b->state()->tasks()->byUidInCalendar(QStringLiteral("slides"), team(*m_b).id)->status,
        QStringLiteral("completed"));
    m_b->close();
    const QRegularExpression timeAsDate(QStringLiteral(";VALUE=DATE:[0-9,]*T"));
    for (const QString &line : held.split(QStringLiteral("\r\n")))
        QVERIFY2(line.toUtf8().size() <= 75 && QString::fromUtf8(line.toUtf8()) == line
                     && !line.contains(timeAsDate),
                 qPrintable(line));
}

void TestCloudSync::liveEntriesStayWhateverTheirDeletionMark_data()
{
    QTest::addColumn<QJsonValue>("mark");
    QTest::newRow("null") << QJsonValue(QJsonValue::Null);
    QTest::newRow("false") << QJsonValue(false);
    QTest::newRow("no member") << QJsonValue(QJsonValue::Undefined);
}

void TestCloudSync::liveEntriesStayWhateverTheirDeletionMark()
{
    QFETCH(QJsonValue, mark);
    m_cloud->setLiveDeletedAt(mark);
    const Event made = localEvent(
        QString(), {QStringLiteral("srv-ev"), {}, QStringLiteral("Offsite"), at(6, 9), {}, {}});
    QVERIFY(
        !m_cloud->storeEvent(QStringLiteral("team"), Larkspindle::cloudEventObject(made, made.id))
             .isEmpty());
    // Entries a reader cannot use are passed over without stopping the sync.
    m_cloud->storeEvent(QStringLiteral("team"),
                        QJsonObject {{QStringLiteral("id"), QStringLiteral("no-uid")}});
    QVERIFY(m_a->open());
    QCOMPARE(sync(*m_a), QString());
    QCOMPARE(seen(*m_a).size(), 1);
    QVERIFY(seen(*m_a).constFirst().startsWith(QStringLiteral("srv-ev|||Offsite|||timed|")));
    QCOMPARE(sync(*m_a), QString()); // pulled again since the cursor: still there
    QCOMPARE(seen(*m_a).size(), 1);
}

void TestCloudSync::failedRunKeepsRowsAndCursor_data()
{
    QTest::addColumn<int>("pullStatus"); // 0: answered as usual
    QTest::addColumn<int>("deleteStatus");
    QTest::addColumn<int>("listingStatus");
    QTest::addColumn<int>("tasksStatus");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("tombstoneKept");
    // A failed pull sends nothing: the outbox waits for a run that saw the service's changes.
    QTest::newRow("pull refused") << 500 << 0 << 0 << 0 << "Larkspindle pull failed (HTTP 500)"
                                  << true;
    QTest::newRow("push refused") << 0 << 503 << 0 << 0 << "Larkspindle push: 1 event(s) failed"
                                  << true;
    QTest::newRow("404 on a calendar the service lists") << 0 << 404 << 0 << 0 << "" << false;
    QTest::newRow("404 the service does not confirm")
        << 0 << 404 << 500 << 0 << "Larkspindle push: 1 event(s) failed" << true;
    QTest::newRow("a service without task listings") << 0 << 0 << 0 << 404 << "" << false;
    QTest::newRow("task listing failed")
        << 0 << 0 << 0 << 500 << "Larkspindle pull failed (HTTP 500)" << true;
}

void TestCloudSync::failedRunKeepsRowsAndCursor()
{
    QFETCH(int, pullStatus);
    QFETCH(int, deleteStatus);
    QFETCH(int, listingStatus);
    QFETCH(int, tasksStatus);
    QFETCH(QString, reason);
    QFETCH(bool, tombstoneKept);
    QVERIFY(m_a->open());
    QCOMPARE(sync(*m_a), QString());
    QVERIFY(m_a->state()->events()->insert(localEvent(
        team(*m_a).id, {QStringLiteral("old"), {}, QStringLiteral("Old"), at(7, 9), {}, {}})));
    int count = -1;
    QCOMPARE(syncOne(*m_a, &count), QString());
    QCOMPARE(count, 0);
    QCOMPARE(syncOne(*m_a, &count), QString()); // brings the pushed row's own change back
    QCOMPARE(count, 1);
    const QString cursor = team(*m_a).delta_sync_token;
    QVERIFY(!cursor.isEmpty());
    QVERIFY(m_a->state()->events()->remove(QStringLiteral("old")));

    const QString events = QStringLiteral("/calendars/team/events");
    if (pullStatus)
        m_cloud->failRequests("GET", events, FakeReply::json(pullStatus, {}));
    if (deleteStatus)
        m_cloud->failRequests("DELETE", events, FakeReply::json(deleteStatus, {}));
    if (tasksStatus)
        m_cloud->failRequests("GET", QStringLiteral("/calendars/team/tasks"),
                              FakeReply::json(tasksStatus, {}));
    if (listingStatus) { // after the pull's two listings; the warning is this row's own failure
        m_cloud->failRequests("GET", QStringLiteral("/calendars"),
                              FakeReply::json(listingStatus, {}), 2);
        const QString said = QStringLiteral("calendar list failed \\(HTTP %1\\)$");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(said.arg(listingStatus)));
    }
    QCOMPARE(syncOne(*m_a), reason);
    QCOMPARE(m_a->state()->events()->byId(QStringLiteral("old")).has_value(), tombstoneKept);
    QCOMPARE(team(*m_a).delta_sync_token, cursor);
}

QTEST_MAIN(TestCloudSync)
#include "tst_CloudSync.moc"
