#include "core/TempAppState.h"
#include "core/TimeFormat.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"

#include <QTest>

class tst_TimeFormat : public QObject
{
    Q_OBJECT
private slots:
    void formats_data();
    void formats();
    void preferenceReadAtEveryCall();
    void withoutState();
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

    LarkTest::TempAppState app;
    QVERIFY(app.isValid());
    if (!stored.isNull())
        QVERIFY(app.state()->preferences()->set(Prefs::TimeFormat, stored));
    QCOMPARE(uses24HourTime(app.state()), twentyFour);
    QCOMPARE(timeOfDayFormat(app.state()),
             twentyFour ? QStringLiteral("HH:mm") : QStringLiteral("h:mm AP"));
    QCOMPARE(formatTimeOfDay(app.state(), QDateTime(QDate(2024, 1, 10), QTime(9, 5, 59))), morning);
    QCOMPARE(formatTimeOfDay(app.state(), QDateTime(QDate(2024, 1, 10), QTime(21, 5))), evening);
}

void tst_TimeFormat::preferenceReadAtEveryCall()
{
    LarkTest::TempAppState app;
    QVERIFY(app.isValid());
    const QDateTime t(QDate(2024, 1, 10), QTime(0, 30));
    QCOMPARE(formatTimeOfDay(app.state(), t), QStringLiteral("12:30 AM"));
    QVERIFY(app.state()->preferences()->set(Prefs::TimeFormat, QStringLiteral("24")));
    QCOMPARE(formatTimeOfDay(app.state(), t), QStringLiteral("00:30"));
    QVERIFY(app.state()->preferences()->remove(Prefs::TimeFormat));
    QCOMPARE(formatTimeOfDay(app.state(), t), QStringLiteral("12:30 AM"));
}

void tst_TimeFormat::withoutState()
{
    QVERIFY(!uses24HourTime(nullptr));
    QCOMPARE(timeOfDayFormat(nullptr), QStringLiteral("h:mm AP"));
    AppState uninitialised; // no preferences yet
    QVERIFY(!uses24HourTime(&uninitialised));
}

QTEST_MAIN(tst_TimeFormat)
#include "tst_TimeFormat.moc"
