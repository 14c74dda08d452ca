#include "core/sync/SyncNowReport.h"
#include "support/TestSupport.h"

#include <QLocale>
#include <QTest>

using LarkTest::strings;

class TestSyncNowReport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void message_data();
    void message();
    void onDeviceOnly_data();
    void onDeviceOnly();
};

// The report lists names the way the interface language does.
void TestSyncNowReport::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestSyncNowReport::message_data()
{
    QTest::addColumn<int>("started");
    QTest::addColumn<QStringList>("withoutClient");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing at all") << 0 << QStringList() << "No account to sync.";
    QTest::newRow("all started") << 2 << QStringList() << "Syncing 2 account(s)…";
    QTest::newRow("none started, names as users know them")
        << 0 << strings({"microsoft", "webcal"})
        << "Sync is not available yet for Microsoft Outlook and Calendar subscriptions.";
    QTest::newRow("some started, a type named once")
        << 1 << strings({"icloud", "icloud", "larkspindle"})
        << "Syncing 1 account(s)… Sync is not available yet for iCloud and Larkspindle Cloud.";
    QTest::newRow("unknown type stands")
        << 0 << strings({"gopher"}) << "Sync is not available yet for gopher.";
}

void TestSyncNowReport::message()
{
    QFETCH(int, started);
    QFETCH(QStringList, withoutClient);
    QFETCH(QString, expected);
    QCOMPARE(SyncNowReport::message(started, withoutClient), expected);
}

void TestSyncNowReport::onDeviceOnly_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<bool>("onDevice");
    QTest::newRow("no calendars") << "larkspindle" << QStringList() << true;
    QTest::newRow("device calendars")
        << "larkspindle" << strings({"local://calendar/a", "local://calendar/b"}) << true;
    QTest::newRow("one calendar in the cloud")
        << "larkspindle" << strings({"local://calendar/a", "larkspindle://x"}) << false;
    QTest::newRow("another type") << "caldav" << QStringList() << false;
}

void TestSyncNowReport::onDeviceOnly()
{
    QFETCH(QString, type);
    QFETCH(QStringList, urls);
    QFETCH(bool, onDevice);
    Account account;
    account.id = QStringLiteral("a1");
    account.type = type;
    QList<Calendar> calendars;
    for (const QString &url : urls) {
        Calendar c;
        c.account_id = account.id;
        c.url = url;
        calendars << c;
    }
    // Calendars of other accounts do not count.
    Calendar foreign;
    foreign.account_id = QStringLiteral("a2");
    foreign.url = QStringLiteral("https://dav.example/");
    calendars << foreign;
    QCOMPARE(SyncNowReport::isOnDeviceOnly(account, calendars), onDevice);
}

QTEST_GUILESS_MAIN(TestSyncNowReport)
#include "tst_SyncNowReport.moc"
