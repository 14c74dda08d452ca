#include "core/TimeFormat.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "support/TestDatabase.h"

#include <QTest>

class tst_TimeFormat : public QObject
{
    Q_OBJECT
private slots:
    void formats_data();
    void formats();
    void preferenceReadAtEveryCall();
    void withoutPreferences();
};

void tst_TimeFormat::formats_data()
{
    QTest::addColumn<QString>("stored"); // null: the key is absent
    QTest::addColumn<bool>("twentyFour");
    QTest::addColumn<QString>("morning");
    QTest::addColumn<QString>("evening");

    QTest::newRow("unset") << QString() << false << QStringLiteral("9:05 AM")
                           << QStringLiteral("9:05 PM");
    QTest::newRow("12") << QStringLiteral("12") << false << QStringLiteral("9:05 AM")
                        << QStringLiteral("9:05 PM");
    QTest::newRow("24") << QStringLiteral("24") << true << QStringLiteral("09:05")
                        << QStringLiteral("21:05");
    QTest::newRow("24 with a space")
        << QStringLiteral(" 24") << false << QStringLiteral("9:05 AM") << QStringLiteral("9:05 PM");
    QTest::newRow("true") << QStringLiteral("true") << false << QStringLiteral("9:05 AM")
                          << QStringLiteral("9:05 PM");
    QTest::newRow("empty") << QStringLiteral("") << false << QStringLiteral("9:05 AM")
                           << QStringLiteral("9:05 PM");
}

void tst_TimeFormat::formats()
{
    QFETCH(QString, stored);
    QFETCH(bool, twentyFour);
    QFETCH(QString, morning);
    QFETCH(QString, evening);

    LarkTest::TestDatabase db;
    QVERIFY(db.isValid());
    PreferencesRepository repository(db.db());
    PreferencesRepository *preferences = &repository;
    if (!stored.isNull())
        QVERIFY(preferences->set(Prefs::TimeFormat, stored));
    QCOMPARE(uses24HourTime(preferences), twentyFour);
    QCOMPARE(timeOfDayFormat(preferences),
             twentyFour ? QStringLiteral("HH:mm") : QStringLiteral("h:mm AP"));
    QCOMPARE(formatTimeOfDay(preferences, QDateTime(QDate(2024, 1, 10), QTime(9, 5, 59))), morning);
    QCOMPARE(formatTimeOfDay(preferences, QDateTime(QDate(2024, 1, 10), QTime(21, 5))), evening);
}

void tst_TimeFormat::preferenceReadAtEveryCall()
{
    LarkTest::TestDatabase db;
    QVERIFY(db.isValid());
    PreferencesRepository repository(db.db());
    PreferencesRepository *preferences = &repository;
    const QDateTime t(QDate(2024, 1, 10), QTime(0, 30));
    QCOMPARE(formatTimeOfDay(preferences, t), QStringLiteral("12:30 AM"));
    QVERIFY(preferences->set(Prefs::TimeFormat, QStringLiteral("24")));
    QCOMPARE(formatTimeOfDay(preferences, t), QStringLiteral("00:30"));
    QVERIFY(preferences->remove(Prefs::TimeFormat));
    QCOMPARE(formatTimeOfDay(preferences, t), QStringLiteral("12:30 AM"));
}

void tst_TimeFormat::withoutPreferences()
{
    QVERIFY(!uses24HourTime(nullptr));
    QCOMPARE(timeOfDayFormat(nullptr), QStringLiteral("h:mm AP"));
}

QTEST_MAIN(tst_TimeFormat)
#include "tst_TimeFormat.moc"
