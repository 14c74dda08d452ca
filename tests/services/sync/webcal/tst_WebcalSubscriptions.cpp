#include "core/AppState.h"
#include "services/sync/webcal/SyncClient.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "support/StartedAppState.h"

#include <QtTest>

using Webcal::SyncClient;

class TestWebcalSubscriptions : public QObject
{
    Q_OBJECT
private slots:
    void ensuresTheSubscriptionsAccount_data();
    void ensuresTheSubscriptionsAccount();
};

void TestWebcalSubscriptions::ensuresTheSubscriptionsAccount_data()
{
    QTest::addColumn<QString>("before"); // "none", "active" or "removed"
    QTest::addColumn<QString>("name");
    QTest::newRow("made when missing") << "none"
                                       << "Calendar Subscriptions";
    QTest::newRow("kept when present") << "active"
                                       << "My feeds";
    QTest::newRow("brought back when removed") << "removed"
                                               << "My feeds";
}

void TestWebcalSubscriptions::ensuresTheSubscriptionsAccount()
{
    QFETCH(QString, before);
    QFETCH(QString, name);
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    const QString id = QStringLiteral("webcal-subscriptions-account");
    if (before != QLatin1String("none")) {
        Account feeds;
        feeds.id = id;
        feeds.name = QStringLiteral("My feeds");
        feeds.type = QStringLiteral("webcal");
        feeds.created_at = feeds.updated_at = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
        QVERIFY(state->accounts()->insert(feeds));
        Calendar holidays;
        holidays.id = QStringLiteral("holidays");
        holidays.account_id = id;
        holidays.url = QStringLiteral("webcal://127.0.0.1/holidays.ics");
        holidays.name = QStringLiteral("Holidays");
        holidays.created_at = holidays.updated_at = feeds.created_at;
        QVERIFY(state->calendars()->insert(holidays));
        if (before == QLatin1String("removed"))
            QVERIFY(state->accounts()->remove(id));
    }

    for (int round = 0; round < 2; ++round) {
        const std::optional<Account> account = SyncClient::ensureSubscriptionsAccount(state.get());
        QVERIFY(account.has_value());
        QCOMPARE(account->id, id);
        QCOMPARE(account->name, name);
        QCOMPARE(account->type, QStringLiteral("webcal"));
        QCOMPARE(account->color, QStringLiteral("#4285F4"));
        QVERIFY(!account->deleted_at.has_value());
    }
    const QList<Account> all = state->accounts()->listAll();
    QCOMPARE(std::count_if(all.cbegin(), all.cend(), [&](const Account &a) { return a.id == id; }),
             1);
    QVERIFY(state->accounts()->byId(id).has_value());
    QCOMPARE(state->calendars()->listByAccount(id).size(), before == QLatin1String("none") ? 0 : 1);
}

QTEST_MAIN(TestWebcalSubscriptions)
#include "tst_WebcalSubscriptions.moc"
