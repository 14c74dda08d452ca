#include "core/InvitationsService.h"
#include "core/Store.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Invitations::Service;

namespace {

const QDateTime now(QDate(2026, 3, 2), QTime(12, 0), Qt::UTC);

Attendee attendee(const char *email, const char *status)
{
    Attendee a;
    a.email = QString::fromUtf8(email);
    a.status = QString::fromUtf8(status);
    return a;
}

} // namespace

class TestInvitationsService : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void ownAddresses();
    void twoLists();
    void noAddressNoInvitations();
    void noVisibleCalendarNoInvitations();
    void respondSetsEveryMatchingEntry();
    void respondRefusals_data();
    void respondRefusals();
    void changesAreAnnounced();

private:
    void addAccount(const char *id, const char *type, const char *username);
    void addCalendar(const char *id, bool visible);
    // An event starting `days` from now, an hour long unless open-ended.
    void addEvent(const char *id, const char *calendar, double days, QList<Attendee> attendees,
                  bool openEnded = false, const char *status = "confirmed", const char *rule = "");
    QStringList ids(const QList<Event> &events) const { return LarkTest::idsOf(events); }
    Service *service() const { return m_service.get(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<Service> m_service;
};

void TestInvitationsService::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<Store>();
    QVERIFY(m_store->open(m_dir->filePath(QStringLiteral("calendar.db"))));
    m_service
        = std::make_unique<Service>(m_store->accounts(), m_store->calendars(), m_store->events());
    addAccount("dav", "caldav", "Me@Example.com");
    addAccount("g", "google", "nobody");
    addAccount("old", "caldav", "old@example.com");
    QVERIFY(m_store->accounts()->remove(QStringLiteral("old")));
    addCalendar("work", true);
    addCalendar("hidden", false);
}

void TestInvitationsService::cleanup()
{
    m_service.reset();
    m_store.reset();
    m_dir.reset();
}

void TestInvitationsService::addAccount(const char *id, const char *type, const char *username)
{
    Account a;
    a.id = QString::fromUtf8(id);
    a.name = a.id;
    a.type = QString::fromUtf8(type);
    a.username = QString::fromUtf8(username);
    a.created_at = now;
    a.updated_at = now;
    QVERIFY(m_store->accounts()->insert(a));
}

void TestInvitationsService::addCalendar(const char *id, bool visible)
{
    Calendar c;
    c.id = QString::fromUtf8(id);
    c.account_id = QStringLiteral("dav");
    c.url = QStringLiteral("/dav/") + c.id;
    c.name = c.id;
    c.is_visible = visible;
    c.created_at = now;
    c.updated_at = now;
    QVERIFY(m_store->calendars()->insert(c));
}

void TestInvitationsService::addEvent(const char *id, const char *calendar, double days,
                                      QList<Attendee> attendees, bool openEnded, const char *status,
                                      const char *rule)
{
    Event e;
    e.id = QString::fromUtf8(id);
    e.uid = e.id + QStringLiteral("@example.com");
    e.calendar_id = QString::fromUtf8(calendar);
    e.title = e.id;
    e.start_time = now.addSecs(qint64(days * 86400));
    if (!openEnded)
        e.end_time = e.start_time.addSecs(3600);
    e.status = QString::fromUtf8(status);
    e.recurrence_rule = QString::fromUtf8(rule);
    e.attendees = attendees;
    e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    e.created = now;
    e.last_modified = now;
    QVERIFY(m_store->events()->insert(e));
}

void TestInvitationsService::ownAddresses()
{
    QCOMPARE(service()->ownAddresses(), QSet<QString>({QStringLiteral("me@example.com")}));
}

