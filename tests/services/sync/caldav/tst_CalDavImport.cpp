#include "core/AppState.h"
#include "core/sync/CalendarIdentity.h"
#include "core/sync/SyncClientRegistry.h"
#include "services/sync/caldav/CalDavImport.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "support/StartedAppState.h"
#include "support/TestSupport.h"

#include <QtTest>

using CalDavParse::DiscoveredCalendar;

namespace {

const QString kAccount = QStringLiteral("dav");

DiscoveredCalendar found(const char *url, const char *name, const char *color = "")
{
    DiscoveredCalendar c;
    c.url = QString::fromUtf8(url);
    c.displayName = QString::fromUtf8(name);
    c.color = QString::fromUtf8(color);
    c.ctag = QStringLiteral("server-ctag");
    return c;
}

// The account's calendars as "url|name|colour|components|sync|ctag|key matches", sorted.
QStringList rows(AppState *state)
{
    QStringList out;
    for (const Calendar &c : state->calendars()->listByAccount(kAccount)) {
        const bool keyed = c.canonical_key == calendarIdentityKey(QStringLiteral("caldav"), c.url);
        out << QStringList {c.url,
                            c.name,
                            c.color,
                            c.supported_components,
                            c.sync_enabled ? QStringLiteral("sync") : QStringLiteral("nosync"),
                            c.ctag,
                            keyed ? QStringLiteral("keyed") : QStringLiteral("unkeyed")}
                   .join(u'|');
    }
    out.sort();
    return out;
}

} // namespace

class TestCalDavImport : public QObject
{
    Q_OBJECT
private slots:
    void importsInsertsAndUpdates();
    void caldavHasNoSyncClient();
};

void TestCalDavImport::importsInsertsAndUpdates()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    Account dav;
    dav.id = kAccount;
    dav.name = QStringLiteral("Work server");
    dav.type = QStringLiteral("caldav");
    dav.created_at = dav.updated_at = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    QVERIFY(state->accounts()->insert(dav));

    // Nothing to do, nowhere to put it, or an account that is gone.
    const QList<DiscoveredCalendar> two {
        found("https://127.0.0.1/dav/alice/work/", "Work", "#FF8800"),
        found("https://127.0.0.1/dav/alice/Home%20Stuff/", "")};
    QCOMPARE(importDiscoveredCalendars(state.get(), kAccount, {}), 0);
    QCOMPARE(importDiscoveredCalendars(state.get(), QString(), two), 0);
    QCOMPARE(importDiscoveredCalendars(state.get(), QStringLiteral("nobody"), two), 0);
    QVERIFY(state->calendars()->listByAccount(QStringLiteral("nobody")).isEmpty());

    // New calendars: sync on, default colour and components, keyed; the server's ctag is not
    // taken, since no event has been pulled yet.
    QCOMPARE(importDiscoveredCalendars(state.get(), kAccount, two), 2);
    const QString vevent = QStringLiteral("[\"VEVENT\"]");
    QCOMPARE(rows(state.get()),
             (QStringList {u"https://127.0.0.1/dav/alice/Home%20Stuff/|Home Stuff|#4285F4|" + vevent
                               + u"|sync||keyed",
                           u"https://127.0.0.1/dav/alice/work/|Work|#FF8800|" + vevent
                               + u"|sync||keyed"}));

    // The user turned sync off and the event sync recorded a ctag; the key got lost.
    Calendar work = state->calendars()->listByAccount(kAccount).last();
    QCOMPARE(work.name, QStringLiteral("Work"));
    const QString workId = work.id;
    work.sync_enabled = false;
    work.ctag = QStringLiteral("pulled");
    work.canonical_key.clear();
    QVERIFY(state->calendars()->update(work));

    // Matched by URL, and by identity key when the host differs (the new address is kept):
    // updated, not duplicated.
    DiscoveredCalendar renamed = found("https://127.0.0.1/dav/alice/work/", "Work (team)", "");
    renamed.supportedComponents = QStringList {QStringLiteral("VEVENT"), QStringLiteral("VTODO")};
    DiscoveredCalendar otherHost
        = found("https://localhost:8443/dav/alice/Home%20Stuff/", "Home", "#00aa00");
    QCOMPARE(importDiscoveredCalendars(state.get(), kAccount, {renamed, otherHost}), 0);
    QCOMPARE(rows(state.get()),
             (QStringList {QStringLiteral("https://127.0.0.1/dav/alice/work/|Work (team)|#FF8800|"
                                          "[\"VEVENT\",\"VTODO\"]|nosync|pulled|keyed"),
                           u"https://localhost:8443/dav/alice/Home%20Stuff/|Home|#00aa00|" + vevent
                               + u"|sync||keyed"}));
    QVERIFY(state->calendars()->byId(workId).has_value());
}

void TestCalDavImport::caldavHasNoSyncClient()
{
    // "Sync now" names the type as one it cannot sync yet.
    QVERIFY(!SyncClientRegistry::hasClient(QStringLiteral("caldav")));
}

QTEST_MAIN(TestCalDavImport)
#include "tst_CalDavImport.moc"
