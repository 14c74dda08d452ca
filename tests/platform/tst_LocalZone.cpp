#include "platform/LocalZone.h"

#include <QDateTime>
#include <QTimeZone>
#include <QtTest>

#include <time.h>

// Local time reads the same zone after TZ was pinned to the system zone's name.
class tst_LocalZone : public QObject
{
    Q_OBJECT
private slots:
    void pinsTheSystemZoneOnlyWhenTzIsUnset();
};

void tst_LocalZone::pinsTheSystemZoneOnlyWhenTzIsUnset()
{
    const QByteArray system = LocalZone::systemZoneName();
    QVERIFY2(QTimeZone(system).isValid(), system.constData());

    // A zone the user set stands.
    qputenv("TZ", "Pacific/Chatham");
    tzset();
    LocalZone::pin();
    QCOMPARE(qgetenv("TZ"), QByteArray("Pacific/Chatham"));
    QVERIFY(!LocalZone::refresh());

    qunsetenv("TZ");
    tzset();
    const QDateTime winter(QDate(2024, 1, 15), QTime(12, 0));
    const QDateTime summer(QDate(2024, 7, 15), QTime(12, 0));
    const int winterOffset = winter.offsetFromUtc();
    const int summerOffset = summer.offsetFromUtc();
    LocalZone::pin();
    QCOMPARE(qgetenv("TZ"), system);
    QCOMPARE(QDateTime(winter.date(), winter.time()).offsetFromUtc(), winterOffset);
    QCOMPARE(QDateTime(summer.date(), summer.time()).offsetFromUtc(), summerOffset);
    // Nothing changed since.
    QVERIFY(!LocalZone::refresh());
    QCOMPARE(qgetenv("TZ"), system);
}

QTEST_GUILESS_MAIN(tst_LocalZone)
#include "tst_LocalZone.moc"