void TestInvitationsService::twoLists()
{
    const auto me = [](const char *status) {
        return attendee("me@example.com", status);
    };
    addEvent("later", "work", 10, {me("needs-action")});
    addEvent("soon", "work", 2, {me("NEEDS-ACTION")});
    addEvent("open-ended", "work", 5, {me("needs-action")}, true);
    addEvent("shouting", "work", 4, {me("needs-action")}, false, "CANCELLED");
    addEvent("cancelled", "work", 1, {me("needs-action")}, false, "cancelled");
    addEvent("answered", "work", 3, {me("accepted")});
    addEvent("over", "work", -2, {me("needs-action")});
    addEvent("started-not-over", "work", -0.02, {me("needs-action")});
    addEvent("series", "work", -200, {me("needs-action")}, false, "confirmed", "FREQ=WEEKLY");
    addEvent(
        "second-entry", "work", 6,
        {attendee("boss@example.com", "needs-action"), attendee("ME@EXAMPLE.COM", "tentative")});
    addEvent("hidden", "hidden", 2, {me("needs-action")});
    addEvent("stranger", "work", 2, {attendee("other@example.com", "needs-action")});
    addEvent("former-address", "work", 2, {attendee("old@example.com", "needs-action")});
    addEvent("too-far", "work", 400, {me("needs-action")});

    const auto lists = service()->list(now);
    QCOMPARE(ids(lists.first),
             LarkTest::strings({"started-not-over", "soon", "shouting", "open-ended", "later"}));
    QCOMPARE(ids(lists.second), LarkTest::strings({"second-entry", "answered", "over", "series"}));
    QCOMPARE(service()->pendingCount(now), 5);
    // Attendees come with the events.
    QCOMPARE(lists.first.first().attendees.size(), 1);
}

void TestInvitationsService::noAddressNoInvitations()
{
    QVERIFY(m_store->accounts()->remove(QStringLiteral("dav")));
    addEvent("soon", "work", 2, {attendee("nobody", "needs-action")});
    QVERIFY(service()->ownAddresses().isEmpty());
    const auto lists = service()->list(now);
    QVERIFY(lists.first.isEmpty());
    QVERIFY(lists.second.isEmpty());
}

void TestInvitationsService::noVisibleCalendarNoInvitations()
{
    addEvent("hidden", "hidden", 2, {attendee("me@example.com", "needs-action")});
    // Only the hidden calendar is left visible-less: hide the others too.
    for (Calendar c : m_store->calendars()->listAll()) {
        c.is_visible = false;
        QVERIFY(m_store->calendars()->update(c));
    }
    QCOMPARE(service()->pendingCount(now), 0);
    QVERIFY(service()->list(now).second.isEmpty());
}

void TestInvitationsService::respondSetsEveryMatchingEntry()
{
    addEvent("meet", "work", 2,
             {attendee("me@example.com", "needs-action"), attendee("boss@example.com", "accepted"),
              attendee("ME@example.com", "needs-action")});
    QSignalSpy changed(service(), &Service::invitationsChanged);
    QVERIFY(service()->respond(QStringLiteral("meet"), QStringLiteral("Me@Example.COM"),
                               QStringLiteral("declined")));
    QCOMPARE(changed.size(), 1);

    const std::optional<Event> saved = m_store->events()->byId(QStringLiteral("meet"));
    QVERIFY(saved);
    QCOMPARE(saved->sync_status, QStringLiteral("pending"));
    QStringList statuses;
    for (const Attendee &a : saved->attendees)
        statuses << a.status;
    statuses.sort();
    QCOMPARE(statuses, LarkTest::strings({"accepted", "declined", "declined"}));
    QCOMPARE(service()->pendingCount(now), 0);
}

void TestInvitationsService::respondRefusals_data()
{
    QTest::addColumn<QString>("eventId");
    QTest::addColumn<QString>("email");
    QTest::newRow("address not among the attendees") << "meet"
                                                     << "someone@example.com";
    QTest::newRow("unknown event") << "nope"
                                   << "me@example.com";
}

void TestInvitationsService::respondRefusals()
{
    QFETCH(QString, eventId);
    QFETCH(QString, email);
    addEvent("meet", "work", 2, {attendee("me@example.com", "needs-action")});
    QSignalSpy changed(service(), &Service::invitationsChanged);
    QVERIFY(!service()->respond(eventId, email, QStringLiteral("accepted")));
    QCOMPARE(changed.size(), 0);
    const std::optional<Event> stored = m_store->events()->byId(QStringLiteral("meet"));
    QCOMPARE(stored->sync_status, QStringLiteral("synced"));
    QCOMPARE(stored->attendees.first().status, QStringLiteral("needs-action"));
}

void TestInvitationsService::changesAreAnnounced()
{
    QSignalSpy changed(service(), &Service::invitationsChanged);
    addAccount("second", "caldav", "second@example.com");
    QCOMPARE(changed.size(), 1);
    addEvent("meet", "work", 2, {attendee("second@example.com", "needs-action")});
    QTRY_COMPARE(changed.size(), 2);
}

QTEST_MAIN(TestInvitationsService)
#include "tst_InvitationsService.moc"
