#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "support/TestDatabase.h"

#include <QSignalSpy>
#include <QtTest>

class TestPreferencesRepository : public QObject
{
    Q_OBJECT
private slots:
    void getBool_data();
    void getBool();
    void getInt_data();
    void getInt();
    void storedForms();
    void signals_();
    void failedWriteIsReported();
};

void TestPreferencesRepository::getBool_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");
    QTest::newRow("1") << QStringLiteral("1") << false << true;
    QTest::newRow("true") << QStringLiteral("true") << false << true;
    QTest::newRow("TRUE") << QStringLiteral("TRUE") << true << false;
    QTest::newRow("yes") << QStringLiteral("yes") << true << false;
    QTest::newRow("2") << QStringLiteral("2") << true << false;
    QTest::newRow("0") << QStringLiteral("0") << true << false;
    QTest::newRow("empty text") << QStringLiteral("") << true << false;
    QTest::newRow("absent, default true") << QString() << true << true;
    QTest::newRow("absent, default false") << QString() << false << false;
}

void TestPreferencesRepository::getBool()
{
    QFETCH(QString, stored);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    PreferencesRepository prefs(t.db());
    if (!stored.isNull())
        QVERIFY(prefs.set(Prefs::CloseToTray, stored));
    QCOMPARE(prefs.getBool(Prefs::CloseToTray, defaultValue), expected);
}

void TestPreferencesRepository::getInt_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("number") << QStringLiteral("72") << 72;
    QTest::newRow("negative") << QStringLiteral("-3") << -3;
    QTest::newRow("unit suffix") << QStringLiteral("12px") << 56;
    QTest::newRow("empty text") << QStringLiteral("") << 56;
    QTest::newRow("hexadecimal") << QStringLiteral("0x10") << 56;
    QTest::newRow("absent") << QString() << 56;
}

void TestPreferencesRepository::getInt()
{
    QFETCH(QString, stored);
    QFETCH(int, expected);
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    PreferencesRepository prefs(t.db());
    if (!stored.isNull())
        QVERIFY(prefs.set(Prefs::TimelineHourHeight, stored));
    QCOMPARE(prefs.getInt(Prefs::TimelineHourHeight, Prefs::TimelineHourHeightDefault), expected);
}

void TestPreferencesRepository::storedForms()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    PreferencesRepository prefs(t.db());
    QVERIFY(prefs.setBool(Prefs::WeatherEnabled, true));
    QVERIFY(prefs.setBool(Prefs::ShowWeekNumbers, false));
    QVERIFY(prefs.setInt(Prefs::WorkdayStart, -7));
    QCOMPARE(prefs.get(Prefs::WeatherEnabled), std::optional<QString>(QStringLiteral("1")));
    QCOMPARE(prefs.get(Prefs::ShowWeekNumbers), std::optional<QString>(QStringLiteral("0")));
    QCOMPARE(prefs.get(Prefs::WorkdayStart), std::optional<QString>(QStringLiteral("-7")));
    QCOMPARE(
        t.scalar(QStringLiteral("SELECT type FROM settings WHERE key = ?"), {Prefs::WorkdayStart})
            .toString(),
        QStringLiteral("string"));

    // A key stored as the empty text is present.
    QVERIFY(prefs.set(Prefs::ViewMode, QStringLiteral("")));
    QCOMPARE(prefs.getString(Prefs::ViewMode, Prefs::ViewModeDefault), QString());
    QCOMPARE(prefs.getString(Prefs::Theme, Prefs::ThemeDefault), QStringLiteral("system"));
    QCOMPARE(prefs.get(Prefs::Theme), std::nullopt);

    // A null text is stored as the empty text instead of failing on the NOT NULL column.
    QVERIFY(prefs.set(Prefs::AccentColor, QString()));
    QCOMPARE(prefs.get(Prefs::AccentColor), std::optional<QString>(QString()));

    QVERIFY(prefs.set(Prefs::densityKey(QStringLiteral("month")), QStringLiteral("compact")));
    QCOMPARE(prefs.getString(QStringLiteral("ui/density/month")), QStringLiteral("compact"));

    // Replacing keeps one row.
    QVERIFY(prefs.set(Prefs::ViewMode, QStringLiteral("day")));
    QCOMPARE(
        t.scalar(QStringLiteral("SELECT COUNT(*) FROM settings WHERE key = ?"), {Prefs::ViewMode})
            .toInt(),
        1);
    QCOMPARE(prefs.getString(Prefs::ViewMode, Prefs::ViewModeDefault), QStringLiteral("day"));
}

void TestPreferencesRepository::signals_()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    PreferencesRepository prefs(t.db());
    QSignalSpy changed(&prefs, &PreferencesRepository::changed);
    QVERIFY(prefs.set(Prefs::ViewMode, QStringLiteral("week")));
    QVERIFY(prefs.set(Prefs::ViewMode, QStringLiteral("week")));
    QVERIFY(prefs.setBool(Prefs::FirstLaunchSeen, true));
    QVERIFY(prefs.setInt(Prefs::WeekHorizon, 5));
    QCOMPARE(changed.count(), 4);
    QCOMPARE(changed.at(0).at(0).toString(), Prefs::ViewMode);
    QCOMPARE(changed.at(2).at(0).toString(), Prefs::FirstLaunchSeen);
    QCOMPARE(changed.at(3).at(0).toString(), Prefs::WeekHorizon);

    changed.clear();
    QVERIFY(prefs.remove(Prefs::ConfigSyncSince));
    QVERIFY(prefs.remove(Prefs::FirstLaunchSeen));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(prefs.getBool(Prefs::FirstLaunchSeen, Prefs::FirstLaunchSeenDefault), false);
}

void TestPreferencesRepository::failedWriteIsReported()
{
    LarkTest::TestDatabase t;
    QVERIFY(t.isValid());
    PreferencesRepository prefs(t.db());
    QVERIFY(prefs.setInt(Prefs::WorkdayEnd, 17));
    QVERIFY(t.exec(QStringLiteral("PRAGMA query_only = 1")));
    QSignalSpy changed(&prefs, &PreferencesRepository::changed);
    QVERIFY(!prefs.setInt(Prefs::WorkdayEnd, 19));
    QVERIFY(!prefs.setBool(Prefs::StartMinimized, true));
    QVERIFY(!prefs.remove(Prefs::WorkdayEnd));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(prefs.getInt(Prefs::WorkdayEnd, Prefs::WorkdayEndDefault), 17);
}

QTEST_GUILESS_MAIN(TestPreferencesRepository)
#include "tst_PreferencesRepository.moc"
